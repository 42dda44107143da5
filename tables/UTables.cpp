// Exact line syntax of the intermediate files.
#include "UTables.h"

#include <string>

#include "USubExec.h"

namespace quorlet {

namespace {

void WriteTerms(TextFile& file, const std::vector<Term>& terms)
{
    for (const Term& t : terms) file.WriteLine(t.input + " " + t.output);
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

TableReadStatus ReadTableHeader(TextFile& file, TableHeader& header, const CountCheck& check)
{
    header = TableHeader{};
    std::string line;
    for (;;) {
        if (!file.ReadLine(line)) return TableReadStatus::NoCountLine;
        std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;
        std::string key = UpperCopy(words[0]);
        if (key == ".TYPE") {
            header.type = words.size() > 1 ? words[1] : std::string();
            continue;
        }
        if (key != ".I" && key != ".O" && key != ".P") continue;
        ParsedNumber count = ParseDecimal(words.size() > 1 ? words[1] : std::string_view());
        if (check) {
            if (!check(key[1], count)) return TableReadStatus::Refused;
        } else if (!count.isNumber) {
            return TableReadStatus::BadNumber;
        }
        header.countTooLarge = header.countTooLarge || count.capped;
        if (key == ".I") header.inputs = count.value;
        if (key == ".O") header.outputs = count.value;
        if (key == ".P") {
            header.terms = count.value;
            return TableReadStatus::Ok;
        }
    }
}

TableReadStatus ReadTableTerm(TextFile& file, Term& term, const TermRules& rules)
{
    std::string line;
    std::vector<std::string> words;
    do {
        if (!file.ReadLine(line)) return TableReadStatus::ShortTable;
        words = SplitWords(line);
    } while (rules.skipBlankLines && words.empty());
    term.input = words.size() > 0 ? words[0] : std::string();
    term.output = words.size() > 1 ? words[1] : std::string();
    if (rules.checkWidths && (words.size() < 2 || static_cast<int>(term.input.size()) != rules.inputs ||
                              static_cast<int>(term.output.size()) != rules.outputs))
        return TableReadStatus::BadWidth;
    return TableReadStatus::Ok;
}

TableReadStatus ReadTableTerms(TextFile& file, int count, const TermRules& rules, std::vector<Term>& terms)
{
    for (int i = 0; i < count; ++i) {
        Term term;
        TableReadStatus status = ReadTableTerm(file, term, rules);
        if (status != TableReadStatus::Ok) return status;
        terms.push_back(std::move(term));
    }
    return TableReadStatus::Ok;
}

TableReadStatus ReadCoverTable(TextFile& file, CoverTable& table)
{
    table = CoverTable{};
    TableHeader header;
    TableReadStatus status = ReadTableHeader(file, header);
    table.inputs = header.inputs;
    table.outputs = header.outputs;
    if (!header.type.empty()) table.type = header.type;
    // A count beyond nine digits is no number for a whole table.
    if (status == TableReadStatus::Ok && header.countTooLarge) status = TableReadStatus::BadNumber;
    if (status != TableReadStatus::Ok) return status;
    return ReadTableTerms(file, header.terms, TermRules{.inputs = header.inputs, .outputs = header.outputs},
                          table.terms);
}

TableReadStatus ReadMinimizedTable(TextFile& file, MinimizedTable& table)
{
    CoverTable read;
    TableReadStatus status = ReadCoverTable(file, read);
    table = MinimizedTable{read.inputs, read.outputs, std::move(read.terms)};
    return status;
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

namespace {

// The first word of the next line that has one, in capitals; empty at the end of the file.
std::string NextKeyword(TextFile& file)
{
    std::string line;
    while (file.ReadLine(line)) {
        std::string first = UpperCopy(WordScanner(line).FirstWord());
        if (!first.empty()) return first;
    }
    return {};
}

// The lines after "NO_ERRORS": the four counts, then "INV" and "REG_OUT" on any line.
LogReadStatus ReadLogTail(TextFile& file, SettingsLog& log)
{
    std::string line;
    if (!file.ReadLine(line)) return LogReadStatus::NoCounts;
    std::vector<std::string> counts = SplitWords(line);
    LogReadStatus status = counts.size() < 4 ? LogReadStatus::BadNumber : LogReadStatus::Ok;
    int* targets[4] = {&log.ni, &log.no, &log.n, &log.m};
    for (std::size_t i = 0; i < 4 && i < counts.size(); ++i)
        if (!ParseCount(counts[i], *targets[i])) status = LogReadStatus::BadNumber;
    do {
        std::string key = UpperCopy(WordScanner(line).FirstWord());
        if (key == "INV") log.inv = true;
        if (key == "REG_OUT") log.regOut = true;
    } while (file.ReadLine(line));
    return status;
}

}  // namespace

LogReadStatus ReadSettingsLogCounts(TextFile& file, SettingsLog& log)
{
    log = SettingsLog{};
    std::string line;
    for (;;) {
        if (!file.ReadLine(line)) return LogReadStatus::Truncated;
        if (UpperCopy(WordScanner(line).FirstWord()) == "NO_ERRORS") return ReadLogTail(file, log);
    }
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
    for (;;) {
        if (!file.ReadLine(line)) return LogReadStatus::Truncated;
        WordScanner words(line);
        std::string first = words.FirstWord();
        if (first.empty() || UpperCopy(first) == "-O") continue;
        log.resultFile = first;
        log.tableFile = words.NextWord();
        break;
    }
    if (!file.ReadLine(log.converterOptions) || !file.ReadLine(log.title)) return LogReadStatus::Truncated;

    std::string keyword;
    for (;;) {
        if (!file.ReadLine(line)) return LogReadStatus::Truncated;
        WordScanner words(line);
        std::string first = UpperCopy(words.FirstWord());
        if (first.empty() || first[0] == '"') continue;
        std::vector<std::string>* names = first == "INPUT"    ? &log.inputNames
                                          : first == "OUTPUT" ? &log.outputNames
                                                              : nullptr;
        if (!names) {
            keyword = first;
            break;
        }
        for (std::string name = words.NextWord(); !name.empty(); name = words.NextWord()) names->push_back(name);
    }
    if (keyword == "POS") {
        log.pos = true;
        keyword = NextKeyword(file);
    }
    if (keyword == "OFF") {
        log.off = true;
        keyword = NextKeyword(file);
    }
    if (keyword.empty()) return LogReadStatus::Truncated;
    if (keyword != "NO_ERRORS") return LogReadStatus::Malformed;

    LogReadStatus status = ReadLogTail(file, log);
    if (status == LogReadStatus::Ok && (static_cast<int>(log.inputNames.size()) != log.ni + log.n ||
                                        static_cast<int>(log.outputNames.size()) != log.no + log.m))
        return LogReadStatus::CountMismatch;
    return status;
}

}  // namespace quorlet
