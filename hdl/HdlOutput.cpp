// Reading the run's files and writing the two files of one language.
#include "HdlOutput.h"

#include "HdlDesign.h"
#include "HdlWriters.h"
#include "MinimizedCover.h"
#include "USubExec.h"
#include "UTables.h"

namespace quorlet {
namespace {

// The cover table must describe the same signals as the minimized table: after the Moore
// second pass it keeps the next-state columns only.
bool CoverTableFits(const HdlDesign& design, const MinimizedTable& table)
{
    const int inputs = static_cast<int>(design.inputs.size());
    const int outputs = static_cast<int>(design.functions.size());
    if (table.inputs != inputs) return false;
    return table.outputs == outputs || (design.IsStateMachine() && table.outputs == design.excitations);
}

}  // namespace

void WriteHdlOutput(TSubExec& stage, HdlLanguage language)
{
    MinimizedCover cover;
    if (!OpenMinimizedCover(stage, cover)) return;

    // The counts of state variables and excitation functions, which the cover record leaves out.
    SettingsLog log;
    LogReadStatus logStatus = LogReadStatus::Ok;
    if (!ReadWorkFile(stage, kSettingsLogFile, [&](TextFile& file) { logStatus = ReadSettingsLogCounts(file, log); }))
        return;
    MinimizedTable coverTable;
    TableReadStatus tableStatus = TableReadStatus::Ok;
    if (!ReadWorkFile(stage, kCoverTableFile,
                      [&](TextFile& file) { tableStatus = ReadMinimizedTable(file, coverTable); }))
        return;

    HdlDesignResult built = BuildHdlDesign(cover, log);
    if (logStatus != LogReadStatus::Ok || tableStatus != TableReadStatus::Ok || !built.ok ||
        !CoverTableFits(built.design, coverTable)) {
        stage.WriteLine("TEMPORARY FILE FORMAT ERROR: NO HDL FILES WRITTEN");
        return;
    }
    const HdlDesign& design = built.design;
    const HdlCheckPlan plan = BuildCheckPlan(design, coverTable);
    const HdlIdentifiers ids = AssignIdentifiers(design, language);

    const bool verilog = language == HdlLanguage::Verilog;
    const std::string base = SplitPath(cover.OutputFileName).dir + design.name;
    const std::string extension = verilog ? ".v" : ".vhd";
    const std::string designFile = base + extension;
    const std::string testbenchFile = base + "_tb" + extension;
    const std::string designText = verilog ? VerilogDesign(design, ids) : VhdlDesign(design, ids);
    const std::string testbenchText = verilog ? VerilogTestbench(design, ids, plan) : VhdlTestbench(design, ids, plan);

    stage.WriteLine(std::string("CREATING ") + (verilog ? "VERILOG" : "VHDL") + " FILES " + designFile + " AND " +
                    testbenchFile);
    auto writeFile = [&stage](const std::string& name, const std::string& text) {
        TextFile out;
        if (!stage.OpenOut(out, name)) {
            stage.WriteLine("ERROR OPENING OUTPUT FILE");
            return false;
        }
        out.Write(text);
        if (!stage.CloseText(out)) {
            stage.WriteLine("ERROR WRITING OUTPUT, PROBABLY DISK FULL");
            stage.EraseFile(name);
            return false;
        }
        return true;
    };
    if (!writeFile(designFile, designText)) return;
    if (!writeFile(testbenchFile, testbenchText)) {
        stage.EraseFile(designFile);
        return;
    }
    if (plan.outputsUnchecked)
        stage.WriteLine("NOTE: THE TESTBENCH CHECKS THE STATE TRANSITIONS ONLY (MOORE SECOND PASS)");
    if (!plan.unreachable.empty())
        stage.WriteLine("NOTE: " + std::to_string(plan.unreachable.size()) +
                        " PRESENT STATES NOT REACHABLE FROM RESET ARE NOT CHECKED");
}

}  // namespace quorlet
