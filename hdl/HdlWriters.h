// The Verilog and VHDL texts of a design and of its self-checking testbench.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "HdlDesign.h"
#include "HdlNames.h"

namespace quorlet {

// The identifier of every name of one design in one language.
struct HdlIdentifiers {
    HdlLanguage language = HdlLanguage::Verilog;
    std::string module;                                        // the design (module or entity)
    std::string testbench;                                     // module + "_tb" (renamed when that is taken)
    std::vector<std::string> inputs;                           // per HdlDesign::inputs
    std::vector<std::string> functions;                        // per HdlDesign::functions
    std::vector<std::pair<std::string, std::string>> renamed;  // table name -> identifier
};

HdlIdentifiers AssignIdentifiers(const HdlDesign& design, HdlLanguage language);

std::string VerilogDesign(const HdlDesign& design, const HdlIdentifiers& ids);
std::string VerilogTestbench(const HdlDesign& design, const HdlIdentifiers& ids, const HdlCheckPlan& plan);
std::string VhdlDesign(const HdlDesign& design, const HdlIdentifiers& ids);
std::string VhdlTestbench(const HdlDesign& design, const HdlIdentifiers& ids, const HdlCheckPlan& plan);

// Pieces both languages share.
namespace hdl_text {
// Joins the parts with the operator, ending a line before a part that would pass column 100;
// continuation lines start with `indent`.
std::string Wrap(const std::vector<std::string>& parts, const std::string& op, std::size_t firstColumn,
                 const std::string& indent);
// The comment lines of the header: what the file is, the logic form, the renamed names.
std::vector<std::string> HeaderLines(const HdlDesign& design, const HdlIdentifiers& ids, bool testbench);
// The comment lines of a testbench that say what it checks.
std::vector<std::string> PlanLines(const HdlDesign& design, const HdlCheckPlan& plan);
const char* FlipFlopName(FlipFlopKind kind);
}  // namespace hdl_text

}  // namespace quorlet
