// The schematic drawing converter run as a stage: sheet, block symbol, control ports, scan
// path, renaming and the schematic log; missing components and library pins.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "GateTestSupport.h"
#include "SheetDrawing.h"
#include "TConvert4.h"

namespace quorlet::test {
namespace {

std::string Generics() { return ReadFile(std::string(QUORLET_SOURCE_DIR) + "/lib/GENERICS.LIB"); }

// GENERICS.LIB with the lines of some components replaced (empty text drops them).
std::string EditedLibrary(const std::map<std::string, std::string>& replace)
{
    std::string out;
    for (const std::string& line : SplitLines(Generics())) {
        std::vector<std::string> w = Words(line);
        auto it = w.empty() ? replace.end() : replace.find(w[0]);
        if (it == replace.end()) out += line + "\n";
        else if (!it->second.empty()) out += it->second + "\n";
    }
    return out;
}

bool Has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix)
{
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

CoverFixture Combinational()
{
    CoverFixture fixture;
    fixture.resultFile = "T.sch";
    fixture.inputs = {"A", "B"};
    fixture.outputs = {"F"};
    fixture.terms = {{"10", "1"}, {"01", "1"}};
    return fixture;
}

CoverFixture ScanMachine(std::vector<std::string> bits, bool regOut)
{
    CoverFixture fixture;
    fixture.resultFile = "T.sch";
    fixture.flipFlopType = "D";
    fixture.flipFlops = static_cast<int>(bits.size());
    fixture.inputs = bits;
    fixture.inputs.push_back("X");
    for (const std::string& b : bits) fixture.outputs.push_back("D_" + b);
    fixture.outputs.push_back("Y");
    fixture.regOut = regOut;
    for (std::size_t q = 0; q < bits.size(); ++q) {
        std::string in(bits.size() + 1, '-');
        in[q] = '0';
        in.back() = '1';
        std::string out(fixture.outputs.size(), '.');
        out[q] = '1';
        out.back() = '1';
        fixture.terms.push_back({in, out});
    }
    return fixture;
}

void RunSheet(StageHarness& h, const CoverFixture& fixture, const std::string& library = Generics())
{
    WriteFile("GENERICS.LIB", library);
    WriteCoverFiles(fixture);
    h.NewRun();
    TConvert4 stage;
    h.Run(stage, "GENERICS.lib");
}

TEST(Sheet, CombinationalDesignWithItsSymbolAndLog)
{
    StageHarness h;
    RunSheet(h, Combinational());
    ASSERT_TRUE(Exists("T.asc")) << h.Output();
    EXPECT_FALSE(Exists("T.sch"));
    EXPECT_EQ(ReadFile("isp_log.$$$"), "T\n");
    EXPECT_TRUE(h.Outcome().resultWritten);
    std::vector<std::string> sheet = SplitLines(ReadFile("T.asc"));
    ASSERT_GE(sheet.size(), 2u);
    EXPECT_EQ(sheet[0], "Version 4");
    EXPECT_EQ(sheet[1], "SHEET 1 14080 10880");
    EXPECT_TRUE(Has(sheet, "FLAG 240 160 A"));
    EXPECT_TRUE(Has(sheet, "IOPIN 240 160 In"));
    EXPECT_EQ(CountPrefix(sheet, "FLAG"), 3);
    EXPECT_EQ(CountPrefix(sheet, "SYMBOL AND2 "), 2);
    EXPECT_EQ(CountPrefix(sheet, "SYMBOL OR2 "), 1);
    EXPECT_EQ(CountPrefix(sheet, "SYMBOL INV "), 2);
    EXPECT_TRUE(
        std::regex_search(ReadFile("T.asc"), std::regex("SYMBOL AND2 [0-9]+ [0-9]+ R90\nSYMATTR InstName I3\n")));
    EXPECT_EQ(ReadFile("T.asy"),
              Lines({"Version 4", "SymbolType BLOCK", "RECTANGLE Wide 32 0 256 128", "WINDOW 0 144 112 Center 2",
                     "WINDOW 1 144 16 Center 2", "PIN 0 80  LEFT 36", "PINATTR PinName B", "LINE Normal 0 80 32 80",
                     "PIN 0 48  LEFT 36", "PINATTR PinName A", "LINE Normal 0 48 32 48", "PIN 288 80  RIGHT 36",
                     "PINATTR PinName F", "PINATTR Polarity OUT", "LINE Normal 288 80 256 80"}));
    EXPECT_TRUE(Has(h.lines, "CREATING ispTOOLS SCHEMATICS FILE T.sch,"));
    EXPECT_TRUE(Has(h.lines, "MINIMIZATION RESULT STATISTICS"));
}

TEST(Symbol, WidthFollowsTheLongestNames)
{
    MinimizedCover c;
    c.InputNames = {"ABCDEFGHIJ"};
    c.NumInputs = 1;
    c.OutputNames = {"ABCDEFGH"};
    c.NumOutputs = 1;
    SheetPorts ports;
    ports.LeftPinCount = ports.RightPinCount = 1;
    std::vector<std::string> lines = SymbolFileLines(c, ports);
    EXPECT_EQ(lines[2], "RECTANGLE Wide 32 0 384 96");
    EXPECT_EQ(SymbolFileName("dir.x/T.sch"), "dir.x/T.asy");
    EXPECT_EQ(SymbolFileName("T"), "T.asy");
    EXPECT_EQ(SchematicBaseName("T.sch"), "T");
}

TEST(Sheet, DummySymbolsTakeTheirPlaceWithoutASymbolLine)
{
    StageHarness h;
    RunSheet(h, Combinational(), EditedLibrary({{"AND2", "AND2 DUMMY 0H1 0H3 * * * * * * * * 5 2 * * 5 4 0 0 0 0"}}));
    std::vector<std::string> sheet = SplitLines(ReadFile("T.asc"));
    EXPECT_EQ(CountPrefix(sheet, "SYMBOL AND2"), 0);
    EXPECT_EQ(CountPrefix(sheet, "SYMBOL DUMMY"), 0);
    EXPECT_EQ(CountPrefix(sheet, "SYMBOL OR2 "), 1);
    EXPECT_TRUE(Has(sheet, "SYMATTR InstName I3"));  // two inverters and the OR gate
    EXPECT_FALSE(Has(sheet, "SYMATTR InstName I4"));
}

TEST(Sheet, MissingComponentStopsBeforeTheRename)
{
    StageHarness h;
    CoverFixture fixture = Combinational();
    fixture.off = true;
    fixture.terms = {{"10", "1"}, {"01", "1"}, {"11", "1"}};
    RunSheet(h, fixture, EditedLibrary({{"NOR3", ""}}));
    EXPECT_TRUE(Has(h.lines, "COMPONENT NOR3 NOT FOUND IN LIBRARY")) << h.Output();
    EXPECT_TRUE(Exists("T.sch"));
    EXPECT_FALSE(Exists("T.asc"));
    EXPECT_FALSE(Exists("isp_log.$$$"));
    EXPECT_FALSE(h.Outcome().resultWritten);
}

TEST(Sheet, LibraryProblemsWriteNothing)
{
    StageHarness h;
    RunSheet(h, Combinational(), "LIBRARY X\n9\n");
    EXPECT_EQ(h.lines, (std::vector<std::string>{"ILLEGAL GATE LIBRARY, SCHEMATICS GENERATION ABORTED"}));
    EXPECT_FALSE(Exists("T.sch"));
    EXPECT_FALSE(Exists("isp_log.$$$"));
}

TEST(Sheet, ControlPortsFollowTheFlipFlopPins)
{
    StageHarness h;
    RunSheet(h, ScanMachine({"Q1", "Q2"}, true));
    std::vector<std::string> sheet = SplitLines(ReadFile("T.asc"));
    for (const char* name : {"CLK", "nRST", "TSTM", "SCIN", "Q1", "Q2", "X", "Y"})
        EXPECT_EQ(
            std::count_if(sheet.begin(), sheet.end(),
                          [&](const std::string& l) { return l.rfind("FLAG ", 0) == 0 && Words(l).back() == name; }),
            1)
            << name;
    std::vector<std::string> symbol = SplitLines(ReadFile("T.asy"));
    std::vector<std::string> pins;
    for (const std::string& l : symbol)
        if (l.rfind("PINATTR PinName ", 0) == 0) pins.push_back(l.substr(16));
    EXPECT_EQ(pins, (std::vector<std::string>{"CLK", "nRST", "X", "SCIN", "TSTM", "Q2", "Q1", "Y"}));
    EXPECT_EQ(symbol[2], "RECTANGLE Wide 32 0 256 224");  // five left pins

    StageHarness noReset;
    RunSheet(noReset, ScanMachine({"Q1"}, false),
             EditedLibrary({{"DFF", "DFF DFF 0H9 0H7 0L3 * * * * * *  6 9 6 7  6 10  0 0  0 0"}}));
    std::vector<std::string> plain = SplitLines(ReadFile("T.asc"));
    EXPECT_EQ(CountPrefix(plain, "FLAG"), 3) << ReadFile("T.asc");  // nCLK, X, Y
    std::string sym = ReadFile("T.asy");
    EXPECT_NE(sym.find("PINATTR PinName nCLK"), std::string::npos);
    EXPECT_EQ(sym.find("RST"), std::string::npos);
    EXPECT_EQ(sym.find("SCOUT"), std::string::npos);
}

TEST(Sheet, ScanOutputIsTheBitEndingInZero)
{
    {
        StageHarness h;
        RunSheet(h, ScanMachine({"X0", "X1"}, false));
        std::vector<std::string> sheet = SplitLines(ReadFile("T.asc"));
        EXPECT_EQ(CountPrefix(sheet, "FLAG 240 480 SCOUT"), 1) << ReadFile("T.asc");
        EXPECT_EQ(std::count_if(sheet.begin(), sheet.end(),
                                [](const std::string& l) { return l.find(" SCOUT") != std::string::npos; }),
                  1);
        std::string sym = ReadFile("T.asy");
        EXPECT_NE(sym.find("PINATTR PinName SCIN\nLINE Normal 0 80 32 80\nPIN 0 48  LEFT 36\nPINATTR PinName TSTM"),
                  std::string::npos)
            << sym;
        EXPECT_NE(sym.find("PIN 288 176  RIGHT 36\nPINATTR PinName SCOUT"), std::string::npos) << sym;
    }
    {
        StageHarness h;
        RunSheet(h, ScanMachine({"X9", "X10", "X20"}, false));
        std::vector<std::string> sheet = SplitLines(ReadFile("T.asc"));
        EXPECT_EQ(CountPrefix(sheet, "FLAG 240 432 SCOUT"), 1) << ReadFile("T.asc");
    }
    {
        StageHarness h;
        RunSheet(h, ScanMachine({"X0", "X1"}, true));
        EXPECT_TRUE(Has(h.lines, "NOTE:  PIN X0 IS SCANPATH OUTPUT")) << h.Output();
        EXPECT_EQ(ReadFile("T.asc").find("SCOUT"), std::string::npos);
    }
}

TEST(Sheet, SrMachineGetsAPresetPort)
{
    StageHarness h;
    CoverFixture fixture;
    fixture.resultFile = "T.sch";
    fixture.flipFlopType = "SR";
    fixture.flipFlops = 1;
    fixture.inputs = {"Q", "X"};
    fixture.outputs = {"S_Q", "R_Q", "Y"};
    fixture.terms = {{"01", "1.1"}, {"10", ".1."}};
    RunSheet(h, fixture);
    std::string sym = ReadFile("T.asy");
    EXPECT_NE(sym.find("PINATTR PinName CLK"), std::string::npos);
    EXPECT_NE(sym.find("PINATTR PinName nRST"), std::string::npos);
    EXPECT_NE(sym.find("PINATTR PinName nPRST"), std::string::npos);
    EXPECT_EQ(sym.find("TSTM"), std::string::npos);
    EXPECT_EQ(CountPrefix(SplitLines(ReadFile("T.asc")), "SYMBOL SRFF "), 1);
}

}  // namespace
}  // namespace quorlet::test
