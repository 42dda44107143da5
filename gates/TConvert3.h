// The netlist converter "convert3.exe": the minimized cover as a gate netlist for the fault
// simulator, under the gate-input limits of the gate library.
#pragma once

#include <string>
#include <vector>

#include "GateLibrary.h"
#include "GateNetwork.h"
#include "MinimizedCover.h"
#include "USubExec.h"

namespace quorlet {

// The dated comment line of the netlist head, from the runtime clock.
std::string NetlistDateLine();
// "INPUT"/"OUTPUT" lines with nine names a line; one empty line for no names.
std::vector<std::string> NetlistNameLines(std::string_view keyword, const std::vector<std::string>& names);
// OutputName, kind name, then maxInputs blank-terminated input fields.
std::string NetlistGateLine(const Gate& gate, int maxInputs);
bool HasLongIdentifiers(const MinimizedCover& cover);

class TConvert3 : public TSubExec {
public:
    void Execute() override;

private:
    MinimizedCover cover_;
    GateLibrary library_;
    GateNetwork network_;
    TextFile netlist_;

    void WriteHead();
    void WriteMessages();
};

}  // namespace quorlet
