// Exact line syntax of the intermediate files.
#include "UTables.h"

#include <string>

#include "USubExec.h"

namespace quorlet {

std::vector<std::string> SplitWords(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && IsSeparator(line[pos])) ++pos;
        std::size_t start = pos;
        while (pos < line.size() && !IsSeparator(line[pos])) ++pos;
        if (pos > start) words.emplace_back(line.substr(start, pos - start));
    }
    return words;
}

namespace {

void WriteTerms(TextFile& file, const std::vector<Term>& terms)
{
    for (const Term& t : terms) file.WriteLine(t.input + " " + t.output);
}

// Parses a count word; false when it is not all digits.
bool ParseCount(const std::string& word, int& value)
{
    if (!IsAllDigits(word) || word.size() > 9) return false;
    value = 0;
    for (char c : word) value = value * 10 + (c - '0');
    return true;
}

}  // namespace

void WriteCoverTable(TextFile& file, const CoverTable& table)
{
    file.WriteLine(".i " + std::to_string(table.inputs));
    file.WriteLine(".o " + std::to_string(table.outputs));
    file.WriteLine(".type " + table.type);
    file.WriteLine(".phase " + std::string(static_cast<std::size_t>(table.outputs), '1'));
    file.WriteLine(".p " + std::to_string(table.terms.size()));
    WriteTerms(file, table.terms);
    file.WriteLine(".e");
}

CoverTable MakeCheckTable(const CoverTable& cover)
{
    CoverTable check = cover;
    check.type = "f";
    for (Term& t : check.terms)
        for (char& c : t.output) c = (c == '.' || c == '~') ? '~' : '1';
    return check;
}

CoverTable MakeOneOutputTable(const CoverTable& cover, int column)
{
    CoverTable one;
    one.inputs = cover.inputs;
    one.outputs = 1;
    one.type = "fdr";
    for (const Term& t : cover.terms) {
        char c = column >= 1 && column <= static_cast<int>(t.output.size()) ? t.output[column - 1] : '~';
        one.terms.push_back({t.input, std::string(1, c)});
    }
    return one;
}

TableReadStatus ReadMinimizedTable(TextFile& file, MinimizedTable& table)
{
    table = MinimizedTable{};
    table.inputs = -1;
    table.outputs = -1;
    int count = -1;
    std::string line;
    while (count < 0) {
        if (!file.ReadLine(line)) return TableReadStatus::NoCountLine;
        std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;
        std::string key = UpperCopy(words[0]);
        if (key != ".I" && key != ".O" && key != ".P") continue;
        int value = 0;
        if (!ParseCount(words.size() > 1 ? words[1] : std::string(), value)) return TableReadStatus::BadNumber;
        if (key == ".I") table.inputs = value;
        if (key == ".O") table.outputs = value;
        if (key == ".P") count = value;
    }
    for (int i = 0; i < count; ++i) {
        if (!file.ReadLine(line)) return TableReadStatus::ShortTable;
        std::vector<std::string> words = SplitWords(line);
        if (words.size() < 2 || static_cast<int>(words[0].size()) != table.inputs ||
            static_cast<int>(words[1].size()) != table.outputs)
            return TableReadStatus::BadWidth;
        table.terms.push_back({words[0], words[1]});
    }
    return TableReadStatus::Ok;
}

void WriteMinimizedTable(TextFile& file, const MinimizedTable& table)
{
    file.WriteLine(".i " + std::to_string(table.inputs));
    file.WriteLine(".o " + std::to_string(table.outputs));
    file.WriteLine("#.phase " + std::string(static_cast<std::size_t>(table.outputs < 0 ? 0 : table.outputs), '1'));
    file.WriteLine(".p " + std::to_string(table.terms.size()));
    WriteTerms(file, table.terms);
    file.WriteLine(".e");
}

void WriteNameLines(TextFile& file, std::string_view keyword, const std::vector<std::string>& names)
{
    for (std::size_t i = 0; i < names.size(); i += 8) {
        std::string line(keyword);
        for (std::size_t j = i; j < names.size() && j < i + 8; ++j) line += " " + names[j];
        file.WriteLine(line);
    }
}

void WriteSettingsLog(TextFile& file, const SettingsLog& log)
{
    if (log.error) {
        file.WriteLine("ERROR");
        return;
    }
    file.WriteLine(log.minimizerArgs);
    file.WriteLine();
    file.WriteLine(log.resultFile + " " + log.tableFile);
    file.WriteLine(log.converterOptions);
    file.WriteLine(log.title);
    file.WriteLine();
    WriteNameLines(file, "INPUT", log.inputNames);
    file.WriteLine();
    WriteNameLines(file, "OUTPUT", log.outputNames);
    file.WriteLine();
    if (log.pos) {
        file.WriteLine("POS");
        file.WriteLine();
    }
    if (log.off) {
        file.WriteLine("OFF");
        file.WriteLine();
    }
    file.WriteLine("NO_ERRORS");
    file.WriteLine(std::to_string(log.ni) + " " + std::to_string(log.no) + " " + std::to_string(log.n) + " " +
                   std::to_string(log.m));
    if (log.inv) file.WriteLine("INV");
    if (log.regOut) file.WriteLine("REG_OUT");
}

LogReadStatus ReadSettingsLog(TextFile& file, SettingsLog& log)
{
    log = SettingsLog{};
    std::string line;
    if (!file.ReadLine(line)) return LogReadStatus::Truncated;
    if (line == "ERROR") {
        log.error = true;
        return LogReadStatus::Error;
    }
    log.minimizerArgs = line;
    if (!file.ReadLine(line) || !file.ReadLine(line)) return LogReadStatus::Truncated;
    std::vector<std::string> files = SplitWords(line);
    if (!files.empty()) log.resultFile = files[0];
    if (files.size() > 1) log.tableFile = files[1];
    if (!file.ReadLine(line)) return LogReadStatus::Truncated;
    log.converterOptions = line;
    if (!file.ReadLine(line)) return LogReadStatus::Truncated;
    log.title = line;
    bool sawEnd = false;
    while (file.ReadLine(line)) {
        std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;
        std::string key = UpperCopy(words[0]);
        if (key == "INPUT") {
            log.inputNames.insert(log.inputNames.end(), words.begin() + 1, words.end());
        } else if (key == "OUTPUT") {
            log.outputNames.insert(log.outputNames.end(), words.begin() + 1, words.end());
        } else if (key == "POS") {
            log.pos = true;
        } else if (key == "OFF") {
            log.off = true;
        } else if (key == "NO_ERRORS") {
            sawEnd = true;
            break;
        }
    }
    if (!sawEnd || !file.ReadLine(line)) return LogReadStatus::Truncated;
    std::vector<std::string> counts = SplitWords(line);
    if (counts.size() < 4) return LogReadStatus::BadNumber;
    int* targets[4] = {&log.ni, &log.no, &log.n, &log.m};
    for (int i = 0; i < 4; ++i)
        if (!ParseCount(counts[i], *targets[i])) return LogReadStatus::BadNumber;
    while (file.ReadLine(line)) {
        std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;
        std::string key = UpperCopy(words[0]);
        if (key == "INV") log.inv = true;
        if (key == "REG_OUT") log.regOut = true;
    }
    if (static_cast<int>(log.inputNames.size()) != log.ni + log.n ||
        static_cast<int>(log.outputNames.size()) != log.no + log.m)
        return LogReadStatus::CountMismatch;
    return LogReadStatus::Ok;
}

}  // namespace quorlet
