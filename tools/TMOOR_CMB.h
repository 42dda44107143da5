// The Moore combination: joins the separately minimized next-state and output covers of the
// second Moore pass into one cover and checks that the outputs use state variables only.
#pragma once

#include <string>
#include <vector>

#include "USubExec.h"
#include "UTables.h"

namespace quorlet {

class TMOOR_CMB : public TSubExec {
public:
    void Execute() override;

private:
    void ReadNextStateCover();
    void JoinOutputCover();

    bool inputDependent_ = false;
    int stateBits_ = 0;    // A
    int excitations_ = 0;  // B, read for the log's sake only
    int inputs_ = 0;       // NI
    int outputs_ = 0;      // NO
    std::vector<Term> store_;
};

}  // namespace quorlet
