// Runs a built program of this system as a user would, capturing its output and exit status.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

namespace quorlet::test {

struct RunResult {
    int status = -1;  // exit status, -1 when the program did not exit normally
    std::string output;
};

// Every argument is single-quoted for the shell that popen uses; standard input comes from
// `input` (or /dev/null), standard error is merged into the output.
inline RunResult RunBuiltProgram(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& input = "")
{
    auto quote = [](const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    std::string command = quote(program);
    for (const auto& a : args) command += " " + quote(a);
    if (!input.empty()) {
        WriteFile(".stdin.txt", input);
        command += " < .stdin.txt";
    } else {
        command += " < /dev/null";
    }
    command += " 2>&1";
    RunResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) r.output.append(buf, n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// The last minimized table of a ".min" result, its lines "INPUT | OUTPUT" split at the bar.
inline std::vector<std::pair<std::string, std::string>> ReadMinimizedTerms(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> terms, block;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::size_t bar = line.find(" | ");
        if (bar == std::string::npos || line[0] == '"') {
            if (!block.empty()) terms = block;
            if (line.rfind("=====", 0) == 0) block.clear();
            continue;
        }
        block.emplace_back(line.substr(0, bar), line.substr(bar + 3));
    }
    if (!block.empty()) terms = block;
    return terms;
}

}  // namespace quorlet::test
