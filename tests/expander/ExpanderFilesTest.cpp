// Whole table files in; console, result file head and the intermediate files out, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "ExpanderLayout.h"
#include "ExpanderTestSupport.h"

namespace quorlet::test {
namespace {

const std::string kFullAdder = Lines({
    "\" full adder",
    "TABLE fa",
    "INPUT A B",
    "INPUT CIN",
    "\" inputs done",
    "OUTPUT SUM COUT",
    "\" kept after names",
    "\" second comment dropped",
    "000 00",
    "\" inside terms",
    "0 0 1, 1 0   # trailing",
    "01- 1.",
    "11- -1",
    "END",
    "not read 12345",
});

TEST(ExpanderFunctionTable, EquationsRunWritesLetteredHeaderAndAllFiles)
{
    ExpanderRun run;
    run.Go(" /E fa.tbl D ", "fa.tbl", kFullAdder);
    EXPECT_FALSE(run.error);
    EXPECT_EQ(run.Console(), Lines({"FUNCTION TABLE", "", "========", "ABC   YZ", "========", "000 | 00", "001 | 10",
                                    "01- | 1.", "11- | -1", ""}));
    EXPECT_EQ(ReadFile("fa.equ"),
              Lines({kHeadLine, "INPUT FILE:       fa.tbl           MULTIPLE OUTPUT SUM OF PRODUCTS MODE",
                     "\" full adder", "", "FUNCTION TABLE", "", "========", "ABC   YZ", "========",
                     "\" kept after names", "000 | 00", "\" inside terms", "001 | 10", "01- | 1.", "11- | -1"}));
    EXPECT_EQ(run.Log(), Lines({"-o esp_tbl.$$$ exp_tbl.$$$", "", "fa.equ fa.tbl", "-e ", "FA", "", "INPUT A B CIN", "",
                                "OUTPUT SUM COUT", "", "NO_ERRORS", "3 2 0 0"}));
    EXPECT_EQ(ReadFile("exp_tbl.$$$"),
              Lines({".i 3", ".o 2", ".type fdr", ".phase 11", ".p 4", "000 00", "001 10", "01- 1~", "11- -1", ".e"}));
    EXPECT_EQ(ReadFile("exp_chk.$$$"),
              Lines({".i 3", ".o 2", ".type f", ".phase 11", ".p 4", "000 11", "001 11", "01- 1~", "11- 11", ".e"}));
    // The user's table is only read.
    EXPECT_EQ(ReadFile("fa.tbl"), kFullAdder);
}

TEST(ExpanderFunctionTable, VerticalNamesModesAndDefaultExtension)
{
    ExpanderRun run;
    run.Go("/P /O /S T", "T.tbl", Lines({"table", "INPUT A BB", "OUTPUT CCCC D", "1- 1.", "-0 .1", "1- 1.", "end"}));
    EXPECT_FALSE(run.error);
    const std::string header = Lines({"=======", "     C ", "     C ", " B   C ", "AB   CD", "======="});
    EXPECT_EQ(ReadFile("T.min"),
              Lines({kHeadLine, "INPUT FILE:        T.tbl           SINGLE OUTPUT OFF COVER P.O.S. MODE", "",
                     "FUNCTION TABLE", ""}) +
                  header + Lines({"1- | 1.", "-0 | .1", "1- | 1."}));
    EXPECT_EQ(run.Log(), Lines({"-o esp_tbl.$$$ exp_tbl.$$$", "", "T.min T.tbl", "", "", "", "INPUT A BB", "",
                                "OUTPUT CCCC D", "", "POS", "", "OFF", "", "NO_ERRORS", "2 2 0 0"}));
}

TEST(ExpanderFunctionTable, ModeTextsAndMinimizerLine)
{
    struct Case {
        const char* options;
        const char* head;
        const char* firstLogLine;
    } cases[] = {
        {"/P", " MULTIPLE OUTPUT PRODUCT OF SUMS MODE", "-o esp_tbl.$$$ -pos exp_tbl.$$$"},
        {"/O", " MULTIPLE OUTPUT OFF COVER S.O.P. MODE", "-o esp_tbl.$$$ -pos exp_tbl.$$$"},
        {"/S /M", " SINGLE OUTPUT SUM OF PRODUCTS MODE", "-o esp_tbl.$$$ exp_tbl.$$$"},
    };
    for (const Case& c : cases) {
        ExpanderRun run;
        run.Go(std::string(c.options) + " x.y.z", "x.y.z", Lines({"TABLE", "INPUT A", "OUTPUT F", "1 1", "END"}));
        std::string result = ReadFile("x.min");
        EXPECT_NE(result.find("INPUT FILE:        x.y.z          " + std::string(c.head) + "\n"), std::string::npos)
            << c.options << "\n"
            << result;
        EXPECT_EQ(run.Log().substr(0, run.Log().find('\n')), c.firstLogLine);
        EXPECT_NE(run.Log().find("\nx.min x.y.z\n"), std::string::npos);
    }
}

TEST(ExpanderFunctionTable, NameListsAcrossLinesAndEightNamesALogLine)
{
    ExpanderRun run;
    run.Go("nine", "nine.tbl",
           Lines({"TABLE", "INPUT a b c", "OUTPUT f", "INPUT d, e; f2|g h", "input i", "000000000 1", "END"}));
    EXPECT_FALSE(run.error);
    EXPECT_NE(run.Log().find("\nINPUT A B C D E F2 G H\nINPUT I\n\nOUTPUT F\n"), std::string::npos) << run.Log();
}

TEST(ExpanderFunctionTable, ResultFileNamePerOutputOption)
{
    const std::pair<const char*, const char*> cases[] = {{"/D", "t.sch"}, {"/F", "t.net"}, {"/E", "t.equ"},
                                                         {"/A", "t.abl"}, {"/J", "t.min"}, {"", "t.min"}};
    for (const auto& [option, result] : cases) {
        ExpanderRun run;
        run.Go(std::string(option) + " t", "t.tbl", Lines({"TABLE", "INPUT A", "OUTPUT F", "1 1", "END"}));
        EXPECT_FALSE(run.error) << option;
        EXPECT_TRUE(Exists(result)) << option;
    }
}

TEST(ExpanderFunctionTable, PointsInDirectoryNamesDoNotCutTheBaseName)
{
    ExpanderRun run;
    std::filesystem::create_directory("my.dir");
    run.Go("/F my.dir/t", "my.dir/t.tbl", Lines({"TABLE", "INPUT A", "OUTPUT F", "1 1", "END"}));
    EXPECT_FALSE(run.error);
    EXPECT_TRUE(Exists("my.dir/t.net"));
    EXPECT_NE(run.Log().find("\nmy.dir/t.net my.dir/t.tbl\n"), std::string::npos) << run.Log();
}

TEST(ExpanderFunctionTable, TableFileFoundWhateverItsCase)
{
    ExpanderRun run;
    run.Go("ADDER.TBL", "adder.tbl", Lines({"TABLE", "INPUT A", "OUTPUT F", "1 1", "END"}));
    EXPECT_FALSE(run.error);
    EXPECT_NE(run.Log().find("\nADDER.min adder.tbl\n"), std::string::npos) << run.Log();
}

const std::string kMachine = Lines({
    "TABLE machine",
    "INPUT X",
    "OUTPUT Z",
    "\" kept for the state head",
    "STATES",
    "\" in state list",
    "A 00",
    "B 0 1",
    "",
    "C 1-",
    "END",
    "\" dropped",
    "A 0 A 0",
    "A 1 B 0",
    "B - C 1",
    "\" between transitions",
    "C 0 A .",
    "c 1 c 1   # stay",
    "END",
});

TEST(ExpanderStateTable, DTypeForcedByAbelOption)
{
    ExpanderRun run;
    run.Go("/A sm.tbl JK", "sm.tbl", kMachine);
    EXPECT_FALSE(run.error);
    const std::string header = Lines({
        "=====================================",
        std::string(33, ' ') + "__  ",
        std::string(26, ' ') + "QQ     DD  ",
        "P.S. X   N.S. Z           10 X   10 Z",
        "=====================================",
    });
    const std::string echo = Lines({
        "   A 0 |    A 0    >>>    00 0 | 00 0",
        "   A 1 |    B 0    >>>    00 1 | 01 0",
        "   B - |    C 1    >>>    01 - | 1- 1",
        "   C 0 |    A .    >>>    1- 0 | 00 .",
        "   C 1 |    C 1    >>>    1- 1 | 1- 1",
    });
    const std::string states = Lines({"state    A:  00", "state    B:  01", "state    C:  1-"});
    EXPECT_EQ(run.Console(), states + Lines({"STATE TRANSITION AND EXCITATION TABLES", ""}) + header + echo + "\n");
    EXPECT_EQ(ReadFile("sm.abl"),
              Lines({kHeadLine, "INPUT FILE:       sm.tbl           MULTIPLE OUTPUT SUM OF PRODUCTS MODE", "",
                     "USING  D-TYPE FLIPFLOPS", "\" kept for the state head", "", "\" in state list"}) +
                  states + Lines({"STATE TRANSITION AND EXCITATION TABLES", ""}) + header +
                  Lines({"   A 0 |    A 0    >>>    00 0 | 00 0", "   A 1 |    B 0    >>>    00 1 | 01 0",
                         "   B - |    C 1    >>>    01 - | 1- 1", "\" between transitions",
                         "   C 0 |    A .    >>>    1- 0 | 00 .", "   C 1 |    C 1    >>>    1- 1 | 1- 1"}));
    EXPECT_EQ(ReadFile("exp_tbl.$$$"), Lines({".i 3", ".o 3", ".type fdr", ".phase 111", ".p 5", "000 000", "001 010",
                                              "01- 1-1", "1-0 00~", "1-1 1-1", ".e"}));
    EXPECT_EQ(ReadFile("exp_chk.$$$"), Lines({".i 3", ".o 3", ".type f", ".phase 111", ".p 5", "000 111", "001 111",
                                              "01- 111", "1-0 11~", "1-1 111", ".e"}));
    EXPECT_EQ(run.Log(), Lines({"-o esp_tbl.$$$ exp_tbl.$$$", "", "sm.abl sm.tbl", "-F D 2", "MACHINE", "",
                                "INPUT Q1 Q0 X", "", "OUTPUT _D1 _D0 Z", "", "NO_ERRORS", "1 1 2 2"}));
}

const std::string kJkMachine = Lines({
    "TABLE",
    "INPUT GO",
    "OUTPUT BUSY",
    "STATES",
    "IDLE 00",
    "RUN 01",
    "DONE 1.",
    "END",
    "IDLE 0 IDLE 0",
    "IDLE 1 RUN 1",
    "RUN - DONE 1",
    "DONE - IDLE 0",
    "END",
});

TEST(ExpanderStateTable, JkWithNodeExtensionInvertedAndRegisteredOutputs)
{
    ExpanderRun run;
    run.Go("/FGENERICS/ab /I /R jk.tbl jk", "jk.tbl", kJkMachine);
    EXPECT_FALSE(run.error);
    const std::string result = ReadFile("jk.net");
    const std::string expected = Lines({
        "=======================================",
        std::string(33, ' ') + "____  ",
        std::string(14, ' ') + "B" + std::string(11, ' ') + "QQ     JKJK B",
        std::string(14, ' ') + "U" + std::string(11, ' ') + "aa     aaaa U",
        "     G        S           bb G   bbbb S",
        "P.S. O   N.S. Y           10 O   1100 Y",
        "=======================================",
        "IDLE 0 | IDLE 0    >>>    00 0 | 0-0- 0",
        "IDLE 1 |  RUN 1    >>>    00 1 | 0-1- 1",
        " RUN - | DONE 1    >>>    01 - | 1-.. 1",
        "DONE - | IDLE 0    >>>    1. - | -101 0",
    });
    EXPECT_NE(result.find("USING  JK-TYPE FLIPFLOPS\n\nstate IDLE:  00\nstate  RUN:  01\nstate DONE:  1.\n"
                          "STATE TRANSITION AND EXCITATION TABLES\n\n" +
                          expected),
              std::string::npos)
        << result;
    EXPECT_EQ(ReadFile("exp_tbl.$$$"), Lines({".i 3", ".o 5", ".type fdr", ".phase 11111", ".p 4", "000 0-0-0",
                                              "001 0-1-1", "01- 1-~~1", "1-- -1010", ".e"}));
    EXPECT_EQ(run.Log(),
              Lines({"-o esp_tbl.$$$ exp_tbl.$$$", "", "jk.net jk.tbl", "-Fab JK 2", "", "", "INPUT Qab1 Qab0 GO", "",
                     "OUTPUT _Jab1 _Kab1 _Jab0 _Kab0 BUSY", "", "NO_ERRORS", "1 1 2 4", "INV", "REG_OUT"}));
}

TEST(ExpanderStateTable, EquationsLetterTheGeneratedColumns)
{
    ExpanderRun run;
    run.Go("/E jk.tbl JK", "jk.tbl", kJkMachine);
    EXPECT_FALSE(run.error);
    EXPECT_NE(run.Output().find(Lines({
                  "=======================================",
                  std::string(14, ' ') + "B" + std::string(24, ' '),
                  std::string(14, ' ') + "U" + std::string(24, ' '),
                  "     G        S" + std::string(24, ' '),
                  "P.S. O   N.S. Y           AB C   VWXY Z",
                  "=======================================",
              })),
              std::string::npos)
        << run.Output();
    EXPECT_NE(run.Log().find("\njk.equ jk.tbl\n-e \n"), std::string::npos);
}

TEST(ExpanderStateTable, SrAndTExcitationInTheCoverTable)
{
    const std::string sr = Lines({"TABLE", "INPUT X", "OUTPUT Z", "STATES", "A 0", "B 1", "END", "A 0 A 0", "A 1 B 1",
                                  "B 0 A 0", "B 1 B 1", "END"});
    {
        ExpanderRun run;
        run.Go("sr.tbl SR", "sr.tbl", sr);
        EXPECT_FALSE(run.error);
        EXPECT_EQ(ReadFile("exp_tbl.$$$"), Lines({".i 2", ".o 3", ".type fdr", ".phase 111", ".p 4", "00 0-0", "01 101",
                                                  "10 010", "11 -01", ".e"}));
        EXPECT_NE(run.Log().find("\nINPUT Q0 X\n\nOUTPUT _S0 _R0 Z\n"), std::string::npos);
    }
    const std::string t = Lines({"TABLE", "INPUT X", "OUTPUT Z", "STATES", "A 00", "B 01", "C 11", "E 1-", "F .0",
                                 "END", "A 0 B 0", "A 1 E 1", "B 0 C 0", "B 1 F 1", "C - A .", "END"});
    {
        ExpanderRun run;
        run.Go("t.tbl t", "t.tbl", t);
        EXPECT_FALSE(run.error);
        EXPECT_EQ(ReadFile("exp_tbl.$$$"), Lines({".i 3", ".o 3", ".type fdr", ".phase 111", ".p 5", "000 010",
                                                  "001 1-1", "010 100", "011 ~11", "11- 11~", ".e"}));
        EXPECT_NE(run.Log().find("\nOUTPUT _T1 _T0 Z\n"), std::string::npos);
    }
}

TEST(ExpanderStateTable, FourCharacterSymbolAndManyStateVariables)
{
    // Twelve variables: names Q11 ... Q0; the reserved-name digits run past "9" (":" and ";").
    ExpanderRun run;
    run.Go("big.tbl D", "big.tbl",
           Lines({"TABLE", "INPUT Q9", "OUTPUT _D:", "STATES", "LONG 000000000000", "B 000000000001", "END",
                  "LONG 0 B 1", "END"}));
    EXPECT_TRUE(run.error);
    EXPECT_NE(run.Output().find("ERROR: ILLEGAL INPUT NAME Q9\nERROR: ILLEGAL OUTPUT NAME _D:\n"), std::string::npos);

    ExpanderRun ok;
    ok.Go("big.tbl D", "big.tbl",
          Lines({"TABLE", "INPUT X", "STATES", "LONG 000000000000", "B 000000000001", "END", "LONG 0 B", "B - LONG",
                 "END"}));
    EXPECT_FALSE(ok.error);
    EXPECT_NE(ok.Log().find("\nINPUT Q11 Q10 Q9 Q8 Q7 Q6 Q5 Q4\nINPUT Q3 Q2 Q1 Q0 X\n"), std::string::npos) << ok.Log();
    EXPECT_NE(ok.Log().find("\n1 0 12 12\n"), std::string::npos);
}

TEST(ExpanderStateTable, FunctionTableWithNetlistOptionHasNoFlipFlopWord)
{
    ExpanderRun run;
    run.Go("/F/x /R /I f.tbl JK", "f.tbl", Lines({"TABLE", "INPUT A", "OUTPUT F", "1 1", "END"}));
    EXPECT_FALSE(run.error);
    EXPECT_EQ(run.Log(), Lines({"-o esp_tbl.$$$ exp_tbl.$$$", "", "f.net f.tbl", "-Fx ", "", "", "INPUT A", "",
                                "OUTPUT F", "", "NO_ERRORS", "1 1 0 0", "INV"}));
}

TEST(ExpanderBanner, BoxTextsPauseAndDateLines)
{
    ExpanderRun run;
    run.Go("t", "t.tbl", Lines({"TABLE", "INPUT A", "OUTPUT F", "1 1", "END"}));
    const std::vector<std::string> banner(run.lines.begin(), run.lines.begin() + 15);
    const std::string border = "      " + std::string(62, '=');
    const std::string box = "      =" + std::string(60, ' ') + "=";
    EXPECT_EQ(banner,
              (std::vector<std::string>{"", "", std::string(27, ' ') + "Q  U  O  R  L  E  T ", "", "", border, box,
                                        "      =    TWO-LEVEL LOGIC MINIMIZER AND STATE SYNTHESIZER 4.61    =", box,
                                        "      =    FOR TEACHING DIGITAL DESIGN - FUNCTIONS AND MACHINES    =", box,
                                        border, "", "", ""}));
    auto* clock = dynamic_cast<FixedClock*>(&Clock());
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(clock->Slept(), 2000);

    ClockTime sunday{2004, 12, 26, 7, 23, 5, 59, 0};
    EXPECT_EQ(DateLine(sunday), "Sunday, December 26, 2004; 23:05");
    ClockTime thursday{1999, 4, 1, 4, 0, 0, 0, 0};
    EXPECT_EQ(DateLine(thursday), "Thursday April 1, 1999; 00:00");
}

TEST(ExpanderQuestions, TableNameAskedAndNodeExtensionTruncated)
{
    ExpanderRun run;
    run.questions.PushLine("");            // press RETURN
    run.questions.PushLine("q.tbl rest");  // table file name: first word only
    run.Go("/FLIB/abc", "q.tbl", Lines({"TABLE", "INPUT A", "OUTPUT F", "1 1", "END"}));
    EXPECT_FALSE(run.error);
    EXPECT_EQ(run.questions.LinesAsked(), 2);
    const std::string expected = Lines({"NODE EXTENSION TRUNCATED TO ab", "press RETURN to continue . . .",
                                        "ENTER NAME OF TABLE FILE > ", "", "FUNCTION TABLE"});
    EXPECT_EQ(run.Console().substr(0, expected.size()), expected);
    EXPECT_NE(run.Log().find("\nq.net q.tbl\n-Fab \n"), std::string::npos) << run.Log();
}

TEST(ExpanderQuestions, FlipFlopTypeAskedUntilValid)
{
    ExpanderRun run;
    run.questions.PushLine("x");
    run.questions.PushLine(" sr ");
    run.Go("m.tbl", "m.tbl", Lines({"TABLE", "STATES", "A 0", "END", "A A", "END"}));
    EXPECT_FALSE(run.error) << run.Output();
    EXPECT_EQ(run.questions.LinesAsked(), 2);
    EXPECT_NE(run.Output().find("ENTER FLIPFLOP TYPE (D,T,JK,SR) > \nENTER FLIPFLOP TYPE (D,T,JK,SR) > \n"),
              std::string::npos);
    EXPECT_NE(ReadFile("exp_tbl.$$$").find("\n0 0-\n"), std::string::npos);
}

TEST(ExpanderExamples, EveryShippedTableReadsCleanly)
{
    const std::pair<const char*, const char*> examples[] = {
        {"adder.tbl", "D"},   {"mult2.tbl", "D"},   {"bcd7seg.tbl", "D"}, {"incomplete.tbl", "D"},
        {"traffic.tbl", "D"}, {"counter.tbl", "T"}, {"updown.tbl", "JK"}, {"seq101.tbl", "SR"},
    };
    for (const auto& [name, type] : examples) {
        ExpanderRun run;
        std::filesystem::copy_file(std::filesystem::path(QUORLET_EXAMPLES_DIR) / name, name);
        run.Go(std::string("/E ") + name + " " + type);
        EXPECT_FALSE(run.error) << name << "\n" << run.Output();
        EXPECT_EQ(run.Log().substr(0, 26), "-o esp_tbl.$$$ exp_tbl.$$$") << name;
    }
}

}  // namespace
}  // namespace quorlet::test
