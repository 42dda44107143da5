// The answer check as a whole: minimizing runs of the table in a private directory, the answers
// read and graded against them, the verdicts on the console and the gradebook file.
#include "AnswerCheckRun.h"

#include <stdlib.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>

#include "AnswerCheck.h"
#include "Clock.h"
#include "IORedirect.h"
#include "TCheck.h"
#include "USubExec.h"
#include "WorkDirectory.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTableCopy = "check.tbl";

// A directory of the check's own, removed with everything in it at the end.
class PrivateDirectory {
public:
    PrivateDirectory()
    {
        std::error_code ec;
        fs::path base = fs::temp_directory_path(ec);
        if (ec) return;
        std::string pattern = (base / "quorlet-check-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data())) path_ = name.data();
    }
    ~PrivateDirectory()
    {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// The runs answer the cover question with the check's choice and never wait for a line.
class CheckQuestions : public TQuestions {
public:
    LineAnswer AskLine() override { return {"", true}; }
    std::string AskCover() override
    {
        coverAsked_ = true;
        return cover_;
    }
    void Prepare(std::string cover)
    {
        cover_ = std::move(cover);
        coverAsked_ = false;
    }
    bool CoverAsked() const { return coverAsked_; }

private:
    std::string cover_;
    bool coverAsked_ = false;
};

// The clock of the caller without its pauses: the banner's pause would only slow every run.
class NoPauseClock : public TClock {
public:
    explicit NoPauseClock(TClock& real) : real_(real) {}
    ClockTime Now() override { return real_.Now(); }
    void Sleep(int) override {}

private:
    TClock& real_;
};

// The runs' console, questions and clock for the length of the runs; the caller's afterwards.
class RunStandIns {
public:
    RunStandIns()
        : console_(Console().Current()),
          questions_(&Questions()),
          clock_(&Clock()),
          noPause_(*clock_),
          captured_(lines_)
    {
        Console().Flush();
        Console().Bind(&captured_);
        SetQuestions(&check_);
        SetClock(&noPause_);
    }
    ~RunStandIns()
    {
        Console().Flush();
        Console().Restore(console_);
        SetQuestions(questions_);
        SetClock(clock_);
    }
    RunStandIns(const RunStandIns&) = delete;
    RunStandIns& operator=(const RunStandIns&) = delete;

    CheckQuestions& Check() { return check_; }
    // The lines the last run wrote, taken away.
    std::vector<std::string> TakeLines()
    {
        Console().Flush();
        std::vector<std::string> lines;
        lines.swap(lines_);
        Console().Bind(&captured_);
        return lines;
    }

private:
    TConsole::Binding console_;
    TQuestions* questions_;
    TClock* clock_;
    NoPauseClock noPause_;
    CheckQuestions check_;
    std::vector<std::string> lines_;
    StringListTarget captured_;
};

struct PipelineRun {
    bool minimized = false;
    bool coverAsked = false;
    MinimizedCover cover;         // settings log and minimized cover
    CoverTable coverTable;        // the cover table as minimized
    std::vector<ExprCost> costs;  // per output, counted once for all answers
    std::vector<std::string> lines;
};

bool ReadKeptFiles(PipelineRun& run)
{
    TextFile log, minimized, table;
    if (!log.OpenRead(kKeptSettingsLogFile) || !minimized.OpenRead(kKeptMinimizedFile) ||
        !table.OpenRead(kKeptCoverTableFile))
        return false;
    run.cover.ClearForRun();
    run.cover.ReadSettingsLog(log);
    if (run.cover.Failed) return false;
    run.cover.ReadMinimizedTable(minimized);
    if (run.cover.Failed) return false;
    return ReadCoverTable(table, run.coverTable) == TableReadStatus::Ok &&
           run.coverTable.outputs == run.cover.NumOutputs && run.coverTable.inputs == run.cover.NumInputs;
}

std::string UpperWord(std::string_view word)
{
    std::string upper(word);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool IsModeOption(const std::string& option)
{
    const std::string upper = UpperWord(option);
    return upper == "/P" || upper == "/O";
}

// Options that only choose the kind of result file; the check needs the table output alone.
bool IsOutputKindOption(const std::string& option)
{
    const std::string upper = UpperWord(option);
    return upper == "/E" || upper.rfind("/D", 0) == 0 || upper.rfind("/J", 0) == 0;
}

bool IsMooreOption(const std::string& option) { return UpperWord(option) == "/M"; }

class CheckRuns {
public:
    CheckRuns(const AnswerCheckRequest& request, RunStandIns& standIns) : request_(request), standIns_(standIns)
    {
        for (const std::string& option : request.options)
            if (!IsModeOption(option) && !IsOutputKindOption(option)) options_.push_back(option);
        userCover_ = request.cover.empty() ? "-" : request.cover;
        for (const std::string& option : request.options)
            productOfSumsAsked_ = productOfSumsAsked_ || UpperWord(option) == "/P";
    }

    bool ProductOfSumsAsked() const { return productOfSumsAsked_; }

    // The table's ON and OFF points: open points become don't-cares, which leaves them as written;
    // without the Moore pass, which rewrites the cover table.
    PipelineRun Reference()
    {
        std::vector<std::string> options;
        for (const std::string& option : options_)
            if (!IsMooreOption(option)) options.push_back(option);
        return Run(options, "-");
    }

    // The run of one mode with the request's options and cover; the reference run serves for the
    // sum-of-products mode when it would minimize the same function the same way.
    const PipelineRun& Minimum(CheckMode mode, const PipelineRun& reference)
    {
        auto found = runs_.find(Key(mode));
        if (found != runs_.end()) return found->second;
        bool moore = false;
        for (const std::string& option : options_) moore = moore || IsMooreOption(option);
        if (mode == CheckMode{} && !moore && (userCover_ == "-" || !reference.coverAsked))
            return runs_.emplace(Key(mode), reference).first->second;
        std::vector<std::string> options = options_;
        if (mode.productOfSums) options.push_back("/P");
        if (mode.offCover) options.push_back("/O");
        return runs_.emplace(Key(mode), Run(options, userCover_)).first->second;
    }

private:
    static int Key(CheckMode mode) { return (mode.productOfSums ? 1 : 0) + (mode.offCover ? 2 : 0); }

    PipelineRun Run(const std::vector<std::string>& options, const std::string& cover)
    {
        for (std::string_view kept : {kKeptCoverTableFile, kKeptSettingsLogFile, kKeptMinimizedFile}) {
            std::error_code ec;
            fs::remove(fs::path(std::string(kept)), ec);
        }
        std::string commandLine = " --check";
        for (const std::string& option : options) commandLine += " " + option;
        commandLine += std::string(" ") + kTableCopy;
        if (!request_.flipFlop.empty()) commandLine += " " + request_.flipFlop;
        commandLine += " ";

        standIns_.Check().Prepare(cover);
        RunPipeline(ExecutableDir() + "quorlet.exe", commandLine, DirectoryWait::Refuse);
        PipelineRun run;
        run.coverAsked = standIns_.Check().CoverAsked();
        run.lines = standIns_.TakeLines();
        run.minimized = ReadKeptFiles(run);
        if (run.minimized) run.costs = MinimumCosts(run.cover);
        if (request_.showRunLines) shownLines_.insert(shownLines_.end(), run.lines.begin(), run.lines.end());
        return run;
    }

public:
    std::vector<std::string> TakeShownLines() { return std::move(shownLines_); }

private:
    const AnswerCheckRequest& request_;
    RunStandIns& standIns_;
    std::vector<std::string> options_;
    std::string userCover_;
    bool productOfSumsAsked_ = false;
    std::vector<std::string> shownLines_;
    std::map<int, PipelineRun> runs_;
};

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

struct GradedAnswer {
    std::string file;
    std::vector<std::string> errors;
    std::vector<FunctionVerdict> verdicts;
};

bool AllCorrect(const GradedAnswer& graded)
{
    if (!graded.errors.empty()) return false;
    for (const FunctionVerdict& v : graded.verdicts)
        if (v.verdict != Verdict::Correct) return false;
    return true;
}

void WriteCsv(std::ostream& out, const CheckReference& reference, const std::vector<GradedAnswer>& graded)
{
    out << "file,function,verdict,terms,literals,minimum terms,minimum literals\n";
    for (const GradedAnswer& answer : graded) {
        for (std::size_t j = 0; j < answer.verdicts.size(); ++j) {
            const FunctionVerdict& v = answer.verdicts[j];
            out << CsvField(answer.file) << ',' << CsvField(reference.signals.outputs[j]) << ','
                << VerdictWord(v.verdict) << ',';
            if (v.verdict != Verdict::Missing) out << v.cost.terms << ',' << v.cost.literals;
            else out << ',';
            out << ',' << v.minimum.terms << ',' << v.minimum.literals << '\n';
        }
    }
}

// The run's own lines after the table reader's banner, which ends with the border of its box.
void WriteRunLines(const PipelineRun& run, std::string_view why)
{
    const std::string border = std::string(6, ' ') + std::string(62, '=');
    std::size_t first = 0;
    for (std::size_t i = 0; i < run.lines.size() && i < 20; ++i)
        if (run.lines[i] == border) first = i + 1;
    while (first < run.lines.size() && run.lines[first].empty()) ++first;
    for (std::size_t i = first; i < run.lines.size(); ++i) Console().WriteLine(run.lines[i]);
    Console().WriteLine(why);
}

}  // namespace

void ReadPipelineCommandLine(std::string_view commandLine, AnswerCheckRequest& request)
{
    std::istringstream words{std::string(commandLine)};
    std::string word;
    while (words >> word) {
        if (request.tableFile.empty() && word[0] == '/') request.options.push_back(word);
        else if (request.tableFile.empty()) request.tableFile = word;
        else if (request.flipFlop.empty()) request.flipFlop = word;
    }
}

AnswerCheckResult RunAnswerCheck(const AnswerCheckRequest& request)
{
    AnswerCheckResult result;
    result.answers = static_cast<int>(request.answerFiles.size());
    TConsole& console = Console();

    std::error_code ec;
    fs::path table = request.tableFile;
    if (!fs::is_regular_file(table, ec) && table.filename().string().find('.') == std::string::npos) table += ".tbl";
    if (request.tableFile.empty() || !fs::is_regular_file(table, ec)) {
        console.WriteLine("FATAL ERROR: UNABLE TO OPEN TABLE FILE " + request.tableFile);
        return result;
    }
    PrivateDirectory privateDir;
    if (privateDir.Path().empty() || !fs::copy_file(table, privateDir.Path() / kTableCopy, ec)) {
        console.WriteLine("FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE");
        return result;
    }
    // Answer files are named relative to the caller's directory.
    std::vector<fs::path> answerPaths;
    for (const std::string& file : request.answerFiles) answerPaths.push_back(fs::absolute(file, ec));

    std::optional<CheckReference> reference;
    std::vector<GradedAnswer> graded;
    {
        // The stages work in the current directory: it is the private one while the runs last.
        CurrentDirectoryScope inPrivate(privateDir.Path());
        if (!inPrivate.Entered()) {
            console.WriteLine("FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE");
            return result;
        }
        std::optional<PipelineRun> failed;
        std::vector<std::string> shownLines;
        {
            RunStandIns standIns;
            CheckRuns runs(request, standIns);
            PipelineRun specified = runs.Reference();
            if (!specified.minimized) failed = std::move(specified);
            else reference = MakeCheckReference(specified.coverTable, specified.cover);
            for (std::size_t a = 0; a < answerPaths.size() && !failed; ++a) {
                Answer answer = ReadAnswerFile(answerPaths[a].string(), reference->signals);
                GradedAnswer& out = graded.emplace_back();
                out.file = request.answerFiles[a];
                for (const AnswerError& error : answer.errors) out.errors.push_back(FormatAnswerError(out.file, error));
                for (int j = 0; j < static_cast<int>(reference->functions.size()) && !failed; ++j) {
                    const AnswerEquation* equation = nullptr;
                    for (const AnswerEquation& e : answer.equations)
                        if (e.output == j) equation = &e;
                    const bool pos = runs.ProductOfSumsAsked();
                    const PipelineRun& minimum =
                        runs.Minimum(equation ? ModeOf(*equation, pos) : CheckMode{pos, false}, specified);
                    if (!minimum.minimized) failed = minimum;
                    else
                        out.verdicts.push_back(
                            CheckFunction(*reference, j, equation, minimum.costs[static_cast<std::size_t>(j)]));
                }
            }
            shownLines = runs.TakeShownLines();
        }
        for (const std::string& line : shownLines) console.WriteLine(line);
        if (failed) {
            WriteRunLines(*failed, "TABLE NOT MINIMIZED, NO ANSWER CHECKED");
            return result;
        }
    }
    result.tableMinimized = true;

    const bool headed = request.headed || request.answerFiles.size() > 1;
    for (std::size_t a = 0; a < graded.size(); ++a) {
        const GradedAnswer& answer = graded[a];
        if (headed) {
            if (a > 0) console.WriteLine();
            console.WriteLine(answer.file);
        }
        for (const std::string& error : answer.errors) console.WriteLine(error);
        int correct = 0;
        for (std::size_t j = 0; j < answer.verdicts.size(); ++j) {
            console.WriteLine(FormatVerdict(*reference, static_cast<int>(j), answer.verdicts[j]));
            if (answer.verdicts[j].verdict == Verdict::Correct) ++correct;
        }
        console.WriteLine("RESULT: " + std::to_string(correct) + " OF " + std::to_string(answer.verdicts.size()) +
                          " CORRECT");
        if (AllCorrect(answer)) ++result.answersAllCorrect;
    }
    if (!request.csvFile.empty()) {
        std::ofstream csv(request.csvFile, std::ios::binary | std::ios::trunc);
        if (csv) WriteCsv(csv, *reference, graded);
        if (!csv || !csv.flush()) {
            console.WriteLine("ERROR WRITING OUTPUT FILE " + request.csvFile);
            result.gradebookWritten = false;
        }
    }
    console.Flush();
    return result;
}

int RunCheckCommand(const std::vector<std::string>& words, std::ostream& errors)
{
    auto usage = [&](const std::string& message) {
        errors << "quorlet: " << message << "\n"
               << "Try 'quorlet --help'.\n";
        return 2;
    };
    AnswerCheckRequest request;
    std::vector<std::string> before, after;
    bool split = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        std::error_code ec;
        if (word == "--" && !split) {
            split = true;
        } else if (word == "--csv" || word.rfind("--csv=", 0) == 0) {
            if (word == "--csv" && i + 1 >= words.size()) return usage("--csv takes a file name");
            request.csvFile = word == "--csv" ? words[++i] : word.substr(6);
            if (request.csvFile.empty()) return usage("--csv takes a file name");
        } else if (word == "--debug") {
            DebugEnabled = true;
            request.showRunLines = true;
        } else if (word.rfind("--cover=", 0) == 0) {
            std::string value = word.substr(8);
            if (value == "on") request.cover = "1";
            else if (value == "dc") request.cover = "-";
            else if (value == "off") request.cover = "0";
            else if (value == "abort") request.cover = "Q";
            else return usage("--cover takes on, dc, off or abort, not '" + value + "'");
        } else if (word.size() > 1 && word.rfind("--", 0) == 0) {
            return usage("unknown option '" + word + "' with --check");
        } else if (!word.empty() && word[0] == '/' && !fs::exists(word, ec)) {
            // An absolute path of an existing file is a file; anything else with a slash an option.
            request.options.push_back(word);
        } else {
            (split ? after : before).push_back(word);
        }
    }
    if (split) {
        request.answerFiles = before;
    } else if (!before.empty()) {
        request.answerFiles.push_back(before.front());
        after.assign(before.begin() + 1, before.end());
    }
    if (request.answerFiles.empty()) return usage("--check needs an answer file");
    if (after.empty()) return usage("--check needs a table file");
    if (after.size() > 2) return usage("--check takes the table file and a flip-flop word, not '" + after[2] + "'");
    request.tableFile = after[0];
    if (after.size() > 1) request.flipFlop = after[1];
    request.headed = split;
    return RunAnswerCheck(request).AllCorrect() ? 0 : 1;
}

}  // namespace quorlet
