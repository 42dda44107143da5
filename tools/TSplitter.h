// The splitter: copies one output column of the cover table into the one-output table, for
// minimizing output by output.
#pragma once

#include "USubExec.h"
#include "UTables.h"

namespace quorlet {

class TSplitter : public TSubExec {
public:
    void Execute() override;

private:
    // Parameter 1 as exactly two digits, 1-based; 0 when it is missing or malformed.
    int ColumnParameter() const;
    enum class ReadResult { Ok, Failed, TooLong };
    ReadResult ReadCoverTable();

    int column_ = 0;
    CoverTable cover_;
};

}  // namespace quorlet
