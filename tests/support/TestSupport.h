// Shared test fixtures: a scratch work directory, a captured console, scripted questions and a
// fixed clock, so that a stage can be run exactly as the pipeline runs it.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Clock.h"
#include "IORedirect.h"
#include "USubExec.h"

namespace quorlet::test {

// A fresh directory that is the current directory for the fixture's life.
class TempWorkDir {
public:
    TempWorkDir()
    {
        namespace fs = std::filesystem;
        previous_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "quorlet-test-XXXXXX").string();
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        char* made = mkdtemp(buf.data());
        path_ = made ? fs::path(made) : fs::temp_directory_path();
        fs::current_path(path_);
    }
    ~TempWorkDir()
    {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& name, const std::string& text)
{
    std::ofstream out(name, std::ios::binary);
    out << text;
}

inline std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool Exists(const std::string& name) { return std::filesystem::exists(name); }

// Joins lines with LF line ends, each line ended: the text a writer of this system produces.
inline std::string Lines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return text;
}

// Monday, January 5, 2004, 09:07:00.00.
inline ClockTime FixedTestTime()
{
    ClockTime t;
    t.year = 2004;
    t.month = 1;
    t.day = 5;
    t.weekday = 1;
    t.hour = 9;
    t.minute = 7;
    t.second = 0;
    t.millisecond = 0;
    return t;
}

// Everything a stage run needs: a scratch work directory, the console captured into `lines`,
// scripted answers and the fixed clock. Restores the process-wide state at the end.
class StageHarness {
public:
    StageHarness() : target_(lines), clock_(FixedTestTime())
    {
        Console().Bind(&target_);
        SetQuestions(&questions);
        SetClock(&clock_);
        DebugEnabled = false;
    }
    ~StageHarness()
    {
        Console().Unbind();
        SetQuestions(nullptr);
        SetClock(nullptr);
        DebugEnabled = false;
    }

    // Starts a new run whose outcome the stages record (the front ends' RunScope).
    void NewRun()
    {
        run_.reset();
        run_ = std::make_unique<RunScope>();
    }
    RunOutcome& Outcome() { return run_->Outcome(); }

    // Runs one stage object with the command line, as the runtime would.
    void Run(TSubExec& stage, std::string_view commandLine = {})
    {
        stage.Run(commandLine);
        Console().Flush();
    }

    std::string Output() const
    {
        std::string text;
        for (const auto& l : lines) text += l + "\n";
        return text;
    }

    TempWorkDir dir;
    std::vector<std::string> lines;
    ScriptedQuestions questions;

private:
    StringListTarget target_;
    FixedClock clock_;
    std::unique_ptr<RunScope> run_ = std::make_unique<RunScope>();
};

}  // namespace quorlet::test
