// Hook for exact minimization (a proven minimum number of cubes).
#pragma once

#include "Minimize.h"

namespace quor {

// Tries to replace the heuristic result with a cover of proven minimum cube count.
// Returns true and fills result when it succeeded; false leaves result alone (the
// caller then keeps the heuristic cover and reports that the exact step gave up).
bool ExactMinimize(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& p,
                   MinimizeResult& result);

}  // namespace quor
