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

// Writes the text as a file and reads it with one of the table readers.
template <class Table>
TableReadStatus ReadText(const std::string& text, Table& table, TableReadStatus (*read)(TextFile&, Table&))
{
    WriteFile("table.txt", text);
    TextFile f;
    EXPECT_TRUE(f.OpenRead("table.txt"));
    return read(f, table);
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
    MinimizedTable t;
    ASSERT_EQ(
        ReadText(".I 3\r\n.type fr\r\n#.phase 11\r\n.O 2\r\n.p 2\r\n1-0 10\r\n--1 01\r\n.e\r\n", t, ReadMinimizedTable),
        TableReadStatus::Ok);
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
        MinimizedTable t;
        EXPECT_EQ(ReadText(text, t, ReadMinimizedTable), status) << text;
    }
}

TEST(CoverTableTest, ReadsWhatItWroteTypeIncluded)
{
    test::TempWorkDir dir;
    CoverTable cover = MakeCheckTable(TwoOutputCover());
    CoverTable back;
    ASSERT_EQ(ReadText(Written([&](TextFile& f) { WriteCoverTable(f, cover); }), back, ReadCoverTable),
              TableReadStatus::Ok);
    EXPECT_EQ(back.inputs, 2);
    EXPECT_EQ(back.outputs, 2);
    EXPECT_EQ(back.type, "f");
    EXPECT_EQ(back.terms, cover.terms);

    EXPECT_EQ(ReadText(".i 2\n.o 1\n.p 99999999999\n", back, ReadCoverTable), TableReadStatus::BadNumber);
}

TEST(TableReaderTest, CountChecksAndTermRules)
{
    test::TempWorkDir dir;
    WriteFile("t.txt", ".i 3\n.o x\n.p 2\n\n1-0 1\n   \n01- 0\n.e\n");
    TextFile f;
    f.OpenRead("t.txt");
    TableHeader header;
    EXPECT_EQ(ReadTableHeader(f, header), TableReadStatus::BadNumber);

    // A check sees every count in its order; refusing one ends the header there.
    std::string seen;
    TextFile g;
    g.OpenRead("t.txt");
    EXPECT_EQ(ReadTableHeader(g, header,
                              [&](char key, const ParsedNumber&) {
                                  seen += key;
                                  return key != 'P';
                              }),
              TableReadStatus::Refused);
    EXPECT_EQ(seen, "IOP");

    TextFile h;
    h.OpenRead("t.txt");
    ASSERT_EQ(ReadTableHeader(h, header, [](char, const ParsedNumber&) { return true; }), TableReadStatus::Ok);
    EXPECT_EQ(header.inputs, 3);
    EXPECT_EQ(header.terms, 2);
    std::vector<Term> terms;
    const TermRules blanksPassed{.inputs = 3, .outputs = 1, .skipBlankLines = true};
    EXPECT_EQ(ReadTableTerms(h, 2, blanksPassed, terms), TableReadStatus::Ok);
    EXPECT_EQ(terms, (std::vector<Term>{{"1-0", "1"}, {"01-", "0"}}));
    Term term;
    EXPECT_EQ(ReadTableTerm(h, term, TermRules{.checkWidths = false}), TableReadStatus::Ok);
    EXPECT_EQ(term, (Term{".e", ""}));
    EXPECT_EQ(ReadTableTerm(h, term, TermRules{.checkWidths = false}), TableReadStatus::ShortTable);

    // Without skipping, a blank line is a term of empty parts, which the widths refuse.
    TextFile k;
    k.OpenRead("t.txt");
    ReadTableHeader(k, header, [](char, const ParsedNumber&) { return true; });
    EXPECT_EQ(ReadTableTerm(k, term, TermRules{.inputs = 3, .outputs = 1}), TableReadStatus::BadWidth);
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
              Lines({"-o esp_tbl.$$$ -pos exp_tbl.$$$", "", "T.min T.tbl", "", "DEMO", "", "INPUT A B", "", "OUTPUT F",
                     "", "POS", "", "NO_ERRORS", "2 1 0 0"}));
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

    WriteFile("bad.$$$",
              Lines({"-o x y", "", "T.min T.tbl", "", "", "", "INPUT A", "", "OUTPUT F", "", "NO_ERRORS", "2 1 0 0"}));
    TextFile g;
    g.OpenRead("bad.$$$");
    EXPECT_EQ(ReadSettingsLog(g, back), LogReadStatus::CountMismatch);
    WriteFile("err.$$$", "ERROR\n");
    TextFile h;
    h.OpenRead("err.$$$");
    EXPECT_EQ(ReadSettingsLog(h, back), LogReadStatus::Error);
}

TEST(SettingsLogTest, TheConvertersLayoutRulesAndTheCountsAlone)
{
    test::TempWorkDir dir;
    // The file line is the first after line 1 that is neither blank nor a "-o" line; a word
    // that begins a comment ends its name line; POS and OFF stand between the lists and NO_ERRORS.
    WriteFile("log.$$$",
              Lines({"-o esp_tbl.$$$ exp_tbl.$$$", "", "-o other", "R.min T.tbl", "-FAB D 2", "Title", "\" a note",
                     "INPUT A B #C", "OUTPUT F", "POS", "", "OFF", "NO_ERRORS", "2 1 0 0", "inv"}));
    TextFile f;
    f.OpenRead("log.$$$");
    SettingsLog log;
    ASSERT_EQ(ReadSettingsLog(f, log), LogReadStatus::Ok);
    EXPECT_EQ(log.resultFile, "R.min");
    EXPECT_EQ(log.converterOptions, "-FAB D 2");
    EXPECT_EQ(log.title, "Title");
    EXPECT_EQ(log.inputNames, (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(log.pos && log.off && log.inv && !log.regOut);

    const std::string head = Lines({"-o x", "", "R.min T.tbl", "", "T", "INPUT A"});
    const std::pair<std::string, LogReadStatus> cases[] = {
        {Lines({"OFF", "POS", "NO_ERRORS", "1 0 0 0"}), LogReadStatus::Malformed},
        {Lines({"NO_ERRORS"}), LogReadStatus::NoCounts},
        {Lines({"NO_ERRORS", "1 0 0"}), LogReadStatus::BadNumber},
        {Lines({"POS"}), LogReadStatus::Truncated},
    };
    for (const auto& [rest, status] : cases) {
        WriteFile("log.$$$", head + rest);
        TextFile g;
        g.OpenRead("log.$$$");
        EXPECT_EQ(ReadSettingsLog(g, log), status) << rest;
    }

    WriteFile("log.$$$", Lines({"anything", "no_errors", "1 1 2 3", "REG_OUT"}));
    TextFile h;
    h.OpenRead("log.$$$");
    ASSERT_EQ(ReadSettingsLogCounts(h, log), LogReadStatus::Ok);
    EXPECT_EQ(log.n, 2);
    EXPECT_EQ(log.m, 3);
    EXPECT_TRUE(log.regOut);
    WriteFile("log.$$$", Lines({"INPUT A", "OUTPUT F"}));
    TextFile k;
    k.OpenRead("log.$$$");
    EXPECT_EQ(ReadSettingsLogCounts(k, log), LogReadStatus::Truncated);
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
