// The heuristic two-level minimization loop (expand, irredundant, reduce, and the ways out of a
// stall), and the exact minimization as quor_esp runs it.
#pragma once

#include <vector>

#include "Cube.h"
#include "Essentials.h"
#include "Exact.h"
#include "Expand.h"
#include "Irredundant.h"
#include "LastGasp.h"
#include "MakeSparse.h"
#include "Reduce.h"

namespace quorlet {

struct MinimizeParams {
    bool exact = false;      // proven minimum cube count (Exact.h); heuristic when false
    bool essentials = true;  // set essential primes aside after the first pass: every cover
                             // of primes holds them, and the loop is smaller
    // When the loop stalls, in this order until one of them gains:
    bool otherReduceOrder = true;   // a round that reduces in another order
    bool lastGasp = true;           // new primes from maximally reduced cubes
    bool otherExpand = true;        // a round whose expand keeps apart by the outputs every OFF
                                    // cube they keep apart (primes with fewer outputs)
    bool sparse = true;             // drop unneeded output bits, then re-expand inputs
    bool secondStart = false;       // also start from the complement of the OFF-set when that is a
                                    // smaller cover than the ON cover, and keep the better result;
                                    // on the benchmark set it gains misex3 7 cubes for a third of
                                    // the whole run time
    long essentialSteps = 32;       // tautology steps for one essential test before the cube is
                                    // left in the loop (proving it not essential is the costly side)
    int maxLoops = 1000;            // reduce-expand-irredundant rounds at most
    int maxStallRounds = 8;         // times the loop may try the ways out of a stall above; misex3
                                    // keeps finding a cube or two for 35 of them (668 cubes in 0.65 s,
                                    // 677 in 0.3 s after 8)
    IrredundantParams irredundant;  // every irredundant cover the loop takes
    int primeCoverCubes = 150;      // when the loop ends with at most this many cubes, also
                                    // take a minimum cover of all primes (0: never), as long as
    int primeCoverPrimes = 2500;    // generating them meets at most this many primes and the
    long primeCoverNodes = 200;     // branch and bound settles within this many nodes (each
                                    // node is costly on a big problem: 20000 took 30 s)
};

struct MinimizeStats {
    int inputCubes = 0;
    int cubes = 0;
    int inputLiterals = 0;
    int outputLiterals = 0;
    int loops = 0;
    int essentials = 0;
    double seconds = 0;
    bool exactProven = false;  // --exact: the cube count is proven minimum
    bool exactGaveUp = false;  // --exact: a limit was hit and the heuristic result stands
};

struct MinimizeResult {
    Cover cover;
    MinimizeStats stats;
};

// on: cubes that must be covered; dc: points free to use; off: points never to touch (must
// be the complement of on and dc as far as the result matters).
MinimizeResult Minimize(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& p = {});
// The same for functions whose OFF-set is too large to build: expansion checks each raise
// against on + dc by tautology. Slower per cube and less guided, but needs no OFF-set.
MinimizeResult MinimizeWithoutOff(const Cover& on, const Cover& dc, const MinimizeParams& p = {});

// Exact minimization for quor_esp --exact: ExactMinimizeReport with default limits (sparse as
// in p). Returns true and fills result when it succeeded; false leaves result alone (the caller
// then keeps the heuristic cover and reports that the exact step gave up).
// why (optional): the limit that stopped it when it returns false. known (optional): a correct
// cover, e.g. the heuristic result, that bounds the search (ExactMinimizeReport).
bool ExactMinimize(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& p, MinimizeResult& result,
                   ExactStatus* why = nullptr, const Cover* known = nullptr);

}  // namespace quorlet
