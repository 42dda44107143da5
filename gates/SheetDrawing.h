// Placement and routing of a gate network on one schematic sheet, and the block symbol of
// the design: plain values in, the drawing's lines out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "GateLibrary.h"
#include "GateNetwork.h"
#include "MinimizedCover.h"

namespace quorlet {

struct SheetPoint {
    int x = 0;
    int y = 0;
    bool operator==(const SheetPoint&) const = default;
};

// The ports and pin counts that the block symbol shows.
struct SheetPorts {
    bool HasClock = false, ClockActiveLow = false;
    bool HasReset = false, ResetActiveLow = false;
    bool HasPreset = false, PresetActiveLow = false;
    bool HasScanPath = false;
    int LeftPinCount = 0;
    int RightPinCount = 0;
};

struct SheetParams {
    int gridUnit = 16;
    int leftMargin = 256;      // X0
    int topPerFlipFlop = 272;  // Y0 = flip-flops x this + topBase
    int topBase = 160;
};

struct SheetResult {
    std::vector<std::string> lines;     // "SYMBOL", "SYMATTR", port and "WIRE" lines in order
    std::vector<std::string> messages;  // console lines ("COMPONENT ... NOT FOUND", "NOTE: ...")
    SheetPorts ports;
    bool error = false;
};

// Places and wires the gates (positions are stored back into them); control and state ports
// are appended to the gate list.
SheetResult DrawSheet(const MinimizedCover& cover, const GateLibrary& library, std::vector<Gate>& gates,
                      const SheetParams& params = {});

// The lines of the design's block symbol.
std::vector<std::string> SymbolFileLines(const MinimizedCover& cover, const SheetPorts& ports);

// "B.sch" -> "B.asy"; a name without a point in its file-name part gets ".asy" appended.
std::string SymbolFileName(std::string_view sheetFileName);
// "B.sch" -> "B": the name without its last four characters when they are an extension.
std::string SchematicBaseName(std::string_view sheetFileName);

}  // namespace quorlet
