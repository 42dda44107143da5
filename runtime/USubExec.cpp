// Stage runs, the registry, the file control stack and the utilities every stage shares.
#include "USubExec.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "WorkDirectory.h"

namespace fs = std::filesystem;

namespace quorlet {

bool DebugEnabled = false;

void DebugLog(std::string_view text)
{
    if (DebugEnabled) Console().WriteLine(text);
}

// ---- TSubExec ----

void TSubExec::Run(std::string_view commandLine)
{
    args_.assign(kMaxArgs, std::string());
    args_[0] = ProgPath;
    argCount_ = 1;
    std::size_t pos = 0;
    while (pos < commandLine.size() && argCount_ < kMaxArgs) {
        std::size_t blank = commandLine.find(' ', pos);
        if (blank == std::string_view::npos) blank = commandLine.size();
        if (blank > pos) args_[argCount_++] = std::string(commandLine.substr(pos, blank - pos));
        pos = blank + 1;
    }
    cursor_ = {};
    ErrorFlag = false;
    FileControl().Push(*this);
    struct PopOnExit {
        TSubExec& stage;
        ~PopOnExit()
        {
            stage.AfterRun();
            FileControl().Pop();
        }
    } pop{*this};
    BeforeRun();
    Execute();
}

std::string TSubExec::Param(int index) const
{
    if (index < 0 || index >= argCount_) return {};
    return args_[index];
}

std::string TSubExec::ProgramDir() const
{
    std::string path = Param(0);
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void TSubExec::ReportFailure(std::string_view message)
{
    WriteLine(message);
    RecordRunError();
}

LineAnswer TSubExec::AskLine(std::string_view prompt)
{
    Console().Write(prompt);
    Console().Flush();
    return Questions().AskLine();
}

void TSubExec::RegisterOpenFile(TextFile& file)
{
    if (std::find(openFiles_.begin(), openFiles_.end(), &file) != openFiles_.end()) {
        DebugLog(">>>>>>>>>>>>>>Opening Open file: " + file.Name());
        return;
    }
    if (static_cast<int>(openFiles_.size()) < kMaxOpenFiles) openFiles_.push_back(&file);
}

namespace {
TSubExec* TopStage() { return FileControl().Top(); }

}  // namespace

bool TSubExec::OpenIn(TextFile& file, std::string_view name)
{
    DebugLog("Assigning In: " + std::string(name) + " (Current Dir = " + CurrentDir() + " )");
    if (!file.OpenRead(name)) {
        DebugLog("Assign result:" + std::string(name) + " fail");
        return false;
    }
    if (TSubExec* top = TopStage()) top->RegisterOpenFile(file);
    DebugLog("Assign result:" + std::string(name) + " ok");
    return true;
}

bool TSubExec::OpenOut(TextFile& file, std::string_view name)
{
    DebugLog("Assigning Out: " + std::string(name) + " (Current Dir = " + CurrentDir() + " )");
    if (!(IsIntermediateFileName(name) ? file.OpenWriteFresh(name) : file.OpenWrite(name))) return false;
    if (TSubExec* top = TopStage()) top->RegisterOpenFile(file);
    return true;
}

bool TSubExec::OpenAppend(TextFile& file, std::string_view name)
{
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(std::string(name)), ec)) return false;
    if (!file.OpenAppend(name)) return false;
    if (TSubExec* top = TopStage()) top->RegisterOpenFile(file);
    return true;
}

bool TSubExec::CloseText(TextFile& file)
{
    if (TSubExec* top = TopStage()) {
        auto& list = top->openFiles_;
        auto it = std::find(list.begin(), list.end(), &file);
        if (it != list.end()) list.erase(it);
    }
    DebugLog("CloseFile: " + file.Name());
    bool ok = file.Close();
    DebugLog("File Closed: " + file.Name());
    return ok;
}

void TSubExec::EraseFile(TextFile& file, std::string_view name)
{
    std::string n(name);
    DebugLog("Erase File: " + n + " 1:assign");
    if (file.IsOpen()) CloseText(file);
    DebugLog("ok");
    // Only the name goes: opening the file first would truncate whatever a link points to.
    DebugLog("Erase File: " + n + " 4:erase");
    bool erased = unlink(n.c_str()) == 0;
    DebugLog(erased ? "ok" : "fail");
    DebugLog("Erase Done");
}

void TSubExec::EraseFile(std::string_view name)
{
    TextFile file;
    EraseFile(file, name);
}

std::string TSubExec::FirstWord(std::string_view line)
{
    WordScanner scan(line);
    std::string word = scan.FirstWord();
    cursor_ = scan.Where();
    return word;
}

std::string TSubExec::NextWord(std::string_view line)
{
    WordScanner scan(line, cursor_);
    std::string word = scan.NextWord();
    cursor_ = scan.Where();
    return word;
}

int TSubExec::ParseNumber(std::string_view word)
{
    ParsedNumber number = ParseDecimal(word);
    for (int k = 0; k < number.badChars; ++k) {
        WriteLine("NUMBER CHECK ERROR");
        ErrorFlag = true;
    }
    return static_cast<int>(number.rawValue);
}

// ---- TFileControl ----

void TFileControl::Push(TSubExec& stage)
{
    stage.openFiles_.clear();
    stack_.push_back(&stage);
}

void TFileControl::Pop()
{
    if (stack_.empty()) return;
    TSubExec& stage = *stack_.back();
    std::vector<TextFile*> left;
    left.swap(stage.openFiles_);
    for (TextFile* file : left) {
        DebugLog(">>>>>>>>>>>>>>Closing Unclosed file: " + file->Name());
        if (!file->IsOpen() || !file->Close()) DebugLog(">>>>>>>>>>>>>>File WAS closed or erased: " + file->Name());
    }
    stack_.pop_back();
}

void ForgetOpenFile(TextFile* file) { FileControl().Forget(file); }

void TFileControl::Forget(TextFile* file)
{
    for (TSubExec* stage : stack_) {
        auto& list = stage->openFiles_;
        list.erase(std::remove(list.begin(), list.end(), file), list.end());
    }
}

TFileControl& FileControl()
{
    static TFileControl control;
    return control;
}

// ---- Registry ----

namespace {
struct RegistryEntry {
    std::string name;
    StageFactory factory;
};
std::vector<RegistryEntry>& Registry()
{
    static std::vector<RegistryEntry> registry;
    return registry;
}
}  // namespace

bool RegisterSubTool(std::string_view name, StageFactory factory)
{
    auto& reg = Registry();
    std::string upper = UpperCopy(name);
    if (static_cast<int>(reg.size()) >= kMaxSubTools) return false;
    for (const auto& e : reg)
        if (e.name == upper) return false;
    reg.push_back({upper, factory});
    return true;
}

void ClearSubTools() { Registry().clear(); }

std::vector<std::string> RegisteredSubTools()
{
    std::vector<std::string> names;
    for (const auto& e : Registry()) names.push_back(e.name);
    return names;
}

namespace {
// The directory made absolute the way a change of directory would: one that does not exist
// gives the current directory.
std::string AbsoluteDir(std::string_view dir)
{
    std::string current = CurrentDir();
    if (dir.empty()) return current;
    std::error_code ec;
    fs::path p = fs::path(current) / fs::path(std::string(dir));
    if (!fs::is_directory(p, ec)) return current;
    fs::path canon = fs::weakly_canonical(p, ec);
    if (ec) return current;
    return canon.string();
}
}  // namespace

std::unique_ptr<TSubExec> FindSubTool(std::string_view path)
{
    std::size_t slash = path.rfind('/');
    std::string dir = slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
    std::string name = UpperCopy(slash == std::string_view::npos ? path : path.substr(slash + 1));
    dir = AbsoluteDir(dir);
    if (dir.empty() || dir.back() != '/') dir += '/';
    std::string fullPath = dir + name;
    std::size_t point = name.find('.');
    if (point != std::string::npos) name.resize(point);
    for (const auto& e : Registry()) {
        if (e.name != name) continue;
        std::unique_ptr<TSubExec> stage = e.factory();
        stage->ProgName = name;
        stage->ProgPath = fullPath;
        DebugLog("Created SubExec: " + name + " " + fullPath);
        return stage;
    }
    return nullptr;
}

void RunProgram(std::string_view path, std::string_view commandLine)
{
    std::unique_ptr<TSubExec> stage = FindSubTool(path);
    if (stage) {
        DebugLog("Starting Application: " + std::string(path));
        DebugLog("Inline APPL Started: " + stage->ProgName);
        DebugLog("Current Dir is: " + CurrentDir());
        try {
            stage->Run(commandLine);
        } catch (...) {
            // A stage that throws ends like one that returned: its files are closed already.
        }
        DebugLog("Inline APPL Stopped: " + stage->ProgName);
        return;
    }
    DebugLog("Starting Application: " + std::string(path));
    DebugLog("Current Dir is: " + CurrentDir());
    DebugLog("Commandline is " + std::string(commandLine));
    Console().Flush();
    LaunchProcess(path, commandLine, true);
    DebugLog("Application Ended: " + std::string(path));
}

namespace {
std::string& ExeDirStore()
{
    static std::string dir;
    return dir;
}
}  // namespace

std::string ExecutableDir()
{
    std::string& dir = ExeDirStore();
    if (dir.empty()) {
        std::error_code ec;
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        if (!ec) dir = exe.parent_path().string() + "/";
    }
    return dir;
}

void SetExecutableDir(std::string dir)
{
    if (!dir.empty() && dir.back() != '/') dir += '/';
    ExeDirStore() = std::move(dir);
}

RunOutcome RunPipeline(std::string_view path, std::string_view commandLine, DirectoryWait wait)
{
    RunScope run(wait);
    RunProgram(path, commandLine);
    return run.Outcome();
}

RunOutcome RunInWindow(std::string_view name, std::string_view commandLine, LineTarget* lines)
{
    if (lines) lines->Clear();
    ScopedConsole console(lines);
    return RunPipeline(ExecutableDir() + std::string(name) + ".exe", commandLine, DirectoryWait::Refuse);
}

// ---- File system ----

std::string CurrentDir()
{
    std::error_code ec;
    fs::path p = fs::current_path(ec);
    return ec ? std::string() : p.string();
}

bool FileExists(std::string_view path)
{
    std::error_code ec;
    return fs::is_regular_file(fs::path(std::string(path)), ec);
}

namespace {
bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool MatchNoCase(std::string_view pattern, std::string_view text)
{
    std::size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
    auto up = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || up(pattern[p]) == up(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}
}  // namespace

std::string FindFileNoCase(std::string_view path)
{
    std::string p(path);
    if (FileExists(p)) return p;
    std::size_t slash = p.rfind('/');
    std::string dir = slash == std::string::npos ? std::string(".") : p.substr(0, slash);
    if (dir.empty()) dir = "/";
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    std::error_code ec;
    std::vector<std::string> hits;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (EqualNoCase(entry, name) && it->is_regular_file(ec)) hits.push_back(entry);
    }
    if (hits.empty()) return p;
    std::sort(hits.begin(), hits.end());
    return slash == std::string::npos ? hits.front() : p.substr(0, slash + 1) + hits.front();
}

std::string ResolveProgramFile(std::string_view path)
{
    std::string found = FindFileNoCase(path);
    if (FileExists(found)) return found;
    std::string p(path);
    if (p.size() > 4 && EqualNoCase(std::string_view(p).substr(p.size() - 4), ".exe")) {
        found = FindFileNoCase(p.substr(0, p.size() - 4));
        if (FileExists(found)) return found;
    }
    return {};
}

std::vector<std::string> FindMatches(std::string_view directory, std::string_view pattern)
{
    std::vector<std::string> names;
    std::error_code ec;
    std::string dir = directory.empty() ? std::string(".") : std::string(directory);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (MatchNoCase(pattern, entry) && it->is_regular_file(ec)) names.push_back(entry);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// ---- Strings ----

std::string PrependChar(char c, std::string_view s) { return ShortString(std::string(1, c) + std::string(s)); }
std::string AppendChar(std::string_view s, char c) { return ShortString(std::string(s) + c); }
std::string Concat(std::string_view a, std::string_view b) { return ShortString(std::string(a) + std::string(b)); }

std::string UpperCopy(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool IsAllDigits(std::string_view word) { return ParseDecimal(word).isNumber; }

PathParts SplitPath(std::string_view path)
{
    PathParts parts;
    std::size_t slash = path.rfind('/');
    std::string_view file = path;
    if (slash != std::string_view::npos) {
        parts.dir = std::string(path.substr(0, slash + 1));
        file = path.substr(slash + 1);
    }
    std::size_t point = file.rfind('.');
    if (point == std::string_view::npos) {
        parts.name = std::string(file);
    } else {
        parts.name = std::string(file.substr(0, point));
        parts.ext = std::string(file.substr(point));
    }
    return parts;
}

}  // namespace quorlet
