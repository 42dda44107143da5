// Unate covering: few columns chosen so that every row holds a chosen one.
#pragma once

#include <vector>

namespace quorlet {

// Minimum (or, past the node budget, small) set of columns hitting every row.
std::vector<int> MinimumCover(const std::vector<std::vector<int>>& rows, int columns, long nodeBudget,
                              bool* proven = nullptr);
// The same solved block by block (blocks: sets of columns tied together by rows); blocks of
// at most maxBlockColumns columns get the branch and bound, larger ones the greedy choice.
std::vector<int> MinimumCoverByBlocks(const std::vector<std::vector<int>>& rows, int columns, int maxBlockColumns,
                                      long nodeBudget, bool* proven = nullptr);

}  // namespace quorlet
