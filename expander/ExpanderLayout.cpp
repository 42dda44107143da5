// Banner, date line and column header of the table reader.
#include "ExpanderLayout.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quorlet {

std::string RightAlign(std::string_view text, std::size_t width)
{
    if (text.size() >= width) return std::string(text);
    return std::string(width - text.size(), ' ') + std::string(text);
}

namespace {

// The two box texts, kept scrambled so that they do not stand in the program as plain text:
// the character at position i is combined by exclusive or with the low byte of i - 127.
constexpr std::array<std::uint8_t, 47> kBannerText1 = {
    0xD5, 0xD5, 0xCC, 0xA9, 0xC9, 0xC3, 0xD1, 0xCD, 0xC5, 0xAA, 0xC7, 0xC3, 0xCA, 0xC7, 0xCC, 0xB0,
    0xDC, 0xDB, 0xDD, 0xDD, 0xD8, 0xDF, 0xCD, 0xDD, 0xCB, 0xBA, 0xDA, 0xD2, 0xD9, 0xBE, 0xCC, 0xF4,
    0xE0, 0xF6, 0xE6, 0x84, 0xF6, 0xFF, 0xE9, 0xFC, 0xE1, 0xEF, 0xF8, 0xE5, 0xF7, 0xEB, 0xFD};
constexpr std::array<std::uint8_t, 52> kBannerText2 = {
    0xC7, 0xCD, 0xD1, 0xA4, 0xD1, 0xC3, 0xC6, 0xCB, 0xC1, 0xC3, 0xC5, 0xCB, 0xAD, 0xCA, 0xC6, 0xD7, 0xD8, 0xC6,
    0xD2, 0xD8, 0xB5, 0xD2, 0xD2, 0xCB, 0xD0, 0xDD, 0xD5, 0xBC, 0xB0, 0xBE, 0xD9, 0xF5, 0xEF, 0xE1, 0xF7, 0xED,
    0xEA, 0xE8, 0xF4, 0x88, 0xE8, 0xE4, 0xEF, 0x8C, 0xE0, 0xEF, 0xEC, 0xF8, 0xF8, 0xFC, 0xF6, 0xE7};

template <std::size_t N>
std::string Unscramble(const std::array<std::uint8_t, N>& stored)
{
    std::string text;
    for (std::size_t i = 0; i < N; ++i)
        text.push_back(static_cast<char>(stored[i] ^ static_cast<std::uint8_t>(static_cast<int>(i) - 127)));
    return text;
}

}  // namespace

std::vector<std::string> BannerLines()
{
    const std::string border = std::string(6, ' ') + std::string(62, '=');
    const std::string blankBox = std::string(6, ' ') + "=" + std::string(60, ' ') + "=";
    return {
        "",
        "",
        std::string(27, ' ') + "Q  U  O  R  L  E  T ",
        "",
        "",
        border,
        blankBox,
        "      =    " + Unscramble(kBannerText1) + " 4.61    =",
        blankBox,
        "      =    " + Unscramble(kBannerText2) + "    =",
        blankBox,
        border,
        "",
        "",
        "",
    };
}

std::string DateLine(const ClockTime& time)
{
    static const char* const kWeekdays[] = {"Monday, ", "Tuesday, ",  "Wednesday, ", "Thursday ",
                                            "Friday, ", "Saturday, ", "Sunday, "};
    static const char* const kMonths[] = {"January ", "February ", "March ",     "April ",   "May ",      "June ",
                                          "July ",    "August ",   "September ", "October ", "November ", "December "};
    auto two = [](int v) {
        std::string s = std::to_string(v);
        return s.size() < 2 ? "0" + s : s;
    };
    std::string line = kWeekdays[std::clamp(time.weekday, 1, 7) - 1];
    line += kMonths[std::clamp(time.month, 1, 12) - 1];
    line += std::to_string(time.day) + ", " + std::to_string(time.year) + "; ";
    line += two(time.hour) + ":" + two(time.minute);
    return line;
}

std::size_t EchoWidth(const ColumnHeaderLayout& layout)
{
    if (!layout.stateTable) return layout.inputs.size() + layout.outputs.size() + 3;
    std::size_t primaries = layout.primaryInputs.size() + layout.primaryOutputs.size();
    return 2 * (primaries + 3) + static_cast<std::size_t>(layout.n + layout.m) + 23;
}

namespace {

// Row r (1-based) of a vertical name in a header of `height` rows.
char NameRowChar(const std::string& name, std::size_t height, std::size_t row)
{
    std::size_t skip = height - std::min(height, name.size());
    if (row <= skip) return ' ';
    std::size_t index = row - skip;  // 1-based into the name
    return index <= name.size() ? name[index - 1] : ' ';
}

std::size_t LongestName(const std::vector<std::string>& names)
{
    std::size_t longest = 0;
    for (const std::string& name : names) longest = std::max(longest, name.size());
    return longest;
}

}  // namespace

std::vector<std::string> ColumnHeader(const ColumnHeaderLayout& layout)
{
    std::size_t height = 1;
    if (layout.stateTable) {
        height = std::max({height, LongestName(layout.primaryInputs), LongestName(layout.primaryOutputs)});
    }
    if (!layout.letters) {
        height = std::max({height, LongestName(layout.inputs), LongestName(layout.outputs)});
    }

    const std::size_t width = EchoWidth(layout);
    std::vector<std::string> lines;
    lines.push_back(std::string(width, '='));
    const int inputCount = static_cast<int>(layout.inputs.size());
    const int outputCount = static_cast<int>(layout.outputs.size());
    for (std::size_t row = 1; row <= height; ++row) {
        const bool last = row == height;
        std::string text;
        if (layout.stateTable) {
            text += last ? "P.S. " : "     ";
            for (const std::string& name : layout.primaryInputs) text.push_back(NameRowChar(name, height, row));
            text += last ? "   N.S. " : "        ";
            for (const std::string& name : layout.primaryOutputs) text.push_back(NameRowChar(name, height, row));
            text += std::string(11, ' ');
        }
        for (int i = 1; i <= inputCount; ++i) {
            if (layout.letters) text.push_back(last ? static_cast<char>('A' + i - 1) : ' ');
            else text.push_back(NameRowChar(layout.inputs[i - 1], height, row));
            if (i == layout.n) text.push_back(' ');
        }
        text += "   ";
        for (int i = 1; i <= outputCount; ++i) {
            if (layout.letters) text.push_back(last ? static_cast<char>('Z' - (outputCount - i)) : ' ');
            else text.push_back(NameRowChar(layout.outputs[i - 1], height, row));
            if (i == layout.m) text.push_back(' ');
        }
        lines.push_back(text);
    }
    lines.push_back(std::string(width, '='));
    return lines;
}

}  // namespace quorlet
