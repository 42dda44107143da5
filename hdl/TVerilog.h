// Verilog output ("verilog.exe"): the design and its self-checking testbench, NAME.v and
// NAME_tb.v, beside the result of a finished run.
#pragma once

#include "USubExec.h"

namespace quorlet {

class TVerilog : public TSubExec {
public:
    void Execute() override;
};

}  // namespace quorlet
