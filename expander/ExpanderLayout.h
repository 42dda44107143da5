// The fixed texts of the table reader: banner, dated head of the result file, column header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Clock.h"

namespace quorlet {

// The text right-aligned in `width` columns; a longer text is kept whole.
std::string RightAlign(std::string_view text, std::size_t width);

// Every console line of the banner, empty lines included.
std::vector<std::string> BannerLines();

// "Monday, January 5, 2004; 09:07".
std::string DateLine(const ClockTime& time);

struct ColumnHeaderLayout {
    bool stateTable = false;
    bool letters = false;                    // /E: columns lettered instead of named
    int n = 0;                               // state variables, first of `inputs`
    int m = 0;                               // excitation functions, first of `outputs`
    std::vector<std::string> primaryInputs;  // state table: the left (symbolic) part
    std::vector<std::string> primaryOutputs;
    std::vector<std::string> inputs;   // the whole input list
    std::vector<std::string> outputs;  // the whole output list
};

// Width of an echo line: ni + no + 3, or 2 (ni + no + 3) + n + m + 23 for a state table.
std::size_t EchoWidth(const ColumnHeaderLayout& layout);
// The rule, the rows of vertical names (bottom-aligned) and the rule again.
std::vector<std::string> ColumnHeader(const ColumnHeaderLayout& layout);

}  // namespace quorlet
