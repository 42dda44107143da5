// What the Verilog and VHDL outputs write, in plain values: the design (the minimized functions
// and, for a state table, the flip-flops they drive) and the check plan of its testbench (the
// points the completed cover table specifies, and for a state table the way to reach them from
// reset). Both writers work from these values alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MinimizedCover.h"
#include "UTables.h"

namespace quorlet {

enum class FlipFlopKind { D, T, JK, SR };

// One literal of a product (sum-of-products) or of a sum (product-of-sums).
struct HdlLiteral {
    int input = 0;  // index into HdlDesign::inputs (state variables first)
    bool positive = true;
};

// One minimized function: its terms read as a sum of products or, with productOfSums, as a
// product of sums; inverted when the cover is the OFF cover.
struct HdlFunction {
    enum class Form { ConstantZero, ConstantOne, Terms };
    std::string name;  // the output's name in the minimized table (_D1, SUM)
    Form form = Form::ConstantZero;
    std::vector<std::vector<HdlLiteral>> terms;
};

struct HdlDesign {
    std::string name;  // the result file's name without extension
    std::string tableFile;
    std::vector<std::string> inputs;     // the minimized table's inputs: state variables, then primaries
    int stateBits = 0;                   // n: the first n inputs are the state variables
    std::vector<HdlFunction> functions;  // the minimized table's outputs: excitations, then primaries
    int excitations = 0;                 // m: the first m functions drive the flip-flops
    FlipFlopKind flipFlops = FlipFlopKind::D;
    bool productOfSums = false;
    bool offCover = false;

    bool IsStateMachine() const { return stateBits > 0; }
    int PrimaryInputs() const { return static_cast<int>(inputs.size()) - stateBits; }
    int PrimaryOutputs() const { return static_cast<int>(functions.size()) - excitations; }
};

// The design of a read minimized cover with the counts of the settings log (n state variables,
// m excitation functions). The flip-flop type comes from the cover when the log names it, else
// from the excitation names ("_D", "_T", "_J"/"_K", "_S"/"_R").
struct HdlDesignResult {
    HdlDesign design;
    bool ok = false;
};
HdlDesignResult BuildHdlDesign(const MinimizedCover& cover, const SettingsLog& log);

// The value of a function at a point of its inputs ('0'/'1' per input): the meaning of what the
// writers print, used by the tests.
bool EvaluateFunction(const HdlDesign& design, const HdlFunction& function, const std::string& point);

// ---- Check plan ----

// One point the testbench applies and checks. Expected values are '0', '1', or '-' (not checked).
struct HdlCheck {
    int state = -1;         // state tables: index into HdlCheckPlan::states
    std::string inputs;     // primary inputs, '0'/'1'
    std::string outputs;    // expected primary outputs
    std::string nextState;  // state tables: expected state bits after the clock edge
};

// A present state the testbench reaches, and the input vectors of a shortest path from reset.
struct HdlStateVisit {
    std::string code;               // n bits, most significant state variable first
    std::vector<std::string> path;  // primary input vectors, one per clock edge
};

struct HdlCheckPlanParams {
    // Function tables apply every specified point up to this many; above it every term is
    // sampled (its two constant fills and pseudo-random fills): sampledPoints shared among the
    // terms, at least samplesPerTerm each.
    std::uint64_t maxPoints = 65536;
    int sampledPoints = 4096;
    // The input points of one term at one present state, likewise.
    std::uint64_t maxPointsPerStateTerm = 256;
    int samplesPerTerm = 16;
    // Present states reached from reset at most, and checks at most.
    int maxStates = 4096;
    int maxChecks = 20000;
};

struct HdlCheckPlan {
    std::vector<HdlStateVisit> states;  // in the order of a breadth-first search from reset
    std::vector<HdlCheck> checks;
    std::uint64_t specifiedPoints = 0;  // points the table specifies (saturates at 2^62)
    bool sampled = false;               // fewer points applied than specified
    bool outputsUnchecked = false;      // the cover table holds the next-state columns only
    // Present-state codes of the table's transitions that the search did not reach.
    std::vector<std::string> unreachable;
};

// The plan from the completed cover table ("exp_tbl.$$$": inputs state bits then primaries,
// outputs excitation values then primary outputs, each "1", "0", "-" or "~").
HdlCheckPlan BuildCheckPlan(const HdlDesign& design, const MinimizedTable& coverTable,
                            const HdlCheckPlanParams& params = {});

// The state bits after a clock edge from present bit p ('0'/'1') under the excitation values of
// one state variable (one character for D and T, two for JK and SR): '0', '1', or '-' when the
// excitation leaves it open.
char NextStateBit(FlipFlopKind kind, char present, std::string_view excitation);

}  // namespace quorlet
