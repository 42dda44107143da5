// Single-output mode over hand-written files: the splitter's one-output tables and the
// combiner's merging of one-output covers into the accumulated result.
#include <gtest/gtest.h>

#include "TCombiner.h"
#include "TSplitter.h"
#include "TestSupport.h"
#include "ToolTestSupport.h"

namespace quorlet::test {
namespace {

const std::string kFiveOutputs =
    Lines({".i 3", ".o 5", ".type fdr", ".phase 11111", ".p 3", "000 10~01", "01- ~1~0-", "1-1 0~1~~", ".e"});

class SplitterTest : public ::testing::Test {
protected:
    void Split(const std::string& param)
    {
        TSplitter stage;
        h.Run(stage, param);
    }
    StageHarness h;
};

TEST_F(SplitterTest, ThirdOfFiveOutputsKeepsNoStatementMarks)
{
    WriteFile("exp_tbl.$$$", kFiveOutputs);
    Split("03");
    EXPECT_TRUE(h.lines.empty());
    EXPECT_EQ(ReadFile("exp_tbl.###"),
              Lines({".i 3", ".o 1", ".type fdr", ".phase 1", ".p 3", "000 ~", "01- ~", "1-1 1", ".e"}));
    EXPECT_EQ(ReadFile("exp_tbl.$$$"), kFiveOutputs);
}

TEST_F(SplitterTest, BadNumberIsReportedTwiceAndWritesNothing)
{
    WriteFile("exp_tbl.$$$", Lines({".i 3x", ".o 1", ".p 1", "000 1", ".e"}));
    Split("01");
    EXPECT_EQ(h.lines, std::vector<std::string>({"TEMPORARY FILE FORMAT ERROR", "TEMPORARY FILE FORMAT ERROR"}));
    EXPECT_FALSE(Exists("exp_tbl.###"));
}

TEST_F(SplitterTest, TableWithoutCountLineGivesNoTerms)
{
    WriteFile("exp_tbl.$$$", Lines({".i 3", ".o 2", "000 11"}));
    Split("02");
    EXPECT_EQ(ReadFile("exp_tbl.###"), Lines({".i 3", ".o 1", ".type fdr", ".phase 1", ".p 0", ".e"}));
}

TEST_F(SplitterTest, DamagedTablesAndParametersAreRefused)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> tables = {
        {Lines({".i 3", ".o 5", ".p 2", "000 10~01"}), {"TEMPORARY FILE FORMAT ERROR"}},
        {Lines({".i 3", ".o 5", ".p 1", "00 10~01"}), {"TEMPORARY FILE FORMAT ERROR"}},
    };
    for (const auto& [table, message] : tables) {
        h.lines.clear();
        WriteFile("exp_tbl.$$$", table);
        Split("01");
        EXPECT_EQ(h.lines, message);
        EXPECT_FALSE(Exists("exp_tbl.###"));
    }
    WriteFile("exp_tbl.$$$", kFiveOutputs);
    for (const std::string param : {"", "3", "003", "0x", "00", "06"}) {
        SCOPED_TRACE(param);
        h.lines.clear();
        Split(param);
        EXPECT_EQ(h.lines, std::vector<std::string>({"SPLITTER: ERROR READING COMMAND LINE PARAMETER"}));
        EXPECT_FALSE(Exists("exp_tbl.###"));
    }
    std::filesystem::remove("exp_tbl.$$$");
    h.lines.clear();
    Split("01");
    EXPECT_EQ(h.lines,
              std::vector<std::string>({"FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE", "TEMPORARY FILE FORMAT ERROR"}));
}

TEST_F(SplitterTest, TableBeyondTheStoreIsRefusedForTheWholeRun)
{
    std::string table = Lines({".i 11", ".o 1", ".p 2001"});
    for (int i = 0; i < 2001; ++i) {
        std::string bits;
        for (int b = 10; b >= 0; --b) bits += ((i >> b) & 1) ? '1' : '0';
        table += bits + " 1\n";
    }
    WriteFile("exp_tbl.$$$", table + ".e\n");
    WriteFile("exp_tbl.###", "left from the column before\n");
    WriteFile("exp_log.$$$", "-o esp_tbl.$$$ exp_tbl.$$$\n");
    Split("01");
    EXPECT_EQ(h.lines, std::vector<std::string>({"CAN'T HANDLE MORE THAN 2000 TERMS", "TEMPORARY FILE FORMAT ERROR"}));
    EXPECT_FALSE(Exists("exp_tbl.###"));
    EXPECT_EQ(ReadFile("exp_log.$$$"), "ERROR\n");
}

class CombinerTest : public ::testing::Test {
protected:
    void Combine(const std::string& oneOutput)
    {
        WriteFile("esp_tbl.###", oneOutput);
        TCombiner stage;
        h.Run(stage);
    }
    static std::string OneOutput(std::initializer_list<std::string> terms, const std::string& outputs = "1")
    {
        std::string text = Lines({".i 2", ".o " + outputs, "#.phase 1", ".p " + std::to_string(terms.size())});
        for (const auto& t : terms) text += t + " 1\n";
        return text + ".e\n";
    }
    StageHarness h;
};

TEST_F(CombinerTest, SecondColumnSharesEqualInputParts)
{
    Combine(OneOutput({"1-", "01"}));
    EXPECT_EQ(ReadFile("esp_tbl.$$$"), Lines({".i 2", ".o 1", "#.phase 1", ".p 2", "1- 1", "01 1", ".e"}));
    Combine(OneOutput({"1-", "11"}));
    EXPECT_TRUE(h.lines.empty());
    EXPECT_EQ(ReadFile("esp_tbl.$$$"), Lines({".i 2", ".o 2", "#.phase 11", ".p 3", "1- 11", "01 10", "11 01", ".e"}));
    // An empty cover still adds its column.
    Combine(OneOutput({}));
    EXPECT_EQ(ReadFile("esp_tbl.$$$"),
              Lines({".i 2", ".o 3", "#.phase 111", ".p 3", "1- 110", "01 100", "11 010", ".e"}));
}

TEST_F(CombinerTest, FaultyOneOutputCoverLeavesTheResultAsItWas)
{
    Combine(OneOutput({"1-", "01"}));
    const std::string merged = ReadFile("esp_tbl.$$$");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {OneOutput({"11"}, "2"), "TEMPORARY FILE ERROR"},
        {OneOutput({"11"}, "x"), "NUMBER CHECK ERROR"},
        {Lines({".i 3", ".o 1", ".p 1", "111 1"}), "TEMPORARY FILE ERROR"},
        {Lines({".i 2", ".o 1", ".p 1", "11 10"}), "TEMPORARY FILE ERROR"},
        {Lines({".i 2", ".o 1", ".p 2", "11 1"}), "TEMPORARY FILE ERROR"},
        {Lines({".i 2", ".o 1", ".p 1", "111 1"}), "TEMPORARY FILE ERROR"},
    };
    ExpectFaultsKeepTheCover(
        h, cases, [&](const std::string& cover) { Combine(cover); }, merged);
    std::filesystem::remove("esp_tbl.###");
    h.lines.clear();
    TCombiner stage;
    h.Run(stage);
    EXPECT_EQ(h.lines, std::vector<std::string>({"FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE"}));
}

TEST_F(CombinerTest, DamagedAccumulatedResultIsNotRewritten)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {Lines({".i 2", ".o 1", ".p 3", "1- 1"}), {"TEMPORARY FILE FORMAT ERROR"}},
        {Lines({".i 2", ".o 1", ".p 1", "1- 11"}), {"TEMPORARY FILE FORMAT ERROR"}},
        {Lines({".i 2", ".o 1", ".p -1", "1- 1"}), {"NUMBER CHECK ERROR", "TEMPORARY FILE FORMAT ERROR"}},
    };
    for (const auto& [accumulated, messages] : cases) {
        h.lines.clear();
        WriteFile("esp_tbl.$$$", accumulated);
        Combine(OneOutput({"11"}));
        EXPECT_EQ(h.lines, messages);
        EXPECT_EQ(ReadFile("esp_tbl.$$$"), accumulated);
    }
}

TEST_F(CombinerTest, TwoThousandAndFirstDistinctTermIsTooLong)
{
    auto cover = [](int count) {
        std::string text = Lines({".i 11", ".o 1", ".p " + std::to_string(count)});
        for (int i = 0; i < count; ++i) {
            std::string bits;
            for (int b = 10; b >= 0; --b) bits += ((i >> b) & 1) ? '1' : '0';
            text += bits + " 1\n";
        }
        return text;
    };
    Combine(cover(2000));
    EXPECT_TRUE(h.lines.empty());
    const std::string full = ReadFile("esp_tbl.$$$");
    EXPECT_NE(full.find(".p 2000\n"), std::string::npos);
    // The same 2000 terms share; one more distinct term does not fit.
    Combine(cover(2001));
    EXPECT_EQ(h.lines, std::vector<std::string>({"MINIMIZED TABLE TOO LONG"}));
    EXPECT_EQ(ReadFile("esp_tbl.$$$"), full);
}

}  // namespace
}  // namespace quorlet::test
