// Irredundant cover: the smallest subset of a cover of primes that still covers it.
#pragma once

#include "Cube.h"

namespace quorlet {

struct IrredundantParams {
    int exactCoverColumns = 48;    // exact branch and bound on each independent block of the
                                   // partially redundant set at most this big, greedy otherwise
    long exactCoverNodes = 20000;  // branch and bound node budget before settling for the best found
};

// Keeps every cube covered by no others, drops every cube the former cover together with dc,
// and of the rest keeps a smallest set that, with them, covers each.
Cover Irredundant(const Cover& f, const Cover& dc, const IrredundantParams& p = {});

}  // namespace quorlet
