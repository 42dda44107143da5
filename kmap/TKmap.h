// Karnaugh maps beside the result ("kmap.exe"): run by the converter dispatch after a finished
// result when the run asked for "--kmap", while the settings log, the minimized cover and the
// completed cover table are still in the work directory. Writes NAME.kmap and NAME.kmap.svg.
//
// The text file holds, function after function and map after map:
//   MAP SUM                     ("MAP F WITH A=0", "MAP F WITH A B=01" for 5 and 6 variables)
//   ROWS A                      (ROWS alone without row variables; its one row is coded "-")
//   COLUMNS B CIN
//       00 01 11 10
//   0    0  1  0  1
//   1    1  0  1  0
// then after the function's last sub-map one "GROUP <cube>" line per group and an empty line.
// More than 6 variables: the single line "K-MAP: MORE THAN 6 VARIABLES" and no picture.
#pragma once

#include "KarnaughMap.h"
#include "MinimizedCover.h"
#include "USubExec.h"

namespace quorlet {

class TKmap : public TSubExec {
public:
    void Execute() override;

private:
    // Writes the lines to the file; false (with the message written) when that failed.
    bool WriteLines(const std::string& name, const std::vector<std::string>& lines);

    MinimizedCover cover_;
    CoverTable coverTable_;
};

}  // namespace quorlet
