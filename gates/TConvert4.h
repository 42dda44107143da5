// The schematic drawing converter "convert4.exe": the minimized cover as a placed and wired
// schematic sheet (".asc") with the design's block symbol (".asy"), for the importers.
#pragma once

#include "SheetDrawing.h"
#include "TGateConverter.h"

namespace quorlet {

class TConvert4 : public TGateConverter {
public:
    void Execute() override;

private:
    SheetPorts ports_;
    TextFile sheet_;

    void WriteUnusedSignalWarnings();
    bool WriteSymbolFile();
};

}  // namespace quorlet
