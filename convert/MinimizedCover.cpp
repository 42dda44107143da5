// Reading the settings log and the minimized table into the converters' record, and the result
// statistics block.
#include "MinimizedCover.h"

#include <algorithm>

#include "UTables.h"
#include "USubExec.h"

namespace quorlet {
namespace {

// The stages' word scanner on one line: the first word is taken as it stands, a later word
// that begins with a double quote or "#" is empty (the rest of the line is a comment).
class WordCursor {
public:
    explicit WordCursor(std::string_view line) : line_(line) {}

    std::string First()
    {
        pos_ = 0;
        return Scan(false);
    }
    std::string Next() { return Scan(true); }

private:
    std::string Scan(bool commentEnds)
    {
        while (pos_ < line_.size() && IsSeparator(line_[pos_])) ++pos_;
        std::size_t start = pos_;
        while (pos_ < line_.size() && !IsSeparator(line_[pos_])) ++pos_;
        if (start == pos_) return {};
        if (commentEnds && (line_[start] == '"' || line_[start] == '#')) {
            pos_ = line_.size();
            return {};
        }
        return std::string(line_.substr(start, pos_ - start));
    }

    std::string_view line_;
    std::size_t pos_ = 0;
};

std::string FirstWordOf(std::string_view line) { return WordCursor(line).First(); }

std::string PadRight(std::string text, std::size_t width)
{
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string PadLeft(std::string text, std::size_t width)
{
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

}  // namespace

std::string_view CoverProblemMessage(CoverReadProblem problem)
{
    switch (problem) {
    case CoverReadProblem::TooManySignals: return "FATAL:  TOO MANY SIGNALS TO BE CONVERTED";
    case CoverReadProblem::ShortTable: return "FATAL:  MINIMIZED TABLE ENDS BEFORE ITS LAST TERM";
    case CoverReadProblem::TooManyTerms: return "FATAL:  MINIMIZED TABLE TOO LONG TO BE CONVERTED";
    case CoverReadProblem::BadTermCount: return "FATAL:  ILLEGAL TERM COUNT IN MINIMIZED TABLE";
    case CoverReadProblem::None:
    case CoverReadProblem::MalformedLog: break;
    }
    return {};
}

void MinimizedCover::ClearForRun()
{
    Failed = false;
    Problem = CoverReadProblem::None;
    ProductOfSums = false;
    OffCover = false;
}

char MinimizedCover::InputChar(const CoverTerm& term, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < term.InputPart.size() ? term.InputPart[i] : '-';
}

char MinimizedCover::OutputChar(const CoverTerm& term, int j)
{
    return j >= 0 && static_cast<std::size_t>(j) < term.OutputPart.size() ? term.OutputPart[j] : '.';
}

bool MinimizedCover::IsUniversal(const CoverTerm& term) const
{
    for (int i = 0; i < NumInputs; ++i)
        if (InputChar(term, i) != '-') return false;
    return true;
}

int MinimizedCover::StateCount() const
{
    return std::clamp(FlipFlopCount, 0, std::min(NumInputs, NumOutputs));
}

void MinimizedCover::ReadSettingsLog(TextFile& log)
{
    IsStateMachine = false;
    FlipFlopType.clear();
    FlipFlopCount = 0;
    NodeExtension.clear();
    InvFlag = false;
    RegOutFlag = false;
    ProductOfSums = false;
    OffCover = false;
    InputNames.clear();
    OutputNames.clear();
    NumInputs = 0;
    NumOutputs = 0;

    auto fail = [this](CoverReadProblem problem) {
        Failed = true;
        if (Problem == CoverReadProblem::None) Problem = problem;
    };
    std::string line;

    // Name line, after the minimizer's argument line and empty lines.
    for (;;) {
        if (!log.ReadLine(line)) return fail(CoverReadProblem::MalformedLog);
        WordCursor words(line);
        std::string first = words.First();
        if (first.empty() || UpperCopy(first) == "-O") continue;
        OutputFileName = first;
        TableFileName = words.Next();
        break;
    }

    // Converter options: "-F<ext> [type count]".
    if (!log.ReadLine(line)) return fail(CoverReadProblem::MalformedLog);
    {
        std::string upper = UpperCopy(line);
        WordCursor words(upper);
        std::string first = words.First();
        if (first.rfind("-F", 0) == 0) {
            NodeExtension = first.substr(2);
            std::string type = words.Next();
            if (!type.empty()) {
                IsStateMachine = true;
                FlipFlopType = type;
                std::string count = words.Next();
                if (count.empty() || count == "-") {
                    FlipFlopCount = 128;
                } else {
                    bool negative = count[0] == '-';
                    long value = 0;
                    for (std::size_t k = negative ? 1 : 0; k < count.size(); ++k) {
                        char c = count[k];
                        if (c < '0' || c > '9') {
                            fail(CoverReadProblem::MalformedLog);
                            continue;
                        }
                        if (value < 100000) value = value * 10 + (c - '0');
                    }
                    FlipFlopCount = static_cast<int>(negative ? -value : value);
                }
            }
        }
    }

    if (!log.ReadLine(line)) return fail(CoverReadProblem::MalformedLog);
    TitleLine = UpperCopy(line);

    // Signal lists, in any order and wrapped over several lines.
    std::string keyword;
    for (;;) {
        if (!log.ReadLine(line)) return fail(CoverReadProblem::MalformedLog);
        std::string upper = UpperCopy(line);
        WordCursor words(upper);
        std::string first = words.First();
        if (first.empty() || first[0] == '"') continue;
        std::vector<std::string>* names = nullptr;
        if (first == "INPUT") names = &InputNames;
        else if (first == "OUTPUT") names = &OutputNames;
        if (!names) {
            keyword = first;
            break;
        }
        for (std::string name = words.Next(); !name.empty(); name = words.Next()) {
            if (static_cast<int>(names->size()) >= kMaxCoverSignals) {
                fail(CoverReadProblem::TooManySignals);
                break;
            }
            names->push_back(name);
        }
    }
    NumInputs = static_cast<int>(InputNames.size());
    NumOutputs = static_cast<int>(OutputNames.size());

    auto nextKeyword = [&]() -> bool {
        for (;;) {
            if (!log.ReadLine(line)) return false;
            std::string first = FirstWordOf(UpperCopy(line));
            if (!first.empty()) {
                keyword = first;
                return true;
            }
        }
    };
    if (keyword == "POS") {
        ProductOfSums = true;
        if (!nextKeyword()) return fail(CoverReadProblem::MalformedLog);
    }
    if (keyword == "OFF") {
        OffCover = true;
        if (!nextKeyword()) return fail(CoverReadProblem::MalformedLog);
    }
    if (keyword != "NO_ERRORS") fail(CoverReadProblem::MalformedLog);

    // Tail: the counts line, "INV", "REG_OUT"; the keywords as written.
    while (log.ReadLine(line)) {
        std::string first = FirstWordOf(line);
        if (first == "INV") InvFlag = true;
        else if (first == "REG_OUT") RegOutFlag = true;
    }
}

void MinimizedCover::ReadMinimizedTable(TextFile& table, int maxTerms)
{
    Terms.clear();
    NumTerms = 0;
    auto fail = [this](CoverReadProblem problem) {
        Failed = true;
        if (Problem == CoverReadProblem::None) Problem = problem;
    };
    std::string line;

    // Exactly four header lines; the fourth carries the term count as its second word.
    for (int k = 0; k < 3; ++k)
        if (!table.ReadLine(line)) return fail(CoverReadProblem::ShortTable);
    if (!table.ReadLine(line)) return fail(CoverReadProblem::ShortTable);
    std::string upper = UpperCopy(line);
    WordCursor header(upper);
    header.First();
    std::string countWord = header.Next();
    long count = 0;
    for (char c : countWord) {
        count = count * 10 + (static_cast<unsigned char>(c) - '0');
        if (count > maxTerms || count < -maxTerms) break;  // refused below; no overflow
    }
    if (count < 0) return fail(CoverReadProblem::BadTermCount);
    if (count > maxTerms) return fail(CoverReadProblem::TooManyTerms);

    while (static_cast<long>(Terms.size()) < count) {
        if (!table.ReadLine(line)) {
            Terms.clear();
            return fail(CoverReadProblem::ShortTable);
        }
        upper = UpperCopy(line);
        WordCursor words(upper);
        CoverTerm term;
        term.InputPart = words.First();
        if (term.InputPart.empty()) continue;
        term.OutputPart = words.Next();
        if (ProductOfSums) {
            std::size_t n = std::min<std::size_t>(term.InputPart.size(), NumInputs);
            for (std::size_t k = 0; k < n; ++k) {
                char& c = term.InputPart[k];
                if (c == '0') c = '1';
                else if (c == '1') c = '0';
            }
        }
        std::size_t n = std::min<std::size_t>(term.OutputPart.size(), NumOutputs);
        for (std::size_t k = 0; k < n; ++k) {
            char& c = term.OutputPart[k];
            if (c == '0') c = '.';
            else if (OffCover && c == '1') c = '0';
        }
        Terms.push_back(std::move(term));
    }
    table.ReadLine(line);  // the end line

    if (ProductOfSums) {
        // A constant-0 output ends with no factor and a constant-1 output with the universal
        // term, as in sum-of-products mode.
        std::vector<bool> empty(NumOutputs, true);
        for (const CoverTerm& term : Terms)
            for (int j = 0; j < NumOutputs; ++j)
                if (HasOutput(term, j)) empty[j] = false;
        for (std::size_t k = Terms.size(); k-- > 0;) {
            if (IsUniversal(Terms[k])) {
                Terms.erase(Terms.begin() + static_cast<long>(k));
                break;
            }
        }
        if (std::find(empty.begin(), empty.end(), true) != empty.end()) {
            CoverTerm universal;
            universal.InputPart.assign(NumInputs, '-');
            for (int j = 0; j < NumOutputs; ++j) universal.OutputPart += empty[j] ? '1' : '.';
            Terms.push_back(std::move(universal));
        }
        if (static_cast<int>(Terms.size()) > maxTerms) {
            Terms.clear();
            return fail(CoverReadProblem::TooManyTerms);
        }
    }
    NumTerms = static_cast<int>(Terms.size());
}

CoverStatistics ComputeStatistics(const MinimizedCover& cover)
{
    CoverStatistics stats;
    stats.termCount = cover.NumTerms;
    stats.outputSizes.assign(cover.NumOutputs, 0);
    std::vector<int> inputUse(cover.NumInputs, 0);
    for (const CoverTerm& term : cover.Terms) {
        int literals = 0;
        for (int i = 0; i < cover.NumInputs; ++i) {
            if (MinimizedCover::InputChar(term, i) != '-') {
                ++literals;
                ++inputUse[i];
            }
        }
        stats.totalLiterals += literals;
        stats.maxTermSize = std::max(stats.maxTermSize, literals);
        for (int j = 0; j < cover.NumOutputs; ++j)
            if (MinimizedCover::HasOutput(term, j)) ++stats.outputSizes[j];
    }
    for (int use : inputUse) stats.maxFanIn = std::max(stats.maxFanIn, use);
    for (int size : stats.outputSizes) {
        stats.totalLiterals += size;
        stats.maxOutputSize = std::max(stats.maxOutputSize, size);
    }
    return stats;
}

std::vector<std::string> FormatStatistics(const MinimizedCover& cover, const StatisticsOptions& options)
{
    const CoverStatistics stats = ComputeStatistics(cover);
    auto labelled = [](std::string label, int value) { return PadRight(std::move(label), 30) + std::to_string(value); };

    std::vector<std::string> lines;
    lines.push_back("MINIMIZATION RESULT STATISTICS");
    lines.push_back(std::string(30, '='));
    std::string kind;
    if (cover.ProductOfSums && cover.OffCover) kind = "FACTORS WITHIN OFF-COVER IN PRODUCT OF SUMS MODE";
    else if (cover.ProductOfSums) kind = "FACTORS IN PRODUCT OF SUMS MODE";
    else if (cover.OffCover) kind = "PRODUCT TERMS WITHIN OFF-COVER";
    else kind = "PRODUCT TERMS";
    lines.push_back("FOUND " + std::to_string(stats.termCount) + " ESSENTIAL " + kind);
    lines.push_back(labelled("MAXIMUM FANIN:", stats.maxFanIn));
    lines.push_back(labelled("TOTAL LITERAL COUNT:", stats.totalLiterals));
    lines.push_back(labelled(cover.ProductOfSums ? "MAXIMUM FACTOR SIZE:" : "MAXIMUM PRODUCT TERM SIZE:", stats.maxTermSize));
    lines.push_back(labelled("MAXIMUM OUTPUT FUNCTION SIZE:", stats.maxOutputSize));
    if (options.withIndividualSizes) {
        lines.push_back("INDIVIDUAL OUTPUT FUNCTION SIZE:");
        for (int j = 0; j < cover.NumOutputs; ++j) {
            bool stateName = options.flipFlopNames && j < cover.FlipFlopCount && j < cover.NumInputs;
            const std::string& name = stateName ? cover.InputNames[j] : cover.OutputNames[j];
            lines.push_back(PadLeft(std::to_string(j + 1), 5) + ":" + std::string(9, ' ') + PadRight(name, 15) +
                            std::to_string(stats.outputSizes[j]));
        }
    }
    return lines;
}

void WriteStatistics(const MinimizedCover& cover, TextFile* file, const StatisticsOptions& options)
{
    if (file) file->WriteLine();
    for (const std::string& line : FormatStatistics(cover, options)) {
        Console().WriteLine(line);
        if (file) file->WriteLine(ShortString(options.prefix + line));
    }
    Console().WriteLine();
    if (file) file->WriteLine();
}

bool OpenMinimizedCover(TSubExec& stage, MinimizedCover& cover, int maxTerms)
{
    cover.ClearForRun();
    auto refuse = [&stage](CoverReadProblem problem) {
        std::string_view message = CoverProblemMessage(problem);
        if (!message.empty()) stage.WriteLine(message);
        return false;
    };

    TextFile log;
    if (!stage.OpenIn(log, kSettingsLogFile)) {
        stage.WriteLine("ERROR OPENING TEMPORARY FILES");
        return false;
    }
    cover.ReadSettingsLog(log);
    stage.CloseText(log);
    if (cover.Failed) return refuse(cover.Problem);

    TextFile table;
    if (!stage.OpenIn(table, kMinimizedFile)) {
        stage.WriteLine("ERROR OPENING TEMPORARY FILES");
        return false;
    }
    cover.ReadMinimizedTable(table, maxTerms);
    stage.CloseText(table);
    if (cover.Failed) return refuse(cover.Problem);
    return true;
}

}  // namespace quorlet
