// VHDL output ("vhdl.exe"): the design and its self-checking testbench, NAME.vhd and
// NAME_tb.vhd, beside the result of a finished run.
#pragma once

#include "USubExec.h"

namespace quorlet {

class TVhdl : public TSubExec {
public:
    void Execute() override;
};

}  // namespace quorlet
