// From a PLA table to the ON, don't-care and OFF covers of one phase, back from a cover to a
// table, and the exact check that a result is a correct minimization of a table.
#pragma once

#include <string>

#include "Cube.h"
#include "Pla.h"

namespace quorlet {

struct Problem {
    Space space;
    Cover on, dc, off;
    bool offKnown = true;  // false: the OFF-set was too large to build (see kOffSetBudget)
};

// Cubes of the terms, with output j set where the term's output character j is `which`.
Cover TermCover(const PlaTable& t, char which);

// Without pos: ON = the "1" points, OFF as the table's type says, DC the rest. With pos the
// points neither ON nor don't-care become the ON-set and the ON points the OFF-set.
// A point named both ways counts as don't-care before ON before OFF.
Problem BuildProblem(const PlaTable& t, bool pos);

// The result table: outputs "1" where the cube belongs to the output, "0" elsewhere.
PlaTable CoverToTable(const Cover& f, const PlaTable& like);

struct Verdict {
    bool ok = true;
    std::string message;  // the first wrong output and cube when not ok
};

// Is result (read as a plain cover of its "1" outputs) a correct minimization of original in
// the given phase: every ON point covered, no OFF point touched? Exact, by tautology.
Verdict VerifyMinimization(const PlaTable& original, const PlaTable& result, bool pos);

}  // namespace quorlet
