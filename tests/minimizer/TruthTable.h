// Point-by-point views of covers for small spaces, and random cubes and functions.
#pragma once

#include <optional>
#include <random>
#include <vector>

#include "Cube.h"
#include "Unate.h"

namespace quorlet::test {

// table[j][m]: is input point m (bit v = value of input v) in output j of the cover?
using Table = std::vector<std::vector<char>>;

bool PointIn(const Space& s, const Word* c, unsigned m, int j);
Table TableOf(const Cover& f);
// Does every output of the table (of u) hold every input point: is the cover a tautology there?
bool AllOnes(const Table& t);
bool AllOnes(const Table& t, const OutSet& u);
Word* RandomCube(std::mt19937& rng, Cover& into, int dashPercent = 40, int outPercent = 50);
Cover RandomCover(std::mt19937& rng, const Space& s, int cubes, int dashPercent = 40);

// Cube i of f against the other cubes of f, by enumeration: CubeCovered must say whether they
// hold all of it, and ReduceCube must give the smallest cube around what they leave. Failures
// are reported to the running test; returns ReduceCube's cube, or nothing when the others
// hold it all.
std::optional<std::vector<Word>> CheckAgainstOthers(const Cover& f, int i);

// A random incompletely specified function: value[j][m] is 0, 1 or 2 (don't-care).
struct RandomFunction {
    Space space;
    std::vector<std::vector<char>> value;
    Cover on, dc, off;  // point by point (one minterm cube per point and output group)
};
RandomFunction MakeFunction(std::mt19937& rng, int ni, int no, int onPercent, int dcPercent);

}  // namespace quorlet::test
