// Essential primes: primes that every cover of primes holds.
#pragma once

#include <vector>

#include "Cube.h"

namespace quorlet {

// Marks the cubes of f (primes) proven essential; a test not settled within `steps` tautology
// steps leaves its cube unmarked.
std::vector<char> EssentialPrimes(const Cover& f, const Cover& dc, long steps = 1L << 40);

}  // namespace quorlet
