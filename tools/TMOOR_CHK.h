// The Moore check: decides whether the minimized cover of a state machine drives its primary
// outputs from state variables only, and otherwise splits the expanded table for a second pass.
#pragma once

#include "ToolFiles.h"

namespace quorlet {

class TMOOR_CHK : public TMooreStage {
public:
    void Execute() override;

private:
    void TestFirstPass();
    void LoadExpandedTable();
    void WriteSecondPassTables();

    bool secondPass_ = false;
    bool tooLong_ = false;  // the expanded table exceeds the term store
};

}  // namespace quorlet
