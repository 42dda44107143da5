// Moore realisation over hand-written files: the check of the first-pass cover with the split
// for the second pass, and the combination of the two second-pass covers.
#include <gtest/gtest.h>

#include "TMOOR_CHK.h"
#include "TMOOR_CMB.h"
#include "TestSupport.h"
#include "ToolTestSupport.h"

namespace quorlet::test {
namespace {

// Two state variables, one input X, one output Y, D flip-flops: A = 2, B = 2.
const std::string kLog = Lines({"-o esp_tbl.$$$ exp_tbl.$$$", "", "M.min M.tbl", "", "", "", "INPUT Q1 Q0 X", "",
                                "OUTPUT D1 D0 Y", "", "NO_ERRORS", "1 1 2 2"});

const std::string kExpanded =
    Lines({".i 3", ".o 3", ".type fdr", ".phase 111", ".p 4", "000 01~", "001 10~", "01- 001", "1-- 000", ".e"});

std::string Minimized(std::initializer_list<std::string> terms, int outputs = 3, const std::string& keyword = ".p")
{
    std::string text =
        Lines({".i 3", ".o " + std::to_string(outputs), "#.phase 111", keyword + " " + std::to_string(terms.size())});
    for (const auto& t : terms) text += t + "\n";
    return text + ".e\n";
}

class MooreCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile("exp_log.$$$", kLog);
        WriteFile("exp_tbl.$$$", kExpanded);
    }
    void Check()
    {
        TMOOR_CHK stage;
        h.Run(stage);
    }
    StageHarness h;
};

TEST_F(MooreCheckTest, OutputsFromStateVariablesOnlyNeedNoSecondPass)
{
    // The input X drives next-state columns only; the output uses Q1 Q0 alone.
    WriteFile("esp_tbl.$$$", Minimized({"001 010", "0-1 100", "01- 001"}));
    Check();
    EXPECT_TRUE(h.lines.empty());
    EXPECT_FALSE(Exists("exp_tbl.###"));
    EXPECT_EQ(ReadFile("exp_tbl.$$$"), kExpanded);
}

TEST_F(MooreCheckTest, InputDependentOutputSplitsTheExpandedTable)
{
    WriteFile("esp_tbl.$$$", Minimized({"0-1 101"}, 3, ".P"));
    Check();
    EXPECT_TRUE(h.lines.empty());
    EXPECT_EQ(ReadFile("exp_tbl.###"),
              Lines({".i 3", ".o 1", ".type fdr", ".phase 1", ".p 4", "000 ~", "001 ~", "01- 1", "1-- 0", ".e"}));
    EXPECT_EQ(ReadFile("exp_tbl.$$$"),
              Lines({".i 3", ".o 2", ".type fdr", ".phase 11", ".p 4", "000 01", "001 10", "01- 00", "1-- 00", ".e"}));
}

TEST_F(MooreCheckTest, NoPrimaryOutputsOrNoPrimaryInputsNeverSplit)
{
    WriteFile("esp_tbl.$$$", Minimized({"0-1 101"}));
    WriteFile("exp_log.$$$", Lines({"NO_ERRORS", "1 1 2 3"}));
    Check();
    WriteFile("exp_log.$$$", Lines({"NO_ERRORS", "1 1 3 2"}));
    Check();
    EXPECT_TRUE(h.lines.empty());
    EXPECT_FALSE(Exists("exp_tbl.###"));
}

TEST_F(MooreCheckTest, FileFaultsGiveTheirNumberedMessages)
{
    struct Case {
        std::string log, minimized, expanded;
        std::vector<std::string> messages;
    };
    const std::string split = Minimized({"0-1 101"});
    const std::vector<Case> cases = {
        {"", split, kExpanded, {"ERROR OPENING TEMPORARY FILE 1"}},
        {Lines({"X", "NO_ERRORS"}), split, kExpanded, {"ERROR OPENING TEMPORARY FILE 2"}},
        {Lines({"no_errors", "1 1 2 x"}), split, kExpanded, {"NUMBER CHECK ERROR"}},
        {kLog, "", kExpanded, {"FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 3", "TEMPORARY FILE FORMAT ERROR 4"}},
        {kLog, Lines({".i 3", ".o 3", ".p 2", "0-1 101"}), kExpanded, {"TEMPORARY FILE FORMAT ERROR 4"}},
        {kLog,
         Lines({".i 3", ".o 3", ".p 2y", "0-1 101"}),
         kExpanded,
         {"NUMBER CHECK ERROR", "TEMPORARY FILE FORMAT ERROR 4"}},
        {kLog, split, "", {"FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 5", "TEMPORARY FILE FORMAT ERROR 6"}},
        {kLog, split, Lines({".i 3", ".o 3", ".p 2", "000 01~", "00 10~"}), {"TEMPORARY FILE FORMAT ERROR 6"}},
        {kLog, split, Lines({".i 3", ".o 3", ".p 2", "000 01~"}), {"TEMPORARY FILE FORMAT ERROR 6"}},
        // The log's columns do not fit the expanded table.
        {Lines({"NO_ERRORS", "1 1 2 4"}), Minimized({"0-1 10101"}, 5), kExpanded, {"TEMPORARY FILE FORMAT ERROR 6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messages.back());
        h.lines.clear();
        std::filesystem::remove("exp_log.$$$");
        std::filesystem::remove("esp_tbl.$$$");
        std::filesystem::remove("exp_tbl.$$$");
        if (!c.log.empty()) WriteFile("exp_log.$$$", c.log);
        if (!c.minimized.empty()) WriteFile("esp_tbl.$$$", c.minimized);
        if (!c.expanded.empty()) WriteFile("exp_tbl.$$$", c.expanded);
        Check();
        EXPECT_EQ(h.lines, c.messages);
        EXPECT_FALSE(Exists("exp_tbl.###"));
        if (!c.expanded.empty()) {
            EXPECT_EQ(ReadFile("exp_tbl.$$$"), c.expanded);
        }
    }
}

TEST_F(MooreCheckTest, ExpandedTableBeyondTheStoreRefusesTheRun)
{
    std::string table = Lines({".i 3", ".o 3", ".p 2001"});
    for (int i = 0; i < 2001; ++i) table += "000 01~\n";
    WriteFile("exp_tbl.$$$", table + ".e\n");
    WriteFile("esp_tbl.$$$", Minimized({"0-1 101"}));
    Check();
    EXPECT_EQ(h.lines,
              std::vector<std::string>({"CAN'T HANDLE MORE THAN 2000 TERMS", "TEMPORARY FILE FORMAT ERROR 6"}));
    EXPECT_FALSE(Exists("exp_tbl.###"));
    EXPECT_EQ(ReadFile("exp_log.$$$"), "ERROR\n");
}

class MooreCombinationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile("exp_log.$$$", kLog);
        WriteFile("exp_tbl.###", "second-pass output table\n");
        WriteFile("esp_tbl.$$$", Lines({".i 3", ".o 2", "#.phase 11", ".p 2", "00- 10", "1-- 01", ".e"}));
    }
    void Combine(const std::string& outputCover)
    {
        WriteFile("esp_tbl.###", outputCover);
        TMOOR_CMB stage;
        h.Run(stage);
    }
    StageHarness h;
};

TEST_F(MooreCombinationTest, OutputTermsShareOrJoinAndTheSecondPassFilesGo)
{
    Combine(Lines({".i 3", ".o 1", ".p 2", "00- 1", "11- 1", ".e"}));
    EXPECT_TRUE(h.lines.empty());
    EXPECT_EQ(ReadFile("esp_tbl.$$$"),
              Lines({".i 3", ".o 3", "#.phase 111", ".p 3", "00- 101", "1-- 010", "11- 001", ".e"}));
    EXPECT_FALSE(Exists("exp_tbl.###"));
    EXPECT_FALSE(Exists("esp_tbl.###"));
}

TEST_F(MooreCombinationTest, EmptyOutputCoverAddsZeroColumns)
{
    Combine(Lines({".i 3", ".o 1", ".p 0", ".e"}));
    EXPECT_EQ(ReadFile("esp_tbl.$$$"), Lines({".i 3", ".o 3", "#.phase 111", ".p 2", "00- 100", "1-- 010", ".e"}));
    EXPECT_FALSE(Exists("exp_tbl.###"));
}

TEST_F(MooreCombinationTest, InputLiteralKeepsTheMarkerAndErasesNoUserFile)
{
    WriteFile("M.min", "result\n");
    WriteFile("M.tbl", "table\n");
    WriteFile("M.min M.tbl", "a file named like the log's third line\n");
    Combine(Lines({".i 3", ".o 1", ".p 1", "0-1 1", ".e"}));
    EXPECT_TRUE(h.lines.empty());
    EXPECT_TRUE(Exists("exp_tbl.###"));
    EXPECT_TRUE(Exists("M.min"));
    EXPECT_TRUE(Exists("M.tbl"));
    EXPECT_TRUE(Exists("M.min M.tbl"));
    EXPECT_EQ(ReadFile("esp_tbl.$$$"),
              Lines({".i 3", ".o 3", "#.phase 111", ".p 3", "00- 100", "1-- 010", "0-1 001", ".e"}));
}

TEST_F(MooreCombinationTest, FaultsLeaveEverythingInPlace)
{
    const std::string nextState = ReadFile("esp_tbl.$$$");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {Lines({".i 4", ".o 1", ".p 1", "00-- 1"}), "TEMPORARY FILE ERROR"},
        {Lines({".i 3", ".o 1", ".p 1", "00- 11"}), "TEMPORARY FILE ERROR"},
        {Lines({".i 3", ".o 1", ".p 1", "00 1"}), "TEMPORARY FILE ERROR"},
        {Lines({".i 3", ".o 1", ".p 2", "00- 1"}), "TEMPORARY FILE ERROR"},
        {Lines({".i 3", ".o z", ".p 1", "00- 1"}), "NUMBER CHECK ERROR"},
    };
    ExpectFaultsKeepTheCover(
        h, cases, [&](const std::string& cover) { Combine(cover); }, nextState,
        [] {
            EXPECT_TRUE(Exists("exp_tbl.###"));
            EXPECT_TRUE(Exists("esp_tbl.###"));
        });
    h.lines.clear();
    WriteFile("esp_tbl.$$$", Lines({".i 3", ".o 2", ".p 2", "00- 10"}));
    Combine(Lines({".i 3", ".o 1", ".p 0"}));
    EXPECT_EQ(h.lines, std::vector<std::string>({"TEMPORARY FILE FORMAT ERROR"}));
    EXPECT_TRUE(Exists("exp_tbl.###"));

    h.lines.clear();
    WriteFile("exp_log.$$$", Lines({"line 1", "", "M.min M.tbl", "NO_ERRORS"}));
    Combine(Lines({".i 3", ".o 1", ".p 0"}));
    EXPECT_EQ(h.lines, std::vector<std::string>({"ERROR OPENING TEMPORARY FILE 2"}));
}

TEST_F(MooreCombinationTest, JoinedCoverBeyondTheStoreIsTooLong)
{
    std::string nextState = Lines({".i 11", ".o 1", "#.phase 1", ".p 2000"});
    for (int i = 0; i < 2000; ++i) {
        std::string bits;
        for (int b = 10; b >= 0; --b) bits += ((i >> b) & 1) ? '1' : '0';
        nextState += bits + " 1\n";
    }
    WriteFile("esp_tbl.$$$", nextState);
    Combine(Lines({".i 11", ".o 1", ".p 2", "00000000000 1", "11111111111 1"}));
    EXPECT_EQ(h.lines, std::vector<std::string>({"MINIMIZED TABLE TOO LONG"}));
    EXPECT_EQ(ReadFile("esp_tbl.$$$"), nextState);
    EXPECT_TRUE(Exists("exp_tbl.###"));
}

}  // namespace
}  // namespace quorlet::test
