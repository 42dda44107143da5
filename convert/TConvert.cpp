// The converter dispatch: one converter a run, the schematic importers after a drawing, and
// the removal of the files the converters read.
#include "TConvert.h"

#include <cstdio>

#include "UTables.h"

namespace quorlet {
namespace {

// An optionally signed decimal integer; large values saturate, which keeps them "greater than 6"
// or negative as written.
bool ReadOutputOption(const std::string& word, int& value)
{
    ParsedNumber number =
        ParseDecimal(word, NumberRules{.minusAllowed = true, .plusAllowed = true, .emptyIsZero = false});
    if (!number.isNumber) return false;
    value = number.value;
    return true;
}

// Whether the file can be written, without touching an existing one: an existing file is
// opened for update and closed unchanged; a new one is created and removed again.
bool CanWrite(const std::string& name)
{
    if (FileExists(name)) {
        std::FILE* f = std::fopen(name.c_str(), "r+");
        if (!f) return false;
        std::fclose(f);
        return true;
    }
    std::FILE* f = std::fopen(name.c_str(), "w");
    if (!f) return false;
    std::fclose(f);
    std::remove(name.c_str());
    return true;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

namespace {
constexpr std::string_view kExtraOutputWords[] = {"--kmap", "--verilog", "--vhdl", "--check"};
}  // namespace

bool IsExtraOutputWord(std::string_view word)
{
    for (std::string_view known : kExtraOutputWords)
        if (word == known) return true;
    return false;
}

std::string ExtraOutputProgram(std::string_view word) { return std::string(word.substr(2)) + ".exe"; }

std::string ConverterProgram(int outputOption)
{
    if (outputOption >= 2 && outputOption <= 6) return "convert" + std::to_string(outputOption) + ".exe";
    return "convert1.exe";
}

void TConvert::Execute()
{
    const std::string dir = ProgramDir();
    int option = 0;
    if (ParamCount() < 2 || !ReadOutputOption(Param(1), option)) {
        ReportFailure("CONVERTER CALL ERROR");
    } else {
        RunProgram(dir + ConverterProgram(option), Param(2));

        TextFile log;
        if (OpenIn(log, kSchematicLogFile)) {
            std::string base;
            log.ReadLine(base);
            CloseText(log);
            EraseFile(kSchematicLogFile);
            if (base.empty()) ReportFailure("FATAL: EMPTY SCHEMATIC LOG FILE, OUTPUT NOT CONVERTED INTO SCHEMATIC");
            else ConvertSchematic(base, dir);
        }
        WriteExtraOutputs(dir);
    }
    EraseFile(kSettingsLogFile);
    EraseFile(kMinimizedFile);
}

void TConvert::WriteExtraOutputs(const std::string& dir)
{
    // Only beside a finished result: a run that ended on an error leaves no extra files either.
    if (!CurrentRunOutcome().Succeeded()) return;
    for (int i = 3; i <= ParamCount(); ++i) {
        const std::string word = Param(i);
        if (IsExtraOutputWord(word)) RunProgram(dir + ExtraOutputProgram(word), "");
    }
}

void TConvert::ConvertSchematic(const std::string& base, const std::string& dir)
{
    const std::string symbol = base + ".sym";
    const std::string errors = base + ".err";
    auto eraseSources = [&] {
        EraseFile(base + ".asc");
        EraseFile(base + ".asy");
    };

    TextFile probe;
    const bool symbolExisted = OpenIn(probe, symbol);
    if (symbolExisted) CloseText(probe);

    if (!CanWrite(symbol)) {
        ReportFailure("FATAL: SYMBOL FILE " + symbol + " IS READ-ONLY");
        return eraseSources();
    }

    const std::string schematicImporter = dir + "ascin.exe";
    if (ResolveProgramFile(schematicImporter).empty()) {
        ReportFailure("FATAL: " + schematicImporter + " NOT FOUND");
        WriteLine("       OUTPUT NOT CONVERTED INTO SCHEMATIC");
        return;
    }
    EraseFile(errors);
    WriteLine("GENERATING SCHEMATIC FILE " + base + ".sch");
    RunProgram(schematicImporter, Quoted(base + ".asc"));

    if (FileExists(errors)) {
        WriteLine();
        ReportFailure("SCHEMATIC FILE GENERATION ERROR; SYMBOL CREATION CANCELED");
        EraseFile(symbol);
        return eraseSources();
    }

    const std::string symbolImporter = dir + "asyin.exe";
    if (ResolveProgramFile(symbolImporter).empty()) {
        WriteLine();
        ReportFailure("ERROR: " + symbolImporter + " NOT FOUND");
        WriteLine("       NO SYMBOL CREATED FOR THIS SCHEMATIC");
        return;
    }
    WriteLine((symbolExisted ? "REPLACING EXISTING SYMBOL FILE " : "GENERATING SYMBOL FILE ") + symbol);
    RunProgram(symbolImporter, Quoted(base + ".asy"));
    WriteLine();
    WriteLine(symbolExisted ? "Module must be reinstantiated in any schematic containing it!"
                            : "Module files successfully created");
    eraseSources();
}

}  // namespace quorlet
