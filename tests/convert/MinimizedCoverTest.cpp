// The converters' reading of the settings log and the minimized table, and the statistics block.
#include <gtest/gtest.h>

#include <cstdio>

#include "ConvertFixtures.h"
#include "MinimizedCover.h"
#include "TConvert1.h"

namespace quorlet::test {
namespace {

MinimizedCover ReadLog(const std::string& text)
{
    WriteFile("exp_log.$$$", text);
    TextFile file;
    EXPECT_TRUE(file.OpenRead("exp_log.$$$"));
    MinimizedCover cover;
    cover.ReadSettingsLog(file);
    return cover;
}

MinimizedCover ReadCover(const LogFixture& log, const std::string& table, int maxTerms = kMaxCoverTerms)
{
    MinimizedCover cover = ReadLog(LogText(log));
    WriteFile("esp_tbl.$$$", table);
    TextFile file;
    EXPECT_TRUE(file.OpenRead("esp_tbl.$$$"));
    cover.ReadMinimizedTable(file, maxTerms);
    return cover;
}

TEST(SettingsLogReading, TakesNamesOptionsModesAndTail)
{
    TempWorkDir dir;
    LogFixture fixture;
    fixture.resultFile = "Traffic.Abl";
    fixture.tableFile = "Traffic.tbl";
    fixture.options = "-Fab jk 3";
    fixture.title = "lights";
    fixture.inputs = {"q1", "q2", "q3", "a", "b", "c", "d", "e", "f"};
    fixture.outputs = {"j1", "k1"};
    fixture.pos = fixture.off = true;
    fixture.tail = {"INV", "REG_OUT"};
    MinimizedCover cover = ReadLog(LogText(fixture));
    EXPECT_FALSE(cover.Failed);
    EXPECT_EQ(cover.OutputFileName, "Traffic.Abl");
    EXPECT_EQ(cover.TableFileName, "Traffic.tbl");
    EXPECT_EQ(cover.NodeExtension, "AB");
    EXPECT_TRUE(cover.IsStateMachine);
    EXPECT_EQ(cover.FlipFlopType, "JK");
    EXPECT_EQ(cover.FlipFlopCount, 3);
    EXPECT_EQ(cover.TitleLine, "LIGHTS");
    ASSERT_EQ(cover.NumInputs, 9);  // wrapped over two INPUT lines
    EXPECT_EQ(cover.InputNames[8], "F");
    EXPECT_EQ(cover.OutputNames, (std::vector<std::string>{"J1", "K1"}));
    EXPECT_TRUE(cover.ProductOfSums && cover.OffCover && cover.InvFlag && cover.RegOutFlag);

    fixture.options.clear();
    fixture.pos = fixture.off = false;
    fixture.tail.clear();
    cover = ReadLog(LogText(fixture));
    EXPECT_FALSE(cover.Failed);
    EXPECT_FALSE(cover.IsStateMachine || cover.ProductOfSums || cover.OffCover || cover.InvFlag || cover.RegOutFlag);
    EXPECT_EQ(cover.FlipFlopCount, 0);
    EXPECT_EQ(cover.NodeExtension, "");

    // A word that begins with a double quote or "#" ends the name list of its line.
    std::string text = LogText(LogFixture{});
    text.replace(text.find("INPUT A B CIN"), 13, "INPUT A \"B CIN\n\" note\nINPUT #C\nINPUT Z");
    cover = ReadLog(text);
    EXPECT_FALSE(cover.Failed);
    EXPECT_EQ(cover.InputNames, (std::vector<std::string>{"A", "Z"}));
}

TEST(SettingsLogReading, MalformedLogsFailSilently)
{
    StageHarness h;
    LogFixture fixture;
    const std::string good = LogText(fixture);
    std::string noErrorsMissing = good.substr(0, good.find("NO_ERRORS")) + "BROKEN\n";
    std::string badCount = LogText(LogFixture{.options = "-F D 1x"});
    std::string cutInLists = good.substr(0, good.find("OUTPUT"));
    for (const std::string& text : {std::string("ERROR\n"), noErrorsMissing, badCount, cutInLists}) {
        EXPECT_TRUE(ReadLog(text).Failed) << text;
        WriteFile("adder.equ", "HEAD\n");
        WriteFile("exp_log.$$$", text);
        WriteFile("esp_tbl.$$$", TableText(3, 2, kAdderTerms));
        h.lines.clear();
        TConvert1 stage;
        h.Run(stage);
        EXPECT_TRUE(h.lines.empty()) << h.Output();
        EXPECT_EQ(ReadFile("adder.equ"), "HEAD\n");
    }
    // An empty or "-" count is taken as 128 without error.
    MinimizedCover cover = ReadLog(LogText(LogFixture{.options = "-F D"}));
    EXPECT_FALSE(cover.Failed);
    EXPECT_EQ(cover.FlipFlopCount, 128);
    EXPECT_EQ(cover.StateCount(), 2);  // limited to the signal lists
}

TEST(MinimizedTableReading, TransformsTermsByMode)
{
    TempWorkDir dir;
    LogFixture fixture{.inputs = {"A", "B", "C", "D"}, .outputs = {"X", "Y", "Z"}};
    const std::string table = ".i 4\n.o 3\n.type fr\n.p 2\n10-1 101\n\n   \n0011 010\n.e\n";
    MinimizedCover sop = ReadCover(fixture, table);
    ASSERT_FALSE(sop.Failed);
    ASSERT_EQ(sop.NumTerms, 2);  // blank lines neither stored nor counted
    EXPECT_EQ(sop.Terms[0], (CoverTerm{"10-1", "1.1"}));
    EXPECT_EQ(sop.Terms[1], (CoverTerm{"0011", ".1."}));

    fixture.off = true;
    EXPECT_EQ(ReadCover(fixture, table).Terms[0], (CoverTerm{"10-1", "0.0"}));
    fixture.off = false;
    fixture.pos = true;
    EXPECT_EQ(ReadCover(fixture, table).Terms[0], (CoverTerm{"01-0", "1.1"}));
}

TEST(MinimizedTableReading, ProductOfSumsNormalisesConstantOutputs)
{
    TempWorkDir dir;
    LogFixture fixture{.inputs = {"A", "B", "C"}, .outputs = {"X", "Y", "Z"}, .pos = true};
    // X only has the universal factor (constant 0), Z has no factor (constant 1).
    MinimizedCover cover = ReadCover(fixture, TableText(3, 3, {"--- 100", "1-0 010"}));
    ASSERT_FALSE(cover.Failed);
    EXPECT_EQ(cover.Terms, (std::vector<CoverTerm>{{"0-1", ".1."}, {"---", "..1"}}));
    EXPECT_EQ(cover.NumTerms, 2);

    cover = ReadCover(fixture, TableText(3, 3, {}));
    EXPECT_EQ(cover.Terms, (std::vector<CoverTerm>{{"---", "111"}}));
}

TEST(MinimizedTableReading, RefusesTablesThatEndEarlyOrOverflow)
{
    StageHarness h;
    LogFixture fixture;
    struct Case {
        std::string table;
        std::string message;
    };
    const std::vector<Case> cases = {
        {".i 3\n.o 2\n.p 3\n", "FATAL:  MINIMIZED TABLE ENDS BEFORE ITS LAST TERM"},
        {".i 3\n.o 2\n#\n.p 3\n001 10\n\n010 10\n", "FATAL:  MINIMIZED TABLE ENDS BEFORE ITS LAST TERM"},
        {".i 3\n.o 2\n#\n.p 2001\n", "FATAL:  MINIMIZED TABLE TOO LONG TO BE CONVERTED"},
        {".i 3\n.o 2\n#\n.p 99999999999999999999\n", "FATAL:  MINIMIZED TABLE TOO LONG TO BE CONVERTED"},
    };
    for (const Case& c : cases) {
        WriteFile("adder.equ", "HEAD\n");
        WriteFile("exp_log.$$$", LogText(fixture));
        WriteFile("esp_tbl.$$$", c.table);
        h.lines.clear();
        TConvert1 stage;
        h.Run(stage);
        EXPECT_EQ(h.lines, std::vector<std::string>{c.message}) << c.table;
        EXPECT_EQ(ReadFile("adder.equ"), "HEAD\n");
    }
    // The term appended in product-of-sums mode counts against the store as well.
    fixture.pos = true;
    MinimizedCover cover = ReadCover(fixture, TableText(3, 2, {"001 10", "010 10"}), 2);
    EXPECT_TRUE(cover.Failed);
    EXPECT_EQ(cover.Problem, CoverReadProblem::TooManyTerms);

    h.lines.clear();
    std::remove("esp_tbl.$$$");
    TConvert1 stage;
    h.Run(stage);
    EXPECT_EQ(h.lines, std::vector<std::string>{"ERROR OPENING TEMPORARY FILES"});
}

TEST(Statistics, ExampleLayoutOnConsoleAndFileWithPrefix)
{
    StageHarness h;
    MinimizedCover cover;
    cover.InputNames = {"A", "B", "C"};
    cover.OutputNames = {"SUM", "CARRY_OUT_DELAYED"};
    cover.NumInputs = 3;
    cover.NumOutputs = 2;
    cover.Terms = {{"11-", "11"}, {"1--", "1."}, {"-11", ".1"}};
    cover.NumTerms = 3;
    TextFile file;
    ASSERT_TRUE(file.OpenWrite("stats.txt"));
    WriteStatistics(cover, &file, StatisticsOptions{.prefix = "\" "});
    file.Close();
    const std::vector<std::string> block = {
        "MINIMIZATION RESULT STATISTICS",  "==============================",  "FOUND 3 ESSENTIAL PRODUCT TERMS",
        "MAXIMUM FANIN:                2", "TOTAL LITERAL COUNT:          9", "MAXIMUM PRODUCT TERM SIZE:    2",
        "MAXIMUM OUTPUT FUNCTION SIZE: 2"};
    std::vector<std::string> console = block;
    console.push_back("");
    EXPECT_EQ(h.lines, console);
    std::string expected = "\n";
    for (const auto& line : block) expected += "\" " + line + "\n";
    EXPECT_EQ(ReadFile("stats.txt"), expected + "\n");

    cover.Terms = {{"11-", "11"}, {"1--", "1."}, {"-11", "1."}, {"0-1", "1."}};
    cover.NumTerms = 4;
    cover.ProductOfSums = true;
    std::vector<std::string> lines = FormatStatistics(cover, StatisticsOptions{.withIndividualSizes = true});
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[2], "FOUND 4 ESSENTIAL FACTORS IN PRODUCT OF SUMS MODE");
    EXPECT_EQ(lines[5], "MAXIMUM FACTOR SIZE:          2");
    EXPECT_EQ(lines[7], "INDIVIDUAL OUTPUT FUNCTION SIZE:");
    EXPECT_EQ(lines[8], "    1:         SUM            4");
    EXPECT_EQ(lines[9], "    2:         CARRY_OUT_DELAYED1");

    MinimizedCover empty;
    empty.OffCover = true;
    lines = FormatStatistics(empty, {});
    EXPECT_EQ(lines[2], "FOUND 0 ESSENTIAL PRODUCT TERMS WITHIN OFF-COVER");
    EXPECT_EQ(lines[3], "MAXIMUM FANIN:                0");
    EXPECT_EQ(lines[6], "MAXIMUM OUTPUT FUNCTION SIZE: 0");
}

}  // namespace
}  // namespace quorlet::test
