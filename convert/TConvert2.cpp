// Logic equations over one-letter variables, with the table that names them.
#include "TConvert2.h"

#include <algorithm>

namespace quorlet {
namespace {

std::string Entry(char letter, const std::string& name, bool padded)
{
    std::string text = std::string(1, letter) + " : " + name;
    if (padded && name.size() < 10) text.append(10 - name.size(), ' ');
    return text;
}

const std::string kNoEntry(14, ' ');

}  // namespace

char InputLetter(int i) { return static_cast<char>('A' + i); }

char OutputLetter(const MinimizedCover& cover, int j) { return static_cast<char>('Z' - cover.NumOutputs + 1 + j); }

std::vector<std::string> FormatRepresentationTable(const MinimizedCover& cover)
{
    const int widest = std::max(cover.NumInputs, cover.NumOutputs);
    const int rows = widest / 2 + widest % 2;
    auto input = [&](int i) { return i < cover.NumInputs ? Entry(InputLetter(i), cover.InputNames[i], true) : kNoEntry; };
    std::vector<std::string> lines;
    for (int r = 0; r < rows; ++r) {
        std::string row = input(r) + input(rows + r) + "    |       ";
        row += r < cover.NumOutputs ? Entry(OutputLetter(cover, r), cover.OutputNames[r], true) : kNoEntry;
        if (rows + r < cover.NumOutputs) row += Entry(OutputLetter(cover, rows + r), cover.OutputNames[rows + r], false);
        lines.push_back(ShortString(row));
    }
    return lines;
}

std::vector<std::string> FormatEquation(const MinimizedCover& cover, int j, const EquationLayout& layout)
{
    std::vector<const CoverTerm*> terms;
    for (const CoverTerm& term : cover.Terms)
        if (MinimizedCover::HasOutput(term, j)) terms.push_back(&term);

    std::vector<std::string> lines;
    std::string line = std::string(1, OutputLetter(cover, j)) + (cover.OffCover ? "'" : "") + " = ";
    if (terms.empty()) {
        lines.push_back(line + "0");
        return lines;
    }
    if (terms.size() == 1 && cover.IsUniversal(*terms.front())) {
        lines.push_back(line + "1");
        return lines;
    }

    std::size_t column = 4;
    bool first = true;
    for (const CoverTerm* term : terms) {
        std::string text;
        for (int i = 0; i < cover.NumInputs; ++i) {
            char c = MinimizedCover::InputChar(*term, i);
            if (c != '0' && c != '1') continue;
            if (cover.ProductOfSums && !text.empty()) text += '+';
            text += InputLetter(i);
            if (c == '0') text += '\'';
        }
        if (cover.ProductOfSums) text = "(" + text + ")";
        if (!first) text = (cover.ProductOfSums ? "." : " + ") + text;
        first = false;
        // A product of sums breaks like a sum: the factor keeps its leading "." on the new line,
        // so the continued equation is still the product of all its factors.
        if (column + text.size() >= static_cast<std::size_t>(layout.breakColumn)) {
            lines.push_back(line);
            line = "    ";
            column = text.size() + 4;
        } else {
            column += text.size();
        }
        line += text;
    }
    lines.push_back(ShortString(line));
    return lines;
}

void TConvert2::Execute()
{
    cover_ = MinimizedCover();
    if (!OpenMinimizedCover(*this, cover_)) return;
    WriteLine();

    TextFile out;
    if (cover_.OutputFileName == "nul") {
        if (!OpenOut(out, "/dev/null")) {
            WriteLine("ERROR OPENING NULL DEVICE");
            return;
        }
    } else if (!OpenAppend(out, cover_.OutputFileName)) {
        WriteLine("ERROR OPENING OUTPUT FILE");
        return;
    }
    auto both = [&](const std::string& line) {
        WriteLine(line);
        out.WriteLine(line);
    };

    WriteStatistics(cover_, &out, StatisticsOptions{});
    both("INPUT SIGNAL  |  OUTPUT SIGNAL  REPRESENTATION");
    both("");
    for (const std::string& row : FormatRepresentationTable(cover_)) both(row);
    both("");
    both("MINIMIZED EQUATIONS");
    both("");
    for (int j = 0; j < cover_.NumOutputs; ++j)
        for (const std::string& line : FormatEquation(cover_, j)) both(line);
    if (!CloseText(out)) {
        WriteLine("ERROR WRITING OUTPUT FILE, PROBABLY DISK FULL");
        return;
    }
    MarkResultWritten(cover_.OutputFileName);
}

}  // namespace quorlet
