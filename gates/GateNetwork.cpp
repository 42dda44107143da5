// Building the gate network: factoring plan, term and output trees, flip-flop pairs, the two
// clean-ups and the inverting-gate conversion.
#include "GateNetwork.h"

#include <functional>
#include <map>

#include <algorithm>
#include <cmath>

namespace quorlet {
namespace {

constexpr std::string_view kVdd = "VDD";
constexpr std::string_view kVss = "VSS";

char InputAt(const CoverTerm& term, int i)
{
    return i < static_cast<int>(term.InputPart.size()) ? term.InputPart[i] : '-';
}

bool HasOutputAt(const CoverTerm& term, int j)
{
    return j < static_cast<int>(term.OutputPart.size()) && term.OutputPart[j] != '.';
}

std::string Letter(int index) { return std::string(1, static_cast<char>('A' + index)); }

// Adds gates while keeping 2 x inputs + gates within the store; false once it is full.
class GateAdder {
public:
    GateAdder(GateNetwork& network, int numInputs) : network_(network), numInputs_(numInputs) {}

    bool Add(Gate gate, bool checked = true)
    {
        if (network_.error) return false;
        network_.gates.push_back(std::move(gate));
        if (checked && 2 * numInputs_ + static_cast<int>(network_.gates.size()) > kMaxGates) {
            network_.gates.pop_back();
            Fail(std::string(kTooLongMessage));
            return false;
        }
        return true;
    }
    void Fail(std::string message)
    {
        network_.messages.push_back(std::move(message));
        network_.error = true;
    }
    bool Plan(int n, int b, FactoringPlan& plan)
    {
        plan = PlanFactoring(n, b);
        if (plan.realizable) return true;
        Fail(NotRealizableMessage(n, b));
        return false;
    }

private:
    GateNetwork& network_;
    int numInputs_;
};

Gate MakeGate(int kindCode, int stageCode, std::string name, const std::vector<std::string>& inputs)
{
    Gate g;
    g.Kind = kindCode;
    g.Stage = stageCode;
    g.OutputName = std::move(name);
    for (std::size_t i = 0; i < inputs.size() && i < g.GateInputs.size(); ++i) g.GateInputs[i] = inputs[i];
    return g;
}

// In the drawing a one-input gate inside a tree is only a point where the wire passes.
// With inverting gates every level inverts, so there a one-input gate stays a gate.
int TreeKind(int inputs, int offset, int stageCode, const NetworkParams& params)
{
    NetworkStyle style = params.inverting ? NetworkStyle::Netlist : params.style;
    bool innerStage = stageCode == stage::Term3First || stageCode == stage::Term3Second ||
                      stageCode == stage::Term2First || stageCode == stage::Out3First ||
                      stageCode == stage::Out3Second || stageCode == stage::Out2First;
    if (style == NetworkStyle::Drawing && innerStage && inputs == 1) return kind::PassThrough;
    return inputs + offset;
}

std::vector<std::string> Slice(const std::vector<std::string>& items, std::size_t& next, int count)
{
    std::vector<std::string> part(items.begin() + next, items.begin() + next + count);
    next += count;
    return part;
}

// How the gates of one tree, a term's or an output's, are coded and named.
struct TreeStyle {
    int innerOffset = 0;  // added to the input count for the kind of a gate below the root
    int rootOffset = 0;   // added to the input count for the kind of the root
    int stages = 0;       // stage::Term3First or stage::Out3First; the tree's other stages follow in order
    std::function<std::string(int gate)> twoLevelName;                            // a gate under the root
    std::function<std::string(int group, int gate, int overall)> threeLevelName;  // a first-level gate
    std::function<std::string(int group)> groupName;                              // a second-level gate
};

// The gates of the tree `name` over its inputs, in as many levels as the fan-in limit asks for;
// false once the inputs cannot be factored or a gate does not fit (the network says why).
bool AddTree(GateAdder& adder, const NetworkParams& params, const TreeStyle& style, const std::string& name,
             const std::vector<std::string>& inputs)
{
    static_assert(stage::Term3Second == stage::Term3First + 1 && stage::Term3Root == stage::Term3First + 2 &&
                  stage::Term2First == stage::Term3First + 3 && stage::Term2Root == stage::Term3First + 4 &&
                  stage::TermSingle == stage::Term3First + 5 && stage::Out3First == stage::TermSingle + 1 &&
                  stage::OutSingle == stage::Out3First + 5);
    const int threeFirst = style.stages, threeSecond = style.stages + 1, threeRoot = style.stages + 2;
    const int twoFirst = style.stages + 3, twoRoot = style.stages + 4, single = style.stages + 5;
    const int n = static_cast<int>(inputs.size());
    FactoringPlan plan;
    if (!adder.Plan(n, params.maxGateInputs, plan)) return false;
    if (plan.levels == 1) return adder.Add(MakeGate(n + style.rootOffset, single, name, inputs));
    const std::vector<int> sizes = DistributeItems(n, plan.g1);
    std::size_t next = 0;
    if (plan.levels == 2) {
        std::vector<std::string> firsts;
        for (int g = 0; g < plan.g1; ++g) {
            firsts.push_back(style.twoLevelName(g));
            if (!adder.Add(MakeGate(TreeKind(sizes[g], style.innerOffset, twoFirst, params), twoFirst, firsts.back(),
                                    Slice(inputs, next, sizes[g]))))
                return false;
        }
        return adder.Add(MakeGate(plan.g1 + style.rootOffset, twoRoot, name, firsts));
    }
    const std::vector<int> gatesPerGroup = DistributeItems(plan.g1, plan.g2);
    std::vector<std::string> groups;
    int first = 0;
    for (int g = 0; g < plan.g2; ++g) {
        std::vector<std::string> firsts;
        for (int k = 0; k < gatesPerGroup[g]; ++k, ++first) {
            firsts.push_back(style.threeLevelName(g, k, first));
            if (!adder.Add(MakeGate(TreeKind(sizes[first], style.innerOffset, threeFirst, params), threeFirst,
                                    firsts.back(), Slice(inputs, next, sizes[first]))))
                return false;
        }
        groups.push_back(style.groupName(g));
        if (!adder.Add(MakeGate(TreeKind(gatesPerGroup[g], style.innerOffset, threeSecond, params), threeSecond,
                                groups.back(), firsts)))
            return false;
    }
    return adder.Add(MakeGate(plan.g2 + style.rootOffset, threeRoot, name, groups));
}

void BuildFlipFlops(const MinimizedCover& cover, GateAdder& adder)
{
    int perBit = (cover.FlipFlopType == "JK" || cover.FlipFlopType == "SR") ? 2 : 1;
    int ffKind = cover.FlipFlopType == "D"    ? kind::DFlipFlop
                 : cover.FlipFlopType == "T"  ? kind::TFlipFlop
                 : cover.FlipFlopType == "JK" ? kind::JKFlipFlop
                 : cover.FlipFlopType == "SR" ? kind::SRFlipFlop
                                              : 0;
    int excitation = 0;
    for (int q = 0; q < cover.FlipFlopCount && q < cover.NumInputs; ++q) {
        std::vector<std::string> inputs;
        for (int k = 0; k < perBit; ++k) {
            inputs.push_back(excitation < cover.NumOutputs ? cover.OutputNames[excitation] : std::string());
            ++excitation;
        }
        const std::string& bit = cover.InputNames[q];
        if (!adder.Add(MakeGate(ffKind, stage::FlipFlop, bit, inputs))) return;
        if (!adder.Add(MakeGate(kind::InvertedState, stage::InvertedState, NotName(bit), {bit}))) return;
    }
}

void BuildTerms(const MinimizedCover& cover, const NetworkParams& params, GateNetwork& network, GateAdder& adder)
{
    const int pOffset = cover.ProductOfSums ? 10 : 0;
    network.termGate.assign(cover.Terms.size(), -1);
    for (std::size_t t = 0; t < cover.Terms.size(); ++t) {
        const CoverTerm& term = cover.Terms[t];
        std::vector<std::string> literals;
        for (int i = 0; i < cover.NumInputs; ++i) {
            char c = InputAt(term, i);
            if (c == '-') continue;
            literals.push_back(c == '0' ? NotName(cover.InputNames[i]) : cover.InputNames[i]);
        }
        const int n = static_cast<int>(literals.size());
        const std::string name = TermName(static_cast<int>(t) + 1, cover.NodeExtension);
        bool ok = true;
        if (n == 0) {
            ok = adder.Add(MakeGate(pOffset, stage::TermSingle, name, {std::string(kVdd)}));
        } else if (n == 1) {
            ok = adder.Add(MakeGate(kind::PassThrough, stage::TermSingle, name, literals));
        } else {
            const TreeStyle style{pOffset,
                                  pOffset,
                                  stage::Term3First,
                                  [&name](int g) { return name + Letter(g); },
                                  [&name](int g, int k, int) { return name + Letter(g) + std::to_string(k + 1); },
                                  [&name](int g) { return name + Letter(g); }};
            ok = AddTree(adder, params, style, name, literals);
        }
        if (!ok) return;
        network.termGate[t] = static_cast<int>(network.gates.size()) - 1;
    }
}

void BuildOutputs(const MinimizedCover& cover, const NetworkParams& params, GateNetwork& network, GateAdder& adder)
{
    const bool p = cover.ProductOfSums;
    const bool off = cover.OffCover;
    const int root = (!p && !off) ? 10 : (off && !p) ? 30 : (p && !off) ? 0 : 20;
    const int inner = p ? 0 : 10;
    for (int o = 0; o < cover.NumOutputs; ++o) {
        const std::string& name = cover.OutputNames[o];
        std::vector<std::string> signals;
        for (std::size_t t = 0; t < cover.Terms.size(); ++t)
            if (HasOutputAt(cover.Terms[t], o) && network.termGate[t] >= 0)
                signals.push_back(network.gates[network.termGate[t]].OutputName);
        const int n = static_cast<int>(signals.size());
        bool ok = true;
        if (n == 0) {
            ok = adder.Add(MakeGate(root, stage::OutSingle, name, {std::string(kVss)}));
        } else {
            auto numbered = [&name](int g) { return name + "%" + std::to_string(g + 1); };
            const TreeStyle style{inner,
                                  root,
                                  stage::Out3First,
                                  numbered,
                                  [&name](int, int, int overall) { return name + "%" + Letter(overall); },
                                  numbered};
            ok = AddTree(adder, params, style, name, signals);
        }
        if (!ok) return;
    }
}

// A stuck gate that inverts: its fixed level is the opposite of its constant input.
bool InvertsConstant(int kindCode)
{
    return NetlistKindName(kindCode) == "INV" || NetlistKindName(kindCode) == "NOR" ||
           NetlistKindName(kindCode) == "NAND";
}

void NetlistCleanUp(GateNetwork& network)
{
    auto& gates = network.gates;
    for (;;) {
        auto it = std::find_if(gates.begin(), gates.end(), [](const Gate& g) {
            if (!(g.Stage == stage::FlipFlop || g.Stage == stage::InvertedState || IsTermStage(g.Stage))) return false;
            std::string n = NetlistKindName(g.Kind);
            return n == "DUMMY" || (n == "BUF" && g.Stage == stage::TermSingle);
        });
        if (it == gates.end()) break;
        const std::string name = it->OutputName;
        const std::string replacement = it->GateInputs[0];
        gates.erase(it);
        for (Gate& g : gates)
            if (IsOutputStage(g.Stage))
                for (std::string& in : g.GateInputs)
                    if (in == name) in = replacement;
    }
    for (Gate& g : gates) {
        if (!IsOutputStage(g.Stage)) continue;
        std::string& first = g.GateInputs[0];
        if (InvertsConstant(g.Kind)) {
            if (first == kVdd) first = kVss;
            else if (first == kVss) first = kVdd;
        }
        if (first == kVss || first == kVdd) {
            network.stuckOutputs.push_back(g.OutputName);
            g.StuckKind = g.Kind;
            g.Kind = kind::StuckBuffer;
        }
    }
}

void DrawingCleanUp(GateNetwork& network)
{
    auto& gates = network.gates;
    for (;;) {
        auto it = std::find_if(gates.begin(), gates.end(), [](const Gate& g) {
            return (g.Stage == stage::InputPort || g.Stage == stage::InputInverter || IsTermStage(g.Stage)) &&
                   g.GateInputs[0] == kVdd;
        });
        if (it == gates.end()) break;
        const std::string name = it->OutputName;
        auto pos = gates.erase(it);
        for (auto later = pos; later != gates.end(); ++later)
            for (std::string& in : later->GateInputs)
                if (in == name) in = kVdd;
    }
    for (Gate& g : gates) {
        if (!IsOutputStage(g.Stage)) continue;
        std::string& first = g.GateInputs[0];
        // A constant further along would be a pin without a wire on the sheet; where it decides
        // the gate's level (1 into OR/NOR, 0 into AND/NAND) the gate is stuck just the same.
        std::string name = NetlistKindName(g.Kind);
        bool orFamily = name == "OR" || name == "NOR", andFamily = name == "AND" || name == "NAND";
        for (const std::string& in : g.GateInputs)
            if ((in == kVdd && orFamily) || (in == kVss && andFamily)) first = in;
        if (first != kVss && first != kVdd) continue;
        network.stuckOutputs.push_back(g.OutputName);
        bool high = (first == kVdd) != InvertsConstant(g.Kind);
        g.StuckKind = g.Kind;
        g.Kind = high ? kind::Constant1 : kind::Constant0;
        for (std::string& in : g.GateInputs) in.clear();
    }
    // Terms that only fed stuck outputs would be drawn feeding nothing.
    for (bool removed = true; removed;) {
        removed = false;
        for (auto it = gates.begin(); it != gates.end(); ++it) {
            if (!IsTermStage(it->Stage)) continue;
            bool used = std::any_of(gates.begin(), gates.end(), [&](const Gate& other) {
                return std::find(other.GateInputs.begin(), other.GateInputs.end(), it->OutputName) !=
                       other.GateInputs.end();
            });
            if (used) continue;
            gates.erase(it);
            removed = true;
            break;
        }
    }
}

}  // namespace

int Gate::InputCount() const
{
    return static_cast<int>(
        std::count_if(GateInputs.begin(), GateInputs.end(), [](const std::string& s) { return !s.empty(); }));
}

std::string NetlistKindName(int k)
{
    if (k == 0 || k == 1 || k == 10 || k == 11) return "BUF";
    if (k >= 2 && k <= 8) return "AND";
    if (k >= 12 && k <= 18) return "OR";
    if (k == 20 || k == 21 || k == 30 || k == 31) return "INV";
    if (k >= 22 && k <= 28) return "NAND";
    if (k >= 32 && k <= 38) return "NOR";
    switch (k) {
    case kind::Inverter:
    case kind::InvertedState: return "INV";
    case kind::DFlipFlop: return "DFF";
    case kind::TFlipFlop: return "TFF";
    case kind::JKFlipFlop: return "JKFF";
    case kind::SRFlipFlop: return "SRFF";
    case kind::PassThrough: return "DUMMY";
    case kind::StuckBuffer: return "BUF";
    default: return {};
    }
}

std::string ComponentKindName(int k)
{
    if (k == 0 || k == 1 || k == 10 || k == 11) return "BUF";
    if (k >= 2 && k <= 8) return "AND" + std::to_string(k);
    if (k >= 12 && k <= 18) return "OR" + std::to_string(k - 10);
    if (k == 20 || k == 21 || k == 30 || k == 31) return "INV";
    if (k >= 22 && k <= 28) return "NAND" + std::to_string(k - 20);
    if (k >= 32 && k <= 38) return "NOR" + std::to_string(k - 30);
    switch (k) {
    case kind::InputPort: return "PORTIN";
    case kind::OutputPort: return "PORTOUT";
    case kind::Inverter: return "INV";
    case kind::InvertedState: return "IFF";
    case kind::DFlipFlop: return "DFF";
    case kind::TFlipFlop: return "TFF";
    case kind::JKFlipFlop: return "JKFF";
    case kind::SRFlipFlop: return "SRFF";
    case kind::Constant0: return "VSS";
    case kind::Constant1: return "VDD";
    case kind::PassThrough: return "DUMMY";
    case kind::StuckBuffer: return "BUF";
    default: return {};
    }
}

bool IsTermStage(int s) { return s >= stage::Term3First && s <= stage::TermSingle; }
bool IsOutputStage(int s) { return s >= stage::Out3First && s <= stage::OutSingle; }

FactoringPlan PlanFactoring(int n, int b)
{
    FactoringPlan plan;
    if (b < 1) b = 1;
    plan.realizable = !(static_cast<long>(n) > static_cast<long>(b) * b * b);
    plan.g1 = (n + b - 1) / b;
    if (plan.g1 > 1) {
        plan.g2 = (plan.g1 + b - 1) / b;
        plan.three = plan.g2 > 1;
    }
    plan.levels = plan.three ? 3 : plan.g2 > 0 ? 2 : plan.g1 > 0 ? 1 : 0;
    return plan;
}

std::string NotRealizableMessage(int n, int b)
{
    return "ERROR: " + std::to_string(n) + " INPUTS NOT REALIZABLE WITH TRIPLE FACTORED " + std::to_string(b) +
           "-INPUT GATES";
}

std::vector<int> DistributeItems(int k, int g)
{
    std::vector<int> sizes;
    if (g <= 0) return sizes;
    for (int i = 0; i < g; ++i) sizes.push_back(k / g + (i < k % g ? 1 : 0));
    return sizes;
}

std::string NotName(std::string_view name)
{
    if (!name.empty() && name.front() == '_') return "N" + std::string(name);
    return "N_" + std::string(name);
}

std::string TermName(int t, std::string_view nodeExtension)
{
    long r = std::lround(std::log10(static_cast<double>(t)) + static_cast<double>(nodeExtension.size()));
    std::string prefix = r <= 3 ? "NET" : r == 4 ? "NT" : "N";
    return prefix + std::string(nodeExtension) + std::to_string(t);
}

std::string NetDrivenTwice(const MinimizedCover& cover, const NetworkParams& params, const GateNetwork& network)
{
    std::map<std::string, int> drivers;
    std::vector<std::string> order;
    auto drive = [&](const std::string& net) {
        if (drivers[net]++ == 0) order.push_back(net);
    };
    for (const Gate& g : network.gates) {
        if (g.Kind == kind::OutputPort) continue;
        drive(g.OutputName);
        for (const std::string& in : g.GateInputs)
            if ((in == "VDD" || in == "VSS") && drivers.find(in) == drivers.end()) drive(in);
    }
    if (params.style == NetworkStyle::Netlist) {
        // The netlist writes the primary inputs and their inverters outside the gate list.
        for (int i = cover.FlipFlopCount; i < cover.NumInputs; ++i) {
            const std::string& name = cover.InputNames[i];
            drive(name);
            if (std::any_of(cover.Terms.begin(), cover.Terms.end(),
                            [&](const CoverTerm& t) { return InputAt(t, i) == '0'; }))
                drive(NotName(name));
        }
    }
    for (const std::string& net : order)
        if (drivers[net] > 1) return net;
    return {};
}

std::string NetDrivenTwiceMessage(std::string_view net)
{
    return "ERROR: SIGNAL NAME " + std::string(net) + " MEETS A NAME THAT THE NETWORK GENERATES; RENAME THE SIGNAL";
}

int TermLiterals(const CoverTerm& term, int numInputs)
{
    int k = 0;
    for (int i = 0; i < numInputs; ++i)
        if (InputAt(term, i) != '-') ++k;
    return k;
}

int ExcitationCount(const MinimizedCover& cover)
{
    bool doubled = cover.FlipFlopType == "JK" || cover.FlipFlopType == "SR";
    return cover.FlipFlopCount * (doubled ? 2 : 1);
}

void PolarityPrePass(MinimizedCover& cover, const NetworkParams& params, GateNetwork& network)
{
    GateAdder planner(network, cover.NumInputs);
    const int b = params.maxGateInputs;
    network.outputLevels = 0;
    for (int o = 0; o < cover.NumOutputs; ++o) {
        int s = 0;
        for (const CoverTerm& t : cover.Terms)
            if (HasOutputAt(t, o)) ++s;
        FactoringPlan plan;
        planner.Plan(s, b, plan);
        network.outputLevels = std::max(network.outputLevels, plan.levels);
    }
    for (CoverTerm& term : cover.Terms) {
        int k = TermLiterals(term, cover.NumInputs);
        bool flip;
        if (k == 1) {
            flip = (network.outputLevels != 2) != cover.OffCover;
        } else {
            FactoringPlan plan;
            planner.Plan(k, b, plan);
            flip = ((plan.levels == 2) != (network.outputLevels == 2)) != cover.OffCover;
        }
        if (!flip) continue;
        for (int i = 0; i < cover.NumInputs && i < static_cast<int>(term.InputPart.size()); ++i) {
            char& c = term.InputPart[i];
            if (c == '0') c = '1';
            else if (c == '1') c = '0';
        }
    }
}

void BuildGateNetwork(const MinimizedCover& cover, const NetworkParams& params, GateNetwork& network)
{
    GateAdder adder(network, cover.NumInputs);
    if (params.style == NetworkStyle::Netlist) {
        BuildFlipFlops(cover, adder);
        if (!network.error) BuildTerms(cover, params, network, adder);
        if (!network.error) BuildOutputs(cover, params, network, adder);
        if (!network.error) NetlistCleanUp(network);
        return;
    }
    for (int i = cover.FlipFlopCount; i < cover.NumInputs; ++i) {
        const std::string& name = cover.InputNames[i];
        adder.Add(MakeGate(kind::InputPort, stage::InputPort, name, {}), false);
        bool complemented = std::any_of(cover.Terms.begin(), cover.Terms.end(),
                                        [&](const CoverTerm& t) { return InputAt(t, i) == '0'; });
        if (complemented) adder.Add(MakeGate(kind::Inverter, stage::InputInverter, NotName(name), {name}), false);
    }
    BuildTerms(cover, params, network, adder);
    if (!network.error) BuildOutputs(cover, params, network, adder);
    const int excitations = ExcitationCount(cover);
    for (int o = excitations; o < cover.NumOutputs && !network.error; ++o)
        adder.Add(MakeGate(kind::OutputPort, stage::OutputPort, "****", {cover.OutputNames[o]}));
    if (!network.error) BuildFlipFlops(cover, adder);
    if (!network.error) DrawingCleanUp(network);
}

namespace {

bool InvertingFamily(int kindCode) { return kindCode < 40 && (kindCode / 10 == 2 || kindCode / 10 == 3); }

// The kind a gate below 40 gets with inverting gates; insert reports a needed inverter.
int ConvertedKind(int kindCode, int s, bool x, int levels, int inputs, int maxPlain, bool& insert)
{
    insert = false;
    const int n = kindCode % 10;
    int k = kindCode;
    if (!(s == stage::TermSingle && n <= 1)) k = kind::Nand + n;
    if (s <= stage::TermSingle) {
        if (((levels == 2) != x) != (s == stage::Term3Second || s == stage::Term2First)) k += 10;
        return k;
    }
    const bool split = (s == stage::OutSingle && levels == 2) || (s == stage::Out2Root && levels == 3);
    const bool inner = (s == stage::Out2First && levels == 2) || s == stage::Out3Second;
    if (x) {
        k += 10;
        if (split) {
            if (inputs <= maxPlain) {
                k -= 30;
            } else {
                k -= 10;
                insert = true;
            }
        }
        if (inner) k -= 10;
    } else {
        if (split) {
            if (inputs <= maxPlain) {
                k -= 10;
            } else {
                k += 10;
                insert = true;
            }
        }
        if (inner) k += 10;
    }
    return k;
}

bool Inverts(int kindCode) { return InvertingFamily(kindCode) || kindCode == kind::Inverter; }

// Whether the converted network carries the complement of a signal's value before the
// conversion: the outputs carry their true values, and each converted gate that changed
// between inverting and non-inverting complements what its inputs must carry.
bool CarriesComplement(const std::vector<Gate>& gates, const std::string& signal, int depth = 0)
{
    if (depth > kMaxGates) return false;
    for (const Gate& c : gates) {
        if (!IsOutputStage(c.Stage)) continue;
        if (std::find(c.GateInputs.begin(), c.GateInputs.end(), signal) == c.GateInputs.end()) continue;
        bool changed = c.ConvertedFrom >= 0 && Inverts(c.Kind) != Inverts(c.ConvertedFrom);
        return CarriesComplement(gates, c.OutputName, depth + 1) != changed;
    }
    return false;
}

// A gate stuck at a fixed level is left out of the conversion; its level must still be
// what the converted gates it feeds expect.
void FixStuckLevels(std::vector<Gate>& gates)
{
    // A constant that took the place of a removed term stands for that term's signal.
    for (Gate& g : gates) {
        if (g.ConvertedFrom < 0 || !IsOutputStage(g.Stage)) continue;
        bool changed = Inverts(g.Kind) != Inverts(g.ConvertedFrom);
        if (CarriesComplement(gates, g.OutputName) == changed) continue;
        for (std::string& in : g.GateInputs) {
            if (in == kVdd) in = kVss;
            else if (in == kVss) in = kVdd;
        }
    }
    for (Gate& g : gates) {
        if (g.StuckKind < 0 || !CarriesComplement(gates, g.OutputName)) continue;
        if (g.Kind == kind::StuckBuffer) {
            std::string& c = g.GateInputs[0];
            c = c == kVdd ? std::string(kVss) : std::string(kVdd);
        } else if (g.Kind == kind::Constant0 || g.Kind == kind::Constant1) {
            g.Kind = g.Kind == kind::Constant1 ? kind::Constant0 : kind::Constant1;
        }
    }
}

}  // namespace

void InvertingConversion(const MinimizedCover& cover, const NetworkParams& params, GateNetwork& network)
{
    auto& gates = network.gates;
    const bool x = cover.ProductOfSums != cover.OffCover;
    const int levels = network.outputLevels;
    for (std::size_t i = 0; i < gates.size() && !network.error; ++i) {
        Gate& g = gates[i];
        const bool stuck = g.StuckKind >= 0 && g.StuckKind < 40;
        if (g.Kind >= 40 && !stuck) continue;
        const int original = stuck ? g.StuckKind : g.Kind;
        const int n = original % 10;
        const int s = g.Stage;
        auto inputCount = [&](int nandKind) {
            if (params.style == NetworkStyle::Netlist || !params.componentInputPins) return n == 0 ? 1 : n;
            int pins = params.componentInputPins(ComponentKindName(nandKind));
            return pins < 0 ? 0 : pins;
        };
        const int probeKind = (x ? kind::Nor : kind::Nand) + n;
        bool insert = false;
        int converted = ConvertedKind(original, s, x, levels, inputCount(probeKind), params.maxPlainGateInputs, insert);
        if (stuck) continue;
        g.ConvertedFrom = g.Kind;
        g.Kind = converted;
        if (!insert) continue;
        if (static_cast<int>(gates.size()) >= kMaxGates) {
            network.messages.push_back(std::string(kTooLongMessage));
            network.error = true;
            break;
        }
        Gate inverter;
        inverter.Kind = kind::Inverter;
        inverter.ConvertedFrom = 0;  // in the logic before the conversion a plain connection
        inverter.OutputName = g.OutputName;
        g.OutputName += "%I";
        inverter.GateInputs[0] = g.OutputName;
        if (s == stage::OutSingle) {
            g.Stage = stage::Out2First;
            inverter.Stage = stage::Out2Root;
        } else {
            g.Stage = stage::Out3Second;
            inverter.Stage = stage::Out3Root;
        }
        gates.insert(gates.begin() + static_cast<long>(i) + 1, std::move(inverter));
    }
    if (!network.error) FixStuckLevels(gates);
}

}  // namespace quorlet
