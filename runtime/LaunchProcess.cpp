// Starting external programs without a shell: posix_spawn with the caller's environment and
// current directory, waited for to the end.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "USubExec.h"

extern char** environ;

namespace quorlet {

std::vector<std::string> SplitCommandLine(std::string_view parameters)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (char c : parameters) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word.push_back(c);
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

bool LaunchProcess(std::string_view file, std::string_view parameters, bool wait)
{
    std::string program = ResolveProgramFile(file);
    if (program.empty()) return false;
    std::vector<std::string> words = SplitCommandLine(parameters);
    std::vector<char*> argv;
    argv.push_back(program.data());
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
    if (wait) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    return false;
}

}  // namespace quorlet
