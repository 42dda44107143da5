// The Verilog and VHDL texts of a design and of its self-checking testbench.
#pragma once

#include <string>
#include <string_view>
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
// The tokens in which the two languages write the same logic.
struct HdlSyntax {
    std::string_view comment;  // opens a comment line
    std::string_view notOp;    // written before the operand
    std::string_view andOp, orOp, xorOp;
    std::string_view zero, one;
    // VHDL does not mix "and" and "or" without parentheses; Verilog's precedence makes them
    // needless there except around the sums of a product of sums.
    bool groupEveryProduct = false;
    std::string_view assignHead, assignOp;  // a continuous assignment: head, target, op, value
    // The state register's block around its reset and its clock-edge assignments.
    std::string_view registerOpen, registerEdge, registerClose;
};
extern const HdlSyntax kVerilog;
extern const HdlSyntax kVhdl;

// A port of the design, in port order: clk and reset, the inputs, the outputs, the state bits.
struct HdlPort {
    std::string name;
    bool output = false;
    bool stateBit = false;
};
std::vector<HdlPort> DesignPorts(const HdlDesign& design, const HdlIdentifiers& ids);

// The identifiers of the design's signals by their part in it.
struct DesignSignals {
    std::vector<std::string> inputs;       // the primary inputs
    std::vector<std::string> state;        // the state bits, Q1 first
    std::vector<std::string> outputs;      // the primary outputs
    std::vector<std::string> excitations;  // the functions that drive the flip-flops
};
DesignSignals SplitSignals(const HdlDesign& design, const HdlIdentifiers& ids);

// The design's body: one assignment per function, then the state register of a state table.
std::string DesignLogic(const HdlSyntax& syntax, const HdlDesign& design, const HdlIdentifiers& ids);

std::string Comments(const HdlSyntax& syntax, const std::vector<std::string>& lines);
// One line per item, each but the last ending in `separator`: a port list or port map.
std::string ListLines(const std::vector<std::string>& items, const std::string& indent, const std::string& separator);
std::string Joined(const std::vector<std::string>& names, const std::string& separator = " ");
// The right-hand side of one function, written from `column` on.
std::string Expression(const HdlSyntax& syntax, const HdlDesign& design, const HdlIdentifiers& ids,
                       const HdlFunction& f, std::size_t column);
// The value state bit `bit` takes at the clock edge, from its flip-flop's excitation functions.
std::string NextState(const HdlSyntax& syntax, const HdlDesign& design, const HdlIdentifiers& ids, int bit);
// Joins the parts with the operator, ending a line before a part that would pass column 100;
// continuation lines start with `indent`.
std::string Wrap(const std::vector<std::string>& parts, const std::string& op, std::size_t firstColumn,
                 const std::string& indent);
// The comment lines of the header: what the file is, the logic form, the renamed names.
std::vector<std::string> HeaderLines(const HdlDesign& design, const HdlIdentifiers& ids, bool testbench);
// The comment lines of a testbench that say what it checks.
std::vector<std::string> PlanLines(const HdlDesign& design, const HdlCheckPlan& plan);

// What every testbench starts from: the signals, whether the outputs are compared (not when the
// cover table holds the next-state columns only), and the header and plan comments.
struct TestbenchStart {
    DesignSignals io;
    bool checkOutputs = false;
    std::string comments;
};
TestbenchStart StartTestbench(const HdlSyntax& syntax, const HdlDesign& design, const HdlIdentifiers& ids,
                              const HdlCheckPlan& plan);
// The bit strings tb_check takes for one check, in the order of its parameters: the present
// state, the input point, the expected outputs (when compared) and the next state, each only
// where the design has it.
std::vector<std::string> CheckVectors(const TestbenchStart& start, const HdlDesign& design, const HdlCheckPlan& plan,
                                      const HdlCheck& check);
const char* FlipFlopName(FlipFlopKind kind);
}  // namespace hdl_text

}  // namespace quorlet
