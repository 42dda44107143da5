// Make sparse: output bits no point needs dropped, then the inputs grown again.
#pragma once

#include "Expand.h"
#include "Irredundant.h"

namespace quorlet {

Cover MakeSparse(const Cover& f, const Cover& dc, const Expansion& expand, const IrredundantParams& p = {});
Cover MakeSparse(const Cover& f, const Cover& dc, const Cover& off, const IrredundantParams& p = {});

}  // namespace quorlet
