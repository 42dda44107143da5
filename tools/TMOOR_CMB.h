// The Moore combination: joins the separately minimized next-state and output covers of the
// second Moore pass into one cover and checks that the outputs use state variables only.
#pragma once

#include "ToolFiles.h"

namespace quorlet {

class TMOOR_CMB : public TMooreStage {
public:
    void Execute() override;

private:
    void ReadNextStateCover();
    void JoinOutputCover();

    bool inputDependent_ = false;
};

}  // namespace quorlet
