// Runs the table reader on a table text in a scratch directory and reads back what it wrote.
#pragma once

#include <string>

#include "TExpander.h"
#include "TestSupport.h"

namespace quorlet::test {

class ExpanderRun : public StageHarness {
public:
    // Writes the table file (when given) and runs the stage with the command line.
    void Go(const std::string& commandLine, const std::string& tableName = {}, const std::string& table = {})
    {
        if (!tableName.empty()) WriteFile(tableName, table);
        TExpander stage;
        Run(stage, commandLine);
        error = stage.ErrorFlag;
    }

    std::string Log() const { return ReadFile("exp_log.$$$"); }
    // The console after the banner (its fifteen lines).
    std::string Console() const
    {
        std::string text;
        for (std::size_t i = 15; i < lines.size(); ++i) text += lines[i] + "\n";
        return text;
    }

    bool error = false;
};

// The value as a vector of `bits` characters, most significant first.
inline std::string Binary(int value, int bits)
{
    std::string text;
    for (int bit = bits - 1; bit >= 0; --bit) text.push_back((value >> bit) & 1 ? '1' : '0');
    return text;
}

inline const std::string kHeadLine = "QUORLET  LOGIC MINIMIZER           Monday, January 5, 2004; 09:07";

}  // namespace quorlet::test
