// The netlist converter "convert3.exe": the minimized cover as a gate netlist for the fault
// simulator, under the gate-input limits of the gate library.
#pragma once

#include <string>
#include <vector>

#include "TGateConverter.h"

namespace quorlet {

// The dated comment line of the netlist head, from the runtime clock.
std::string NetlistDateLine();
// "INPUT"/"OUTPUT" lines with nine names a line; one empty line for no names.
std::vector<std::string> NetlistNameLines(std::string_view keyword, const std::vector<std::string>& names);
// OutputName, kind name, then maxInputs blank-terminated input fields.
std::string NetlistGateLine(const Gate& gate, int maxInputs);
bool HasLongIdentifiers(const MinimizedCover& cover);

class TConvert3 : public TGateConverter {
public:
    void Execute() override;

private:
    TextFile netlist_;

    void WriteHead();
};

}  // namespace quorlet
