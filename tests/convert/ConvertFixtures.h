// Hand-written intermediate files for the converter tests: the settings log as the table reader
// writes it and the minimized table as the minimizer writes it.
#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"

namespace quorlet::test {

struct LogFixture {
    std::string resultFile = "adder.equ";
    std::string tableFile = "adder.tbl";
    std::string options;  // line 4: "-FAB JK 3", ...
    std::string title = "ADDER";
    std::vector<std::string> inputs = {"A", "B", "CIN"};
    std::vector<std::string> outputs = {"SUM", "COUT"};
    bool pos = false;
    bool off = false;
    std::vector<std::string> tail;  // "INV", "REG_OUT"
};

inline std::string NameLines(const std::string& keyword, const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t k = 0; k < names.size(); k += 8) {
        text += keyword;
        for (std::size_t n = k; n < names.size() && n < k + 8; ++n) text += " " + names[n];
        text += "\n";
    }
    return text;
}

inline std::string LogText(const LogFixture& s)
{
    std::string text = std::string("-o esp_tbl.$$$ ") + (s.pos != s.off ? "-pos " : "") + "exp_tbl.$$$\n\n";
    text += s.resultFile + " " + s.tableFile + "\n" + s.options + "\n" + s.title + "\n\n";
    text += NameLines("INPUT", s.inputs) + "\n" + NameLines("OUTPUT", s.outputs) + "\n";
    if (s.pos) text += "POS\n\n";
    if (s.off) text += "OFF\n\n";
    text += "NO_ERRORS\n";
    text += std::to_string(s.inputs.size()) + " " + std::to_string(s.outputs.size()) + " 0 0\n";
    for (const auto& t : s.tail) text += t + "\n";
    return text;
}

// Four header lines, the term lines, ".e".
inline std::string TableText(int inputs, int outputs, const std::vector<std::string>& terms)
{
    std::string text = ".i " + std::to_string(inputs) + "\n.o " + std::to_string(outputs) + "\n#.phase " +
                       std::string(outputs, '1') + "\n.p " + std::to_string(terms.size()) + "\n";
    for (const auto& t : terms) text += t + "\n";
    return text + ".e\n";
}

inline void WriteCoverFiles(const LogFixture& log, const std::vector<std::string>& terms)
{
    WriteFile("exp_log.$$$", LogText(log));
    WriteFile("esp_tbl.$$$",
              TableText(static_cast<int>(log.inputs.size()), static_cast<int>(log.outputs.size()), terms));
}

// The full adder as the minimizer returns it in sum-of-products mode.
inline const std::vector<std::string> kAdderTerms = {"001 10", "010 10", "100 10", "111 10",
                                                     "11- 01", "1-1 01", "-11 01"};

}  // namespace quorlet::test
