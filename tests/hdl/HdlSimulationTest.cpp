// Generated Verilog and VHDL in real simulators: random function and state tables run through
// `quorlet --verilog --vhdl`; every testbench must print PASS in Icarus Verilog and GHDL, every
// design must synthesize in Yosys, and a design with one term changed must fail its testbench.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <random>
#include <sstream>

#include "ProgramRun.h"

namespace {

namespace fs = std::filesystem;
using namespace quorlet::test;

const fs::path kExamples = QUORLET_EXAMPLES;

// A missing simulator fails the test with the way to get it; it never passes silently.
bool HaveTool(const std::string& tool)
{
    RunResult r = RunBuiltProgram("/bin/sh", {"-c", "command -v " + tool});
    return r.status == 0;
}

::testing::AssertionResult SimulatorsInstalled()
{
    for (const char* tool : {"iverilog", "vvp", "ghdl", "yosys"})
        if (!HaveTool(tool))
            return ::testing::AssertionFailure()
                   << tool << " is not installed; .ci/setup installs iverilog, ghdl and yosys";
    return ::testing::AssertionSuccess();
}

struct SimulationRun {
    bool passed = false;
    std::string log;
};

SimulationRun RunVerilog(const std::string& name, const std::string& design = "")
{
    SimulationRun s;
    RunResult compile =
        RunBuiltProgram("iverilog", {"-o", name + ".vvp", design.empty() ? name + ".v" : design, name + "_tb.v"});
    s.log = compile.output;
    if (compile.status != 0) return s;
    RunResult run = RunBuiltProgram("vvp", {"-n", name + ".vvp"});
    s.log += run.output;
    s.passed = run.status == 0 && run.output.find("PASS\n") != std::string::npos &&
               run.output.find("MISMATCH") == std::string::npos;
    return s;
}

SimulationRun RunVhdl(const std::string& name, const std::string& tbEntity, const std::string& design = "")
{
    SimulationRun s;
    fs::remove_all("ghdl-work");
    fs::create_directory("ghdl-work");
    const std::vector<std::string> common = {"--std=08", "--workdir=ghdl-work"};
    auto step = [&](std::vector<std::string> args) {
        args.insert(args.begin() + 1, common.begin(), common.end());
        RunResult r = RunBuiltProgram("ghdl", args);
        s.log += r.output;
        return r;
    };
    if (step({"-a", design.empty() ? name + ".vhd" : design}).status != 0) return s;
    if (step({"-a", name + "_tb.vhd"}).status != 0) return s;
    if (step({"-e", tbEntity}).status != 0) return s;
    RunResult run = step({"-r", tbEntity});
    s.passed = run.status == 0 && run.output.find("PASS\n") != std::string::npos &&
               run.output.find("MISMATCH") == std::string::npos;
    return s;
}

bool Synthesizes(const std::string& name, const std::string& module, std::string& log)
{
    RunResult r = RunBuiltProgram("yosys", {"-q", "-p", "read_verilog " + name + ".v; synth -top " + module});
    log = r.output;
    return r.status == 0;
}

// Runs quorlet on the table with the HDL outputs and every check on what it wrote.
void ExpectEverySimulatorPasses(const std::string& table, const std::vector<std::string>& options,
                                const std::string& flipFlops, const std::string& cover = "dc", std::string module = "")
{
    std::vector<std::string> args = {"--cover=" + cover, "--verilog", "--vhdl"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(table);
    if (!flipFlops.empty()) args.push_back(flipFlops);
    RunResult run = RunBuiltProgram(QUORLET_BIN, args);
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string name = table.substr(0, table.find('.'));
    if (module.empty()) module = name;
    ASSERT_TRUE(fs::exists(name + ".v") && fs::exists(name + "_tb.v") && fs::exists(name + ".vhd") &&
                fs::exists(name + "_tb.vhd"))
        << run.output;

    SimulationRun verilog = RunVerilog(name);
    EXPECT_TRUE(verilog.passed) << table << ":\n" << verilog.log << "\n" << ReadFile(table);
    SimulationRun vhdl = RunVhdl(name, module + "_tb");
    EXPECT_TRUE(vhdl.passed) << table << ":\n" << vhdl.log << "\n" << ReadFile(table);
    std::string log;
    EXPECT_TRUE(Synthesizes(name, module, log)) << log;
}

std::string Bits(unsigned value, int width)
{
    std::string s;
    for (int b = width - 1; b >= 0; --b) s += (value >> b) & 1 ? '1' : '0';
    return s;
}

// A function table: each point gets per output 1, 0, "-" or "." (nothing said); some points
// are left out (the "Select Cover" answer completes them); some lines cover a cube of points
// that agree.
std::string RandomFunctionTable(std::mt19937& random, int inputs, int outputs)
{
    std::vector<std::string> values(1u << inputs);
    std::uniform_int_distribution<int> pick(0, 99);
    std::string text = "TABLE RANDOM\nINPUT";
    for (int i = 0; i < inputs; ++i) text += " I" + std::to_string(i);
    text += "\nOUTPUT";
    for (int j = 0; j < outputs; ++j) text += " F" + std::to_string(j);
    text += "\n";
    for (std::string& v : values)
        for (int j = 0; j < outputs; ++j) {
            int r = pick(random);
            v += r < 42 ? '1' : r < 84 ? '0' : r < 92 ? '-' : '.';
        }
    for (unsigned p = 0; p < values.size(); ++p) {
        if (pick(random) < 15) continue;  // left open
        text += Bits(p, inputs) + " " + values[p] + "\n";
    }
    // Cube lines: a value only where every point of the cube has it.
    for (int k = 0; k < 3 && inputs > 1; ++k) {
        std::string cube = Bits(random() & ((1u << inputs) - 1), inputs);
        cube[random() % inputs] = '-';
        cube[random() % inputs] = '-';
        std::string out(outputs, '.');
        for (int j = 0; j < outputs; ++j) {
            char common = '?';
            for (unsigned p = 0; p < values.size(); ++p) {
                std::string bits = Bits(p, inputs);
                bool inside = true;
                for (int i = 0; i < inputs; ++i) inside = inside && (cube[i] == '-' || cube[i] == bits[i]);
                if (!inside) continue;
                char v = values[p][j];
                common = common == '?' ? v : (common == v ? common : '!');
            }
            if (common == '1' || common == '0' || common == '-') out[j] = common;
        }
        if (out != std::string(outputs, '.')) text += cube + " " + out + "\n";
    }
    return text + "END\n";
}

// A state table of 2 to 6 states with distinct random codes (one spare bit at times) and
// random transitions. A Moore table gives each state one output value for all inputs and
// specifies every transition, so that its outputs never need an input.
std::string RandomStateTable(std::mt19937& random, bool moore)
{
    const int states = 2 + static_cast<int>(random() % 5);
    const int inputs = 1 + static_cast<int>(random() % 2);
    const int outputs = 1 + static_cast<int>(random() % 2);
    int bits = 1;
    while ((1 << bits) < states) ++bits;
    if (random() % 3 == 0) ++bits;
    std::vector<unsigned> codes(1u << bits);
    for (unsigned c = 0; c < codes.size(); ++c) codes[c] = c;
    std::shuffle(codes.begin() + 1, codes.end(), random);  // state S0 is the reset code
    if (random() % 4 == 0) std::shuffle(codes.begin(), codes.end(), random);
    std::uniform_int_distribution<int> pick(0, 99);
    auto outputValues = [&] {
        std::string v;
        for (int j = 0; j < outputs; ++j) {
            int r = pick(random);
            v += r < 45 ? '1' : r < 90 ? '0' : '-';
        }
        return v;
    };
    std::string text = "TABLE RANDOM\nINPUT";
    for (int i = 0; i < inputs; ++i) text += " X" + std::to_string(i);
    text += "\nOUTPUT";
    for (int j = 0; j < outputs; ++j) text += " Z" + std::to_string(j);
    text += "\nSTATES\n";
    for (int s = 0; s < states; ++s) text += "S" + std::to_string(s) + " " + Bits(codes[s], bits) + "\n";
    text += "END\n";
    for (int s = 0; s < states; ++s) {
        std::string mooreOut = outputValues();
        if (!moore && pick(random) < 20) {  // one line for every input
            text += "S" + std::to_string(s) + " " + std::string(inputs, '-') + " S" +
                    std::to_string(random() % states) + " " + outputValues() + "\n";
            continue;
        }
        for (unsigned x = 0; x < (1u << inputs); ++x) {
            if (!moore && pick(random) < 15) continue;
            text += "S" + std::to_string(s) + " " + Bits(x, inputs) + " S" + std::to_string(random() % states) + " " +
                    (moore ? mooreOut : outputValues()) + "\n";
        }
    }
    return text + "END\n";
}

class HdlSimulationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SimulatorsInstalled()); }
    TempWorkDir dir_;
};

TEST_F(HdlSimulationTest, RandomFunctionTablesPassInEverySimulator)
{
    const std::vector<std::vector<std::string>> modes = {{},           {"/P"},       {"/O"},      {"/S"},
                                                         {"/P", "/O"}, {"/S", "/P"}, {"/S", "/O"}};
    const char* covers[] = {"dc", "on", "off"};
    std::mt19937 random(1901);
    int k = 0;
    for (int inputs : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 3, 5, 8, 10}) {
        const int outputs = 2 + static_cast<int>(random() % 3);
        const std::string table = "f" + std::to_string(k) + ".tbl";
        WriteFile(table, RandomFunctionTable(random, inputs, outputs));
        SCOPED_TRACE(table + " with " + std::to_string(inputs) + " inputs, mode " + std::to_string(k % modes.size()));
        ExpectEverySimulatorPasses(table, modes[k % modes.size()], "", covers[k % 3]);
        ++k;
    }
}

TEST_F(HdlSimulationTest, RandomStateTablesPassWithEveryFlipFlopType)
{
    std::mt19937 random(1919);
    int k = 0;
    for (bool moore : {false, true})
        for (const char* type : {"D", "T", "JK", "SR"}) {
            for (int round = 0; round < 2; ++round) {
                const std::string table = "s" + std::to_string(k) + ".tbl";
                WriteFile(table, RandomStateTable(random, moore));
                std::vector<std::string> options;
                if (moore) options.push_back("/M");
                if (k % 5 == 2) options.push_back("/S");
                if (k % 7 == 3) options.push_back("/P");
                SCOPED_TRACE(table + " " + type + (moore ? " /M" : ""));
                ExpectEverySimulatorPasses(table, options, type);
                ++k;
            }
        }
}

// A Moore table whose first pass shares a term between the next state and the output: the
// second pass minimizes them apart, and the testbench still checks the output.
TEST_F(HdlSimulationTest, MooreSecondPassKeepsTheOutputsChecked)
{
    WriteFile("moore2.tbl",
              "TABLE MOORE2\nINPUT X\nOUTPUT Z\nSTATES\nA 0\nB 1\nEND\n"
              "A 1 B 1\nB 0 A -\nB 1 B -\nEND\n");
    RunResult run = RunBuiltProgram(QUORLET_BIN, {"--cover=dc", "--verilog", "--vhdl", "/M", "moore2.tbl", "D"});
    ASSERT_NE(run.output.find("SECOND PASS REQUIRED"), std::string::npos) << run.output;
    EXPECT_NE(ReadFile("moore2_tb.v").find("tb_check(1'b0, 1'b1, 1'b1, 1'b1);"), std::string::npos)
        << ReadFile("moore2_tb.v");
    EXPECT_NE(ReadFile("moore2_tb.vhd").find("tb_check(\"0\", \"1\", \"1\", \"1\");"), std::string::npos);
    EXPECT_TRUE(RunVerilog("moore2").passed);
    EXPECT_TRUE(RunVhdl("moore2", "moore2_tb").passed);
}

// A table far too wide to apply point by point gets a sampled testbench that still passes.
TEST_F(HdlSimulationTest, WideTablesAreSampledAndPass)
{
    std::string table = "TABLE WIDE\nINPUT";
    for (int i = 0; i < 24; ++i) table += " I" + std::to_string(i);
    table += "\nOUTPUT F G\n1" + std::string(23, '-') + " 1.\n0" + std::string(22, '-') + "1 01\n00" +
             std::string(21, '-') + "0 0.\nEND\n";
    WriteFile("wide.tbl", table);
    ExpectEverySimulatorPasses("wide.tbl", {}, "");
    EXPECT_NE(ReadFile("wide_tb.v").find("too many to apply one by one"), std::string::npos);
}

// ---- A design with one term changed ----

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
    return text;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find(separator, start)) != std::string::npos; start = pos + separator.size())
        parts.push_back(text.substr(start, pos - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string text;
    for (std::size_t k = 0; k < parts.size(); ++k) text += (k ? separator : "") + parts[k];
    return text;
}

// The syntax of a sum of products in one language.
struct SopSyntax {
    std::string assignHead;  // before the signal name
    std::string assignOp;    // between the name and the expression
    std::string orOp, andOp, notOp;
    bool parenthesized;  // products of several literals in parentheses
};
const SopSyntax kVerilogSop = {"    assign ", " = ", " | ", " & ", "~", false};
const SopSyntax kVhdlSop = {"    ", " <= ", " or ", " and ", "not ", true};

// Flips the first literal of the first product of `signal` (a sum of products), in every
// assignment that holds the same product, so that the changed term is gone from the design.
std::string ChangeOneTerm(const std::string& text, const std::string& signal, const SopSyntax& syntax)
{
    std::string joined = Replace(text, "\n        " + syntax.orOp.substr(1), syntax.orOp);
    std::vector<std::string> lines = Split(joined, "\n");
    std::string head = syntax.assignHead + signal + syntax.assignOp;
    std::string original, changed;
    for (const std::string& line : lines) {
        if (line.rfind(head, 0) != 0) continue;
        std::string product = Split(line.substr(head.size(), line.size() - head.size() - 1), syntax.orOp)[0];
        std::string inner = product;
        bool parens = syntax.parenthesized && inner.front() == '(';
        if (parens) inner = inner.substr(1, inner.size() - 2);
        std::vector<std::string> literals = Split(inner, syntax.andOp);
        if (literals[0].rfind(syntax.notOp, 0) == 0) literals[0] = literals[0].substr(syntax.notOp.size());
        else literals[0] = syntax.notOp + literals[0];
        original = product;
        changed = parens ? "(" + Join(literals, syntax.andOp) + ")" : Join(literals, syntax.andOp);
    }
    EXPECT_FALSE(original.empty()) << "no assignment of " << signal;
    for (std::string& line : lines) {
        std::size_t eq = line.find(syntax.assignOp);
        if (eq == std::string::npos || line.rfind(syntax.assignHead, 0) != 0 || line.back() != ';') continue;
        std::size_t start = eq + syntax.assignOp.size();
        std::vector<std::string> products = Split(line.substr(start, line.size() - start - 1), syntax.orOp);
        for (std::string& p : products)
            if (p == original) p = changed;
        line = line.substr(0, start) + Join(products, syntax.orOp) + ";";
    }
    return Join(lines, "\n");
}

TEST_F(HdlSimulationTest, ChangingOneTermMakesTheTestbenchFail)
{
    struct Case {
        const char* table;
        const char* flipFlops;
        const char* signal;  // as the Verilog names it
        const char* vhdlSignal;
    };
    // Every state of these machines is reachable from reset, so every term of the result is
    // needed at a point the testbench drives.
    const Case cases[] = {{"adder.tbl", "", "SUM", "SUM"},
                          {"adder.tbl", "", "COUT", "COUT"},
                          {"updown.tbl", "JK", "CY", "CY"},
                          {"updown.tbl", "JK", "_J1", "N_J1"},
                          {"traffic.tbl", "D", "_D1", "N_D1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + c.signal);
        if (!fs::exists(c.table)) fs::copy_file(kExamples / c.table, c.table);
        std::vector<std::string> args = {"--verilog", "--vhdl", c.table};
        if (*c.flipFlops) args.push_back(c.flipFlops);
        ASSERT_EQ(RunBuiltProgram(QUORLET_BIN, args).status, 0);
        const std::string name = std::string(c.table).substr(0, std::string(c.table).find('.'));
        ASSERT_TRUE(RunVerilog(name).passed);
        ASSERT_TRUE(RunVhdl(name, name + "_tb").passed);

        const std::string verilog = ChangeOneTerm(ReadFile(name + ".v"), c.signal, kVerilogSop);
        WriteFile("changed.v", verilog);
        SimulationRun v = RunVerilog(name, "changed.v");
        EXPECT_FALSE(v.passed) << verilog;
        EXPECT_NE(v.log.find("MISMATCH"), std::string::npos) << v.log;

        const std::string vhdl = ChangeOneTerm(ReadFile(name + ".vhd"), c.vhdlSignal, kVhdlSop);
        WriteFile("changed.vhd", vhdl);
        SimulationRun h = RunVhdl(name, name + "_tb", "changed.vhd");
        EXPECT_FALSE(h.passed) << vhdl;
        EXPECT_NE(h.log.find("MISMATCH"), std::string::npos) << h.log;
    }
}

TEST_F(HdlSimulationTest, NamesThatAreNoIdentifiersAreRenamedByTheRule)
{
    // IN and OUT are VHDL words, CLK is the clock's name in VHDL, A.B and 2X are no identifiers.
    WriteFile("odd-names.tbl",
              "TABLE ODD\nINPUT IN A.B CLK\nOUTPUT OUT 2X\nSTATES\nP 0\nR 1\nEND\n"
              "P 1-- R 10\nP 0-- P 0-\nR -1- P 11\nR -0- R 0.\nEND\n");
    ExpectEverySimulatorPasses("odd-names.tbl", {}, "JK", "dc", "N_odd_names");
    const std::string verilog = ReadFile("odd-names.v");
    EXPECT_NE(verilog.find("module N_odd_names ("), std::string::npos) << verilog;
    EXPECT_NE(verilog.find("//     A.B -> N_A_B\n"), std::string::npos);
    EXPECT_NE(verilog.find("//     2X -> N_2X\n"), std::string::npos);
    EXPECT_NE(verilog.find("input  wire IN,"), std::string::npos) << "IN is no Verilog keyword";
    EXPECT_NE(verilog.find("Renamed names: a name that is not a legal identifier"), std::string::npos);
    const std::string vhdl = ReadFile("odd-names.vhd");
    for (const char* mapping : {"--     IN -> N_IN\n", "--     OUT -> N_OUT\n", "--     CLK -> N_CLK\n",
                                "--     _J0 -> N_J0\n", "--     odd-names -> N_odd_names\n"})
        EXPECT_NE(vhdl.find(mapping), std::string::npos) << mapping << vhdl;
    EXPECT_NE(ReadFile("odd-names_tb.vhd").find("--     IN -> N_IN\n"), std::string::npos);
}

TEST_F(HdlSimulationTest, ARunThatEndsOnAnErrorWritesNoHdlFiles)
{
    // Two lines that disagree on a point; then a Mealy table asked for a Moore realisation.
    WriteFile("clash.tbl", "TABLE CLASH\nINPUT A B\nOUTPUT F\n1- 1\n-0 0\nEND\n");
    WriteFile("mealy.tbl",
              "TABLE MEALY\nINPUT X\nOUTPUT Z\nSTATES\nA 0\nB 1\nEND\n"
              "A 0 A 0\nA 1 B 1\nB 0 A 1\nB 1 B 0\nEND\n");
    RunResult clash = RunBuiltProgram(QUORLET_BIN, {"--verilog", "--vhdl", "clash.tbl"});
    EXPECT_EQ(clash.status, 1) << clash.output;
    RunResult mealy = RunBuiltProgram(QUORLET_BIN, {"--verilog", "--vhdl", "/M", "mealy.tbl", "D"});
    EXPECT_EQ(mealy.status, 1) << mealy.output;
    EXPECT_NE(mealy.output.find("NOT SPECIFIED AS MOORE TYPE"), std::string::npos) << mealy.output;
    for (const auto& e : fs::directory_iterator("."))
        EXPECT_TRUE(e.path().extension() != ".v" && e.path().extension() != ".vhd") << e.path();
}

// The flip-flop type a state table in examples/ names in its first comment line
// ("... quorlet traffic.tbl D"); empty for a function table.
std::string ExampleFlipFlops(const std::string& name, const std::string& table)
{
    const std::string firstLine = table.substr(0, table.find('\n'));
    const std::string call = "quorlet " + name + ".tbl ";
    const std::size_t at = firstLine.find(call);
    if (at == std::string::npos) return "";
    std::string type;
    for (std::size_t i = at + call.size();
         i < firstLine.size() && std::isupper(static_cast<unsigned char>(firstLine[i])); ++i)
        type += firstLine[i];
    return type;
}

// The designs committed beside the examples pass the testbench the program writes for them.
TEST_F(HdlSimulationTest, CommittedExampleDesignsPassTheirTestbenches)
{
    int examples = 0;
    for (const auto& e : fs::directory_iterator(kExamples)) {
        if (e.path().extension() != ".tbl") continue;
        ++examples;
        const std::string name = e.path().stem().string();
        SCOPED_TRACE(name);
        const std::string table = ReadFile(e.path().string());
        WriteFile(name + ".tbl", table);
        std::vector<std::string> args = {"--cover=dc", "--verilog", "--vhdl", name + ".tbl"};
        if (std::string flipFlops = ExampleFlipFlops(name, table); !flipFlops.empty()) args.push_back(flipFlops);
        RunResult run = RunBuiltProgram(QUORLET_BIN, args);
        ASSERT_EQ(run.status, 0) << run.output;
        for (const char* ext : {".v", ".vhd"}) {
            ASSERT_TRUE(fs::exists(kExamples / (name + ext))) << name << ext;
            fs::copy_file(kExamples / (name + ext), name + ext, fs::copy_options::overwrite_existing);
        }
        EXPECT_TRUE(RunVerilog(name).passed);
        EXPECT_TRUE(RunVhdl(name, name + "_tb").passed);
        std::string log;
        EXPECT_TRUE(Synthesizes(name, name, log)) << log;
    }
    EXPECT_GE(examples, 8);
}

}  // namespace
