// Unate covering: few columns chosen so that every row holds a chosen one. Irredundant and the
// exact step both solve their covering problems here.
#pragma once

#include <chrono>
#include <vector>

namespace quorlet {

// How an exact minimization, or one covering problem inside it, ended.
enum class ExactStatus { Proven, TooManyPrimes, TooManyRows, TooManyNodes, OutOfTime, Unsatisfiable };

using ExactDeadline = std::chrono::steady_clock::time_point;

// The greedy cover each block starts from (the search then improves on it, and a block too
// large to search keeps it).
enum class GreedyStart {
    RowsPerCost,  // the column meeting most rows per cost, then picks made redundant dropped
    ScarceRows,   // the column meeting most rows that have few columns (each row counts one over
                  // its length), with forced columns and dominated rows and columns taken out
                  // between picks
};

struct CoveringParams {
    long maxNodes = 3'000'000;                      // branch and bound nodes spent on the column count, all blocks
    long literalNodes = 2'000;                      // further nodes spent lowering the total weight at that count
    long maxCoreCells = 400'000'000;                // rows x columns of a block kept as bit matrix, else TooManyRows
    ExactDeadline deadline = ExactDeadline::max();  // checked every 128 nodes; max: never
    // Blocks of the rows as given (columns tied together by rows) with more columns than this
    // keep their greedy cover unproven (status TooManyRows) instead of being searched.
    int maxSearchColumns = 1 << 30;
    GreedyStart start = GreedyStart::RowsPerCost;
    // When not negative: a cover of this many columns is known elsewhere, so the work stops as
    // soon as the lower bound reaches it (boundMet).
    long enough = -1;
};

struct CoveringSolution {
    // Proven: columns is a cover of fewest columns. TooManyNodes, OutOfTime, TooManyRows from
    // maxSearchColumns: columns is the best cover found. Unsatisfiable, or TooManyRows from
    // maxCoreCells: no cover.
    ExactStatus status = ExactStatus::Proven;
    std::vector<int> columns;  // chosen columns, ascending
    bool literalsProven = false;
    long nodes = 0;
    int essentials = 0, coreRows = 0, coreColumns = 0, blocks = 0;
    bool boundMet = false;  // no cover has fewer than p.enough columns; columns left empty
};

// Smallest set of columns meeting every row (each row lists columns below `columns`); among
// those of that size, the one of least total weight found within the literal node budget.
// weight: per column (missing ones count 0); of two columns alike the lighter, then the
// lower, is preferred.
CoveringSolution MinimumCovering(int columns, const std::vector<std::vector<int>>& rows, const std::vector<int>& weight,
                                 const CoveringParams& p = {});

}  // namespace quorlet
