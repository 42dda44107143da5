// The search over one block of a unate covering problem: a greedy cover, and a branch and bound
// (essential columns, row and column dominance, an independent-set lower bound with the limit
// rule) that improves on it or proves that nothing cheaper exists.
#pragma once

#include <memory>
#include <vector>

#include "MinimumCover.h"

namespace quorlet {

// Thrown by CoverSearch::Solve when the node budget or the time runs out, or when a row
// cannot be covered.
struct CoverSearchStop {
    ExactStatus status;
};

class CoverSearch {
public:
    // rows: the columns of each row, each below `columns`; cost and rank per column (of two
    // columns alike the lower rank is preferred). budget: nodes at most; deadline: checked
    // only when timed.
    CoverSearch(const std::vector<std::vector<int>>& rows, int columns, const std::vector<long long>& cost,
                const std::vector<int>& rank, long budget, ExactDeadline deadline, bool timed);
    ~CoverSearch();
    CoverSearch(const CoverSearch&) = delete;
    CoverSearch& operator=(const CoverSearch&) = delete;

    // Greedy cover: most rows per cost, then redundant picks dropped, last picked first.
    // Ascending; empty when some row cannot be covered.
    std::vector<int> Greedy() const;
    // Improves on the given solution (cost bestCost) or proves that none is cheaper. Throws
    // CoverSearchStop when the node budget or the time runs out; best then holds the best found.
    // With unit costs the search first asks for a cover as small as the root's lower bound,
    // then one more, and so on (tightBounds times): a bound that is met prunes with full force
    // from the first node, and each failed round proves the bound one higher.
    void Solve(std::vector<int>& best, long long& bestCost, int tightBounds);
    // No cover is cheaper than this: the forced columns and an independent-set bound (a
    // quarter of the largest long long when some row cannot be covered).
    long long RootBound();
    long nodes() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quorlet
