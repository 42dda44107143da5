// The JEDEC output ("convert5.exe"): not implemented; it says so and shows its argument.
#pragma once

#include "USubExec.h"

namespace quorlet {

class TConvert5 : public TSubExec {
public:
    void Execute() override;
};

}  // namespace quorlet
