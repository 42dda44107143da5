// The pipeline driver: table reader, completeness check, minimization (whole table, output by
// output, or with the Moore second pass) and the converter, deciding each step from the files.
#include "TQuorlet.h"

#include <algorithm>
#include <cctype>

#include "TConvert.h"
#include "UTables.h"

namespace quorlet {

void TQuorlet::Reset()
{
    ToolDir.clear();
    CommandLine.clear();
    ExtraOutputs.clear();
    OutputKind = 1;
    OutputOptionCount = 0;
    LibraryName.clear();
    SingleOutput = false;
    MooreMode = false;
    MinimizerArgs.clear();
    MooreFailed = false;
    Stopped = false;
    SavedCoverTable.reset();
}

void TQuorlet::RunTool(std::string_view program, std::string_view arguments)
{
    RunProgram(ToolDir + std::string(program), arguments);
}

void TQuorlet::ReadToolDir()
{
    ToolDir = ProgramDir();
    TextFile cfg;
    if (!OpenIn(cfg, FindFileNoCase(ProgramDir() + "QUORLET.CFG"))) return;
    std::string line;
    while (cfg.ReadLine(line)) {
        for (char& c : line)
            if (c == '=') c = ' ';
        if (FirstWord(line) != "QUORLET_PATH") continue;
        std::size_t pos = line.find("QUORLET_PATH") + 12;
        while (pos < line.size() && line[pos] == ' ') ++pos;
        if (pos >= line.size() || line[pos] != '.') ToolDir.clear();
        // The key is compared in capitals; the path keeps its case (file names are case-sensitive).
        ToolDir = ShortString(ToolDir + line.substr(pos < line.size() ? pos : line.size()));
        while (!ToolDir.empty() && ToolDir.back() == ' ') ToolDir.pop_back();
    }
    CloseText(cfg);
    // Program names are appended directly, so a path written without its separator gets one.
    if (!ToolDir.empty() && ToolDir.back() != '/') ToolDir = ShortString(ToolDir + "/");
}

namespace {
// Library characters after the option letter: every ":" left out, for /F up to the next "/".
std::string LibraryChars(std::string_view word, bool stopAtSlash)
{
    std::string name;
    for (char c : word.substr(2)) {
        if (stopAtSlash && c == '/') break;
        if (c != ':') name.push_back(c);
    }
    return name;
}
}  // namespace

bool TQuorlet::TakeExtraOutputs()
{
    std::string rest;
    bool leading = true;
    for (std::string word = FirstWord(CommandLine); !word.empty(); word = NextWord(CommandLine)) {
        if (leading && word.size() > 2 && word.compare(0, 2, "--") == 0) {
            if (!IsExtraOutputWord(word)) {
                ReportFailure("ILLEGAL COMMAND LINE OPTION: " + word);
                return false;
            }
            ExtraOutputs += " " + word;
            continue;
        }
        leading = false;
        rest += " " + word;
    }
    // Without extra words the command line stays exactly as the front end gave it.
    if (!ExtraOutputs.empty()) CommandLine = ShortString(rest + " ");
    return true;
}

bool TQuorlet::ReadOptions()
{
    for (std::string word = FirstWord(CommandLine); !word.empty() && word[0] == '/'; word = NextWord(CommandLine)) {
        char letter = word.size() > 1 ? static_cast<char>(std::toupper(static_cast<unsigned char>(word[1]))) : '\0';
        bool exact = word.size() == 2;
        bool legal = true;
        switch (letter) {
        case 'E':
            legal = exact;
            OutputKind = 2;
            ++OutputOptionCount;
            break;
        case 'F':
            OutputKind = 3;
            ++OutputOptionCount;
            LibraryName = ShortString(LibraryName + LibraryChars(word, true));
            break;
        case 'D':
        case 'J':
        case 'A':
            OutputKind = letter == 'D' ? 4 : letter == 'J' ? 5 : 6;
            ++OutputOptionCount;
            LibraryName = ShortString(LibraryName + LibraryChars(word, false));
            break;
        case 'S':
            legal = exact;
            SingleOutput = true;
            break;
        case 'M':
            legal = exact;
            MooreMode = true;
            break;
        case 'P':
        case 'O':
        case 'I':
        case 'R': legal = exact; break;
        default: legal = false;
        }
        if (!legal) {
            ReportFailure("ILLEGAL COMMAND LINE OPTION: " + word);
            return false;
        }
    }
    return true;
}

bool TQuorlet::ReadMinimizerArgs()
{
    TextFile log;
    if (!OpenIn(log, kSettingsLogFile)) {
        ReportFailure("UNABLE TO OPEN TEMPORARY FILE");
        return false;
    }
    std::string line;
    log.ReadLine(line);
    MinimizerArgs = line;
    CloseText(log);
    if (MinimizerArgs == "ERROR") {
        // The stage that wrote "ERROR" has told the user why.
        RecordRunError();
        EraseFile(kSettingsLogFile);
        return false;
    }
    return true;
}

bool TQuorlet::CanOpen(std::string_view name)
{
    TextFile file;
    if (!OpenIn(file, name)) return false;
    CloseText(file);
    return true;
}

namespace {
void DollarsToHashes(std::string& args)
{
    for (char& c : args)
        if (c == '$') c = '#';
}
}  // namespace

void TQuorlet::MinimizeSingleOutputs()
{
    TextFile table;
    if (!OpenIn(table, kCoverTableFile)) {
        ReportFailure("UNABLE TO OPEN TEMPORARY FILE");
        Stopped = true;
        return;
    }
    // The output count, at most four digits; the other counts are not looked at.
    TableHeader header;
    const TableReadStatus status = ReadTableHeader(table, header, [](char key, const ParsedNumber& count) {
        return key != 'O' || (count.isNumber && count.value <= 9999);
    });
    CloseText(table);
    const int count = header.outputs;
    if (status == TableReadStatus::Refused || count < 0) {
        ReportFailure("ILLEGAL TEMPORARY TABLE FILE FORMAT");
        Stopped = true;
        return;
    }
    DollarsToHashes(MinimizerArgs);
    for (int k = 1; k <= count; ++k) {
        WriteLine("MINIMIZING FUNCTION: " + std::to_string(k));
        std::string function{static_cast<char>('0' + (k / 10) % 10), static_cast<char>('0' + k % 10)};
        RunTool("splitter.exe", function);
        RunTool("quor_esp.exe", MinimizerArgs);
        RunTool("combiner.exe", "");
    }
    WriteLine();
    EraseFile(kOneOutputTableFile);
    EraseFile(kOneOutputMinimizedFile);
}

void TQuorlet::SaveCoverTable()
{
    SavedCoverTable.reset();
    TextFile file;
    if (!OpenIn(file, kCoverTableFile)) return;
    CoverTable table;
    const bool read = ReadCoverTable(file, table) == TableReadStatus::Ok;
    CloseText(file);
    if (read) SavedCoverTable = std::move(table);
}

void TQuorlet::RestoreCoverTable()
{
    if (!SavedCoverTable) return;
    TextFile file;
    if (!OpenOut(file, kCoverTableFile)) return;
    WriteCoverTable(file, *SavedCoverTable);
    CloseText(file);
}

void TQuorlet::MinimizeWholeTable()
{
    WriteLine("MINIMIZING FUNCTION TABLE");
    RunTool("quor_esp.exe", MinimizerArgs);
    if (!MooreMode) return;
    if (!ExtraOutputs.empty()) SaveCoverTable();
    RunTool("moor_chk.exe", "");
    if (!CanOpen(kOneOutputTableFile)) return;
    WriteLine("SECOND PASS REQUIRED FOR MOORE TYPE REALISATION");
    RunTool("quor_esp.exe", MinimizerArgs);
    DollarsToHashes(MinimizerArgs);
    RunTool("quor_esp.exe", MinimizerArgs);
    RunTool("moor_cmb.exe", "");
    if (CanOpen(kOneOutputTableFile)) {
        MooreFailed = true;
        EraseFile(kOneOutputTableFile);
        EraseFile(kOneOutputMinimizedFile);
        return;
    }
    // Both passes together minimized every column of the saved table.
    RestoreCoverTable();
}

namespace {

// Every intermediate file of a run, with the minimizer's unfinished outputs.
constexpr std::string_view kIntermediateFiles[] = {
    kCoverTableFile,   kCheckTableFile,     kSettingsLogFile,        kMinimizedFile,
    kMissingCoverFile, kOneOutputTableFile, kOneOutputMinimizedFile, kSchematicLogFile,
    "esp_tbl.$$$.tmp", "esp_chk.$$$.tmp",   "esp_tbl.###.tmp",
};

// Files the schematic step writes or erases beside the sheet (B = the base name).
constexpr std::string_view kSchematicSuffixes[] = {".asc", ".asy", ".sym", ".sym.svg", ".svg", ".err", ".sch"};

// The files each extra output writes (NAME = the result file name without its extension).
struct ExtraOutputFiles {
    std::string_view word;
    std::string_view suffixes[2];
};
constexpr ExtraOutputFiles kExtraOutputFiles[] = {
    {"--kmap", {".kmap", ".kmap.svg"}},
    {"--verilog", {".v", "_tb.v"}},
    {"--vhdl", {".vhd", "_tb.vhd"}},
};

}  // namespace

std::string TQuorlet::TableFilePath()
{
    std::string word = FirstWord(CommandLine);
    while (!word.empty() && word[0] == '/') word = NextWord(CommandLine);
    if (word.empty()) return {};
    // Named as the table reader names it: ".tbl" added when the file part has no point.
    std::size_t slash = word.rfind('/');
    if (word.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos) word += ".tbl";
    return FileExists(word) ? word : FindFileNoCase(word);
}

std::vector<std::string> TQuorlet::FilesOfTheRun(const std::string& tableWord)
{
    std::vector<std::string> files(std::begin(kIntermediateFiles), std::end(kIntermediateFiles));
    files.emplace_back(kWorkDirLockFile);
    std::size_t slash = tableWord.rfind('/');
    const std::string base = tableWord.substr(0, tableWord.find('.', slash == std::string::npos ? 0 : slash + 1));
    if (OutputKind == 4)
        for (std::string_view suffix : kSchematicSuffixes) files.push_back(base + std::string(suffix));
    for (const ExtraOutputFiles& extra : kExtraOutputFiles) {
        if (ExtraOutputs.find(" " + std::string(extra.word)) == std::string::npos) continue;
        for (std::string_view suffix : extra.suffixes) files.push_back(base + std::string(suffix));
    }
    return files;
}

bool TQuorlet::CheckTableIsSafe()
{
    const std::string table = TableFilePath();
    if (table.empty()) return true;
    for (const std::string& name : FilesOfTheRun(table)) {
        if (!SameExistingFile(table, name)) continue;
        ReportFailure("FATAL ERROR: TABLE FILE " + table + " IS " + (name == table ? "" : name + ", ") +
                      "A FILE THAT THIS RUN WRITES OR ERASES; RENAME THE TABLE");
        return false;
    }
    return true;
}

bool TQuorlet::LockWorkDirectory()
{
    const bool wait = CurrentDirectoryWait() == DirectoryWait::Wait;
    auto sayWaiting = [this] {
        WriteLine("WAITING FOR ANOTHER RUN IN THIS FOLDER TO END . . .");
        Console().Flush();
    };
    switch (Lock.Acquire(wait, sayWaiting)) {
    case WorkDirLock::Result::Locked: return true;
    case WorkDirLock::Result::Busy:
        ReportFailure("ANOTHER RUN IS USING THIS FOLDER; THIS RUN DOES NOT START");
        return false;
    case WorkDirLock::Result::Failed: break;
    }
    ReportFailure("FATAL ERROR: LOCK FILE " + std::string(kWorkDirLockFile) + " " + Lock.Problem());
    return false;
}

bool TQuorlet::ClearIntermediateFiles(bool reportProblems)
{
    bool clear = true;
    for (std::string_view name : kIntermediateFiles) {
        WorkFileRemoval removal = RemoveWorkFile(name);
        if (removal == WorkFileRemoval::Removed || removal == WorkFileRemoval::Absent) continue;
        clear = false;
        if (!reportProblems) continue;
        ReportFailure(removal == WorkFileRemoval::NotAFile
                          ? "FATAL ERROR: " + std::string(name) +
                                " IN THE WORK DIRECTORY IS NOT A PLAIN FILE; REMOVE IT"
                          : "FATAL ERROR: UNABLE TO REMOVE OLD INTERMEDIATE FILE " + std::string(name));
        return false;
    }
    return clear;
}

bool TQuorlet::CheckGeneratedNames()
{
    TextFile file;
    if (!OpenIn(file, kSettingsLogFile)) return true;
    SettingsLog log;
    LogReadStatus status = ReadSettingsLog(file, log);
    CloseText(file);
    // A log that does not read is reported by the stage that needs it.
    if (status != LogReadStatus::Ok) return true;
    const auto n = static_cast<std::size_t>(std::clamp(log.n, 0, static_cast<int>(log.inputNames.size())));
    const auto m = static_cast<std::size_t>(std::clamp(log.m, 0, static_cast<int>(log.outputNames.size())));
    std::vector<std::string> generated(log.inputNames.begin(), log.inputNames.begin() + n);
    generated.insert(generated.end(), log.outputNames.begin(), log.outputNames.begin() + m);
    std::vector<std::string> primary(log.inputNames.begin() + n, log.inputNames.end());
    primary.insert(primary.end(), log.outputNames.begin() + m, log.outputNames.end());
    for (const std::string& name : primary) {
        if (std::find(generated.begin(), generated.end(), name) == generated.end()) continue;
        ReportFailure("ERROR: SIGNAL NAME " + name + " IS ALSO THE NAME OF A STATE VARIABLE OR EXCITATION FUNCTION");
        return false;
    }
    return true;
}

void TQuorlet::RunStages()
{
    RunTool("expander.exe", CommandLine);
    if (!ReadMinimizerArgs()) return;
    if (!CheckGeneratedNames()) return;

    WriteLine("CHECKING COMPLETENESS OF INPUT TABLE");
    RunTool("quor_esp.exe", "-o esp_chk.$$$ -pos exp_chk.$$$");
    EraseFile(kCheckTableFile);
    RunTool("supplmnt.exe", "");
    if (!ReadMinimizerArgs()) return;

    DebugLog("10");
    MooreFailed = false;
    if (SingleOutput) MinimizeSingleOutputs();
    else MinimizeWholeTable();
    if (Stopped) return;

    if (MooreFailed) {
        EraseFile(kCoverTableFile);
        ReportFailure("ERROR: INPUT TABLE NOT SPECIFIED AS MOORE TYPE STATE MACHINE");
        EraseFile(kMinimizedFile);
        EraseFile(kSettingsLogFile);
        return;
    }
    // The cover table outlives the converter so that extra outputs can read the function as it
    // was minimized; no converter reads it.
    RunTool("CONVERT.EXE", std::to_string(OutputKind) + " " + LibraryName + ExtraOutputs);
    EraseFile(kCoverTableFile);
}

void TQuorlet::Execute()
{
    Reset();
    ReadToolDir();
    for (int i = 1; i <= ParamCount(); ++i) CommandLine = ShortString(CommandLine + " " + Param(i));
    if (!TakeExtraOutputs()) return;
    if (!ReadOptions()) return;
    if (OutputOptionCount > 1) {
        ReportFailure("INCOMPATIBLE OUTPUT OPTIONS SELECTED");
        return;
    }
    LibraryName = LibraryName.empty() ? std::string("no_lib") : ShortString(LibraryName + ".lib");
    if (!CheckTableIsSafe()) return;

    // One run a directory: the intermediate files have fixed names. Whatever an earlier run
    // left behind goes before the first stage, so that no stage takes it for this run's work.
    if (!LockWorkDirectory()) return;
    if (ClearIntermediateFiles(true)) RunStages();
    ClearIntermediateFiles(false);
    Lock.Release();
}

}  // namespace quorlet