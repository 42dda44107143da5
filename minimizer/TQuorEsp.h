// The two-level minimizer as a stage of the pipeline ("quor_esp.exe"), linked into the process.
#pragma once

#include "USubExec.h"

namespace quorlet {

class TQuorEsp : public TSubExec {
public:
    // "-o OUT [-pos] IN": minimizes IN into OUT; on bad input the message goes to the console
    // and no OUT is left, so the next stage reports the missing file.
    void Execute() override;
};

}  // namespace quorlet
