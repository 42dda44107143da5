// Work directory lock and the removal of stale work files.
#include "WorkDirectory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorlet {
namespace {

const std::string kLockPath(kWorkDirLockFile);

bool SameInode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether the lock file's name still leads to the file behind the descriptor: a run that ended
// removes its lock file, and a waiter that then gets the lock on the removed file must retry.
bool NameStillLeadsTo(int fd)
{
    struct stat opened {
    }, named{};
    if (fstat(fd, &opened) != 0 || lstat(kLockPath.c_str(), &named) != 0) return false;
    return SameInode(opened, named);
}

}  // namespace

WorkDirLock::Result WorkDirLock::Acquire(bool wait, const std::function<void()>& onWait)
{
    Release();
    problem_.clear();
    bool told = false;
    for (;;) {
        int fd = open(kLockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0) {
            problem_ = errno == ELOOP || errno == EISDIR || errno == ENXIO ? "IS NOT A PLAIN FILE"
                                                                           : std::string("CANNOT BE CREATED");
            return Result::Failed;
        }
        struct stat st {};
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(fd);
            problem_ = "IS NOT A PLAIN FILE";
            return Result::Failed;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK) {
                close(fd);
                problem_ = "CANNOT BE LOCKED";
                return Result::Failed;
            }
            if (!wait) {
                close(fd);
                return Result::Busy;
            }
            if (!told && onWait) onWait();
            told = true;
            int rc;
            while ((rc = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
            }
            if (rc != 0) {
                close(fd);
                problem_ = "CANNOT BE LOCKED";
                return Result::Failed;
            }
        }
        if (NameStillLeadsTo(fd)) {
            fd_ = fd;
            return Result::Locked;
        }
        close(fd);
    }
}

void WorkDirLock::Release()
{
    if (fd_ < 0) return;
    // Removed while still locked, so that no run can lock this file after it has gone.
    if (NameStillLeadsTo(fd_)) unlink(kLockPath.c_str());
    close(fd_);
    fd_ = -1;
}

bool IsIntermediateFileName(std::string_view name)
{
    auto endsWith = [&](std::string_view tail) {
        return name.size() >= tail.size() && name.substr(name.size() - tail.size()) == tail;
    };
    return endsWith(".$$$") || endsWith(".###");
}

WorkFileRemoval RemoveWorkFile(std::string_view name)
{
    const std::string path(name);
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT ? WorkFileRemoval::Absent : WorkFileRemoval::Failed;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return WorkFileRemoval::NotAFile;
    if (unlink(path.c_str()) != 0) return errno == ENOENT ? WorkFileRemoval::Absent : WorkFileRemoval::Failed;
    return WorkFileRemoval::Removed;
}

bool SameExistingFile(std::string_view a, std::string_view b)
{
    struct stat sa {
    }, sb{};
    if (stat(std::string(a).c_str(), &sa) != 0 || stat(std::string(b).c_str(), &sb) != 0) return false;
    return SameInode(sa, sb);
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::filesystem::path& dir)
{
    std::error_code ec;
    previous_ = std::filesystem::current_path(ec);
    if (!ec) std::filesystem::current_path(dir, ec);
    entered_ = !ec;
}

CurrentDirectoryScope::~CurrentDirectoryScope()
{
    std::error_code ec;
    if (entered_) std::filesystem::current_path(previous_, ec);
}

}  // namespace quorlet
