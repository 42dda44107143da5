// Logic equations ("convert2.exe"): the statistics, the table of one-letter variables and one
// Boolean equation per output, appended to the result file.
#pragma once

#include <string>
#include <vector>

#include "MinimizedCover.h"
#include "USubExec.h"

namespace quorlet {

// Input i (0-based) is "A", "B", ...; the last output is "Z", the one before it "Y", ...
char InputLetter(int i);
char OutputLetter(const MinimizedCover& cover, int j);

// The rows of the signal representation table, untrimmed.
std::vector<std::string> FormatRepresentationTable(const MinimizedCover& cover);

struct EquationLayout {
    int breakColumn = 80;  // a term that would reach this column starts a new line
};

// The lines of the equation of output j (0-based), continuation lines led by four blanks.
std::vector<std::string> FormatEquation(const MinimizedCover& cover, int j, const EquationLayout& layout = {});

class TConvert2 : public TSubExec {
public:
    void Execute() override;

private:
    MinimizedCover cover_;
};

}  // namespace quorlet
