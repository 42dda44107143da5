// Irredundant cover: the smallest subset of a cover of primes that still covers it.
#pragma once

#include "Cube.h"
#include "MinimumCover.h"

namespace quorlet {

struct IrredundantParams {
    // The choice among the partially redundant cubes: an exact branch and bound on each
    // independent block of at most maxSearchColumns cubes within the node budget, the greedy
    // cover on larger ones.
    CoveringParams cover{
        .maxNodes = 20000, .literalNodes = 0, .maxSearchColumns = 48, .start = GreedyStart::ScarceRows};
};

// Keeps every cube covered by no others, drops every cube the former cover together with dc,
// and of the rest keeps a smallest set that, with them, covers each.
Cover Irredundant(const Cover& f, const Cover& dc, const IrredundantParams& p = {});

}  // namespace quorlet
