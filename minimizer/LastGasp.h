// Last gasp: every cube reduced against all the others at once, the pieces grown into new
// primes, and an irredundant cover of old and new primes together.
#pragma once

#include "Expand.h"
#include "Irredundant.h"

namespace quorlet {

Cover LastGasp(const Cover& f, const Cover& dc, const Expansion& expand, const IrredundantParams& p = {});
Cover LastGasp(const Cover& f, const Cover& dc, const Cover& off, const IrredundantParams& p = {});

}  // namespace quorlet
