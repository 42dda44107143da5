// Exact two-level minimization: all multi-output primes, a reduced covering problem over the
// ON-set, and a branch and bound that proves the minimum cube count (literals second).
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "Cube.h"
#include "MinimumCover.h"

namespace quorlet {

// Limits that make the exact step give up instead of running away; each bounds memory or
// time. Node and size limits are deterministic; the time limit depends on the machine and is
// only a safety net.
struct ExactParams {
    long maxPrimes = 200'000;            // primes of any cofactor met while generating them
    long maxProducts = 400'000'000;      // cube pairs formed while merging cofactor primes (a few
                                         // nanoseconds each: this bounds time, not memory)
    long maxSplitCubes = 2'000'000'000;  // cubes handed to the cofactor splits while generating
                                         // primes (many outputs, each unate: deep splits)
    long maxRows = 3'000'000;            // covering rows (ON-set regions) before reduction
    long maxCoreCells = 400'000'000;     // rows x columns of the reduced problem kept as bit matrix
    long maxNodes = 3'000'000;           // branch and bound nodes spent proving the cube count
    long literalNodes = 2'000;           // further nodes spent lowering literals at that count
    int pointsPerCube = 8;               // lower bound from points no two of which share an
                                         // implicant: candidate points per cube of the known cover
    long maxPointPairs = 5'000'000;      // pairs of those points tested at most
    double maxSeconds = 120;             // wall clock for the whole step; 0 = no limit
    bool sparse = true;                  // drop unneeded output bits and re-expand inputs at the end
};

const char* ExactStatusName(ExactStatus s);

struct ExactReport {
    ExactStatus status = ExactStatus::Proven;
    Cover cover;  // the minimum cover when status is Proven
    int primes = 0;
    long rows = 0;       // distinct covering rows before reduction
    int essentials = 0;  // columns forced before branching
    int coreRows = 0, coreColumns = 0, blocks = 0;
    long nodes = 0;
    bool literalsProven = false;  // the literal count is also minimum among minimum-cube covers
                                  // of primes
    double seconds = 0;
    int neededCubes = 0;       // cubes of the known cover holding a point no other cube can take
    int lowerBound = 0;        // cubes any cover needs, shown from the known cover's points
    bool knownProven = false;  // the known cover is a minimum one and is the result
};

// known (optional): a correct cover, e.g. the heuristic result. Its cube count bounds the
// search, and when nothing smaller exists it is the result as it is.
ExactReport ExactMinimizeReport(const Cover& on, const Cover& dc, const Cover& off, const ExactParams& p = {},
                                const Cover* known = nullptr);

// --- the two halves, usable on their own ---------------------------------------------------

// All multi-output prime implicants of f (as a function: the union of its cubes), in a fixed
// order. Returns TooManyPrimes or OutOfTime when a limit is hit (primes then undefined).
ExactStatus PrimeImplicants(const Cover& f, const ExactParams& p, ExactDeadline deadline, Cover& primes);

// Marks the cubes of f holding an ON point (inside `valid`, clear of dc) that no implicant
// leaving the cube holds. Such a cube is an essential prime; every other cube, prime or not,
// stays unmarked. Marked cubes that differ need a cube each in any cover, so their count is a
// lower bound on the cube count.
std::vector<char> HoldsNeededPoint(const Cover& f, const Cover& valid, const Cover& dc);

// The covering limits of p (the exact step's node, literal and size limits) with the deadline.
CoveringParams CoveringLimits(const ExactParams& p, ExactDeadline deadline);

}  // namespace quorlet
