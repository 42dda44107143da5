// Reading "QUORLET.CFG" for the main window.
#include "UConfig.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "USubExec.h"
#include "WorkDirectory.h"

namespace fs = std::filesystem;

namespace quorlet {

namespace {

std::string WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string CutComment(const std::string& text)
{
    std::size_t quote = text.find('"');
    return quote == std::string::npos ? text : text.substr(0, quote);
}

std::string SkipLeadingBlanks(const std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

bool LoadLines(const std::string& path, std::vector<std::string>& lines)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return !in.bad();
}

}  // namespace

TConfig::TConfig(TConfigOwner& owner, std::string programDir)
    : owner_(owner), programDir_(WithSlash(std::move(programDir))), helpDir_(programDir_)
{
}

void TConfig::SetHelpDir(std::string dir) { helpDir_ = std::move(dir); }

std::string TConfig::HelpPath(int index) const
{
    if (index < 1 || index > static_cast<int>(help_.size())) return {};
    return helpDir_ + help_[index - 1].file;
}

// A "." path is resolved by making it the current directory for a moment, as a shell would;
// a directory that does not exist leaves the current directory as the answer.
std::string TConfig::AbsolutePath(const std::string& value) const
{
    CurrentDirectoryScope inside(fs::path(programDir_ + value));
    return CurrentDir();
}

bool TConfig::ReadConfig(const std::string& fileName, std::vector<TConfigItem>& items)
{
    for (TConfigItem& item : items) item.value.clear();

    std::string path = fileName.starts_with('/') ? fileName : programDir_ + fileName;
    path = FindFileNoCase(path);
    std::vector<std::string> lines;
    if (!LoadLines(path, lines)) {
        owner_.ShowMessage(path + " not found!");
        return false;
    }

    help_.clear();
    for (const std::string& rawLine : lines) {
        const std::string line = CutComment(rawLine);
        for (TConfigItem& item : items) {
            const std::string pattern = item.key + " =";
            std::size_t at = line.find(pattern);
            if (at == std::string::npos) continue;
            std::string value = SkipLeadingBlanks(CutComment(line.substr(at + pattern.size())));
            if (item.isPath) {
                // An empty path says nothing; it must not turn into the root directory.
                if (!value.empty()) {
                    if (value.starts_with('.')) value = AbsolutePath(value);
                    value = WithSlash(value);
                }
            } else {
                value = UpperCopy(value);
            }
            item.value = value;
        }

        if (line.find("HELP") == std::string::npos) continue;
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::size_t comma = line.find(',', equals + 1);
        if (comma == std::string::npos) continue;
        if (static_cast<int>(help_.size()) >= kHelpItems) continue;
        THelpEntry entry{line.substr(equals + 1, comma - equals - 1), line.substr(comma + 1)};
        help_.push_back(entry);
        owner_.SetHelpItem(static_cast<int>(help_.size()), entry.caption, entry.file);
    }
    return true;
}

}  // namespace quorlet
