// Reading the settings log and the minimized table into the converters' record, and the result
// statistics block.
#include "MinimizedCover.h"

#include <algorithm>

#include "UTables.h"
#include "USubExec.h"

namespace quorlet {

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

int MinimizedCover::StateCount() const { return std::clamp(FlipFlopCount, 0, std::min(NumInputs, NumOutputs)); }

namespace {

// The flip-flop count of the converter options: "-" or nothing is 128, a leading "-" is kept.
bool ReadFlipFlopCount(std::string_view word, int& count)
{
    if (word.empty() || word == "-") {
        count = 128;
        return true;
    }
    ParsedNumber number = ParseDecimal(word, NumberRules{.minusAllowed = true});
    count = number.value;
    return number.isNumber;
}

}  // namespace

void MinimizedCover::ReadSettingsLog(TextFile& file)
{
    IsStateMachine = false;
    FlipFlopType.clear();
    FlipFlopCount = 0;
    NodeExtension.clear();
    auto fail = [this](CoverReadProblem problem) {
        Failed = true;
        if (Problem == CoverReadProblem::None) Problem = problem;
    };

    SettingsLog log;
    LogReadStatus status = quorlet::ReadSettingsLog(file, log);
    OutputFileName = log.resultFile;
    TableFileName = log.tableFile;
    TitleLine = UpperCopy(log.title);
    ProductOfSums = log.pos;
    OffCover = log.off;
    InvFlag = log.inv;
    RegOutFlag = log.regOut;

    // Converter options: "-F<ext> [type count]".
    // The scanner views the line, so the upper-cased copy must outlive it.
    const std::string upperOptions = UpperCopy(log.converterOptions);
    WordScanner options(upperOptions);
    std::string first = options.FirstWord();
    if (first.rfind("-F", 0) == 0) {
        NodeExtension = first.substr(2);
        std::string type = options.NextWord();
        if (!type.empty()) {
            IsStateMachine = true;
            FlipFlopType = type;
            if (!ReadFlipFlopCount(options.NextWord(), FlipFlopCount)) fail(CoverReadProblem::MalformedLog);
        }
    }

    // The converters take the names in capitals and have room for 40 of each.
    auto takeNames = [&](const std::vector<std::string>& names, std::vector<std::string>& into) {
        into.clear();
        for (const std::string& name : names) {
            if (static_cast<int>(into.size()) == kMaxCoverSignals) return fail(CoverReadProblem::TooManySignals);
            into.push_back(UpperCopy(name));
        }
    };
    takeNames(log.inputNames, InputNames);
    takeNames(log.outputNames, OutputNames);
    NumInputs = static_cast<int>(InputNames.size());
    NumOutputs = static_cast<int>(OutputNames.size());

    // The converters read neither the counts nor check them against the names.
    switch (status) {
    case LogReadStatus::Ok:
    case LogReadStatus::NoCounts:
    case LogReadStatus::BadNumber:
    case LogReadStatus::CountMismatch: break;
    case LogReadStatus::Error:
    case LogReadStatus::Truncated:
    case LogReadStatus::Malformed: fail(CoverReadProblem::MalformedLog); break;
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

    // Only the term count matters here; the widths come from the settings log.
    TableHeader header;
    bool countIsNumber = true;
    TableReadStatus status = ReadTableHeader(table, header, [&](char key, const ParsedNumber& count) {
        if (key == 'P') countIsNumber = count.isNumber;
        return key != 'P' || count.isNumber;
    });
    if (status == TableReadStatus::NoCountLine) return fail(CoverReadProblem::ShortTable);
    if (!countIsNumber) return fail(CoverReadProblem::BadTermCount);
    if (header.terms > maxTerms) return fail(CoverReadProblem::TooManyTerms);

    const TermRules rules{.checkWidths = false, .skipBlankLines = true};
    for (int t = 0; t < header.terms; ++t) {
        Term read;
        if (ReadTableTerm(table, read, rules) != TableReadStatus::Ok) {
            Terms.clear();
            return fail(CoverReadProblem::ShortTable);
        }
        CoverTerm term{UpperCopy(read.input), UpperCopy(read.output)};
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
    lines.push_back(
        labelled(cover.ProductOfSums ? "MAXIMUM FACTOR SIZE:" : "MAXIMUM PRODUCT TERM SIZE:", stats.maxTermSize));
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

std::vector<const CoverTerm*> OutputTerms(const MinimizedCover& cover, int j)
{
    std::vector<const CoverTerm*> terms;
    for (const CoverTerm& term : cover.Terms)
        if (MinimizedCover::HasOutput(term, j)) terms.push_back(&term);
    return terms;
}

std::string TermText(const MinimizedCover& cover, const CoverTerm& term, std::string_view join,
                     const std::function<std::string(int input, bool complemented)>& literal)
{
    std::string text;
    for (int i = 0; i < cover.NumInputs; ++i) {
        char c = MinimizedCover::InputChar(term, i);
        if (c != '0' && c != '1') continue;
        if (!text.empty()) text += join;
        text += literal(i, c == '0');
    }
    return cover.ProductOfSums ? "(" + text + ")" : text;
}

std::vector<std::string> WrapPieces(std::string head, std::size_t column, const std::vector<std::string>& pieces,
                                    std::size_t limit)
{
    std::vector<std::string> lines;
    std::string line = std::move(head);
    for (const std::string& piece : pieces) {
        if (column + piece.size() >= limit) {
            lines.push_back(line);
            line = "    ";
            column = piece.size() + 4;
        } else {
            column += piece.size();
        }
        line += piece;
    }
    lines.push_back(line);
    return lines;
}

bool OpenResultFile(TSubExec& stage, TextFile& out, const MinimizedCover& cover, ResultWrite mode, bool nulIsDevice)
{
    const bool nullDevice = nulIsDevice && cover.OutputFileName == "nul";
    const std::string name = nullDevice ? std::string("/dev/null") : cover.OutputFileName;
    const bool opened =
        mode == ResultWrite::Append && !nullDevice ? stage.OpenAppend(out, name) : stage.OpenOut(out, name);
    if (!opened) stage.WriteLine(nullDevice ? "ERROR OPENING NULL DEVICE" : "ERROR OPENING OUTPUT FILE");
    return opened;
}

bool FinishResultFile(TSubExec& stage, TextFile& out, const MinimizedCover& cover)
{
    if (!stage.CloseText(out)) {
        stage.WriteLine("ERROR WRITING OUTPUT FILE, PROBABLY DISK FULL");
        return false;
    }
    MarkResultWritten(cover.OutputFileName);
    return true;
}

void WriteTextResult(TSubExec& stage, MinimizedCover& cover, bool nulIsDevice,
                     const std::function<std::vector<std::string>(const MinimizedCover&)>& format)
{
    cover = MinimizedCover();
    if (!OpenMinimizedCover(stage, cover)) return;
    stage.WriteLine();
    TextFile out;
    if (!OpenResultFile(stage, out, cover, ResultWrite::Append, nulIsDevice)) return;
    WriteStatistics(cover, &out, StatisticsOptions{});
    for (const std::string& line : format(cover)) {
        stage.WriteLine(line);
        out.WriteLine(line);
    }
    FinishResultFile(stage, out, cover);
}

bool ReadWorkFile(TSubExec& stage, std::string_view name, const std::function<void(TextFile&)>& read)
{
    TextFile file;
    if (!stage.OpenIn(file, name)) {
        stage.WriteLine("ERROR OPENING TEMPORARY FILES");
        return false;
    }
    read(file);
    stage.CloseText(file);
    return true;
}

bool OpenMinimizedCover(TSubExec& stage, MinimizedCover& cover, int maxTerms)
{
    cover.ClearForRun();
    auto refuse = [&stage](CoverReadProblem problem) {
        std::string_view message = CoverProblemMessage(problem);
        if (!message.empty()) stage.WriteLine(message);
        return false;
    };

    if (!ReadWorkFile(stage, kSettingsLogFile, [&cover](TextFile& log) { cover.ReadSettingsLog(log); })) return false;
    if (cover.Failed) return refuse(cover.Problem);
    if (!ReadWorkFile(stage, kMinimizedFile,
                      [&cover, maxTerms](TextFile& table) { cover.ReadMinimizedTable(table, maxTerms); }))
        return false;
    if (cover.Failed) return refuse(cover.Problem);
    return true;
}

}  // namespace quorlet
