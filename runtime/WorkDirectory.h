// One run owns its work directory: an advisory lock on a lock file there for the whole run,
// and the removal of work files that an earlier run may have left behind.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quorlet {

// The lock file in the work directory; removed again when the run ends.
inline constexpr std::string_view kWorkDirLockFile = "quorlet.lock";

class WorkDirLock {
public:
    enum class Result {
        Locked,
        Busy,    // another run holds the directory and the caller does not wait
        Failed,  // the lock file cannot be made or is not a plain file; see Problem()
    };

    WorkDirLock() = default;
    ~WorkDirLock() { Release(); }
    WorkDirLock(const WorkDirLock&) = delete;
    WorkDirLock& operator=(const WorkDirLock&) = delete;

    // Locks the current directory. When another run holds it and `wait` is set, onWait is
    // called once and the call blocks until that run ends (an interrupt ends the process).
    Result Acquire(bool wait, const std::function<void()>& onWait);
    // Removes the lock file (only while it is still the one locked) and unlocks.
    void Release();
    bool Held() const { return fd_ >= 0; }
    const std::string& Problem() const { return problem_; }

private:
    int fd_ = -1;
    std::string problem_;
};

// Makes a directory the current one for the scope's life, then returns to the one before. A
// directory it cannot enter, or a current directory it could not come back to, leaves the
// current directory as it is.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::filesystem::path& dir);
    ~CurrentDirectoryScope();
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;
    bool Entered() const { return entered_; }

private:
    std::filesystem::path previous_;
    bool entered_ = false;
};

// Names with the intermediate files' extensions ".$$$" and ".###".
bool IsIntermediateFileName(std::string_view name);

enum class WorkFileRemoval { Removed, Absent, NotAFile, Failed };
// Unlinks a plain file or a symbolic link (never what it points to); refuses a directory,
// pipe, device or socket under the name.
WorkFileRemoval RemoveWorkFile(std::string_view name);

// Whether both names exist and are the same file (symbolic links followed).
bool SameExistingFile(std::string_view a, std::string_view b);

}  // namespace quorlet
