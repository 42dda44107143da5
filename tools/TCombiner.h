// The combiner: merges the one-output minimized cover as a new last column into the accumulated
// multi-output cover, sharing terms with equal input parts.
#pragma once

#include <vector>

#include "USubExec.h"
#include "UTables.h"

namespace quorlet {

class TCombiner : public TSubExec {
public:
    void Execute() override;

private:
    bool ReadAccumulated();
    bool MergeNewColumn();
    void Fail(std::string_view message);

    int inputs_ = 0;
    int outputs_ = 0;
    std::vector<Term> store_;
};

}  // namespace quorlet
