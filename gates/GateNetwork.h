// The gate network of the gate-level converters: the minimized cover realized with gates of a
// bounded number of inputs, flip-flops for the state bits, and the clean-ups and the
// conversion to inverting gates. Plain values in, a gate list out; no files, no console.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "MinimizedCover.h"

namespace quorlet {

inline constexpr int kMaxGates = 1100;
inline constexpr int kMaxGateInputSlots = 8;

inline constexpr std::string_view kTooLongMessage = "FATAL:  MINIMIZED TABLE TOO LONG TO BE CONVERTED";

// Gate kind codes (below 40 the units digit is the number of inputs, the tens digit the function).
namespace kind {
inline constexpr int And = 0, Or = 10, Nand = 20, Nor = 30;
inline constexpr int InputPort = 40, OutputPort = 41;
inline constexpr int Inverter = 50, InvertedState = 51;
inline constexpr int DFlipFlop = 52, TFlipFlop = 53, JKFlipFlop = 54, SRFlipFlop = 55;
inline constexpr int Constant0 = 60, Constant1 = 61;
inline constexpr int PassThrough = 70, StuckBuffer = 71;
}  // namespace kind

// Where a gate stands in the network.
namespace stage {
inline constexpr int InputPort = 1, InputInverter = 2, FlipFlop = 3, InvertedState = 4;
inline constexpr int Term3First = 5, Term3Second = 6, Term3Root = 7, Term2First = 8, Term2Root = 9, TermSingle = 10;
inline constexpr int Out3First = 11, Out3Second = 12, Out3Root = 13, Out2First = 14, Out2Root = 15, OutSingle = 16;
inline constexpr int OutputPort = 17, ControlPort = 18, StatePort = 19;
}  // namespace stage

struct Gate {
    int Kind = 0;
    int Stage = 0;
    std::string OutputName;
    std::array<std::string, kMaxGateInputSlots> GateInputs{};
    int StuckKind = -1;      // kind before the gate was found stuck at a fixed level
    int ConvertedFrom = -1;  // kind before the inverting conversion
    int X = 0;               // drawing only
    int Y = 0;

    int InputCount() const;  // non-empty input slots
};

std::string NetlistKindName(int kind);    // "AND", "INV", ... or empty
std::string ComponentKindName(int kind);  // "AND3", "PORTIN", ... or empty
bool IsTermStage(int s);                  // 5..10
bool IsOutputStage(int s);                // 11..16

// The plan for realizing a function of n inputs with b-input gates.
struct FactoringPlan {
    int g1 = 0;
    int g2 = 0;
    bool three = false;
    int levels = 0;
    bool realizable = true;
};
FactoringPlan PlanFactoring(int n, int b);
std::string NotRealizableMessage(int n, int b);

// Sizes of k items split into g groups, taken in order.
std::vector<int> DistributeItems(int k, int g);

std::string NotName(std::string_view name);
std::string TermName(int t, std::string_view nodeExtension);

enum class NetworkStyle { Netlist, Drawing };

struct NetworkParams {
    int maxGateInputs = 8;       // b of every tree
    int maxPlainGateInputs = 8;  // plain gate at a split output stage (inverting mode)
    NetworkStyle style = NetworkStyle::Netlist;
    bool inverting = false;  // the cover's InvFlag: NAND/NOR gates
    // Drawing only: the number of input pins of a library component; -1 when it is missing.
    std::function<int(std::string_view component)> componentInputPins;
};

struct GateNetwork {
    std::vector<Gate> gates;
    std::vector<int> termGate;  // index into gates of the driver of term t (0-based t)
    int outputLevels = 0;
    bool error = false;
    // Console lines in their order ("ERROR: ...", the capacity line).
    std::vector<std::string> messages;
    // Output names of the gates found stuck at a fixed level, in list order.
    std::vector<std::string> stuckOutputs;
};

// Number of literals of a term over the first numInputs characters.
int TermLiterals(const CoverTerm& term, int numInputs);
int ExcitationCount(const MinimizedCover& cover);

// Inverting-gate mode: flips terms so that NAND/NOR levels line up; sets outputLevels.
void PolarityPrePass(MinimizedCover& cover, const NetworkParams& params, GateNetwork& network);

// Builds the list in the style's order and runs the style's clean-up.
void BuildGateNetwork(const MinimizedCover& cover, const NetworkParams& params, GateNetwork& network);

// The first net of the built network that would have two drivers, or empty: a user's signal
// name that meets a name the network generates (a NOT-name, a term net, a flip-flop) or two
// inputs with one NOT-name. Primary inputs, their inverters and the constants count as drivers.
std::string NetDrivenTwice(const MinimizedCover& cover, const NetworkParams& params, const GateNetwork& network);

// The console line that refuses such a net.
std::string NetDrivenTwiceMessage(std::string_view net);

// Converts to NAND/NOR gates, inserting inverters where a plain gate would be too wide.
void InvertingConversion(const MinimizedCover& cover, const NetworkParams& params, GateNetwork& network);

}  // namespace quorlet
