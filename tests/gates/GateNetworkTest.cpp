// The gate network builder on plain covers: names, trees, limits, clean-ups, conversion.
#include <gtest/gtest.h>

#include "GateNetwork.h"

namespace quorlet {
namespace {

MinimizedCover Cover(std::vector<std::string> inputs, std::vector<std::string> outputs,
                     std::vector<std::pair<std::string, std::string>> terms)
{
    MinimizedCover c;
    c.InputNames = std::move(inputs);
    c.NumInputs = static_cast<int>(c.InputNames.size());
    c.OutputNames = std::move(outputs);
    c.NumOutputs = static_cast<int>(c.OutputNames.size());
    for (auto& [in, out] : terms) c.Terms.push_back({in, out});
    c.NumTerms = static_cast<int>(c.Terms.size());
    return c;
}

GateNetwork Build(const MinimizedCover& cover, int b, NetworkStyle style = NetworkStyle::Netlist)
{
    NetworkParams params;
    params.maxGateInputs = params.maxPlainGateInputs = b;
    params.style = style;
    GateNetwork network;
    BuildGateNetwork(cover, params, network);
    return network;
}

const Gate* Find(const GateNetwork& n, const std::string& name)
{
    for (const Gate& g : n.gates)
        if (g.OutputName == name) return &g;
    return nullptr;
}

std::vector<std::string> Inputs(const Gate& g)
{
    std::vector<std::string> in;
    for (const std::string& s : g.GateInputs)
        if (!s.empty()) in.push_back(s);
    return in;
}

TEST(GateNames, NotNamesTermNamesAndDistribution)
{
    EXPECT_EQ(NotName("_X"), "N_X");
    EXPECT_EQ(NotName("X"), "N_X");
    EXPECT_EQ(TermName(1, ""), "NET1");
    EXPECT_EQ(TermName(1100, ""), "NET1100");
    EXPECT_EQ(TermName(5, "AB"), "NETAB5");
    EXPECT_EQ(TermName(40, "AB"), "NTAB40");
    EXPECT_EQ(TermName(400, "AB"), "NAB400");
    EXPECT_EQ(DistributeItems(10, 4), (std::vector<int>{3, 3, 2, 2}));
    EXPECT_EQ(DistributeItems(5, 2), (std::vector<int>{3, 2}));
    FactoringPlan ten = PlanFactoring(10, 3);
    EXPECT_EQ(ten.g1, 4);
    EXPECT_EQ(ten.g2, 2);
    EXPECT_EQ(ten.levels, 3);
    EXPECT_EQ(PlanFactoring(4, 4).levels, 1);
    EXPECT_EQ(PlanFactoring(0, 4).levels, 0);
    EXPECT_FALSE(PlanFactoring(65, 4).realizable);
    EXPECT_TRUE(PlanFactoring(64, 4).realizable);
}

TEST(TermTrees, OneTwoAndThreeLevels)
{
    GateNetwork one = Build(Cover({"A", "B", "C"}, {"F"}, {{"1-0", "1"}}), 4);
    const Gate* net1 = Find(one, "NET1");
    ASSERT_NE(net1, nullptr);
    EXPECT_EQ(net1->Kind, 2);
    EXPECT_EQ(NetlistKindName(net1->Kind), "AND");
    EXPECT_EQ(Inputs(*net1), (std::vector<std::string>{"A", "N_C"}));

    GateNetwork two = Build(Cover({"A", "B", "C", "D", "E"}, {"F"}, {{"11111", "1"}}), 4);
    EXPECT_EQ(Inputs(*Find(two, "NET1A")), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(Inputs(*Find(two, "NET1B")), (std::vector<std::string>{"D", "E"}));
    EXPECT_EQ(Inputs(*Find(two, "NET1")), (std::vector<std::string>{"NET1A", "NET1B"}));
    EXPECT_EQ(Find(two, "NET1")->Stage, stage::Term2Root);

    GateNetwork three =
        Build(Cover({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}, {"Y"}, {{"1111111111", "1"}}), 3);
    EXPECT_EQ(Inputs(*Find(three, "NET1A1")).size(), 3u);
    EXPECT_EQ(Inputs(*Find(three, "NET1A2")).size(), 3u);
    EXPECT_EQ(Inputs(*Find(three, "NET1B1")).size(), 2u);
    EXPECT_EQ(Inputs(*Find(three, "NET1B2")), (std::vector<std::string>{"I", "J"}));
    EXPECT_EQ(Inputs(*Find(three, "NET1A")), (std::vector<std::string>{"NET1A1", "NET1A2"}));
    EXPECT_EQ(Inputs(*Find(three, "NET1")), (std::vector<std::string>{"NET1A", "NET1B"}));
    EXPECT_EQ(Find(three, "NET1")->Stage, stage::Term3Root);
}

TEST(OutputTrees, TooManyTermsForTripleFactoring)
{
    std::vector<std::pair<std::string, std::string>> terms;
    for (int t = 0; t < 70; ++t) {
        std::string in(7, '0');
        for (int i = 0; i < 7; ++i) in[i] = (t >> i) & 1 ? '1' : '0';
        terms.push_back({in, "1"});
    }
    GateNetwork n = Build(Cover({"A", "B", "C", "D", "E", "F", "G"}, {"F"}, terms), 4);
    EXPECT_TRUE(n.error);
    EXPECT_EQ(n.messages,
              (std::vector<std::string>{"ERROR: 70 INPUTS NOT REALIZABLE WITH TRIPLE FACTORED 4-INPUT GATES"}));
    for (const Gate& g : n.gates) EXPECT_LE(g.InputCount(), 4);
}

TEST(OutputTrees, ThreeLevelNames)
{
    std::vector<std::pair<std::string, std::string>> terms;
    for (int t = 0; t < 10; ++t)
        terms.push_back(
            {std::string(1, '0' + t % 2) + std::string(1, '0' + (t / 2) % 2) + std::string(1, '0' + t / 4), "1"});
    GateNetwork n = Build(Cover({"A", "B", "C"}, {"F"}, terms), 3);
    ASSERT_FALSE(n.error);
    EXPECT_EQ(Inputs(*Find(n, "F")), (std::vector<std::string>{"F%1", "F%2"}));
    EXPECT_EQ(Inputs(*Find(n, "F%1")), (std::vector<std::string>{"F%A", "F%B"}));
    EXPECT_EQ(Inputs(*Find(n, "F%2")), (std::vector<std::string>{"F%C", "F%D"}));
    EXPECT_EQ(Find(n, "F%D")->Stage, stage::Out3First);
}

TEST(NetlistCleanUp, PassThroughsAndConstants)
{
    GateNetwork n = Build(Cover({"A", "B"}, {"F", "G", "H"}, {{"-0", "1.."}, {"--", ".1."}}), 4);
    EXPECT_EQ(Find(n, "NET1"), nullptr);  // one-literal term: no gate
    EXPECT_EQ(Find(n, "NET2"), nullptr);  // universal term: VDD takes its place
    EXPECT_EQ(Inputs(*Find(n, "F")), (std::vector<std::string>{"N_B"}));
    const Gate* g = Find(n, "G");
    EXPECT_EQ(g->Kind, kind::StuckBuffer);
    EXPECT_EQ(g->GateInputs[0], "VDD");
    const Gate* h = Find(n, "H");
    EXPECT_EQ(h->GateInputs[0], "VSS");
    EXPECT_EQ(n.stuckOutputs, (std::vector<std::string>{"G", "H"}));

    MinimizedCover off = Cover({"A"}, {"F"}, {});
    off.OffCover = true;
    GateNetwork o = Build(off, 4);
    EXPECT_EQ(Find(o, "F")->GateInputs[0], "VDD");  // the inverter of VSS becomes a buffer of VDD
    EXPECT_EQ(NetlistKindName(Find(o, "F")->Kind), "BUF");
}

TEST(NetlistCleanUp, WideInvertingOutputWithTheUniversalTermIsStuckLow)
{
    // In the off-cover the universal term means the output is always 0, whatever else it has.
    MinimizedCover off = Cover({"A", "B"}, {"F"}, {{"--", "0"}, {"11", "0"}});
    off.OffCover = true;
    GateNetwork n = Build(off, 4);
    EXPECT_EQ(Find(n, "F")->Kind, kind::StuckBuffer);
    EXPECT_EQ(Find(n, "F")->GateInputs[0], "VSS");
    GateNetwork d = Build(off, 4, NetworkStyle::Drawing);
    EXPECT_EQ(Find(d, "F")->Kind, kind::Constant0);
}

TEST(DrawingNetwork, OrderPortsInvertersAndConstantSources)
{
    MinimizedCover c = Cover({"Q", "A", "B"}, {"D_Q", "F", "G"}, {{"-10", "11."}, {"---", "..1"}});
    c.FlipFlopType = "D";
    c.FlipFlopCount = 1;
    c.IsStateMachine = true;
    GateNetwork n = Build(c, 4, NetworkStyle::Drawing);
    ASSERT_FALSE(n.error);
    std::vector<int> stages;
    for (const Gate& g : n.gates) stages.push_back(g.Stage);
    // Ports A, B with B's inverter, the term, two outputs (G became a source), one port each, the flip-flop pair.
    EXPECT_EQ(stages, (std::vector<int>{1, 1, 2, 10, 16, 16, 16, 17, 17, 3, 4}));
    EXPECT_EQ(Find(n, "N_B")->Kind, kind::Inverter);
    EXPECT_EQ(Find(n, "G")->Kind, kind::Constant1);
    EXPECT_EQ(Find(n, "G")->GateInputs[0], "");
    EXPECT_EQ(Find(n, "Q")->Kind, kind::DFlipFlop);
    EXPECT_EQ(Find(n, "N_Q")->Kind, kind::InvertedState);
}

TEST(Capacity, TooManyGatesStopsTheBuilder)
{
    std::vector<std::pair<std::string, std::string>> terms(1100, {"11", "1"});
    GateNetwork n = Build(Cover({"A", "B"}, {"F"}, terms), 4);
    EXPECT_TRUE(n.error);
    EXPECT_EQ(n.messages, (std::vector<std::string>{std::string(kTooLongMessage)}));
    EXPECT_LE(static_cast<int>(n.gates.size()) + 4, kMaxGates);
}

}  // namespace
}  // namespace quorlet
