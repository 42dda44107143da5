// The completeness check: "esp_chk.$$$" shown, asked about, and added to "exp_tbl.$$$".
#include "TSUPPLMNT.h"

#include <algorithm>

#include "ToolFiles.h"

namespace quorlet {

namespace {

constexpr std::string_view kOpenError = "FATAL ERROR: UNABLE TO OPEN INTERMEDIATE FILE";
constexpr std::string_view kCheckError = "CHECK ERROR";
constexpr std::string_view kIllegalFormat = "ILLEGAL TEMPORARY FILE FORMAT";
constexpr std::string_view kCoverPrompt = "SELECTED COVER: ( 1 = ON; - = DC; 0 = OFF; Q = Abort ) > ";

bool IsStateTable(const SettingsLog& log) { return log.n > 0; }

// Blanks in front of every line of a state table: the present-state, input, next-state and
// output columns of the echo that the check's lines stand under.
std::string StatePrefix(const SettingsLog& log)
{
    return std::string(static_cast<std::size_t>(log.ni + log.no + 24), ' ');
}

char NameRowChar(const std::string& name, int row, int height)
{
    int index = row - (height - static_cast<int>(name.size()));
    return index >= 1 ? name[static_cast<std::size_t>(index - 1)] : ' ';
}

}  // namespace

std::vector<std::string> MissingCoverHeader(const SettingsLog& log)
{
    const bool state = IsStateTable(log);
    const int width = state ? log.n + log.m + 2 * (log.ni + log.no) + 29 : log.ni + log.no + 3;
    int height = 1;
    for (const auto& name : log.inputNames) height = std::max(height, static_cast<int>(name.size()));
    for (const auto& name : log.outputNames) height = std::max(height, static_cast<int>(name.size()));

    std::vector<std::string> lines;
    lines.emplace_back(static_cast<std::size_t>(width), '=');
    for (int row = 1; row <= height; ++row) {
        std::string line = state ? StatePrefix(log) : std::string();
        for (std::size_t i = 0; i < log.inputNames.size(); ++i) {
            line += NameRowChar(log.inputNames[i], row, height);
            if (static_cast<int>(i) + 1 == log.n) line += ' ';
        }
        line += "   ";
        for (std::size_t i = 0; i < log.outputNames.size(); ++i) {
            line += NameRowChar(log.outputNames[i], row, height);
            if (static_cast<int>(i) + 1 == log.m) line += ' ';
        }
        lines.push_back(ShortString(line));
    }
    lines.emplace_back(static_cast<std::size_t>(width), '=');
    return lines;
}

std::string MissingTermLine(const SettingsLog& log, const Term& term)
{
    if (!IsStateTable(log)) return ShortString(term.input + " | " + term.output);
    const auto n = static_cast<std::size_t>(log.n);
    const auto m = static_cast<std::size_t>(log.m);
    std::string line = StatePrefix(log);
    line += term.input.substr(0, n) + " " + term.input.substr(std::min(n, term.input.size()));
    line += " | ";
    line += term.output.substr(0, m) + " " + term.output.substr(std::min(m, term.output.size()));
    return ShortString(line);
}

void TSUPPLMNT::Fail(std::string_view message)
{
    if (!message.empty()) WriteLine(message);
    ErrorFlag = true;
}

bool TSUPPLMNT::ReadSettings()
{
    TextFile file;
    if (!OpenToolFile(*this, file, kSettingsLogFile, kOpenError)) return false;
    LogReadStatus status = ReadSettingsLog(file, log_);
    CloseText(file);
    // Only a bad count has a message of its own; a log without its lines or with counts that
    // disagree with its names stops the check silently, like the expander's "ERROR" log.
    if (status == LogReadStatus::BadNumber) Fail(kCheckError);
    if (status != LogReadStatus::Ok) Fail();
    return status == LogReadStatus::Ok;
}

bool TSUPPLMNT::ReadTermCount(TextFile& file, int& count)
{
    // Only the term count is read; it must be there and all digits.
    TableHeader header;
    TableReadStatus status = ReadTableHeader(file, header, [](char key, const ParsedNumber& number) {
        return key != 'P' || (!number.empty && number.isNumber);
    });
    switch (status) {
    case TableReadStatus::NoCountLine: Fail(kIllegalFormat); return false;
    case TableReadStatus::Refused: Fail(kCheckError); return false;
    default: break;
    }
    count = header.terms;
    return true;
}

bool TSUPPLMNT::ReadTermsOfLogWidths(TextFile& file, int room, std::vector<Term>& into)
{
    int count = 0;
    if (!ReadTermCount(file, count)) return false;
    if (count > room) {
        Fail(TooManyTermsMessage());
        return false;
    }
    const TermRules rules{.inputs = log_.ni + log_.n, .outputs = log_.no + log_.m};
    if (ReadTableTerms(file, count, rules, into) == TableReadStatus::Ok) return true;
    Fail();
    return false;
}

bool TSUPPLMNT::ReadMissingCover()
{
    TextFile file;
    if (!OpenToolFile(*this, file, kMissingCoverFile, kOpenError)) return false;
    bool ok = ReadTermsOfLogWidths(file, kMaxTerms, store_);
    for (Term& term : store_)
        for (char& c : term.output) c = c == '1' ? '?' : '.';
    CloseText(file);
    EraseFile(kMissingCoverFile);
    missing_ = ok && !store_.empty();
    return ok;
}

void TSUPPLMNT::AskForCover()
{
    WriteLine("INCOMPLETELY SPECIFIED INPUT TABLE; MISSING COVER:");
    for (const std::string& line : MissingCoverHeader(log_)) WriteLine(line);
    for (const Term& term : store_) WriteLine(MissingTermLine(log_, term));
    WriteLine();
    WriteLine("ADD ABOVE TERMS TO ON-/DC-/OFF-COVER OR ABORT PROGRAM");

    char choice = 0;
    for (int asked = 0; asked < kMaxCoverQuestions; ++asked) {
        Write(kCoverPrompt);
        Console().Flush();
        std::string answer = Questions().AskCover();
        WriteLine();
        WriteLine(answer);
        std::string word = UpperCopy(FirstWord(answer));
        char c = word.empty() ? 0 : word[0];
        if (c == '1' || c == '-' || c == '0' || c == 'Q') {
            choice = c;
            break;
        }
    }
    if (choice == 0) {
        WriteLine("NO VALID COVER SELECTED");
        choice = 'Q';
    }
    if (choice == 'Q') {
        AbortRun();
        missing_ = false;
        selection_ = '?';
        return;
    }
    selection_ = choice;
}

bool TSUPPLMNT::AppendToResultFile()
{
    if (store_.empty()) return true;
    TextFile out;
    if (!OpenAppend(out, log_.resultFile)) {
        Fail("ERROR OPENING OUTPUT FILE");
        return false;
    }
    for (Term term : store_) {
        std::replace(term.output.begin(), term.output.end(), '?', selection_);
        out.WriteLine(MissingTermLine(log_, term));
    }
    if (!CloseText(out)) {
        Fail("ERROR WRITING OUTPUT, PROBABLY DISK FULL");
        return false;
    }
    for (Term& term : store_) {
        std::replace(term.output.begin(), term.output.end(), '?', selection_);
        std::replace(term.output.begin(), term.output.end(), '.', '~');
    }
    return true;
}

bool TSUPPLMNT::RewriteCoverTable()
{
    TextFile in;
    if (!OpenToolFile(*this, in, kCoverTableFile, kOpenError)) return false;
    // The completed table must fit the term store of every later stage.
    bool ok = ReadTermsOfLogWidths(in, kMaxTerms - static_cast<int>(store_.size()), store_);
    std::string line;
    // The terms must be followed by the closing ".e" line: a table cut short loses nothing.
    if (ok && !in.ReadLine(line)) {
        Fail();
        ok = false;
    }
    CloseText(in);
    if (!ok) return false;

    CoverTable table;
    table.inputs = static_cast<int>(store_.front().input.size());
    table.outputs = static_cast<int>(store_.front().output.size());
    table.type = "fdr";
    table.terms = store_;
    return WriteToolTable(*this, kCoverTableFile, table, kOpenError);
}

void TSUPPLMNT::AbortRun()
{
    TextFile table;
    EraseFile(table, kCoverTableFile);
    if (!MarkRunFailed(*this)) WriteLine(kOpenError);
}

void TSUPPLMNT::Execute()
{
    ErrorFlag = false;
    missing_ = false;
    selection_ = '?';
    log_ = SettingsLog{};
    store_.clear();

    bool ok = ReadSettings();
    if (!ok && FileExists(kMissingCoverFile)) EraseFile(kMissingCoverFile);
    ok = ok && ReadMissingCover();
    if (ok && missing_) AskForCover();
    ok = ok && AppendToResultFile();
    if (ok && missing_) ok = RewriteCoverTable();
    if (!ok) AbortRun();
}

}  // namespace quorlet
