// VHDL output stage.
#include "TVhdl.h"

#include "HdlOutput.h"

namespace quorlet {

void TVhdl::Execute() { WriteHdlOutput(*this, HdlLanguage::Vhdl); }

}  // namespace quorlet
