// Unate recursive algorithms on covers: tautology, containment of a cube by a cover,
// complement, the smallest cube containing a complement, and the covering rows of a cube.
#pragma once

#include <initializer_list>
#include <vector>

#include "Cube.h"
#include "MeetIndex.h"

namespace quorlet {

// A set of outputs, one bit per output, as the output words of a cube.
using OutSet = std::vector<Word>;

OutSet OutputsOf(const Space& s, const Word* c);
bool OutSetEmpty(const OutSet& u);

// Does g cover the whole space (every input point for every output in u)?
bool Tautology(Cover g, OutSet u);
bool Tautology(const Cover& g);

// Cubes of the covers (all but the one at address skip) that meet c, cofactored against c.
Cover CofactorOf(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip = nullptr);

// Is every point of c (inputs and outputs) covered by the union of the covers, not counting
// the cube stored at address skip?
bool CubeCovered(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip = nullptr);
// The same over the covers an index was built on.
bool CubeCovered(const Word* c, const MeetIndex& index, const Word* skip = nullptr);
// CubeCovered with at most `steps` tautology steps: false means proven not covered, true
// means covered or not settled within the steps.
bool CubeMaybeCovered(const Word* c, const Cover& f, long steps);

// Complement of f over the whole space, computed output by output (outputs with the same
// cubes share the work) and joined where input parts agree.
// Throws CoverLimitError when the complement grows past limit cubes.
Cover Complement(const Cover& f, std::size_t limit = kMaxCoverCubes);

// The same complement, built as the points outside every cube of f (for all outputs) and,
// inside each cube, the outputs it lacks where the others leave them open. Far smaller when
// the outputs share most cubes: the completeness check of a table whose rows leave a few
// outputs open each.
Cover ComplementAroundCommonPart(const Cover& f, std::size_t limit = kMaxCoverCubes);

// Complement of f, input part only, for a single-output view of f (outputs ignored).
Cover InputComplement(const Cover& f, std::size_t limit = kMaxCoverCubes);

// Smallest cube containing c minus the covers (not counting the cube at skip). Writes it to
// out and returns true, or returns false when that set is empty.
bool ReduceCube(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip, Word* out);
bool ReduceCube(const Word* c, const MeetIndex& index, const Word* skip, Word* out);

// Rows of the covering problem of cube c against the covers: g is the cofactor of the covers
// against c and tag[i] names the selectable cube g[i] came from (-1: always present). Each
// row lists tags at least one of which must be kept for c to stay covered. Returns false when
// even all cubes together do not cover c.
bool CoveringRows(Cover g, std::vector<int> tag, OutSet u, std::vector<std::vector<int>>& rows);

}  // namespace quorlet
