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
    auto input = [&](int i) {
        return i < cover.NumInputs ? Entry(InputLetter(i), cover.InputNames[i], true) : kNoEntry;
    };
    std::vector<std::string> lines;
    for (int r = 0; r < rows; ++r) {
        std::string row = input(r) + input(rows + r) + "    |       ";
        row += r < cover.NumOutputs ? Entry(OutputLetter(cover, r), cover.OutputNames[r], true) : kNoEntry;
        if (rows + r < cover.NumOutputs)
            row += Entry(OutputLetter(cover, rows + r), cover.OutputNames[rows + r], false);
        lines.push_back(ShortString(row));
    }
    return lines;
}

std::vector<std::string> FormatEquation(const MinimizedCover& cover, int j, const EquationLayout& layout)
{
    const std::vector<const CoverTerm*> terms = OutputTerms(cover, j);
    std::string head = std::string(1, OutputLetter(cover, j)) + (cover.OffCover ? "'" : "") + " = ";
    if (terms.empty()) return {head + "0"};
    if (terms.size() == 1 && cover.IsUniversal(*terms.front())) return {head + "1"};

    // A product of sums breaks like a sum: the factor keeps its leading "." on the new line,
    // so the continued equation is still the product of all its factors.
    std::vector<std::string> pieces;
    for (const CoverTerm* term : terms) {
        std::string text = TermText(cover, *term, cover.ProductOfSums ? "+" : "", [](int i, bool complemented) {
            return std::string(1, InputLetter(i)) + (complemented ? "'" : "");
        });
        pieces.push_back(pieces.empty() ? text : (cover.ProductOfSums ? "." : " + ") + text);
    }
    std::vector<std::string> lines = WrapPieces(head, 4, pieces, static_cast<std::size_t>(layout.breakColumn));
    lines.back() = ShortString(lines.back());
    return lines;
}

void TConvert2::Execute()
{
    WriteTextResult(*this, cover_, true, [](const MinimizedCover& cover) {
        std::vector<std::string> lines = {"INPUT SIGNAL  |  OUTPUT SIGNAL  REPRESENTATION", ""};
        for (const std::string& row : FormatRepresentationTable(cover)) lines.push_back(row);
        lines.insert(lines.end(), {"", "MINIMIZED EQUATIONS", ""});
        for (int j = 0; j < cover.NumOutputs; ++j)
            for (const std::string& line : FormatEquation(cover, j)) lines.push_back(line);
        return lines;
    });
}

}  // namespace quorlet
