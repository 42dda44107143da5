// Expand: every cube of a cover grown into a prime implicant, clear of the OFF-set.
#pragma once

#include <vector>

#include "Cube.h"

namespace quorlet {

struct ExpandParams {
    // Raise input parts only; outputs stay as they are.
    bool inputsOnly = false;
    // An OFF cube the outputs already keep apart stays apart by them, and the inputs grow
    // instead (primes of fewer outputs).
    bool separateByOutputs = false;
    // Cubes of f known to be primes already (nonzero entries), left as they are; null: none.
    const std::vector<char>* primes = nullptr;
};

// Primes covering f, none of them meeting off; of a cube inside another prime only the prime
// stays.
Cover Expand(const Cover& f, const Cover& off, const ExpandParams& p = {});

// The same for functions whose OFF-set is too large to build: raise one part at a time and
// keep the raise when the grown cube still lies inside care (the ON and don't-care sets).
// Reads p.inputsOnly only.
Cover ExpandByTautology(const Cover& f, const Cover& care, const ExpandParams& p = {});

// The order expand takes the cubes in: cubes rarely shared with others first.
std::vector<int> ExpandOrder(const Cover& f);

// Expand as the minimization loop runs it: against the OFF-set when there is one, otherwise by
// tautology against the ON and don't-care sets.
struct Expansion {
    const Cover* off = nullptr;   // OFF-set, or null
    const Cover* care = nullptr;  // ON and don't-care sets, used when off is null

    Cover operator()(const Cover& f, const ExpandParams& p = {}) const
    {
        return off ? Expand(f, *off, p) : ExpandByTautology(f, *care, p);
    }
};

}  // namespace quorlet
