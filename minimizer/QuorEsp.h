// The quor_esp program as a function, shared by the stand-alone program and the pipeline stage.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace quorlet {

// quor_esp [-o OUT] [-pos] [--exact] [--stats] [IN]
// quor_esp --verify ORIGINAL RESULT [-pos]
// Reads IN (or in when IN is absent), writes the minimized table to OUT (or out). Messages go
// to err. Returns 0 on success, 1 on bad input or a failed verification, 2 on a usage error.
// On failure no output file is left behind. Paths are taken relative to the current directory.
int RunQuorEsp(std::span<const std::string> args, std::ostream& err, std::istream* in = nullptr,
               std::ostream* out = nullptr);

}  // namespace quorlet
