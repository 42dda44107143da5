// The sub-tool runtime: the stage base class, the registry of stages, the file control stack,
// running programs in-process or as processes, and the file and string utilities of all stages.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "IORedirect.h"
#include "RunOutcome.h"
#include "TextFile.h"
#include "Words.h"

namespace quorlet {

// Process-wide debug switch: set per run by the front end (configuration "DEBUG" key and the
// window's debug box, or the command line's --debug).
extern bool DebugEnabled;

// Writes the text as one console line when debugging is on.
void DebugLog(std::string_view text);

class TSubExec {
public:
    static constexpr int kMaxArgs = 100;
    static constexpr int kMaxOpenFiles = 51;

    virtual ~TSubExec() = default;

    // The stage's whole work.
    virtual void Execute() {}
    virtual bool BeforeRun() { return true; }
    virtual bool AfterRun() { return true; }

    // Called by the runtime: splits the command line into words at single blanks, pushes the
    // stage on the file control stack, runs the hooks and Execute, and pops it again (also when
    // Execute ends by an exception, which then goes on to the caller).
    void Run(std::string_view commandLine);

    std::string Param(int index) const;
    int ParamCount() const { return argCount_ - 1; }
    // Param(0) up to and including its last "/"; empty when it has none.
    std::string ProgramDir() const;

    std::string ProgName;  // in capitals, without extension: "EXPANDER"
    std::string ProgPath;  // absolute directory + file name in capitals: "/x/EXPANDER.EXE"

    // Console output of the stage.
    void Write(std::string_view text) { Console().Write(text); }
    void WriteLine(std::string_view text = {}) { Console().WriteLine(text); }
    // A failure that ends the stage's work: the message as one console line, and the error
    // recorded in the outcome of the run, so the run cannot be reported as a success.
    void ReportFailure(std::string_view message);
    // Writes the prompt without a line end, forces it out, and asks a line of input.
    LineAnswer AskLine(std::string_view prompt);

    // File utilities: each logs its debug lines and registers the file with the running stage.
    bool OpenIn(TextFile& file, std::string_view name);
    // An intermediate file (".$$$", ".###") is always created afresh, never through a link.
    bool OpenOut(TextFile& file, std::string_view name);
    bool OpenAppend(TextFile& file, std::string_view name);
    // False when the close reported an I/O error (the stages' "PROBABLY DISK FULL" case).
    bool CloseText(TextFile& file);
    // Unlinks the file (a symbolic link itself, never its target); a directory is left alone.
    void EraseFile(TextFile& file, std::string_view name);
    void EraseFile(std::string_view name);

    // The word scanner with one cursor per stage, for stages that read a line in several calls.
    std::string FirstWord(std::string_view line);
    std::string NextWord(std::string_view line);
    // Decimal digits only; each other character writes "NUMBER CHECK ERROR" and sets ErrorFlag,
    // and the value is that of every character taken as a digit.
    int ParseNumber(std::string_view word);

    bool ErrorFlag = false;

    // The files this stage has open, in the order they were opened.
    const std::vector<TextFile*>& OpenFiles() const { return openFiles_; }
    void ClearOpenFiles() { openFiles_.clear(); }

private:
    friend class TFileControl;
    void RegisterOpenFile(TextFile& file);
    std::vector<std::string> args_ = std::vector<std::string>(kMaxArgs);
    int argCount_ = 1;
    WordScanner::Position cursor_;
    std::vector<TextFile*> openFiles_;
};

// The stack of running stages; the one on top owns the files being opened and closed.
class TFileControl {
public:
    static constexpr int kMaxDepth = 11;
    void Push(TSubExec& stage);
    // Closes every file the top stage left open, with its debug lines, then drops the stage.
    void Pop();
    TSubExec* Top() const { return stack_.empty() ? nullptr : stack_.back(); }
    int Depth() const { return static_cast<int>(stack_.size()); }
    // Drops a file from every running stage's list (a file variable that ends its life).
    void Forget(TextFile* file);

private:
    std::vector<TSubExec*> stack_;
};

TFileControl& FileControl();

// ---- Registry ----
using StageFactory = std::unique_ptr<TSubExec> (*)();

template <class Stage>
std::unique_ptr<TSubExec> MakeStage()
{
    return std::make_unique<Stage>();
}

inline constexpr int kMaxSubTools = 21;

// Appends a stage to the registry; false when the name is taken or the registry is full.
bool RegisterSubTool(std::string_view name, StageFactory factory);
void ClearSubTools();
std::vector<std::string> RegisteredSubTools();

// A new stage for the program path ("expander.exe", "/x/EXPANDER", ...) or nullptr.
std::unique_ptr<TSubExec> FindSubTool(std::string_view path);

// Runs a program to its end: a registered stage in-process, anything else as a process.
void RunProgram(std::string_view path, std::string_view commandLine);

// Runs the pipeline driver as one run of its own and hands back that run's outcome.
RunOutcome RunPipeline(std::string_view path, std::string_view commandLine, DirectoryWait wait);

// Empties the lines, binds the console to them, runs the program from the running
// executable's directory (name + ".exe") as one run, and binds the console to the discarding
// target. The window never waits for a directory that another run is using.
RunOutcome RunInWindow(std::string_view name, std::string_view commandLine, LineTarget* lines);

// The directory of the running executable, with its trailing "/".
std::string ExecutableDir();
void SetExecutableDir(std::string dir);

// Starts a process without a shell (parameters split at blanks, double quotes grouping) in the
// current directory and waits for it; false when the file does not exist. Exit code not read.
bool LaunchProcess(std::string_view file, std::string_view parameters, bool wait = true);

// Splits a parameter line at blanks, double quotes grouping (and not included).
std::vector<std::string> SplitCommandLine(std::string_view parameters);

// ---- File system helpers ----
std::string CurrentDir();
bool FileExists(std::string_view path);
// The path with its file-name part matched case-insensitively in its directory when no file
// has the exact name; the path itself when nothing matches.
std::string FindFileNoCase(std::string_view path);
// An external program "X.exe" is the file "X.exe" or, when only that exists, "X".
// Returns the file to start, or empty when neither exists.
std::string ResolveProgramFile(std::string_view path);
// File names in a directory matching a pattern with "*" and "?", case-insensitively, sorted.
std::vector<std::string> FindMatches(std::string_view directory, std::string_view pattern);

// ---- String utilities ----
std::string PrependChar(char c, std::string_view s);
std::string AppendChar(std::string_view s, char c);
std::string Concat(std::string_view a, std::string_view b);
std::string UpperCopy(std::string_view s);
bool IsAllDigits(std::string_view word);

struct PathParts {
    std::string dir;   // with its trailing "/"
    std::string name;  // without extension
    std::string ext;   // with its point
};
PathParts SplitPath(std::string_view path);

}  // namespace quorlet
