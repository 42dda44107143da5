// The heuristic two-level minimization loop (expand, irredundant, reduce) and its steps.
#pragma once

#include <vector>

#include "Cube.h"

namespace quorlet {

struct MinimizeParams {
    bool exact = false;      // proven minimum cube count (Exact.h); heuristic when false
    bool essentials = true;  // set essential primes aside after the first pass: every cover
                             // of primes holds them, and the loop is smaller
    // When the loop stalls, in this order until one of them gains:
    bool otherReduceOrder = true;  // a round that reduces in another order
    bool lastGasp = true;          // new primes from maximally reduced cubes
    bool otherExpand = true;       // a round whose expand keeps apart by the outputs every OFF
                                   // cube they keep apart (primes with fewer outputs)
    bool sparse = true;            // drop unneeded output bits, then re-expand inputs
    bool secondStart = false;      // also start from the complement of the OFF-set when that is a
                                   // smaller cover than the ON cover, and keep the better result;
                                   // on the benchmark set it gains misex3 7 cubes for a third of
                                   // the whole run time
    long essentialSteps = 32;      // tautology steps for one essential test before the cube is
                                   // left in the loop (proving it not essential is the costly side)
    int maxLoops = 1000;           // reduce-expand-irredundant rounds at most
    int maxStallRounds = 8;        // times the loop may try the ways out of a stall above; misex3
                                   // keeps finding a cube or two for 35 of them (668 cubes in 0.65 s,
                                   // 677 in 0.3 s after 8)
    int exactCoverColumns = 48;    // irredundant: exact branch and bound on each independent block
                                   // of the partially redundant set at most this big, greedy otherwise
    long exactCoverNodes = 20000;  // branch and bound node budget before settling for the best found
    int primeCoverCubes = 150;     // when the loop ends with at most this many cubes, also
                                   // take a minimum cover of all primes (0: never), as long as
    int primeCoverPrimes = 2500;   // generating them meets at most this many primes and the
    long primeCoverNodes = 200;    // branch and bound settles within this many nodes (each
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

struct Cost {
    int cubes = 0;
    int literals = 0;
    bool operator<(const Cost& o) const { return cubes != o.cubes ? cubes < o.cubes : literals < o.literals; }
};
Cost CostOf(const Cover& f);

// on: cubes that must be covered; dc: points free to use; off: points never to touch (must
// be the complement of on and dc as far as the result matters).
MinimizeResult Minimize(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& p = {});
// The same for functions whose OFF-set is too large to build: expansion checks each raise
// against on + dc by tautology. Slower per cube and less guided, but needs no OFF-set.
MinimizeResult MinimizeWithoutOff(const Cover& on, const Cover& dc, const MinimizeParams& p = {});

// The steps, usable on their own.
Cover Expand(const Cover& f, const Cover& off, bool inputsOnly = false);
struct ExpandParams {
    bool inputsOnly = false;  // raise input parts only, outputs stay as they are
    bool columnPass = true;   // first pass over the OFF-set 64 cubes at a time (same result as
                              // the cube-by-cube pass, which stays for comparison)
};
Cover Expand(const Cover& f, const Cover& off, const ExpandParams& p);
Cover Irredundant(const Cover& f, const Cover& dc, const MinimizeParams& p = {});
Cover Reduce(const Cover& f, const Cover& dc);
// Marks the cubes of f (primes) proven essential; a test not settled within `steps` tautology
// steps leaves its cube unmarked.
std::vector<char> EssentialPrimes(const Cover& f, const Cover& dc, long steps = 1L << 40);
Cover LastGasp(const Cover& f, const Cover& dc, const Cover& off, const MinimizeParams& p = {});
Cover MakeSparse(const Cover& f, const Cover& dc, const Cover& off);

// Minimum (or, past the node budget, small) set of columns hitting every row.
std::vector<int> MinimumCover(const std::vector<std::vector<int>>& rows, int columns, long nodeBudget,
                              bool* proven = nullptr);
// The same solved block by block (blocks: sets of columns tied together by rows); blocks of
// at most maxBlockColumns columns get the branch and bound, larger ones the greedy choice.
std::vector<int> MinimumCoverByBlocks(const std::vector<std::vector<int>>& rows, int columns, int maxBlockColumns,
                                      long nodeBudget, bool* proven = nullptr);

}  // namespace quorlet
