// The one table of every stage that runs inside the process.
#pragma once

#include <string>
#include <vector>

namespace quorlet {

// Fills the sub-tool registry with every stage of the system; safe to call more than once.
void RegisterQuorletStages();
// The registered names, in table order.
std::vector<std::string> QuorletStageNames();

}  // namespace quorlet
