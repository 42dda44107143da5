// Reduce: each cube of a cover shrunk to the smallest cube that still covers what the other
// cubes leave to it.
#pragma once

#include <span>
#include <vector>

#include "Cube.h"

namespace quorlet {

// Largest cubes first.
Cover Reduce(const Cover& f, const Cover& dc);

// Reduces the cubes of f one after the other in the given order: each gives up what the
// others (already reduced ones as they now are) cover; a cube the others cover whole is dropped.
// unchanged (optional): for each cube of the result, whether reduce left it as it was.
Cover ReduceInOrder(const Cover& f, const Cover& dc, std::span<const int> order,
                    std::vector<char>* unchanged = nullptr);
// ReduceInOrder with the largest cubes first, as Reduce.
Cover ReduceLargestFirst(const Cover& f, const Cover& dc, std::vector<char>* unchanged = nullptr);

}  // namespace quorlet
