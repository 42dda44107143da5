// Table output ("convert1.exe"): the statistics and the minimized cover as a table of terms
// under vertically written signal names, appended to the result file.
#pragma once

#include <string>
#include <vector>

#include "MinimizedCover.h"
#include "USubExec.h"

namespace quorlet {

// The rule, the bottom-aligned name rows, the rule again and one line per term.
std::vector<std::string> FormatCoverTable(const MinimizedCover& cover);

class TConvert1 : public TSubExec {
public:
    void Execute() override;

private:
    MinimizedCover cover_;
};

}  // namespace quorlet
