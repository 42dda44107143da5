// The Moore check: decides whether the minimized cover of a state machine drives its primary
// outputs from state variables only, and otherwise splits the expanded table for a second pass.
#pragma once

#include <vector>

#include "USubExec.h"
#include "UTables.h"

namespace quorlet {

class TMOOR_CHK : public TSubExec {
public:
    void Execute() override;

private:
    void TestFirstPass();
    void LoadExpandedTable();
    void WriteSecondPassTables();

    bool secondPass_ = false;
    bool tooLong_ = false;     // the expanded table exceeds the term store
    int stateBits_ = 0;         // A: present-state input columns, first in every input part
    int excitations_ = 0;       // B: next-state output columns, first in every output part
    int inputs_ = 0;            // NI
    int outputs_ = 0;           // NO
    std::vector<Term> store_;
};

}  // namespace quorlet
