// Table output and logic equations, from the adder and from covers built to hit the line rules.
#include <gtest/gtest.h>

#include "ConvertFixtures.h"
#include "TConvert1.h"
#include "TConvert2.h"

namespace quorlet::test {
namespace {

const std::vector<std::string> kAdderStatistics = {
    "MINIMIZATION RESULT STATISTICS",  "==============================",   "FOUND 7 ESSENTIAL PRODUCT TERMS",
    "MAXIMUM FANIN:                6", "TOTAL LITERAL COUNT:          25", "MAXIMUM PRODUCT TERM SIZE:    3",
    "MAXIMUM OUTPUT FUNCTION SIZE: 4"};

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return text;
}

TEST(TableOutput, NamesWrittenDownwardsOverTheTerms)
{
    StageHarness h;
    LogFixture fixture{.resultFile = "adder.min"};
    WriteCoverFiles(fixture, {"1-1 01", "11- 01"});
    WriteFile("adder.min", "HEAD\n");
    TConvert1 stage;
    h.Run(stage);
    const std::vector<std::string> table = {"========", "       C", "  C   SO", "  I   UU",
                                            "ABN   MT", "========", "1-1 | .1", "11- | .1"};
    std::vector<std::string> statistics = {
        "MINIMIZATION RESULT STATISTICS",  "==============================",  "FOUND 2 ESSENTIAL PRODUCT TERMS",
        "MAXIMUM FANIN:                2", "TOTAL LITERAL COUNT:          6", "MAXIMUM PRODUCT TERM SIZE:    2",
        "MAXIMUM OUTPUT FUNCTION SIZE: 2"};
    std::vector<std::string> console = {""};
    console.insert(console.end(), statistics.begin(), statistics.end());
    console.push_back("");
    console.insert(console.end(), table.begin(), table.end());
    EXPECT_EQ(h.lines, console);
    EXPECT_EQ(ReadFile("adder.min"), "HEAD\n\n" + Joined(statistics) + "\n" + Joined(table));
}

TEST(TableOutput, EmptyCoverAndMissingResultFile)
{
    StageHarness h;
    LogFixture fixture{.resultFile = "t.min", .inputs = {"X"}, .outputs = {"F"}};
    WriteCoverFiles(fixture, {});
    WriteFile("t.min", "");
    TConvert1 stage;
    h.Run(stage);
    EXPECT_EQ(ReadFile("t.min").substr(ReadFile("t.min").size() - 19), "\n=====\nX   F\n=====\n");

    std::remove("t.min");
    h.lines.clear();
    TConvert1 again;
    h.Run(again);
    EXPECT_EQ(h.lines, (std::vector<std::string>{"", "ERROR OPENING OUTPUT FILE"}));
    EXPECT_FALSE(Exists("t.min"));
}

TEST(LogicEquations, AdderRepresentationTableAndEquations)
{
    StageHarness h;
    WriteCoverFiles(LogFixture{}, kAdderTerms);
    WriteFile("adder.equ", "HEAD\n");
    TConvert2 stage;
    h.Run(stage);
    const std::vector<std::string> body = {"INPUT SIGNAL  |  OUTPUT SIGNAL  REPRESENTATION",
                                           "",
                                           "A : A         C : CIN           |       Y : SUM       ",
                                           "B : B                           |       Z : COUT      ",
                                           "",
                                           "MINIMIZED EQUATIONS",
                                           "",
                                           "Y = A'B'C + A'BC' + AB'C' + ABC",
                                           "Z = AB + AC + BC"};
    EXPECT_EQ(ReadFile("adder.equ"), "HEAD\n\n" + Joined(kAdderStatistics) + "\n" + Joined(body));
    std::vector<std::string> console = {""};
    console.insert(console.end(), kAdderStatistics.begin(), kAdderStatistics.end());
    console.push_back("");
    console.insert(console.end(), body.begin(), body.end());
    EXPECT_EQ(h.lines, console);
}

TEST(LogicEquations, ProductOfSumsOffCoverAndConstants)
{
    StageHarness h;
    LogFixture fixture{.pos = true};
    // The minimizer's cover of the OFF points: each factor's literals come back complemented.
    WriteCoverFiles(fixture, {"000 10", "011 10", "101 10", "110 10", "00- 01", "0-0 01", "-00 01"});
    WriteFile("adder.equ", "");
    TConvert2 pos;
    h.Run(pos);
    EXPECT_NE(ReadFile("adder.equ").find("\nY = (A+B+C).(A+B'+C').(A'+B+C').(A'+B'+C)\nZ = (A+B).(A+C).(B+C)\n"),
              std::string::npos);

    MinimizedCover cover;
    cover.InputNames = {"A", "B"};
    cover.OutputNames = {"F", "G", "H"};
    cover.NumInputs = 2;
    cover.NumOutputs = 3;
    cover.OffCover = true;
    cover.Terms = {{"--", "0.."}, {"1-", ".0."}, {"-0", ".0."}};
    cover.NumTerms = 3;
    EXPECT_EQ(FormatEquation(cover, 0), std::vector<std::string>{"X' = 1"});
    EXPECT_EQ(FormatEquation(cover, 1), std::vector<std::string>{"Y' = A + B'"});
    EXPECT_EQ(FormatEquation(cover, 2), std::vector<std::string>{"Z' = 0"});
}

TEST(LogicEquations, LongEquationsBreakBeforeColumn80)
{
    MinimizedCover cover;
    cover.InputNames = {"I1", "I2", "I3", "I4", "I5", "I6", "I7", "I8"};
    cover.OutputNames = {"F"};
    cover.NumInputs = 8;
    cover.NumOutputs = 1;
    cover.Terms = {{"00000000", "1"}, {"00000001", "1"}, {"00000010", "1"}, {"00000011", "1"}, {"00000100", "1"}};
    cover.NumTerms = 5;
    EXPECT_EQ(FormatEquation(cover, 0),
              (std::vector<std::string>{"Z = A'B'C'D'E'F'G'H' + A'B'C'D'E'F'G'H + A'B'C'D'E'F'GH' + A'B'C'D'E'F'GH",
                                        "     + A'B'C'D'E'FG'H'"}));

    // A first term that reaches column 80 leaves the letter alone on its line.
    cover.NumInputs = 40;
    cover.InputNames.resize(40, "S");
    cover.Terms = {{std::string(40, '0'), "1"}, {std::string(40, '1'), "1"}};
    cover.NumTerms = 2;
    std::vector<std::string> lines = FormatEquation(cover, 0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Z = ");
    EXPECT_EQ(lines[1].substr(0, 8), "    A'B'");
    EXPECT_EQ(lines[2].substr(0, 11), "     + ABCD");

    // Products of sums break the same way; every continued factor keeps its ".".
    cover.ProductOfSums = true;
    cover.NumInputs = 8;
    cover.InputNames.resize(8);
    cover.Terms.assign(7, CoverTerm{"00000000", "1"});
    cover.NumTerms = 7;
    lines = FormatEquation(cover, 0);
    const std::string factor = "(A'+B'+C'+D'+E'+F'+G'+H')";
    EXPECT_EQ(lines, (std::vector<std::string>{"Z = " + factor + "." + factor, "    ." + factor + "." + factor,
                                               "    ." + factor + "." + factor, "    ." + factor}));
    for (const auto& line : lines) EXPECT_LE(line.size(), 255u);
}

TEST(LogicEquations, RepresentationRowsAndNullDevice)
{
    StageHarness h;
    MinimizedCover cover;
    cover.InputNames = {"A", "B", "C", "D", "E", "F", "LONG_INPUT_NAME"};
    cover.OutputNames = {"OUT"};
    cover.NumInputs = 7;
    cover.NumOutputs = 1;
    std::vector<std::string> rows = FormatRepresentationTable(cover);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0],
              "A : A         E : E         "
              "    |       "
              "Z : OUT       ");
    EXPECT_EQ(rows[2],
              "C : C         G : LONG_INPUT_NAME"
              "    |       " +
                  std::string(14, ' '));
    EXPECT_EQ(rows[3], "D : D         " + std::string(14, ' ') + "    |       " + std::string(14, ' '));

    LogFixture fixture{.resultFile = "nul"};
    WriteCoverFiles(fixture, kAdderTerms);
    TConvert2 stage;
    h.Run(stage);
    EXPECT_FALSE(Exists("nul"));
    EXPECT_EQ(h.lines.back(), "Z = AB + AC + BC");
}

}  // namespace
}  // namespace quorlet::test
