// The exact lines of the intermediate files, and the readers' refusal of malformed tables.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "UTables.h"

namespace quorlet {
namespace {

using test::Lines;
using test::ReadFile;
using test::WriteFile;

std::string Written(const auto& write)
{
    test::TempWorkDir dir;
    TextFile f;
    f.OpenWrite("out.txt");
    write(f);
    f.Close();
    return ReadFile("out.txt");
}

CoverTable TwoOutputCover()
{
    CoverTable t;
    t.inputs = 2;
    t.outputs = 2;
    t.terms = {{"0-", "1~"}, {"11", "0-"}};
    return t;
}

TEST(CoverTableTest, CoverCheckAndOneOutputTables)
{
    CoverTable cover = TwoOutputCover();
    EXPECT_EQ(Written([&](TextFile& f) { WriteCoverTable(f, cover); }),
              Lines({".i 2", ".o 2", ".type fdr", ".phase 11", ".p 2", "0- 1~", "11 0-", ".e"}));
    EXPECT_EQ(Written([&](TextFile& f) { WriteCoverTable(f, MakeCheckTable(cover)); }),
              Lines({".i 2", ".o 2", ".type f", ".phase 11", ".p 2", "0- 1~", "11 11", ".e"}));
    EXPECT_EQ(Written([&](TextFile& f) { WriteCoverTable(f, MakeOneOutputTable(cover, 2)); }),
              Lines({".i 2", ".o 1", ".type fdr", ".phase 1", ".p 2", "0- ~", "11 -", ".e"}));
}

TEST(MinimizedTableTest, ReadsAnyHeaderAndTheExactTermCount)
{
    test::TempWorkDir dir;
    WriteFile("esp.txt", ".I 3\r\n.type fr\r\n#.phase 11\r\n.O 2\r\n.p 2\r\n1-0 10\r\n--1 01\r\n.e\r\n");
    TextFile f;
    ASSERT_TRUE(f.OpenRead("esp.txt"));
    MinimizedTable t;
    ASSERT_EQ(ReadMinimizedTable(f, t), TableReadStatus::Ok);
    EXPECT_EQ(t.inputs, 3);
    EXPECT_EQ(t.outputs, 2);
    EXPECT_EQ(t.terms, (std::vector<Term>{{"1-0", "10"}, {"--1", "01"}}));
}

TEST(MinimizedTableTest, RefusesBadCountsShortTablesAndWrongWidths)
{
    test::TempWorkDir dir;
    const std::pair<std::string, TableReadStatus> cases[] = {
        {".i 2\n.o 1\n.p 2x\n", TableReadStatus::BadNumber},
        {".i 2\n.o 1\n.p 2\n01 1\n", TableReadStatus::ShortTable},
        {".i 2\n.o 1\n.p 1\n011 1\n", TableReadStatus::BadWidth},
        {".i 2\n.o 1\n.p 1\n01 11\n", TableReadStatus::BadWidth},
        {".i 2\n.o 1\n", TableReadStatus::NoCountLine},
        {".o 1\n.p 1\n01 1\n", TableReadStatus::BadWidth},
    };
    for (const auto& [text, status] : cases) {
        WriteFile("esp.txt", text);
        TextFile f;
        f.OpenRead("esp.txt");
        MinimizedTable t;
        EXPECT_EQ(ReadMinimizedTable(f, t), status) << text;
    }
}

TEST(MinimizedTableTest, WritesTheFourHeaderLinesTheConvertersSkip)
{
    MinimizedTable t{2, 2, {{"1-", "11"}}};
    EXPECT_EQ(Written([&](TextFile& f) { WriteMinimizedTable(f, t); }),
              Lines({".i 2", ".o 2", "#.phase 11", ".p 1", "1- 11", ".e"}));
}

SettingsLog ExampleLog()
{
    SettingsLog log;
    log.minimizerArgs = "-o esp_tbl.$$$ -pos exp_tbl.$$$";
    log.resultFile = "T.min";
    log.tableFile = "T.tbl";
    log.title = "DEMO";
    log.inputNames = {"A", "B"};
    log.outputNames = {"F"};
    log.pos = true;
    log.ni = 2;
    log.no = 1;
    return log;
}

TEST(SettingsLogTest, WritesEveryLineInItsOrder)
{
    EXPECT_EQ(Written([&](TextFile& f) { WriteSettingsLog(f, ExampleLog()); }),
              Lines({"-o esp_tbl.$$$ -pos exp_tbl.$$$", "", "T.min T.tbl", "", "DEMO", "", "INPUT A B", "",
                     "OUTPUT F", "", "POS", "", "NO_ERRORS", "2 1 0 0"}));
    SettingsLog failed;
    failed.error = true;
    EXPECT_EQ(Written([&](TextFile& f) { WriteSettingsLog(f, failed); }), "ERROR\n");
}

TEST(SettingsLogTest, EightNamesALine)
{
    std::vector<std::string> names;
    for (int i = 0; i < 9; ++i) names.push_back("N" + std::to_string(i));
    EXPECT_EQ(Written([&](TextFile& f) { WriteNameLines(f, "INPUT", names); }),
              "INPUT N0 N1 N2 N3 N4 N5 N6 N7\nINPUT N8\n");
    names.pop_back();
    EXPECT_EQ(Written([&](TextFile& f) { WriteNameLines(f, "INPUT", names); }), "INPUT N0 N1 N2 N3 N4 N5 N6 N7\n");
    EXPECT_EQ(Written([&](TextFile& f) { WriteNameLines(f, "INPUT", {}); }), "");
}

TEST(SettingsLogTest, ReadsWhatItWroteAndNoticesMismatchedCounts)
{
    test::TempWorkDir dir;
    SettingsLog log = ExampleLog();
    log.off = true;
    log.n = 1;
    log.m = 2;
    log.inputNames = {"Q0", "A", "B"};
    log.outputNames = {"_J0", "_K0", "F"};
    log.inv = true;
    log.regOut = true;
    {
        TextFile f;
        f.OpenWrite("exp_log.$$$");
        WriteSettingsLog(f, log);
        f.Close();
    }
    TextFile f;
    f.OpenRead("exp_log.$$$");
    SettingsLog back;
    ASSERT_EQ(ReadSettingsLog(f, back), LogReadStatus::Ok);
    EXPECT_EQ(back.minimizerArgs, log.minimizerArgs);
    EXPECT_EQ(back.resultFile, "T.min");
    EXPECT_EQ(back.tableFile, "T.tbl");
    EXPECT_EQ(back.inputNames, log.inputNames);
    EXPECT_EQ(back.outputNames, log.outputNames);
    EXPECT_TRUE(back.pos && back.off && back.inv && back.regOut);
    EXPECT_EQ(back.m, 2);

    WriteFile("bad.$$$", Lines({"-o x y", "", "T.min T.tbl", "", "", "", "INPUT A", "", "OUTPUT F", "", "NO_ERRORS",
                                "2 1 0 0"}));
    TextFile g;
    g.OpenRead("bad.$$$");
    EXPECT_EQ(ReadSettingsLog(g, back), LogReadStatus::CountMismatch);
    WriteFile("err.$$$", "ERROR\n");
    TextFile h;
    h.OpenRead("err.$$$");
    EXPECT_EQ(ReadSettingsLog(h, back), LogReadStatus::Error);
}

TEST(TextFileTest, LinesAreCutAt255AndCrLfIsRead)
{
    test::TempWorkDir dir;
    WriteFile("long.txt", std::string(300, 'a') + "\r\nnext\r\nlast");
    TextFile f;
    f.OpenRead("long.txt");
    std::string line;
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, std::string(255, 'a'));
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "next");
    ASSERT_TRUE(f.ReadLine(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(f.ReadLine(line));
    EXPECT_TRUE(f.Eof());
}

TEST(TextFileTest, AFullDiskIsReportedAtClose)
{
    if (!test::Exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    TextFile f;
    ASSERT_TRUE(f.OpenWrite("/dev/full"));
    f.WriteLine("no room");
    EXPECT_FALSE(f.Close());
}

}  // namespace
}  // namespace quorlet
