// Table output: statistics, then the terms under their signal names.
#include "TConvert1.h"

#include <algorithm>

namespace quorlet {

std::vector<std::string> FormatCoverTable(const MinimizedCover& cover)
{
    std::vector<std::string> lines;
    const std::string rule(cover.NumInputs + cover.NumOutputs + 3, '=');
    std::size_t longest = 0;
    for (const auto& name : cover.InputNames) longest = std::max(longest, name.size());
    for (const auto& name : cover.OutputNames) longest = std::max(longest, name.size());

    lines.push_back(rule);
    // Names run downwards, one a column, all ending on the last row.
    auto nameChar = [longest](const std::string& name, std::size_t row) {
        std::size_t shift = longest - name.size();
        return row >= shift ? name[row - shift] : ' ';
    };
    for (std::size_t row = 0; row < longest; ++row) {
        std::string text;
        for (const auto& name : cover.InputNames) text += nameChar(name, row);
        text += "   ";
        for (const auto& name : cover.OutputNames) text += nameChar(name, row);
        lines.push_back(text);
    }
    lines.push_back(rule);
    for (const CoverTerm& term : cover.Terms) lines.push_back(ShortString(term.InputPart + " | " + term.OutputPart));
    return lines;
}

void TConvert1::Execute() { WriteTextResult(*this, cover_, false, FormatCoverTable); }

}  // namespace quorlet
