// Gate library files: limits word, both readers' messages and fallbacks, component lines.
#include <gtest/gtest.h>

#include <functional>

#include "GateLibrary.h"
#include "GateTestSupport.h"

namespace quorlet::test {
namespace {

// A stage that runs one reader call inside a real stage run.
class ReaderStage : public TSubExec {
public:
    std::function<void(TSubExec&)> body;
    void Execute() override { body(*this); }
};

// Runs `body` as a stage of the harness, which collects its console lines.
void RunAsStage(StageHarness& h, std::function<void(TSubExec&)> body)
{
    ReaderStage stage;
    stage.body = std::move(body);
    h.Run(stage);
}

std::string ComponentLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += "AND2 AND2 0H1 0H3 * * * * * * * * 5 2 * * 5 4 0 0 0 0\n";
    return text;
}

std::string SourceLibrary() { return ReadFile(std::string(QUORLET_SOURCE_DIR) + "/lib/GENERICS.LIB"); }

TEST(GateLimits, WordsGiveOneOrTwoLimits)
{
    GateLimits four = ParseLimitsWord("4", false);
    EXPECT_TRUE(four.valid);
    EXPECT_EQ(four.maxGateInputs, 4);
    EXPECT_EQ(four.maxPlainGateInputs, 4);

    GateLimits plain = ParseLimitsWord("4/3", false);
    EXPECT_TRUE(plain.valid);
    EXPECT_EQ(plain.maxGateInputs, 4);
    EXPECT_EQ(plain.maxPlainGateInputs, 4);

    GateLimits inverting = ParseLimitsWord("/4/3", true);
    EXPECT_TRUE(inverting.valid);
    EXPECT_EQ(inverting.maxGateInputs, 3);
    EXPECT_EQ(inverting.maxPlainGateInputs, 4);

    for (const char* bad : {"7", "1", "10", "4/x", "4/9", "", "x"}) {
        GateLimits limits = ParseLimitsWord(bad, true);
        EXPECT_FALSE(limits.valid) << bad;
        EXPECT_EQ(limits.maxGateInputs, 8) << bad;
        EXPECT_FALSE(ParseLimitsWord(bad, false).valid) << bad;
    }
}

TEST(NetlistLibraryReader, FallsBackToEightInputsWithItsThreeMessages)
{
    StageHarness h;
    WriteFile("nolib", "NO_LIBRARY\n");
    WriteFile("bad.lib", "LIBRARY BAD\n7\n");
    WriteFile("odd.lib", "SOMETHING ELSE\n4\n");
    WriteFile("head.lib", "LIBRARY SHORT\nOPTIONS X\n");
    std::vector<GateLibrary> results;
    RunAsStage(h, [&](TSubExec& s) {
        for (const char* path : {"missing.lib", "nolib", "bad.lib", "odd.lib", "head.lib"}) {
            s.Write("CREATING PARDOVEX NETLIST FILE X.net");
            results.push_back(ReadLibraryForNetlist(s, path, false));
        }
    });
    const std::string tail = " MAXIMUM NUMBER OF GATE INPUTS SET TO 8";
    EXPECT_EQ(h.lines,
              (std::vector<std::string>{"CREATING PARDOVEX NETLIST FILE X.net", "GATE LIBRARY NOT FOUND," + tail,
                                        "CREATING PARDOVEX NETLIST FILE X.net", "USING NO GATE LIBRARY," + tail,
                                        "CREATING PARDOVEX NETLIST FILE X.net", "ILLEGAL GATE LIBRARY," + tail,
                                        "CREATING PARDOVEX NETLIST FILE X.net", "ILLEGAL GATE LIBRARY," + tail,
                                        "CREATING PARDOVEX NETLIST FILE X.net", "ILLEGAL GATE LIBRARY," + tail}));
    for (const GateLibrary& lib : results) {
        EXPECT_EQ(lib.LibraryText, "NO LIBRARY");
        EXPECT_EQ(lib.MaxGateInputs, 8);
        EXPECT_EQ(lib.MaxPlainGateInputs, 8);
    }
}

TEST(NetlistLibraryReader, SkipsOptionsAndCommentsBeforeTheLimits)
{
    StageHarness h;
    WriteFile("my.lib", "library mine extra\n\" comment\nOPTIONS COMP_PROP=DESIGN_NAME\n\" between\n4/3 5\n");
    GateLibrary plain, inverting;
    RunAsStage(h, [&](TSubExec& s) {
        s.Write("CREATING PARDOVEX NETLIST FILE X.net");
        plain = ReadLibraryForNetlist(s, "my.lib", false);
        inverting = ReadLibraryForNetlist(s, "my.lib", true);
    });
    ASSERT_GE(h.lines.size(), 2u);
    EXPECT_EQ(h.lines[0], "CREATING PARDOVEX NETLIST FILE X.net, USING LIBRARY MINE");
    EXPECT_EQ(h.lines[1], "MAXIMUM NUMBER OF GATE INPUTS WILL BE LIMITED TO 4");
    EXPECT_EQ(plain.LibraryText, "LIBRARY MINE");
    EXPECT_EQ(plain.MaxGateInputs, 4);
    EXPECT_EQ(plain.MaxPlainGateInputs, 4);
    EXPECT_EQ(inverting.MaxGateInputs, 3);
    EXPECT_EQ(inverting.MaxPlainGateInputs, 4);
}

TEST(DrawingLibraryReader, RefusesWhatTheNetlistReaderForgives)
{
    StageHarness h;
    WriteFile("nolib", "NO_LIBRARY\n");
    WriteFile("between.lib", "LIBRARY MINE\nOPTIONS A\n\" between\n4\n");
    WriteFile("odd.lib", "HELLO\n");
    std::vector<bool> ok;
    RunAsStage(h, [&](TSubExec& s) {
        for (const char* path : {"missing.lib", "nolib", "between.lib", "odd.lib"}) {
            TextFile f;
            ok.push_back(ReadLibraryHeadForDrawing(s, f, path, "X.sch", false).has_value());
        }
    });
    EXPECT_EQ(ok, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(h.lines, (std::vector<std::string>{"GATE LIBRARY NOT FOUND, SCHEMATICS GENERATION ABORTED",
                                                 "NO GATE LIBRARY SPECIFIED, SCHEMATICS GENERATION ABORTED",
                                                 "ILLEGAL GATE LIBRARY, SCHEMATICS GENERATION ABORTED",
                                                 "ILLEGAL GATE LIBRARY, SCHEMATICS GENERATION ABORTED"}));
}

TEST(DrawingLibraryReader, ReadsComponentsAndTheirPins)
{
    StageHarness h;
    WriteFile("my.lib",
              "LIBRARY MINE\n4\n\" comment\n"
              "DFF dff_sym 0L16 0h2 3 * 1 2 -1 5 * * 6 9 6 7 6 10 0 -10 1 2\n"
              "\n"
              "LAST LAST 0H1 * * * * * * * * * * 5 1 * * 5 2 0 0 0 0\n");
    std::optional<GateLibrary> lib;
    bool components = false;
    RunAsStage(h, [&](TSubExec& s) {
        TextFile f;
        lib = ReadLibraryHeadForDrawing(s, f, "my.lib", "X.sch", false);
        if (lib) components = ReadLibraryComponents(s, f, *lib);
    });
    ASSERT_TRUE(lib.has_value());
    ASSERT_TRUE(components);
    EXPECT_EQ(h.lines, (std::vector<std::string>{"CREATING ispTOOLS SCHEMATICS FILE X.sch,", "   USING LIBRARY: MINE",
                                                 "MAXIMUM NUMBER OF GATE INPUTS WILL BE LIMITED TO 4"}));
    ASSERT_EQ(lib->NumComponents, 1);  // the last line of the file is never a component
    EXPECT_EQ(FindComponent(*lib, "LAST"), nullptr);
    const LibraryComponent* dff = FindComponent(*lib, "DFF");
    ASSERT_NE(dff, nullptr);
    EXPECT_EQ(dff->Symbol, "dff_sym");
    EXPECT_EQ(dff->InputPins[0].x, 0);
    EXPECT_EQ(dff->InputPins[0].y, 256);
    EXPECT_TRUE(dff->InputPins[0].ActiveLow);
    EXPECT_FALSE(dff->InputPins[1].ActiveLow);
    EXPECT_EQ(dff->InputPins[2].y, 2048);      // "*": absent, not counted
    EXPECT_TRUE(dff->InputPins[3].ActiveLow);  // two words: pins 4 and 5 are active low
    EXPECT_EQ(dff->InputPins[4].x, -16);
    EXPECT_EQ(dff->NumInputPins, 4);
    EXPECT_FALSE(dff->HasInputPin(3));
    EXPECT_TRUE(dff->HasInputPin(4));
    EXPECT_EQ(dff->NumOutputPins, 2);
    EXPECT_EQ(dff->Size, (LibraryPoint{96, 160}));
    EXPECT_EQ(dff->UprightOffset, (LibraryPoint{0, -160}));
    EXPECT_EQ(dff->TurnedOffset, (LibraryPoint{16, 32}));
}

TEST(DrawingLibraryReader, TooManyOrBadComponentLines)
{
    StageHarness h;
    WriteFile("long.lib", "LIBRARY LONG\n4\n" + ComponentLines(101) + "\" end\n");
    WriteFile("full.lib", "LIBRARY FULL\n4\n" + ComponentLines(100) + "\" end\n");
    WriteFile("bad.lib", "LIBRARY BAD\n4\nAND2 AND2 0H1 0H3 * * * * * * * * 5 2 * * 5 x4 0 0 0 0\n\" end\n");
    WriteFile("short.lib", "LIBRARY SHORT\n4\nAND2 AND2 0H1 0H3 * * * * * * * * 5 2 * * 5 4 0 0 0\n\" end\n");
    std::vector<bool> ok;
    int full = 0;
    RunAsStage(h, [&](TSubExec& s) {
        for (const char* path : {"long.lib", "full.lib", "bad.lib", "short.lib"}) {
            TextFile f;
            auto lib = ReadLibraryHeadForDrawing(s, f, path, "X.sch", false);
            ok.push_back(lib && ReadLibraryComponents(s, f, *lib));
            if (lib && std::string(path) == "full.lib") full = lib->NumComponents;
        }
    });
    EXPECT_EQ(ok, (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(full, 100);
    std::vector<std::string> errors;
    for (const std::string& l : h.lines)
        if (l.rfind("CREATING", 0) != 0 && l.rfind("   USING", 0) != 0 && l.rfind("MAXIMUM", 0) != 0)
            errors.push_back(l);
    EXPECT_EQ(errors, (std::vector<std::string>{"LIBRARY FILE TOO LONG", "", "ERROR READING LIBRARY FILE", "",
                                                "ERROR READING LIBRARY FILE"}));
}

TEST(ShippedLibrary, HasEveryComponentTheNetworkCanAskFor)
{
    StageHarness h;
    WriteFile("GENERICS.LIB", SourceLibrary());
    std::optional<GateLibrary> lib;
    RunAsStage(h, [&](TSubExec& s) {
        TextFile f;
        lib = ReadLibraryHeadForDrawing(s, f, FindFileNoCase("GENERICS.lib"), "X.sch", true);
        if (lib && !ReadLibraryComponents(s, f, *lib)) lib.reset();
    });
    ASSERT_TRUE(lib.has_value()) << h.Output();
    EXPECT_EQ(lib->MaxGateInputs, 3);
    EXPECT_EQ(lib->MaxPlainGateInputs, 4);
    std::vector<std::string> names = {"BUF", "INV",    "DFF",     "TFF", "JKFF", "SRFF",
                                      "IFF", "PORTIN", "PORTOUT", "VDD", "VSS"};
    for (const char* family : {"AND", "OR", "NAND", "NOR"})
        for (int n = 2; n <= 8; ++n) names.push_back(family + std::to_string(n));
    for (const std::string& n : names) {
        const LibraryComponent* c = FindComponent(*lib, n);
        ASSERT_NE(c, nullptr) << n;
        EXPECT_EQ(c->Size.x % kGridUnit, 0) << n;
        EXPECT_EQ(c->Size.y % kGridUnit, 0) << n;
    }
    for (int n = 2; n <= 6; ++n) EXPECT_EQ(FindComponent(*lib, "NAND" + std::to_string(n))->NumInputPins, n);
    const LibraryComponent* dff = FindComponent(*lib, "DFF");
    EXPECT_TRUE(dff->HasInputPin(3) && dff->HasInputPin(4) && dff->HasInputPin(6));
    EXPECT_TRUE(dff->InputPins[3].ActiveLow);
}

}  // namespace
}  // namespace quorlet::test
