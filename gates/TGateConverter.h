// What the netlist and the schematic converters share: the minimized cover, the gate library
// and the gate network of one run, and the way the network's messages reach the console.
#pragma once

#include "GateLibrary.h"
#include "GateNetwork.h"
#include "MinimizedCover.h"
#include "USubExec.h"

namespace quorlet {

class TGateConverter : public TSubExec {
protected:
    // Clears the state of the last run and reads the minimized cover; false when the converter
    // must stop (the message is written).
    bool StartRun();
    // The network's limits from the library, its polarity from the cover.
    NetworkParams NetworkParamsFor(NetworkStyle style) const;
    // Writes and clears the network's messages; false, with ErrorFlag set, after a network error.
    bool WriteNetworkMessages();

    MinimizedCover cover_;
    GateLibrary library_;
    GateNetwork network_;
};

}  // namespace quorlet
