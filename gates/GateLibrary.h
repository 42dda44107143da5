// Gate libraries: the gate-input limits of both gate-level converters and the drawing
// components (symbol, pins, size, offsets) of the schematic drawing converter.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TextFile.h"

namespace quorlet {

class TSubExec;

inline constexpr int kGridUnit = 16;
inline constexpr int kMaxLibraryComponents = 100;
inline constexpr int kMaxComponentInputPins = 6;
// An absent number ("*") reads as 128 grid units.
inline constexpr int kAbsentNumber = 128;

struct LibraryPoint {
    int x = 0;
    int y = 0;
    bool operator==(const LibraryPoint&) const = default;
};

struct LibraryPin {
    int x = 0;
    int y = 0;
    bool ActiveLow = false;
    LibraryPoint Point() const { return {x, y}; }
};

// Every coordinate and size is already multiplied by the grid unit.
struct LibraryComponent {
    std::string Name;    // upper case
    std::string Symbol;  // as written; "DUMMY" draws nothing
    std::array<LibraryPin, kMaxComponentInputPins> InputPins{};
    int NumInputPins = 0;
    std::array<LibraryPoint, 2> OutputPins{};
    int NumOutputPins = 0;
    LibraryPoint Size;  // x = width, y = height
    LibraryPoint UprightOffset;
    LibraryPoint TurnedOffset;

    // Pin k (1-based) is present on the sheet when both coordinates are real numbers.
    bool HasInputPin(int k) const
    {
        return k >= 1 && k <= kMaxComponentInputPins && InputPins[k - 1].x < 999 && InputPins[k - 1].y < 999;
    }
};

struct GateLibrary {
    std::string LibraryText;  // "NO LIBRARY" or "LIBRARY " + title
    std::string LibraryTitle;
    int MaxGateInputs = 8;
    int MaxPlainGateInputs = 8;
    std::vector<LibraryComponent> Components;
    int NumComponents = 0;
};

// The limits that the first word of a limits line gives ("4", "4/3", "/4/3").
struct GateLimits {
    bool valid = false;
    int maxGateInputs = 8;
    int maxPlainGateInputs = 8;
};
GateLimits ParseLimitsWord(std::string_view word, bool invertingGates);

// One component line split into words; false (with the fields read so far) when a word is
// missing or a number is malformed.
bool ParseComponentWords(const std::vector<std::string>& words, LibraryComponent& component);

// ProgramDir followed by the only parameter, matched case-insensitively in its directory.
std::string LibraryPath(const TSubExec& stage);

// The netlist converter's reader: never fails; messages go to the console of the stage.
GateLibrary ReadLibraryForNetlist(TSubExec& stage, std::string_view path, bool invFlag);

// The drawing converter's reader of the head; the file stays open for ReadLibraryComponents.
std::optional<GateLibrary> ReadLibraryHeadForDrawing(TSubExec& stage, TextFile& file, std::string_view path,
                                                     std::string_view sheetFileName, bool invFlag);
// Reads on from where the head reader stopped and closes the file.
bool ReadLibraryComponents(TSubExec& stage, TextFile& file, GateLibrary& library);

const LibraryComponent* FindComponent(const GateLibrary& library, std::string_view name);

}  // namespace quorlet
