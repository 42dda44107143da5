// The HDL outputs' model without a simulator: the renaming rule, the next state that an
// excitation value means, and the check plan a testbench is written from.
#include <gtest/gtest.h>

#include <algorithm>

#include "Excitation.h"
#include "HdlDesign.h"
#include "HdlNames.h"
#include "HdlWriters.h"

namespace quorlet {
namespace {

TEST(HdlNamesTest, LegalNamesStayAndTheOthersFollowTheOneRule)
{
    IdentifierTable verilog(HdlLanguage::Verilog);
    EXPECT_EQ(verilog.Take("CIN"), "CIN");
    EXPECT_EQ(verilog.Take("_D1"), "_D1");  // a leading underscore is Verilog
    EXPECT_EQ(verilog.Take("IN"), "IN");    // keywords are lower case in Verilog
    EXPECT_EQ(verilog.Take("module"), "N_module");
    EXPECT_EQ(verilog.Take("A-B"), "N_A_B");
    EXPECT_EQ(verilog.Take("A+B"), "N_A_B_2");  // still taken: numbered
    EXPECT_EQ(verilog.Take("1X"), "N_1X");
    EXPECT_EQ(verilog.Take("X'"), "N_X");
    EXPECT_EQ(verilog.Take("CIN"), "N_CIN");  // a second CIN may not share the port
    EXPECT_EQ(verilog.Renamed().size(), 6u);
    EXPECT_EQ(verilog.Renamed()[1], (std::pair<std::string, std::string>("A-B", "N_A_B")));

    IdentifierTable vhdl(HdlLanguage::Vhdl);
    vhdl.Reserve("clk");
    EXPECT_EQ(vhdl.Take("_D1"), "N_D1");
    EXPECT_EQ(vhdl.Take("IN"), "N_IN");     // VHDL words in any case
    EXPECT_EQ(vhdl.Take("CLK"), "N_CLK");   // VHDL ignores case: the clock's name is taken
    EXPECT_EQ(vhdl.Take("A__B"), "N_A_B");  // no double underscore
    EXPECT_EQ(vhdl.Take("B_"), "N_B");      // no trailing one
    EXPECT_EQ(vhdl.Take("n_b"), "N_n_b") << "n_b is N_B in VHDL";
    EXPECT_EQ(vhdl.Take("STD_LOGIC"), "N_STD_LOGIC");
    EXPECT_EQ(vhdl.Take("Q1"), "Q1");
    for (const auto& [from, to] : vhdl.Renamed()) {
        EXPECT_TRUE(IsLegalIdentifier(HdlLanguage::Vhdl, to)) << to;
        EXPECT_FALSE(IsReservedWord(HdlLanguage::Vhdl, to)) << to;
    }
}

TEST(HdlNamesTest, EveryRenamedNameIsLegalAndDistinct)
{
    const std::vector<std::string> names = {"A",   "a",   "_",     "__",       "$X",  "X$",   "9",
                                            "END", "end", "N_END", "N_END_2",  "A.B", "A..B", "A_B",
                                            "N",   "+",   "-",     "TB_CHECK", "DUT", "Q0"};
    for (HdlLanguage language : {HdlLanguage::Verilog, HdlLanguage::Vhdl}) {
        IdentifierTable table(language);
        table.Reserve("tb_check");
        table.Reserve("dut");
        std::vector<std::string> given;
        for (const std::string& n : names) {
            std::string id = table.Take(n);
            EXPECT_TRUE(IsLegalIdentifier(language, id)) << n << " -> " << id;
            EXPECT_FALSE(IsReservedWord(language, id)) << id;
            std::string key = id;
            if (language == HdlLanguage::Vhdl)
                std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
            EXPECT_EQ(std::count(given.begin(), given.end(), key), 0) << n << " -> " << id;
            given.push_back(key);
        }
    }
}

// The next state read back from the expander's own excitation values gives the next code again.
TEST(HdlPlanTest, NextStateBitInvertsTheExcitationRules)
{
    const std::pair<const char*, FlipFlopKind> kinds[] = {
        {"D", FlipFlopKind::D}, {"T", FlipFlopKind::T}, {"JK", FlipFlopKind::JK}, {"SR", FlipFlopKind::SR}};
    for (const auto& [type, kind] : kinds)
        for (char p : {'0', '1'})
            for (char c : {'0', '1'}) {
                ExcitationResult e = ExcitationFor(type, std::string(1, p), std::string(1, c));
                ASSERT_TRUE(e.ok);
                EXPECT_EQ(NextStateBit(kind, p, e.value), c) << type << " " << p << "->" << c << " " << e.value;
                // A "-" next state leaves the bit open.
                ExcitationResult open = ExcitationFor(type, std::string(1, p), "-");
                EXPECT_EQ(NextStateBit(kind, p, open.value), '-') << type;
            }
    // The don't-care half of a JK pair is the one the present state ignores.
    EXPECT_EQ(NextStateBit(FlipFlopKind::JK, '0', "1-"), '1');
    EXPECT_EQ(NextStateBit(FlipFlopKind::JK, '1', "-1"), '0');
    EXPECT_EQ(NextStateBit(FlipFlopKind::JK, '1', "1-"), '-');
    EXPECT_EQ(NextStateBit(FlipFlopKind::SR, '0', "~~"), '-');
}

MinimizedTable Table(int inputs, int outputs, std::vector<Term> terms) { return {inputs, outputs, std::move(terms)}; }

// The checks of a plan as "inputs outputs", with " next state" behind for a state table.
std::vector<std::string> Rows(const HdlCheckPlan& plan)
{
    std::vector<std::string> rows;
    for (const HdlCheck& c : plan.checks)
        rows.push_back(c.inputs + " " + c.outputs + (c.nextState.empty() ? "" : " " + c.nextState));
    return rows;
}

HdlDesign FunctionDesign(int inputs, int outputs)
{
    HdlDesign d;
    d.name = "f";
    for (int i = 0; i < inputs; ++i) d.inputs.push_back("I" + std::to_string(i));
    for (int j = 0; j < outputs; ++j)
        d.functions.push_back({"O" + std::to_string(j), HdlFunction::Form::ConstantZero, {}});
    return d;
}

TEST(HdlPlanTest, FunctionTablePointsMergeEveryTermAndSkipOpenValues)
{
    HdlDesign d = FunctionDesign(3, 2);
    // 1-- says F0=1; 11- says F1=0; 0-0 says nothing checkable; 011 says F1 is don't care.
    HdlCheckPlan plan = BuildCheckPlan(d, Table(3, 2, {{"1--", "1~"}, {"11-", "~0"}, {"0-0", "~~"}, {"011", "~-"}}));
    EXPECT_FALSE(plan.sampled);
    EXPECT_EQ(plan.specifiedPoints, 6u);
    ASSERT_EQ(plan.checks.size(), 4u);
    EXPECT_EQ(Rows(plan), (std::vector<std::string>{"100 1-", "101 1-", "110 10", "111 10"}));

    // Too many points to apply one by one: every term still gets its fills, and a sampled point
    // carries the values of every term that covers it.
    HdlCheckPlanParams params;
    params.maxPoints = 4;
    params.samplesPerTerm = 3;
    params.sampledPoints = 0;
    HdlCheckPlan sampled = BuildCheckPlan(d, Table(3, 2, {{"1--", "1~"}, {"11-", "~0"}}), params);
    EXPECT_TRUE(sampled.sampled);
    auto at = [&](const std::string& point) {
        for (const HdlCheck& c : sampled.checks)
            if (c.inputs == point) return c.outputs;
        return std::string("absent");
    };
    EXPECT_EQ(at("100"), "1-");
    EXPECT_EQ(at("111"), "10");
    EXPECT_EQ(at("110"), "10");
}

HdlDesign JkMachine()
{
    // Q1 Q0, input X; excitations J1 K1 J0 K0; output Z.
    HdlDesign d;
    d.name = "m";
    d.inputs = {"Q1", "Q0", "X"};
    d.stateBits = 2;
    d.excitations = 4;
    d.flipFlops = FlipFlopKind::JK;
    for (const char* n : {"_J1", "_K1", "_J0", "_K0", "Z"})
        d.functions.push_back({n, HdlFunction::Form::ConstantZero, {}});
    return d;
}

TEST(HdlPlanTest, StatesAreReachedByShortestPathsAndTheRestIsListed)
{
    // 00 -X=1-> 01 -X=-> 10; 00 -X=0-> 00; 10 goes nowhere known; 11 is never entered.
    MinimizedTable t = Table(3, 5,
                             {{"001", "0-1-1"},    // 00,1 -> 01, Z=1
                              {"000", "0-0-0"},    // 00,0 -> 00
                              {"01-", "1--1-"},    // 01,- -> 10, Z open
                              {"10-", "-~0-0"},    // 10: Q1 next open, Q0 stays 0
                              {"11-", "-0-01"}});  // 11 -> 11, unreachable
    HdlCheckPlan plan = BuildCheckPlan(JkMachine(), t);
    ASSERT_EQ(plan.states.size(), 3u);
    EXPECT_EQ(plan.states[0].code, "00");
    EXPECT_EQ(plan.states[1].code, "01");
    EXPECT_EQ(plan.states[1].path, std::vector<std::string>{"1"});
    EXPECT_EQ(plan.states[2].code, "10");
    EXPECT_EQ(plan.states[2].path, (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(plan.unreachable, std::vector<std::string>{"11"});
    // Two checks at 00, two at 01 (both inputs of "-"), two at 10.
    ASSERT_EQ(plan.checks.size(), 6u);
    EXPECT_EQ(Rows(plan), (std::vector<std::string>{"0 0 00", "1 1 01", "0 - 10", "1 - 10", "0 0 -0", "1 0 -0"}));

    // After the Moore second pass the cover table has the excitation columns only.
    MinimizedTable nextOnly = t;
    nextOnly.outputs = 4;
    for (Term& term : nextOnly.terms) term.output.pop_back();
    HdlCheckPlan moore = BuildCheckPlan(JkMachine(), nextOnly);
    EXPECT_TRUE(moore.outputsUnchecked);
    EXPECT_EQ(moore.checks.size(), 6u);
    EXPECT_EQ(moore.checks[1].outputs, "");
}

TEST(HdlPlanTest, ThePathEndsWhereTheTestbenchExpectsIt)
{
    // Walking each path through the plan's own transitions reaches the state it is for.
    MinimizedTable t = Table(3, 5, {{"001", "0-1-1"}, {"000", "0-0-0"}, {"01-", "1--1-"}, {"10-", "-01-0"}});
    HdlDesign d = JkMachine();
    HdlCheckPlan plan = BuildCheckPlan(d, t);
    for (const HdlStateVisit& visit : plan.states) {
        std::string state = "00";
        for (const std::string& x : visit.path) {
            const HdlCheck* step = nullptr;
            for (const HdlCheck& c : plan.checks)
                if (plan.states[c.state].code == state && c.inputs == x) step = &c;
            ASSERT_NE(step, nullptr);
            state = step->nextState;
        }
        EXPECT_EQ(state, visit.code);
    }
    EXPECT_EQ(plan.states.size(), 4u);  // 10 -> 11 with K1 = 0, J0 = 1
    EXPECT_TRUE(plan.unreachable.empty());
}

TEST(HdlDesignTest, FunctionsFollowTheCoverModes)
{
    MinimizedCover cover;
    cover.OutputFileName = "my-fsm.min";
    cover.InputNames = {"Q0", "X"};
    cover.NumInputs = 2;
    cover.OutputNames = {"_T0", "Z", "ONE", "ZERO"};
    cover.NumOutputs = 4;
    cover.Terms = {{"1-", "11.."}, {"-0", ".1.."}, {"--", "..1."}};
    cover.NumTerms = 3;
    SettingsLog log;
    log.n = 1;
    log.m = 1;
    HdlDesignResult r = BuildHdlDesign(cover, log);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.design.name, "my-fsm");
    EXPECT_EQ(r.design.flipFlops, FlipFlopKind::T);  // from the excitation names: the log had no "-F"
    EXPECT_EQ(r.design.functions[2].form, HdlFunction::Form::ConstantOne);
    EXPECT_EQ(r.design.functions[3].form, HdlFunction::Form::ConstantZero);
    EXPECT_TRUE(EvaluateFunction(r.design, r.design.functions[1], "10"));  // Q0 | ~X
    EXPECT_FALSE(EvaluateFunction(r.design, r.design.functions[1], "01"));
    r.design.offCover = true;
    EXPECT_TRUE(EvaluateFunction(r.design, r.design.functions[1], "01"));
    r.design.offCover = false;
    r.design.productOfSums = true;  // (Q0) & (~X)
    EXPECT_FALSE(EvaluateFunction(r.design, r.design.functions[1], "11"));
    EXPECT_TRUE(EvaluateFunction(r.design, r.design.functions[1], "10"));

    // The module name follows the renaming rule and the comment maps it.
    HdlIdentifiers ids = AssignIdentifiers(r.design, HdlLanguage::Vhdl);
    EXPECT_EQ(ids.module, "N_my_fsm");
    EXPECT_EQ(ids.testbench, "N_my_fsm_tb");
    std::string text = VhdlDesign(r.design, ids);
    EXPECT_NE(text.find("--     my-fsm -> N_my_fsm"), std::string::npos) << text;
    EXPECT_NE(text.find("--     _T0 -> N_T0"), std::string::npos);
    EXPECT_NE(text.find("entity N_my_fsm is"), std::string::npos);

    // A log whose counts do not fit the flip-flop type is refused.
    log.m = 2;
    EXPECT_FALSE(BuildHdlDesign(cover, log).ok);
}

}  // namespace
}  // namespace quorlet
