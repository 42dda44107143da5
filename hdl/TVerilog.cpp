// Verilog output stage.
#include "TVerilog.h"

#include "HdlOutput.h"

namespace quorlet {

void TVerilog::Execute() { WriteHdlOutput(*this, HdlLanguage::Verilog); }

}  // namespace quorlet
