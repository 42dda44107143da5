// Exact minimization is not implemented yet: every call gives up, so the heuristic cover stands.
#include "Exact.h"

namespace quor {

bool ExactMinimize(const Cover&, const Cover&, const Cover&, const MinimizeParams&, MinimizeResult&) {
  return false;
}

}  // namespace quor
