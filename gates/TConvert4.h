// The schematic drawing converter "convert4.exe": the minimized cover as a placed and wired
// schematic sheet (".asc") with the design's block symbol (".asy"), for the importers.
#pragma once

#include "GateLibrary.h"
#include "GateNetwork.h"
#include "MinimizedCover.h"
#include "SheetDrawing.h"
#include "USubExec.h"

namespace quorlet {

class TConvert4 : public TSubExec {
public:
    void Execute() override;

private:
    MinimizedCover cover_;
    GateLibrary library_;
    GateNetwork network_;
    SheetPorts ports_;
    TextFile sheet_;

    bool WriteMessages(std::vector<std::string>& messages);
    void WriteUnusedSignalWarnings();
    bool WriteSymbolFile();
};

}  // namespace quorlet
