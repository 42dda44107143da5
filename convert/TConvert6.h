// ABEL output ("convert6.exe"): the minimized cover as an ABEL source for a PAL device, with the
// device and pins from the "#" lines of the table file and the device-data mode of the
// configuration file.
#pragma once

#include <string>
#include <vector>

#include "MinimizedCover.h"
#include "USubExec.h"

namespace quorlet {

// How missing device data is shown ("ABEL_DEVICE_DATA": NORMAL, REQUEST or SKIP).
struct DeviceDataMode {
    bool requestDeviceData = false;  // REQUEST: show "??????????" and "???" for what is missing
    bool useDeviceData = true;       // SKIP clears it: no device line and no pins at all
};

struct PinEntry {
    std::string name;
    std::string pin = "???";  // "???": not assigned
};

class TConvert6 : public TSubExec {
public:
    void Execute() override;

private:
    void ReadDeviceDataMode();
    void BuildPinTable();
    void ReadAbelLines();
    void TreatDeviceLine(const std::string& line);
    void TreatPinsLine(const std::string& line);
    void WriteAbelFile();
    void WriteEquation(TextFile& out, int j);
    void WriteUnusedWarnings(TextFile& out);
    void WriteTestVectors(TextFile& out);
    void Warn(TextFile& out, const std::string& text);
    int StateCount() const { return cover_.StateCount(); }

    MinimizedCover cover_;
    DeviceDataMode mode_;
    std::string deviceName_;
    bool deviceGiven_ = false;
    // Entry -1 (FF.AR) at index 0, entry 0 (FF.CLK) at index 1, then the primary inputs, the
    // primary outputs and the state variables.
    std::vector<PinEntry> pins_;
};

// Reads the "ABEL_DEVICE_DATA" key from the configuration file (missing file: the defaults),
// writing the warning for an illegal value to the stage's console.
DeviceDataMode ReadDeviceDataMode(TSubExec& stage, const std::string& configFile);

// "Monday, January 5, 2004; 09:07" from the clock.
std::string AbelDateText();

}  // namespace quorlet
