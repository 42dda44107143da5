// Faulty command lines and table files: each gets its message, the settings log says "ERROR",
// and the user's table file is left as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "ExpanderTestSupport.h"

namespace quorlet::test {
namespace {

const std::string kErrorLog = "ERROR\n";

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// What a failed run left: the console after the banner and the result file ("" when none).
struct Failure {
    std::string console;
    std::string result;
};

// Runs the table in the run's directory and checks the failure: log "ERROR", no tables, the
// user's table untouched.
Failure ExpectFailure(ExpanderRun& run, const std::string& commandLine, const std::string& tableName,
                      const std::string& table, const std::string& resultName)
{
    run.Go(commandLine, tableName, table);
    EXPECT_TRUE(run.error) << commandLine;
    EXPECT_EQ(run.Log(), kErrorLog) << commandLine;
    EXPECT_FALSE(Exists("exp_tbl.$$$")) << commandLine;
    EXPECT_FALSE(Exists("exp_chk.$$$")) << commandLine;
    if (!tableName.empty()) {
        EXPECT_EQ(ReadFile(tableName), table);
    }
    return {run.Console(), Exists(resultName) ? ReadFile(resultName) : std::string()};
}

Failure RunFailing(const std::string& commandLine, const std::string& tableName, const std::string& table,
                   const std::string& resultName)
{
    ExpanderRun run;
    return ExpectFailure(run, commandLine, tableName, table, resultName);
}

std::string Head(const std::string& tableName)
{
    std::string name = std::string(tableName.size() < 12 ? 12 - tableName.size() : 0, ' ') + tableName;
    return Lines({kHeadLine, "INPUT FILE: " + name + "           MULTIPLE OUTPUT SUM OF PRODUCTS MODE", ""});
}

const std::string kSmall = Lines({"TABLE", "INPUT A B", "OUTPUT F", "1- 1", "END"});

TEST(ExpanderCommandLine, BadOptionsStopBeforeAnyFile)
{
    Failure f = RunFailing("/X t.tbl", "t.tbl", kSmall, "t.min");
    EXPECT_EQ(f.console, Lines({"ERROR IN COMMAND LINE"}));
    EXPECT_FALSE(Exists("t.min"));

    f = RunFailing("/E /F t.tbl", "t.tbl", kSmall, "t.min");
    EXPECT_EQ(f.console, Lines({"/E, /F, /D, /J AND /A OPTIONS CAN'T BE COMBINED"}));
    f = RunFailing("/D /J t.tbl", "t.tbl", kSmall, "t.min");
    EXPECT_EQ(f.console, Lines({"/E, /F, /D, /J AND /A OPTIONS CAN'T BE COMBINED"}));
    f = RunFailing("/ t.tbl", "t.tbl", kSmall, "t.min");
    EXPECT_EQ(f.console, Lines({"ERROR IN COMMAND LINE"}));
}

TEST(ExpanderCommandLine, InvertWithoutGatesIsOnlyANote)
{
    ExpanderRun run;
    run.Go("/i /s /p /o /r /m /e t.tbl", "t.tbl", kSmall);
    EXPECT_FALSE(run.error);
    EXPECT_EQ(run.Console().substr(0, 50), "I OPTION WITHOUT EITHER F OR D OPTION IS IGNORED\n\n");
    EXPECT_EQ(run.Log().find("INV"), std::string::npos);
    EXPECT_EQ(run.Log().find("REG_OUT"), std::string::npos);  // no state variables
}

TEST(ExpanderCommandLine, EndedInputGivesNoTableName)
{
    ExpanderRun run;
    run.Go("/S");
    EXPECT_TRUE(run.error);
    EXPECT_EQ(run.questions.LinesAsked(), 1);
    EXPECT_EQ(run.Log(), kErrorLog);
}

TEST(ExpanderCommandLine, ResultFileThatIsTheTableFileIsRefused)
{
    const std::string table = Lines({"TABLE", "INPUT A", "OUTPUT F", "1 1", "END"});
    Failure f = RunFailing("t.min", "t.min", table, "t.min");
    EXPECT_EQ(f.console, Lines({"FATAL ERROR: OUTPUTFILE t.min IS THE TABLE FILE ITSELF"}));

    // The same file under another name.
    ExpanderRun run;
    WriteFile("real.tbl", table);
    std::filesystem::create_symlink("real.tbl", "u.net");
    f = ExpectFailure(run, "/F u.net", "", "", "u.net");
    EXPECT_EQ(f.console, Lines({"FATAL ERROR: OUTPUTFILE u.net IS THE TABLE FILE ITSELF"}));
    EXPECT_EQ(ReadFile("real.tbl"), table);
}

TEST(ExpanderFiles, MissingTableFileAndUnwritableResultFile)
{
    Failure f = RunFailing("none", "", "", "none.min");
    EXPECT_EQ(f.console, Lines({"FATAL ERROR: UNABLE TO OPEN TABLE FILE none.tbl"}));
    EXPECT_FALSE(Exists("none.min"));
    {
        ExpanderRun run;
        std::filesystem::create_directory("dir.tbl");
        f = ExpectFailure(run, "dir.tbl", "", "", "dir.min");
        EXPECT_EQ(f.console, Lines({"FATAL ERROR: UNABLE TO OPEN TABLE FILE dir.tbl"}));
    }
    {
        ExpanderRun run;
        std::filesystem::create_directory("w.min");
        f = ExpectFailure(run, "w", "w.tbl", kSmall, "");
        EXPECT_EQ(f.console, Lines({"FATAL ERROR: UNABLE TO OPEN OUTPUTFILE w.min"}));
    }
}

TEST(ExpanderFiles, FullDiskOnEachWrittenFile)
{
    if (!Exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    {
        ExpanderRun run;
        std::filesystem::create_symlink("/dev/full", "t.min");
        run.Go("t", "t.tbl", kSmall);
        EXPECT_TRUE(run.error);
        EXPECT_NE(run.Console().find("ERROR WRITING OUTPUT, PROBABLY DISK FULL\n"), std::string::npos);
        EXPECT_EQ(run.Log(), kErrorLog);
    }
    // Intermediate files are made afresh: a link planted under their names is replaced, never
    // written through (a full disk on them is met by the whole-run tests with a size limit).
    for (const char* name : {"exp_tbl.$$$", "exp_log.$$$"}) {
        ExpanderRun run;
        std::filesystem::create_symlink("/dev/full", name);
        run.Go("t", "t.tbl", kSmall);
        EXPECT_FALSE(run.error) << name;
        EXPECT_FALSE(std::filesystem::is_symlink(name)) << name;
        EXPECT_NE(run.Log(), kErrorLog) << name;
    }
}

TEST(ExpanderTableFile, NotATableFile)
{
    const char* tables[] = {"", "\n\n", "\" only\n# comments\n", "TABLES x\nEND\n", "INPUT A\nTABLE\n"};
    for (const char* table : tables) {
        Failure f = RunFailing("n", "n.tbl", table, "n.min");
        EXPECT_EQ(f.console, Lines({"NO QUORLET INPUT FILE"})) << table;
        EXPECT_EQ(f.result, Lines({"NO QUORLET INPUT FILE"})) << table;
    }
}

TEST(ExpanderTableFile, EndLineMissingAtEachPlace)
{
    const std::string tables[] = {
        Lines({"TABLE"}),
        Lines({"TABLE", "INPUT A", "OUTPUT F", "\" nothing more"}),
        Lines({"TABLE", "INPUT A", "OUTPUT F", "STATES", "A 0"}),
        Lines({"TABLE", "INPUT A", "OUTPUT F", "STATES", "A 0", "END", "\" only a comment"}),
    };
    for (const std::string& table : tables) {
        Failure f = RunFailing("e.tbl D", "e.tbl", table, "e.min");
        EXPECT_TRUE(EndsWith(f.console, "END LINE MISSING\n")) << table << "\n" << f.console;
        EXPECT_TRUE(EndsWith(f.result, "END LINE MISSING\n")) << table << "\n" << f.result;
    }
    // After the last term: the echo stands, then the message.
    Failure f = RunFailing("e", "e.tbl", Lines({"TABLE", "INPUT A", "OUTPUT F", "1 1", "0 0"}), "e.min");
    EXPECT_EQ(f.result, Head("e.tbl") + Lines({"FUNCTION TABLE", "", "=====", "A   F", "=====", "1 | 1", "0 | 0",
                                               "END LINE MISSING"}));
}

TEST(ExpanderTableFile, TermVectors)
{
    const std::string head = Lines({"TABLE", "INPUT A B C", "OUTPUT F G"});
    struct Case {
        const char* term;
        const char* tail;  // last console lines
    } cases[] = {
        {"END", "END   INCORRECT INPUT VECTOR\n"},
        {"0x1 11", "0x1   INCORRECT INPUT VECTOR\n"},
        {"01", "01    INCORRECT INPUT VECTOR\n"},
        {"01 # 1 11", "01    INCORRECT INPUT VECTOR\n"},
        {"011 1", "011 | 1 \nINCORRECT OUTPUT VECTOR\n"},
        {"011 1x", "011 | 1x\nINCORRECT OUTPUT VECTOR\n"},
        {"011 11 1", "011 | 111\nINCORRECT OUTPUT VECTOR\n"},
        {"011 11 zz \" comment", "011 | 11zz\nINCORRECT OUTPUT VECTOR\n"},
    };
    for (const Case& c : cases) {
        Failure f = RunFailing("v", "v.tbl", head + Lines({c.term, "END"}), "v.min");
        std::string tail = c.tail;
        ASSERT_GE(f.console.size(), tail.size());
        EXPECT_TRUE(EndsWith(f.console, tail)) << c.term << "\n" << f.console;
        EXPECT_TRUE(EndsWith(f.result, tail)) << c.term << "\n" << f.result;
    }
}

TEST(ExpanderTableFile, Conflicts)
{
    const std::string head = Lines({"TABLE", "INPUT A B", "OUTPUT F"});
    Failure f = RunFailing("c", "c.tbl", head + Lines({"01 1", "1- 1", "-0 0", "END"}), "c.min");
    EXPECT_TRUE(EndsWith(f.console, "\n-0 | 0\nLINE 3 IS CONFLICTING WITH LINE 2:   1- | 1\n")) << f.console;

    f = RunFailing("c", "c.tbl", head + Lines({"1- 1", "-0 -", "END"}), "c.min");
    EXPECT_NE(f.result.find("LINE 2 IS CONFLICTING WITH LINE 1:   1- | 1\n"), std::string::npos);

    // A state table indents the earlier term under the codes and splits it after n and m.
    f = RunFailing("s.tbl JK", "s.tbl",
                   Lines({"TABLE", "INPUT X", "OUTPUT Z", "STATES", "A 0", "B 1", "END", "A - B 1", "A 1 A 1", "END"}),
                   "s.min");
    EXPECT_TRUE(EndsWith(f.console, "\n   A 1 |    A 1    >>>    0 1 | 0- 1\nLINE 2 IS CONFLICTING WITH LINE 1:   " +
                                        std::string(26, ' ') + "0 - | 1- 1\n"))
        << f.console;
}

TEST(ExpanderTableFile, TermCountLimit)
{
    auto table = [](int terms) {
        std::string text = "TABLE\nINPUT A B C D E F G H I J K\nOUTPUT Z\n";
        for (int i = 0; i < terms; ++i) text += Binary(i, 11) + " 1\n";
        return text + "END\n";
    };
    ExpanderRun ok;
    ok.Go("big", "big.tbl", table(2000));
    EXPECT_FALSE(ok.error);
    EXPECT_NE(ReadFile("exp_tbl.$$$").find("\n.p 2000\n"), std::string::npos);

    Failure f = RunFailing("big", "big.tbl", table(2001), "big.min");
    EXPECT_TRUE(EndsWith(f.console, "\n11111001111 | 1\nCAN'T HANDLE MORE THAN 2000 INPUT TERMS\n"));
}

TEST(ExpanderTableFile, ColumnLimits)
{
    std::string names;
    for (int i = 0; i < 41; ++i) names += " N" + std::to_string(i);
    Failure f = RunFailing("w", "w.tbl", "TABLE\nINPUT" + names + "\nOUTPUT F\n1 1\nEND\n", "w.min");
    EXPECT_EQ(f.console, Lines({"MORE THAN 40 INPUTS OR OUTPUTS"}));
    f = RunFailing("w", "w.tbl", "TABLE\nOUTPUT" + names + "\nINPUT F\n1 1\nEND\n", "w.min");
    EXPECT_EQ(f.console, Lines({"MORE THAN 40 INPUTS OR OUTPUTS"}));

    // 39 inputs and two state variables: too many input columns; 20 outputs and 11 JK pairs too.
    std::string inputs39;
    for (int i = 0; i < 39; ++i) inputs39 += " I" + std::to_string(i);
    f = RunFailing("w.tbl D", "w.tbl", "TABLE\nINPUT" + inputs39 + "\nSTATES\nA 00\nEND\nA\nEND\n", "w.min");
    EXPECT_EQ(f.console, Lines({"state    A:  00", "MORE THAN 40 INPUTS OR OUTPUTS"}));
    std::string outputs20;
    for (int i = 0; i < 20; ++i) outputs20 += " O" + std::to_string(i);
    f = RunFailing("w.tbl JK", "w.tbl", "TABLE\nOUTPUT" + outputs20 + "\nSTATES\nA 00000000000\nEND\nA\nEND\n",
                   "w.min");
    EXPECT_EQ(f.console, Lines({"state    A:  00000000000", "MORE THAN 40 INPUTS OR OUTPUTS"}));

    f = RunFailing("/E w", "w.tbl",
                   "TABLE\nINPUT A B C D E F G H I J K L M N\nOUTPUT O P Q R S T U V W X Y Z X1\n1 1\nEND\n", "w.equ");
    EXPECT_TRUE(EndsWith(f.result, "\n=======\nEQUATIONS OUTPUT IS INCOMPATIBLE WITH MORE THAN 26 VARIABLES\n") ||
                EndsWith(f.result, "\n\nEQUATIONS OUTPUT IS INCOMPATIBLE WITH MORE THAN 26 VARIABLES\n"))
        << f.result;
}

TEST(ExpanderStateList, SymbolsAndCodes)
{
    const std::string head = Lines({"TABLE", "INPUT X", "OUTPUT Z", "STATES"});
    struct Case {
        const char* states;
        const char* tail;
    } cases[] = {
        {"FIVE5 0", "state FIVE5:  ILLEGAL STATE SYMBOL\n"},
        {"A 0\na 1", "state    A:  0\nstate    A:  DUPLICATE STATE SYMBOL\n"},
        {"A 01\nB 1", "state    B:  1\nERROR IN STATE ENCODING\n"},
        {"A 0x", "state    A:  0x\nERROR IN STATE ENCODING\n"},
        {"A", "state    A:  \nERROR IN STATE ENCODING\n"},
        {"A 0-\nB 0 -", "state    B:  0-\nDUPLICATE STATE CODE\n"},
        {"A 01\nB 0 1", "state    B:  01\nDUPLICATE STATE CODE\n"},
        {"A 00000000000000000000000000000000000000000", "ERROR IN STATE ENCODING\n"},
        {"", "ERROR IN STATE ENCODING\n"},
    };
    for (const Case& c : cases) {
        Failure f = RunFailing("s.tbl D", "s.tbl", head + c.states + "\nEND\nA 0 A 0\nEND\n", "s.min");
        std::string tail = c.tail;
        EXPECT_TRUE(EndsWith(f.console, tail)) << c.states << "\n" << f.console;
        EXPECT_TRUE(EndsWith(f.result, tail)) << c.states << "\n" << f.result;
    }
    // Codes 01 and 10 differ; a 4-character symbol is fine.
    ExpanderRun run;
    run.Go("s.tbl D", "s.tbl", head + "ABCD 01\nB 10\nEND\nabcd 0 B 0\nEND\n");
    EXPECT_FALSE(run.error) << run.Output();
}

TEST(ExpanderStateList, StateListIsBoundedAt256)
{
    auto table = [](int states) {
        std::string text = "TABLE\nINPUT X\nSTATES\n";
        for (int i = 0; i < states; ++i) text += "S" + std::to_string(i) + " " + Binary(i, 9) + "\n";
        return text + "END\nS0 - S1\nEND\n";
    };
    ExpanderRun ok;
    ok.Go("m.tbl D", "m.tbl", table(256));
    EXPECT_FALSE(ok.error);
    Failure f = RunFailing("m.tbl D", "m.tbl", table(257), "m.min");
    EXPECT_TRUE(EndsWith(f.console, "\nstate S255:  011111111\nCAN'T HANDLE MORE THAN 256 STATES\n"));
}

TEST(ExpanderStateList, FlipFlopTypes)
{
    const std::string table = Lines({"TABLE", "STATES", "A 0", "END", "A A", "END"});
    Failure f = RunFailing("m.tbl XY", "m.tbl", table, "m.min");
    EXPECT_EQ(f.console, Lines({"ILLEGAL FLIPFLOP TYPE"}));
    EXPECT_EQ(f.result, Head("m.tbl") + Lines({"ILLEGAL FLIPFLOP TYPE"}));

    // Input that ends while the type is asked stops the run instead of asking forever.
    ExpanderRun run;
    run.questions.PushLine("q");
    run.Go("m.tbl", "m.tbl", table);
    EXPECT_TRUE(run.error);
    EXPECT_EQ(run.questions.LinesAsked(), 2);
    EXPECT_EQ(run.Log(), kErrorLog);
}

TEST(ExpanderStateList, ReservedNames)
{
    Failure f = RunFailing("r.tbl T", "r.tbl",
                           Lines({"TABLE", "INPUT Q1 _T0 Q2 X", "OUTPUT q0 _r1 _D2 Q2 Y", "STATES", "A 00", "END",
                                  "A 0000 A 00000", "END"}),
                           "r.min");
    EXPECT_EQ(f.console, Lines({"state    A:  00", "ERROR: ILLEGAL INPUT NAME Q1", "ERROR: ILLEGAL INPUT NAME _T0",
                                "ERROR: ILLEGAL OUTPUT NAME Q0", "ERROR: ILLEGAL OUTPUT NAME _R1",
                                "NOTE:  USE /R SWITCH FOR FLIPFLOP OUTPUTS AS PRIMARIES"}));
}

TEST(ExpanderStateList, Transitions)
{
    const std::string head = Lines({"TABLE", "INPUT X", "OUTPUT Z", "STATES", "A 0-", "B 11", "C 1.", "END"});
    struct Case {
        const char* type;
        const char* line;
        const char* tail;
    } cases[] = {
        {"D", "A x B 1", "   A x |      INCORRECT INPUT VECTOR\n"},
        {"D", "A", "   A   |      INCORRECT INPUT VECTOR\n"},
        {"D", "A 1 B 1 1", "   A 1 |    B 11\nINCORRECT OUTPUT VECTOR\n"},
        {"D", "A 1 X 1", "   A 1 |    X 1    >>>    STATE SYMBOL NOT FOUND\n"},
        {"D", "A 1 #B 1", "   A 1 |           >>>    STATE SYMBOL NOT FOUND\n"},
        {"D", "A 1 B", "   A 1 |    B      >>>    0- 1 | 11  \nINCORRECT OUTPUT VECTOR\n"},
        {"D", "A 1 B x", "   A 1 |    B x    >>>    0- 1 | 11 x\nINCORRECT OUTPUT VECTOR\n"},
        {"T", "A 1 B 1", "   A 1 |    B 1    >>>    UNSPECIFIED PRIOR STATE FOR TOGGLES NOT ALLOWED\n"},
    };
    for (const Case& c : cases) {
        Failure f = RunFailing(std::string("t.tbl ") + c.type, "t.tbl", head + c.line + "\nEND\n", "t.min");
        std::string tail = c.tail;
        EXPECT_TRUE(EndsWith(f.console, tail)) << c.line << "\n" << f.console;
        EXPECT_TRUE(EndsWith(f.result, tail)) << c.line << "\n" << f.result;
    }
}

TEST(ExpanderTableFile, HostileInputNeverCrashes)
{
    std::string binary;
    for (int i = 0; i < 2000; ++i) binary.push_back(static_cast<char>((i * 37) & 0xff));
    std::string longLine = "TABLE " + std::string(600, 'T') + "\nINPUT " + std::string(300, 'A') + "\nOUTPUT F\n" +
                           std::string(400, '1') + "\nEND\n";
    const std::string tables[] = {
        binary,
        "TABLE\nINPUT A B\nOUTPUT F\n1",  // truncated, no line end
        "TABLE\r\nINPUT A\r\nOUTPUT F\r\n1 1\r\nEND\r\n",
        longLine,
        std::string("TABLE\nINPUT A\0B\nOUTPUT F\n1\0 1\nEND\n", 34),
        "TABLE\nINPUT X\nSTATES\n" + std::string(300, 'S') + " 0\nEND\nS S\nEND\n",
        "TABLE\nINPUT X\nSTATES\nA " + std::string(300, '0') + "\nEND\nA 0 A\nEND\n",
    };
    for (const std::string& table : tables) {
        ExpanderRun run;
        run.Go("h.tbl D", "h.tbl", table);
        EXPECT_EQ(ReadFile("h.tbl"), table);
        std::string log = run.Log();
        EXPECT_TRUE(log == kErrorLog || log.find("NO_ERRORS") != std::string::npos) << log;
    }
    // CR LF is read as LF.
    ExpanderRun run;
    run.Go("h.tbl", "h.tbl", "TABLE\r\nINPUT A\r\nOUTPUT F\r\n1 1\r\nEND\r\n");
    EXPECT_FALSE(run.error);
}

}  // namespace
}  // namespace quorlet::test
