// The completeness check over hand-written intermediate files: what it shows, asks, reports in
// the result file and adds to the cover table, and how it aborts a run.
#include <gtest/gtest.h>

#include "TSUPPLMNT.h"
#include "TestSupport.h"

namespace quorlet::test {
namespace {

const std::string kPrompt = "SELECTED COVER: ( 1 = ON; - = DC; 0 = OFF; Q = Abort ) > ";

std::string FunctionLog(const std::string& counts = "2 2 0 0")
{
    return Lines({"-o esp_tbl.$$$ exp_tbl.$$$", "", "T.min T.tbl", "", "DEMO", "", "INPUT A B", "", "OUTPUT F G", "",
                  "NO_ERRORS", counts});
}

const std::string kCoverTable =
    Lines({".i 2", ".o 2", ".type fdr", ".phase 11", ".p 3", "00 10", "01 01", "1- 1~", ".e"});

std::string MissingCover(std::initializer_list<std::string> terms)
{
    std::string text = Lines({".i 2", ".o 2", "#.phase 11", ".p " + std::to_string(terms.size())});
    for (const auto& t : terms) text += t + "\n";
    return text + ".e\n";
}

std::string TermsTable(int count, int first = 0)
{
    std::string text = Lines({".i 12", ".o 2", ".type fdr", ".phase 11", ".p " + std::to_string(count)});
    for (int i = first; i < first + count; ++i) {
        std::string bits;
        for (int b = 11; b >= 0; --b) bits += ((i >> b) & 1) ? '1' : '0';
        text += bits + " 1~\n";
    }
    return text + ".e\n";
}

class SupplmntTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile("exp_log.$$$", FunctionLog());
        WriteFile("exp_tbl.$$$", kCoverTable);
        WriteFile("T.min", "HEAD\n");
    }
    void Run()
    {
        TSUPPLMNT stage;
        h.Run(stage);
    }
    void ExpectAborted()
    {
        EXPECT_EQ(ReadFile("exp_log.$$$"), "ERROR\n");
        EXPECT_FALSE(Exists("exp_tbl.$$$"));
        EXPECT_FALSE(Exists("esp_chk.$$$"));
    }
    StageHarness h;
};

TEST_F(SupplmntTest, CompleteTableAsksNothingAndChangesNothing)
{
    WriteFile("esp_chk.$$$", MissingCover({}));
    Run();
    EXPECT_EQ(h.questions.CoversAsked(), 0);
    EXPECT_TRUE(h.lines.empty());
    EXPECT_EQ(ReadFile("exp_tbl.$$$"), kCoverTable);
    EXPECT_EQ(ReadFile("T.min"), "HEAD\n");
    EXPECT_EQ(ReadFile("exp_log.$$$"), FunctionLog());
    EXPECT_FALSE(Exists("esp_chk.$$$"));
}

TEST_F(SupplmntTest, OffCoverFillsOnlyTheOpenSecondOutput)
{
    WriteFile("esp_chk.$$$", MissingCover({"1- 01"}));
    h.questions.PushCover("0");
    Run();
    EXPECT_EQ(h.questions.CoversAsked(), 1);
    EXPECT_EQ(h.lines,
              std::vector<std::string>({"INCOMPLETELY SPECIFIED INPUT TABLE; MISSING COVER:", "=======", "AB   FG",
                                        "=======", "1- | .?", "",
                                        "ADD ABOVE TERMS TO ON-/DC-/OFF-COVER OR ABORT PROGRAM", kPrompt, "0"}));
    EXPECT_EQ(ReadFile("T.min"), "HEAD\n1- | .0\n");
    EXPECT_EQ(ReadFile("exp_tbl.$$$"),
              Lines({".i 2", ".o 2", ".type fdr", ".phase 11", ".p 4", "1- ~0", "00 10", "01 01", "1- 1~", ".e"}));
    EXPECT_EQ(ReadFile("exp_log.$$$"), FunctionLog());
    EXPECT_FALSE(Exists("esp_chk.$$$"));
}

TEST_F(SupplmntTest, AbortKeepsQuestionMarksAndStopsTheRun)
{
    WriteFile("esp_chk.$$$", MissingCover({"1- 01", "-1 11"}));
    h.questions.PushCover("Q");
    Run();
    EXPECT_EQ(ReadFile("T.min"), "HEAD\n1- | .?\n-1 | ??\n");
    ExpectAborted();
}

TEST_F(SupplmntTest, EndedInputCountsAsAbort)
{
    WriteFile("esp_chk.$$$", MissingCover({"1- 01"}));
    Run();
    EXPECT_EQ(h.questions.CoversAsked(), 1);
    ExpectAborted();
}

TEST_F(SupplmntTest, InvalidAnswersAreAskedAgainAndTheFirstCharacterCounts)
{
    WriteFile("esp_chk.$$$", MissingCover({"1- 11"}));
    h.questions.PushCover("x");
    h.questions.PushCover("");
    h.questions.PushCover("  -dc");
    Run();
    EXPECT_EQ(h.questions.CoversAsked(), 3);
    EXPECT_EQ(ReadFile("T.min"), "HEAD\n1- | --\n");
    EXPECT_NE(ReadFile("exp_tbl.$$$").find("\n1- --\n"), std::string::npos);
    // A lower-case q aborts too.
    WriteFile("esp_chk.$$$", MissingCover({"1- 11"}));
    h.questions.PushCover("quit");
    Run();
    ExpectAborted();
}

// An answer source that never gives a valid answer (a fixed wrong text, say).
class StubbornQuestions : public TQuestions {
public:
    LineAnswer AskLine() override { return {"", true}; }
    std::string AskCover() override
    {
        ++asked;
        return "maybe";
    }
    int asked = 0;
};

TEST_F(SupplmntTest, EndlessInvalidAnswersAbortInsteadOfAskingForEver)
{
    WriteFile("esp_chk.$$$", MissingCover({"1- 01"}));
    StubbornQuestions stubborn;
    SetQuestions(&stubborn);
    Run();
    SetQuestions(&h.questions);
    EXPECT_EQ(stubborn.asked, TSUPPLMNT::kMaxCoverQuestions);
    EXPECT_EQ(h.lines.back(), "NO VALID COVER SELECTED");
    ExpectAborted();
}

TEST(SupplmntLayout, StateTableHeaderAndTermsLineUpWithTheEcho)
{
    SettingsLog log;
    log.ni = 1;
    log.no = 1;
    log.n = 1;
    log.m = 1;
    log.inputNames = {"Q1", "X"};
    log.outputNames = {"D1", "Y"};
    const std::string pad(26, ' ');
    EXPECT_EQ(MissingCoverHeader(log), std::vector<std::string>({std::string(35, '='), pad + "Q     D  ",
                                                                 pad + "1 X   1 Y", std::string(35, '=')}));
    EXPECT_EQ(MissingTermLine(log, {"01", "?."}), pad + "0 1 | ? .");
}

TEST_F(SupplmntTest, LogWhoseCountsDisagreeWithItsNamesStopsTheRun)
{
    WriteFile("exp_log.$$$", FunctionLog("2 1 0 0"));
    WriteFile("esp_chk.$$$", MissingCover({"1- 01"}));
    Run();
    EXPECT_EQ(h.questions.CoversAsked(), 0);
    EXPECT_EQ(ReadFile("T.min"), "HEAD\n");
    ExpectAborted();
}

TEST_F(SupplmntTest, BadFilesGiveTheirMessagesAndTheAbortActions)
{
    struct Case {
        std::string log, missing, table, message;
        bool resultFile;
    };
    const std::vector<Case> cases = {
        {FunctionLog("2 2 0 x"), MissingCover({"1- 01"}), kCoverTable, "CHECK ERROR", true},
        {FunctionLog(), Lines({".i 2", ".o 2", ".p 1x", "1- 01"}), kCoverTable, "CHECK ERROR", true},
        {FunctionLog(), Lines({".i 2", ".o 2"}), kCoverTable, "ILLEGAL TEMPORARY FILE FORMAT", true},
        {FunctionLog(), MissingCover({"1- 01"}), Lines({".i 2", ".o 2", "00 10"}), "ILLEGAL TEMPORARY FILE FORMAT",
         true},
        {FunctionLog(), MissingCover({"1- 01"}), Lines({".p two"}), "CHECK ERROR", true},
        {FunctionLog(), MissingCover({"1- 01"}), kCoverTable, "ERROR OPENING OUTPUT FILE", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        WriteFile("exp_log.$$$", c.log);
        WriteFile("esp_chk.$$$", c.missing);
        WriteFile("exp_tbl.$$$", c.table);
        if (!c.resultFile) std::filesystem::remove("T.min");
        h.questions.PushCover("1");
        Run();
        ASSERT_FALSE(h.lines.empty());
        EXPECT_EQ(h.lines.back(), c.message);
        ExpectAborted();
    }
}

TEST_F(SupplmntTest, DamagedTermsStopWithoutMessage)
{
    // A missing term of the wrong width, a cover table cut before its ".e", a term of the
    // wrong width in the cover table.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {MissingCover({"1 01"}), kCoverTable},
        {MissingCover({"1- 01"}), Lines({".i 2", ".o 2", ".p 3", "00 10", "01 01", "1- 1~"})},
        {MissingCover({"1- 01"}), Lines({".i 2", ".o 2", ".p 1", "00 101", ".e"})},
    };
    for (const auto& [missing, table] : cases) {
        WriteFile("exp_log.$$$", FunctionLog());
        WriteFile("esp_chk.$$$", missing);
        WriteFile("exp_tbl.$$$", table);
        h.questions.PushCover("1");
        Run();
        ExpectAborted();
    }
}

TEST_F(SupplmntTest, MissingIntermediateFileIsFatal)
{
    Run();
    EXPECT_EQ(h.lines, std::vector<std::string>({"FATAL ERROR: UNABLE TO OPEN INTERMEDIATE FILE"}));
    ExpectAborted();
}

TEST_F(SupplmntTest, CompletedTableBeyondTheStoreIsRefused)
{
    const std::string log = Lines({"-o esp_tbl.$$$ exp_tbl.$$$", "", "T.min T.tbl", "", "", "", "INPUT A B C D E F G H",
                                   "INPUT I J K L", "", "OUTPUT F G", "", "NO_ERRORS", "12 2 0 0"});
    const std::string missing = Lines({".i 12", ".o 2", ".p 1", "111111111111 01", ".e"});
    WriteFile("exp_log.$$$", log);
    WriteFile("esp_chk.$$$", missing);
    WriteFile("exp_tbl.$$$", TermsTable(2000));
    h.questions.PushCover("1");
    Run();
    EXPECT_EQ(h.lines.back(), "CAN'T HANDLE MORE THAN 2000 TERMS");
    ExpectAborted();

    // One term less fills the store exactly and is accepted.
    WriteFile("exp_log.$$$", log);
    WriteFile("esp_chk.$$$", missing);
    WriteFile("exp_tbl.$$$", TermsTable(1999));
    h.questions.PushCover("1");
    Run();
    std::string table = ReadFile("exp_tbl.$$$");
    EXPECT_NE(table.find(".p 2000\n111111111111 ~1\n"), std::string::npos);
    EXPECT_EQ(ReadFile("exp_log.$$$").substr(0, 3), "-o ");
}

}  // namespace
}  // namespace quorlet::test
