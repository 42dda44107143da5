// The importers on sheets and symbols drawn by the schematic converter, and on damaged ones:
// schematic and symbol files, error files, and well-formed pictures whose wires all end on
// a pin, a port or another wire.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <stdexcept>
#include <regex>
#include <set>

#include "../gates/GateTestSupport.h"
#include "SchematicImport.h"
#include "TConvert4.h"

namespace quorlet::test {
namespace {

using import::Point;

std::string Generics() { return ReadFile(std::string(QUORLET_SOURCE_DIR) + "/lib/GENERICS.LIB"); }

// Balanced tags, one root element "svg".
bool WellFormedSvg(const std::string& svg, std::string& why)
{
    std::vector<std::string> open;
    int roots = 0;
    for (std::size_t i = svg.find('<'); i != std::string::npos; i = svg.find('<', i + 1)) {
        std::size_t end = svg.find('>', i);
        if (end == std::string::npos) return why = "unterminated tag", false;
        std::string tag = svg.substr(i + 1, end - i - 1);
        if (tag.empty()) return why = "empty tag", false;
        if (tag[0] == '?' || tag[0] == '!') continue;
        if (std::count(tag.begin(), tag.end(), '"') % 2 != 0) return why = "unbalanced quotes in <" + tag + ">", false;
        if (tag[0] == '/') {
            std::string name = tag.substr(1);
            if (open.empty() || open.back() != name) return why = "unexpected </" + name + ">", false;
            open.pop_back();
            continue;
        }
        std::string name = tag.substr(0, tag.find_first_of(" \n/"));
        if (open.empty()) ++roots;
        if (open.empty() && name != "svg") return why = "root is " + name, false;
        if (tag.back() != '/') open.push_back(name);
    }
    if (!open.empty()) return why = "unclosed <" + open.back() + ">", false;
    if (roots != 1) return why = "roots: " + std::to_string(roots), false;
    return true;
}

struct SvgWire {
    Point a, b;
};

bool OnWire(Point p, const SvgWire& w)
{
    if (w.a.x == w.b.x && p.x == w.a.x) return p.y >= std::min(w.a.y, w.b.y) && p.y <= std::max(w.a.y, w.b.y);
    if (w.a.y == w.b.y && p.y == w.a.y) return p.x >= std::min(w.a.x, w.b.x) && p.x <= std::max(w.a.x, w.b.x);
    return p == w.a || p == w.b;
}

// Wire ends that touch no pin, no port and no other wire in the picture (a single stub off a
// pin or port may end freely: an unused input or state bit).
std::vector<std::string> LooseWireEnds(const std::string& svg)
{
    std::vector<SvgWire> wires;
    std::set<Point> anchors, ports;
    std::regex line("<line class=\"wire\" x1=\"(-?\\d+)\" y1=\"(-?\\d+)\" x2=\"(-?\\d+)\" y2=\"(-?\\d+)\"/>");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), line); it != std::sregex_iterator(); ++it)
        wires.push_back({{std::stoi((*it)[1]), std::stoi((*it)[2])}, {std::stoi((*it)[3]), std::stoi((*it)[4])}});
    std::regex pin("<circle class=\"pin\" cx=\"(-?\\d+)\" cy=\"(-?\\d+)\"");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), pin); it != std::sregex_iterator(); ++it)
        anchors.insert({std::stoi((*it)[1]), std::stoi((*it)[2])});
    std::regex port("class=\"port\" data-name=\"[^\"]*\" data-x=\"(-?\\d+)\" data-y=\"(-?\\d+)\"");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), port); it != std::sregex_iterator(); ++it)
        ports.insert({std::stoi((*it)[1]), std::stoi((*it)[2])});
    anchors.insert(ports.begin(), ports.end());
    std::vector<std::string> loose;
    for (std::size_t i = 0; i < wires.size(); ++i)
        for (Point end : {wires[i].a, wires[i].b}) {
            bool ok = anchors.count(end) > 0 || anchors.count(wires[i].a) > 0 || anchors.count(wires[i].b) > 0;
            for (std::size_t j = 0; j < wires.size() && !ok; ++j)
                if (j != i && OnWire(end, wires[j])) ok = true;
            if (!ok) loose.push_back(std::to_string(end.x) + "," + std::to_string(end.y));
        }
    return loose;
}

// Draws a cover with the schematic converter and imports sheet and symbol.
void DrawAndImport(StageHarness& h, const CoverFixture& fixture)
{
    WriteFile("GENERICS.LIB", Generics());
    WriteCoverFiles(fixture);
    TConvert4 stage;
    h.Run(stage, "GENERICS.lib");
    ASSERT_TRUE(Exists("T.asc")) << h.Output();
    ASSERT_TRUE(import::ImportSheet("T.asc", {"."})) << ReadFile("T.err") << ReadFile("T.asc");
    ASSERT_TRUE(import::ImportSymbol("T.asy")) << ReadFile("T.err");
}

void CheckPictures(const std::string& label)
{
    std::string why;
    std::string svg = ReadFile("T.svg");
    EXPECT_TRUE(WellFormedSvg(svg, why)) << label << ": " << why;
    std::vector<std::string> loose = LooseWireEnds(svg);
    EXPECT_TRUE(loose.empty()) << label << ": loose wire ends " << (loose.empty() ? "" : loose.front());
    EXPECT_NE(svg.find("class=\"wire\""), std::string::npos) << label;
    EXPECT_TRUE(WellFormedSvg(ReadFile("T.sym.svg"), why)) << label << " symbol: " << why;
    EXPECT_NE(ReadFile("T.sch").find("SCHEMATIC T\n"), std::string::npos);
    EXPECT_NE(ReadFile("T.sym").find("SYMBOL T\n"), std::string::npos);
}

CoverFixture Adder()
{
    CoverFixture s;
    s.resultFile = "T.sch";
    s.inputs = {"A", "B", "CIN"};
    s.outputs = {"SUM", "COUT"};
    s.terms = {{"001", "10"}, {"010", "10"}, {"100", "10"}, {"111", "10"}, {"11-", "01"}, {"1-1", "01"}, {"-11", "01"}};
    return s;
}

CoverFixture Machine(const std::string& type, std::vector<std::string> bits)
{
    CoverFixture s;
    s.resultFile = "T.sch";
    s.flipFlopType = type;
    s.flipFlops = static_cast<int>(bits.size());
    s.inputs = bits;
    s.inputs.push_back("X");
    s.inputs.push_back("_Y");
    int per = (type == "JK" || type == "SR") ? 2 : 1;
    for (const std::string& b : bits)
        for (int k = 0; k < per; ++k) s.outputs.push_back((per == 2 ? (k == 0 ? "A_" : "B_") : "D_") + b);
    s.outputs.push_back("Z");
    const int ni = static_cast<int>(s.inputs.size()), no = static_cast<int>(s.outputs.size());
    for (int t = 0; t < 3 * ni; ++t) {
        std::string in(ni, '-'), out(no, '.');
        for (int i = 0; i < ni; ++i) in[i] = "01-"[(t * 7 + i * 3 + t / 3) % 3];
        for (int o = 0; o < no; ++o)
            if ((t + o) % 3 == 0) out[o] = '1';
        s.terms.push_back({in, out});
    }
    return s;
}

TEST(DrawnSheets, ImportWithEveryWireOnAPinPortOrWire)
{
    struct Case {
        std::string label;
        CoverFixture fixture;
    };
    std::vector<Case> cases;
    cases.push_back({"adder", Adder()});
    CoverFixture inv = Adder();
    inv.inv = true;
    cases.push_back({"adder nand", inv});
    CoverFixture pos = Adder();
    pos.pos = true;
    cases.push_back({"adder pos", pos});
    CoverFixture off = Adder();
    off.off = true;
    off.terms.push_back({"---", ".."});
    cases.push_back({"adder off", off});
    CoverFixture wide;
    wide.resultFile = "T.sch";
    wide.inputs = {"A", "B", "C", "D", "E", "F", "G"};
    wide.outputs = {"W", "ONE", "ZERO"};
    wide.terms = {{"1111111", "1.."}, {"0000000", "1.."}, {"-------", ".1."}};
    for (int t = 0; t < 20; ++t)
        wide.terms.push_back({std::string(1, "01"[t % 2]) + std::string(1, "01"[(t / 2) % 2]) +
                                  std::string(1, "01"[(t / 4) % 2]) + std::string(1, "01"[(t / 8) % 2]) + "-1-",
                              "1.."});
    cases.push_back({"wide", wide});
    cases.push_back({"D scan", Machine("D", {"Q0", "Q1", "Q2"})});
    CoverFixture reg = Machine("T", {"S1", "S2"});
    reg.regOut = true;
    cases.push_back({"T regout", reg});
    cases.push_back({"JK", Machine("JK", {"Q1", "Q2"})});
    CoverFixture sr = Machine("SR", {"Q1"});
    sr.inv = true;
    cases.push_back({"SR nand", sr});
    for (const Case& c : cases) {
        StageHarness h;
        DrawAndImport(h, c.fixture);
        if (HasFatalFailure()) return;
        CheckPictures(c.label);
    }
}

// The imported schematic evaluated net by net: every gate symbol computes its function.
class SchematicSimulator {
public:
    explicit SchematicSimulator(const std::string& sch)
    {
        for (const std::string& line : SplitLines(sch)) {
            std::vector<std::string> w = Words(line);
            if (w.size() >= 3 && w[0] == "INSTANCE") {
                symbols_[w[1]] = w[2];
                if (w[2].size() > 2 && w[2].substr(w[2].size() - 2) == "FF") flipFlops.push_back(w[1]);
            }
            if (w.size() >= 3 && w[0] == "PORT") directions_[w[1]] = w[2];
            if (w.size() >= 2 && w[0] == "NET")
                for (std::size_t i = 2; i < w.size(); ++i) {
                    std::string member = w[i] == "PORT" && i + 1 < w.size() ? "PORT " + w[++i] : w[i];
                    netOf_[member] = w[1];
                    members_[w[1]].push_back(member);
                }
        }
    }

    bool Net(const std::string& net, const std::map<std::string, bool>& inputs)
    {
        if (auto c = cache_.find(net); c != cache_.end()) return c->second;
        if (++depth_ > 500) throw std::runtime_error("loop through net " + net);
        std::optional<bool> value;
        for (const std::string& m : members_[net]) {
            if (m.rfind("PORT ", 0) == 0 && directions_[m.substr(5)] == "IN") value = inputs.at(m.substr(5));
            auto dot = m.find(".OUT");
            if (dot != std::string::npos) {
                if (value) throw std::runtime_error("net " + net + " has two drivers");
                std::string inst = m.substr(0, dot);
                if (auto ff = flipFlopBit_.find(inst); ff != flipFlopBit_.end())
                    value = (m.substr(dot) == ".OUT1") == inputs.at(ff->second);
                else value = Gate(inst, inputs);
            }
        }
        --depth_;
        if (!value) throw std::runtime_error("net " + net + " has no driver");
        return cache_[net] = *value;
    }
    bool Output(const std::string& port, const std::map<std::string, bool>& inputs)
    {
        auto it = netOf_.find("PORT " + port);
        if (it == netOf_.end()) throw std::runtime_error("port " + port + " on no net");
        return Net(it->second, inputs);
    }
    void Reset() { cache_.clear(); }
    // Flip-flop instances stand in the order of the state bits.
    void NameStateBits(const std::vector<std::string>& bits)
    {
        for (std::size_t k = 0; k < bits.size() && k < flipFlops.size(); ++k) flipFlopBit_[flipFlops[k]] = bits[k];
    }
    // The value at an input pin of an instance ("IN1").
    bool Pin(const std::string& inst, const std::string& pin, const std::map<std::string, bool>& inputs)
    {
        auto it = netOf_.find(inst + "." + pin);
        if (it == netOf_.end()) throw std::runtime_error(inst + "." + pin + " on no net");
        return Net(it->second, inputs);
    }
    std::vector<std::string> flipFlops;

private:
    std::map<std::string, std::string> flipFlopBit_;
    bool Gate(const std::string& inst, const std::map<std::string, bool>& inputs)
    {
        const std::string symbol = symbols_.at(inst);
        if (symbol == "VDD") return true;
        if (symbol == "VSS") return false;
        std::vector<bool> in;
        for (int k = 1; k <= 8; ++k) {
            auto it = netOf_.find(inst + ".IN" + std::to_string(k));
            if (it != netOf_.end()) in.push_back(Net(it->second, inputs));
        }
        if (in.empty()) throw std::runtime_error(inst + " has no connected input");
        bool all = std::all_of(in.begin(), in.end(), [](bool b) { return b; });
        bool any = std::any_of(in.begin(), in.end(), [](bool b) { return b; });
        if (symbol == "BUF") return in[0];
        if (symbol == "INV") return !in[0];
        if (symbol.rfind("NAND", 0) == 0) return !all;
        if (symbol.rfind("NOR", 0) == 0) return !any;
        if (symbol.rfind("AND", 0) == 0) return all;
        if (symbol.rfind("OR", 0) == 0) return any;
        throw std::runtime_error("no function for symbol " + symbol);
    }
    std::map<std::string, std::string> symbols_, directions_, netOf_;
    std::map<std::string, std::vector<std::string>> members_;
    std::map<std::string, bool> cache_;
    int depth_ = 0;
};

TEST(DrawnSheets, RandomCombinationalSheetsComputeTheirTable)
{
    std::mt19937 rng(5012004);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int seed = 0; seed < 60; ++seed) {
        CoverFixture s;
        s.resultFile = "T.sch";
        int ni = pick(2, 5), no = pick(1, 3);
        for (int i = 0; i < ni; ++i) s.inputs.push_back("I" + std::to_string(i));
        for (int o = 0; o < no; ++o) s.outputs.push_back("O" + std::to_string(o));
        s.pos = pick(0, 1);
        s.off = pick(0, 1);
        s.inv = pick(0, 1);
        int terms = pick(1, 14);
        for (int t = 0; t < terms; ++t) {
            std::string in(ni, '-'), out(no, '0');
            for (char& c : in) c = "01-"[pick(0, 2)];
            if (in == std::string(ni, '-')) in[0] = '0';
            for (char& c : out) c = pick(0, 1) ? '1' : '0';
            out[pick(0, no - 1)] = '1';  // as from the minimizer: every term serves an output
            s.terms.push_back({in, out});
        }
        for (int o = 0; o < no; ++o) s.terms.back().second[o] = '1';  // no output without a term
        if (!s.pos && pick(0, 3) == 0) s.terms.push_back({std::string(ni, '-'), std::string(no, '1')});
        StageHarness h;
        DrawAndImport(h, s);
        if (HasFatalFailure()) return;
        SchematicSimulator sim(ReadFile("T.sch"));
        for (int point = 0; point < (1 << ni); ++point) {
            std::map<std::string, bool> given;
            for (int i = 0; i < ni; ++i) given[s.inputs[i]] = (point >> i) & 1;
            sim.Reset();
            for (int o = 0; o < no; ++o) {
                bool sum = false;
                for (const auto& [in, out] : s.terms) {
                    if (out[o] != '1') continue;
                    bool product = true;
                    for (int i = 0; i < ni; ++i)
                        if ((in[i] == '1') != given[s.inputs[i]] && in[i] != '-') product = false;
                    sum = sum || product;
                }
                bool expected = (s.pos == s.off) ? sum : !sum;
                bool drawn = false;
                try {
                    drawn = sim.Output(s.outputs[o], given);
                } catch (const std::exception& e) {
                    FAIL() << "seed " << seed << ": " << e.what() << "\n" << ReadFile("T.sch");
                }
                ASSERT_EQ(drawn, expected)
                    << "seed " << seed << " output " << s.outputs[o] << " point " << point << "\n"
                    << ReadFile("esp_tbl.$$$") << ReadFile("T.sch");
            }
        }
    }
}

TEST(DrawnSheets, RandomMachinesDriveTheirFlipFlops)
{
    std::mt19937 rng(20260105);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    static const char* kTypes[] = {"D", "T", "JK", "SR"};
    for (int seed = 0; seed < 40; ++seed) {
        CoverFixture s;
        s.resultFile = "T.sch";
        s.flipFlopType = kTypes[seed % 4];
        s.flipFlops = pick(1, 3);
        s.inv = pick(0, 1);
        s.regOut = pick(0, 1);
        for (int q = 0; q < s.flipFlops; ++q) s.inputs.push_back("Q" + std::to_string(q));
        int primary = pick(1, 2);
        for (int i = 0; i < primary; ++i) s.inputs.push_back("X" + std::to_string(i));
        int per = (s.flipFlopType == "JK" || s.flipFlopType == "SR") ? 2 : 1;
        for (int e = 0; e < s.flipFlops * per; ++e) s.outputs.push_back("E" + std::to_string(e));
        s.outputs.push_back("Z");
        const int ni = static_cast<int>(s.inputs.size()), no = static_cast<int>(s.outputs.size());
        for (int t = pick(1, 10); t > 0; --t) {
            std::string in(ni, '-'), out(no, '0');
            for (char& c : in) c = "01-"[pick(0, 2)];
            if (in == std::string(ni, '-')) in[0] = '1';
            for (char& c : out) c = pick(0, 2) == 0 ? '1' : '0';
            out[pick(0, no - 1)] = '1';
            s.terms.push_back({in, out});
        }
        for (int o = 0; o < no; ++o) s.terms.back().second[o] = '1';
        StageHarness h;
        DrawAndImport(h, s);
        if (HasFatalFailure()) return;
        SchematicSimulator sim(ReadFile("T.sch"));
        std::vector<std::string> bits(s.inputs.begin(), s.inputs.begin() + s.flipFlops);
        ASSERT_EQ(static_cast<int>(sim.flipFlops.size()), s.flipFlops) << ReadFile("T.sch");
        sim.NameStateBits(bits);
        for (int point = 0; point < (1 << ni); ++point) {
            std::map<std::string, bool> given;
            for (int i = 0; i < ni; ++i) given[s.inputs[i]] = (point >> i) & 1;
            sim.Reset();
            for (int e = 0; e < s.flipFlops * per; ++e) {
                bool sum = false;
                for (const auto& [in, out] : s.terms) {
                    if (out[e] != '1') continue;
                    bool product = true;
                    for (int i = 0; i < ni; ++i)
                        if (in[i] != '-' && (in[i] == '1') != given[s.inputs[i]]) product = false;
                    sum = sum || product;
                }
                bool drawn = false;
                try {
                    drawn = sim.Pin(sim.flipFlops[e / per], "IN" + std::to_string(e % per + 1), given);
                } catch (const std::exception& ex) {
                    FAIL() << "seed " << seed << ": " << ex.what() << "\n" << ReadFile("T.sch");
                }
                ASSERT_EQ(drawn, sum) << "seed " << seed << " excitation " << e << " point " << point << "\n"
                                      << ReadFile("esp_tbl.$$$") << ReadFile("T.sch");
            }
        }
    }
}

TEST(DrawnSheets, NetsJoinThePinsTheNetworkJoins)
{
    StageHarness h;
    DrawAndImport(h, Adder());
    std::string sch = ReadFile("T.sch");
    // Each port is one net with at least one pin; the carry output's net reaches its gate.
    for (const char* port : {"A", "B", "CIN", "SUM", "COUT"})
        EXPECT_TRUE(
            std::regex_search(sch, std::regex(std::string("\nNET ") + port + " .*PORT " + port + " I[0-9]+\\.")))
            << port << "\n"
            << sch;
}

TEST(DamagedSheets, GiveAnErrorFileAndNoSchematic)
{
    StageHarness h;
    WriteFile("GENERICS.LIB", Generics());
    const std::string good =
        "Version 4\nSHEET 1 14080 10880\nSYMBOL INV 320 320 R0\nSYMATTR InstName I1\n"
        "WIRE 320 304 256 304\nWIRE 240 304 256 304\nFLAG 240 304 A\nIOPIN 240 304 In\n"
        "WIRE 400 304 480 304\nWIRE 496 304 480 304\nFLAG 496 304 NA\nIOPIN 496 304 Out\n";
    struct Case {
        std::string text, message;
    };
    std::vector<Case> cases = {
        {"", "EMPTY SHEET FILE"},
        {"Version 3\n", "LINE 1: NOT A VERSION 4 SHEET"},
        {good + "WIRE 1 2 x 4\n", "LINE 13: NUMBER EXPECTED IN \"WIRE 1 2 x 4\""},
        {good + "BOGUS 1\n", "LINE 13: UNKNOWN LINE \"BOGUS 1\""},
        {good + "SYMBOL NOSUCH 10 10 R0\n", "LINE 13: SYMBOL NOSUCH NOT IN ANY LIBRARY"},
        {good + "WIRE 400 304 400 900\nWIRE 400 900 500 900\n", "WIRE END AT 500 900 IS CONNECTED TO NOTHING"},
        {good + "WIRE 700 700 800 700\n", "WIRE END AT 700 700 IS CONNECTED TO NOTHING"},
        {good + "SYMBOL INV 10 10 R45\n", "LINE 13: UNKNOWN ORIENTATION R45"},
        {good + "IOPIN 7 7 In\n", "LINE 13: IOPIN WITHOUT FLAG"},
        {good + "WIRE -16 0 100 0\n", "WIRE OUTSIDE THE SHEET AT -16 0"},
        {std::string("Version 4\nSHEET 1 100 100\n") + std::string(300, 'W') + "\n", "LINE 3: UNKNOWN LINE"},
    };
    ASSERT_TRUE(import::ImportSheet("B.asc", {"."}) == false);
    EXPECT_NE(ReadFile("B.err").find("CANNOT READ B.asc"), std::string::npos);
    for (const Case& c : cases) {
        std::filesystem::remove("B.err");
        std::filesystem::remove("B.sch");
        WriteFile("B.asc", c.text);
        EXPECT_FALSE(import::ImportSheet("B.asc", {"."})) << c.message;
        EXPECT_NE(ReadFile("B.err").find(c.message), std::string::npos) << ReadFile("B.err");
        EXPECT_FALSE(Exists("B.sch")) << c.message;
    }
    WriteFile("B.asc", good);
    EXPECT_TRUE(import::ImportSheet("B.asc", {"."})) << ReadFile("B.err");
    EXPECT_NE(ReadFile("B.sch").find("NET A PORT A I1.IN1"), std::string::npos) << ReadFile("B.sch");
    EXPECT_NE(ReadFile("B.sch").find("NET NA PORT NA I1.OUT1"), std::string::npos) << ReadFile("B.sch");
}

TEST(Symbols, ImportedOrRefused)
{
    StageHarness h;
    const std::string good =
        Lines({"Version 4", "SymbolType BLOCK", "RECTANGLE Wide 32 0 256 128", "WINDOW 0 144 112 Center 2",
               "WINDOW 1 144 16 Center 2", "PIN 0 80  LEFT 36", "PINATTR PinName B", "LINE Normal 0 80 32 80",
               "PIN 288 80  RIGHT 36", "PINATTR PinName F", "PINATTR Polarity OUT", "LINE Normal 288 80 256 80"});
    WriteFile("B.asy", good);
    ASSERT_TRUE(import::ImportSymbol("B.asy"));
    EXPECT_EQ(ReadFile("B.sym"),
              Lines({"SYMBOL B", "BODY 32 0 256 128", "PIN B LEFT IN 0 80", "PIN F RIGHT OUT 288 80", "END"}));
    std::string why;
    EXPECT_TRUE(WellFormedSvg(ReadFile("B.sym.svg"), why)) << why;
    for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
             {"Version 4\nSymbolType CELL\n", "ONLY BLOCK SYMBOLS ARE IMPORTED"},
             {good + "PIN 0 48  LEFT 36\nPINATTR PinName B\n", "PIN B NAMED TWICE"},
             {good + "PINATTR Colour red\n", "UNKNOWN PIN ATTRIBUTE"},
             {"Version 4\nSymbolType BLOCK\n", "NO SYMBOL BODY"}}) {
        std::filesystem::remove("C.sym");
        WriteFile("C.asy", text);
        EXPECT_FALSE(import::ImportSymbol("C.asy")) << message;
        EXPECT_NE(ReadFile("C.err").find(message), std::string::npos) << ReadFile("C.err");
        EXPECT_FALSE(Exists("C.sym"));
    }
}

}  // namespace
}  // namespace quorlet::test

namespace quorlet::test {
namespace {

// Every example table drawn by the command line with the shipped library and imported by the
// importer programs beside it (when the minimizer program has been built there too).
TEST(Examples, DrawnEndToEndWithThePictures)
{
    namespace fs = std::filesystem;
    const fs::path bin = QUORLET_BIN_DIR;
    for (const char* program : {"quorlet", "quor_esp", "ascin", "asyin", "GENERICS.LIB"})
        if (!fs::exists(bin / program)) GTEST_SKIP() << program << " is not built in " << bin;
    TempWorkDir dir;
    int drawn = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(QUORLET_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() != ".tbl") continue;
        fs::copy_file(entry.path(), dir.Path() / entry.path().filename());
        const std::string base = entry.path().stem().string();
        std::string command = "cd '" + dir.Path().string() + "' && '" + (bin / "quorlet").string() +
                              "' --cover=dc /DGENERICS " + base + ".tbl D > " + base + ".log 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << base << "\n" << ReadFile(dir.File(base + ".log"));
        EXPECT_FALSE(Exists(dir.File(base + ".err"))) << ReadFile(dir.File(base + ".err"));
        EXPECT_FALSE(Exists(dir.File(base + ".asc")));
        std::string svg = ReadFile(dir.File(base + ".svg")), why;
        EXPECT_TRUE(WellFormedSvg(svg, why)) << base << ": " << why;
        EXPECT_TRUE(LooseWireEnds(svg).empty()) << base;
        EXPECT_TRUE(WellFormedSvg(ReadFile(dir.File(base + ".sym.svg")), why)) << base << ": " << why;
        EXPECT_NE(ReadFile(dir.File(base + ".sch")).find("SCHEMATIC " + base), std::string::npos) << base;
        EXPECT_NE(ReadFile(dir.File(base + ".sym")).find("SYMBOL " + base), std::string::npos) << base;
        ++drawn;
    }
    EXPECT_GT(drawn, 0);
}

}  // namespace
}  // namespace quorlet::test
