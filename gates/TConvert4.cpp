// The schematic drawing converter: library, network, placement and routing, block symbol,
// then the sheet's ".asc" name and the schematic log for the importers.
#include "TConvert4.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "TConvert3.h"
#include "UTables.h"

namespace quorlet {

void TConvert4::WriteUnusedSignalWarnings()
{
    const int states = std::min(cover_.FlipFlopCount, cover_.NumInputs);
    for (int i = 0; i < cover_.NumInputs; ++i) {
        bool used = std::any_of(cover_.Terms.begin(), cover_.Terms.end(), [&](const CoverTerm& t) {
            return i < static_cast<int>(t.InputPart.size()) && (t.InputPart[i] == '0' || t.InputPart[i] == '1');
        });
        if (used) continue;
        WriteLine((i < states ? "WARNING:  SIGNAL " : "WARNING:  INPUT SIGNAL ") + cover_.InputNames[i] +
                  " IS NEVER USED !!!!!");
    }
}

bool TConvert4::WriteSymbolFile()
{
    const std::string name = SymbolFileName(cover_.OutputFileName);
    TextFile symbol;
    EraseFile(symbol, name);
    if (!OpenOut(symbol, name)) {
        WriteLine("ERROR OPENING FILE " + name);
        ErrorFlag = true;
        return false;
    }
    for (const std::string& line : SymbolFileLines(cover_, ports_)) symbol.WriteLine(line);
    if (!CloseText(symbol)) {
        WriteLine("ERROR WRITING FILE " + name + ", PROBABLY DISK FULL");
        ErrorFlag = true;
        return false;
    }
    return true;
}

void TConvert4::Execute()
{
    ports_ = SheetPorts{};
    if (!StartRun()) return;

    TextFile libraryFile;
    std::optional<GateLibrary> library =
        ReadLibraryHeadForDrawing(*this, libraryFile, LibraryPath(*this), cover_.OutputFileName, cover_.InvFlag);
    if (!library) return;
    library_ = std::move(*library);
    if (!ReadLibraryComponents(*this, libraryFile, library_)) return;

    NetworkParams params = NetworkParamsFor(NetworkStyle::Drawing);
    params.componentInputPins = [this](std::string_view name) {
        if (const LibraryComponent* c = FindComponent(library_, name)) return c->NumInputPins;
        return name == "DUMMY" ? 1 : -1;
    };
    if (cover_.InvFlag) {
        PolarityPrePass(cover_, params, network_);
        if (!WriteNetworkMessages()) return;
    }

    {
        // Refused before the sheet is touched: a net with two drivers is a wrong circuit.
        GateNetwork probe = network_;
        BuildGateNetwork(cover_, params, probe);
        if (const std::string net = NetDrivenTwice(cover_, params, probe); !probe.error && !net.empty())
            return ReportFailure(NetDrivenTwiceMessage(net));
    }
    EraseFile(sheet_, cover_.OutputFileName);
    if (!OpenOut(sheet_, cover_.OutputFileName)) {
        WriteLine("ERROR OPENING FILE " + cover_.OutputFileName);
        return;
    }
    sheet_.WriteLine("Version 4");
    sheet_.WriteLine("SHEET 1 14080 10880");
    if (HasLongIdentifiers(cover_)) {
        WriteLine("WARNING:  IDENTIFIERS OF MORE THAN 6 CHARACTERS FOUND,");
        WriteLine("          THIS MIGHT LEAD TO ERRORS IN SCHEMATICS GENERATION");
    }
    WriteStatistics(cover_, nullptr, StatisticsOptions{});
    WriteUnusedSignalWarnings();

    BuildGateNetwork(cover_, params, network_);
    bool built = WriteNetworkMessages();
    for (const std::string& name : network_.stuckOutputs)
        WriteLine("WARNING:  SIGNAL " + name + " STUCK AT FIXED LEVEL !!!!!");
    if (!built) return;
    if (cover_.InvFlag) {
        InvertingConversion(cover_, params, network_);
        if (!WriteNetworkMessages()) return;
    }

    SheetResult drawing = DrawSheet(cover_, library_, network_.gates);
    for (const std::string& line : drawing.lines) sheet_.WriteLine(line);
    for (const std::string& m : drawing.messages) WriteLine(m);
    if (drawing.error) {
        ErrorFlag = true;
        CloseText(sheet_);
        return;
    }
    ports_ = drawing.ports;
    if (!CloseText(sheet_)) {
        WriteLine("ERROR WRITING FILE " + cover_.OutputFileName + ", PROBABLY DISK FULL");
        return;
    }
    if (!WriteSymbolFile()) return;

    const std::string base = SchematicBaseName(cover_.OutputFileName);
    const std::string sheetName = base + ".asc";
    std::error_code ec;
    if (sheetName != cover_.OutputFileName) {
        std::filesystem::remove(sheetName, ec);
        std::filesystem::rename(cover_.OutputFileName, sheetName, ec);
        if (ec) {
            WriteLine("ERROR RENAMING FILE " + cover_.OutputFileName + " TO " + sheetName);
            return;
        }
    }
    TextFile log;
    if (!OpenOut(log, kSchematicLogFile)) {
        WriteLine("ERROR OPENING TEMPORARY FILE");
        return;
    }
    log.WriteLine(base);
    if (!CloseText(log)) {
        EraseFile(kSchematicLogFile);
        WriteLine("ERROR OPENING TEMPORARY FILE");
        return;
    }
    MarkResultWritten(sheetName);
}

}  // namespace quorlet
