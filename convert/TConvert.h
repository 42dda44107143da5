// The converter dispatch ("CONVERT.EXE"): runs the converter of the chosen output kind, turns a
// schematic sheet into the editor's files with the two importers, and removes the converters'
// intermediate files.
#pragma once

#include <string>
#include <string_view>

#include "USubExec.h"

namespace quorlet {

// The converter program of an output option: "convert2.exe" ... "convert6.exe" for 2 to 6,
// "convert1.exe" for every other value.
std::string ConverterProgram(int outputOption);

// The extra outputs a run may ask for beside its result, as the words the front ends pass
// ("--kmap", "--verilog", "--vhdl"), and the stage that writes each ("kmap.exe" for "--kmap").
bool IsExtraOutputWord(std::string_view word);
std::string ExtraOutputProgram(std::string_view word);

class TConvert : public TSubExec {
public:
    void Execute() override;

private:
    // Runs the schematic and symbol importers on base name `base`, with the tools in `dir`.
    void ConvertSchematic(const std::string& base, const std::string& dir);
    // Runs the stage of every extra-output word from parameter 3 on.
    void WriteExtraOutputs(const std::string& dir);
};

}  // namespace quorlet
