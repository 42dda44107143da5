// The run of one HDL output, shared by the "VERILOG" and "VHDL" stages: reads what the run left
// in the work directory and writes NAME.v and NAME_tb.v, or NAME.vhd and NAME_tb.vhd.
#pragma once

#include "HdlNames.h"

namespace quorlet {

class TSubExec;

// Reads the minimized cover and the settings log ("exp_log.$$$", "esp_tbl.$$$") and the
// completed cover table ("exp_tbl.$$$"), then writes the design and its testbench beside the
// result file. Problems go to the stage's console; on any problem neither file is left behind.
void WriteHdlOutput(TSubExec& stage, HdlLanguage language);

}  // namespace quorlet
