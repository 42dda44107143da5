// The driver's sequence of programs and argument lines, with recording stages in place of the
// real ones, and every error line of the driver.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "TQuorlet.h"
#include "TestSupport.h"
#include "UTables.h"

namespace quorlet {
namespace {

using test::Exists;
using test::WriteFile;

struct Script {
    std::vector<std::string> calls;  // "PROGNAME args"
    std::string logLine = "-o esp_tbl.$$$ exp_tbl.$$$";
    std::string logAfterCheck;  // replaces the log in the completeness check when set
    std::string outputCount = "3";
    bool writeTable = true;
    bool mooreNeedsSecondPass = false;
    bool mooreCombinationFails = false;
};
Script g_script;

class FakeStage : public TSubExec {
public:
    void Execute() override
    {
        std::string args;
        for (int i = 1; i <= ParamCount(); ++i) args += (i > 1 ? " " : "") + Param(i);
        g_script.calls.push_back(ProgName + (args.empty() ? "" : " " + args));
        if (ProgName == "EXPANDER") {
            WriteFile("exp_log.$$$", g_script.logLine + "\n\nT.min T.tbl\n");
            if (g_script.writeTable)
                WriteFile("exp_tbl.$$$", ".i 2\n.O " + g_script.outputCount + "\n.type fdr\n.p 0\n.e\n");
            WriteFile("exp_chk.$$$", ".i 2\n");
        } else if (ProgName == "SUPPLMNT" && !g_script.logAfterCheck.empty()) {
            WriteFile("exp_log.$$$", g_script.logAfterCheck + "\n");
        } else if (ProgName == "MOOR_CHK" && g_script.mooreNeedsSecondPass) {
            WriteFile("exp_tbl.###", ".i 2\n");
        } else if (ProgName == "MOOR_CMB" && !g_script.mooreCombinationFails) {
            std::remove("exp_tbl.###");
        }
    }
};

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_script = Script{};
        ClearSubTools();
        for (const char* name :
             {"EXPANDER", "QUOR_ESP", "SUPPLMNT", "SPLITTER", "COMBINER", "MOOR_CHK", "MOOR_CMB", "CONVERT"})
            RegisterSubTool(name, &MakeStage<FakeStage>);
    }
    void TearDown() override { ClearSubTools(); }

    void RunDriver(const std::string& commandLine)
    {
        TQuorlet driver;
        driver.ProgPath = harness.dir.Path().string() + "/QUORLET.EXE";
        harness.Run(driver, commandLine);
    }

    test::StageHarness harness;
};

const std::string kCheck = "QUOR_ESP -o esp_chk.$$$ -pos exp_chk.$$$";

TEST_F(DriverTest, NoOptionsRunsTheWholeTableIntoTheTableOutput)
{
    RunDriver(" adder.tbl ");
    EXPECT_EQ(g_script.calls, (std::vector<std::string>{"EXPANDER adder.tbl", kCheck, "SUPPLMNT",
                                                        "QUOR_ESP -o esp_tbl.$$$ exp_tbl.$$$", "CONVERT 1 no_lib"}));
    EXPECT_EQ(harness.lines,
              (std::vector<std::string>{"CHECKING COMPLETENESS OF INPUT TABLE", "MINIMIZING FUNCTION TABLE"}));
    EXPECT_FALSE(Exists("exp_chk.$$$"));
    EXPECT_FALSE(Exists("exp_tbl.$$$"));
}

TEST_F(DriverTest, OptionsReachTheTableReaderAndChooseTheConverter)
{
    RunDriver(" /E adder.tbl D ");
    EXPECT_EQ(g_script.calls.front(), "EXPANDER /E adder.tbl D");
    EXPECT_EQ(g_script.calls.back(), "CONVERT 2 no_lib");
}

TEST_F(DriverTest, ExtraOutputWordsGoToTheConverterAndNotToTheTableReader)
{
    RunDriver(" --kmap --vhdl /E adder.tbl D ");
    EXPECT_EQ(g_script.calls.front(), "EXPANDER /E adder.tbl D");
    EXPECT_EQ(g_script.calls.back(), "CONVERT 2 no_lib --kmap --vhdl");
    EXPECT_FALSE(Exists("exp_tbl.$$$"));

    // Only leading words are extra outputs; an unknown one stops the run before any stage.
    g_script.calls.clear();
    harness.lines.clear();
    RunDriver(" --maps /E adder.tbl ");
    EXPECT_TRUE(g_script.calls.empty());
    EXPECT_EQ(harness.lines, (std::vector<std::string>{"ILLEGAL COMMAND LINE OPTION: --maps"}));
}

TEST_F(DriverTest, LibraryArguments)
{
    const std::pair<const char*, const char*> cases[] = {
        {" /F:GENERICS/3 t.tbl", "CONVERT 3 GENERICS.lib"},
        {" /D:MYLIB t.tbl", "CONVERT 4 MYLIB.lib"},
        {" /F t.tbl", "CONVERT 3 no_lib"},
        {" /AP22V10 t.tbl", "CONVERT 6 P22V10.lib"},
        {" /J t.tbl", "CONVERT 5 no_lib"},
    };
    for (const auto& [line, expected] : cases) {
        g_script.calls.clear();
        RunDriver(line);
        ASSERT_FALSE(g_script.calls.empty()) << line;
        EXPECT_EQ(g_script.calls.back(), expected) << line;
    }
}

TEST_F(DriverTest, IllegalAndIncompatibleOptionsRunNothing)
{
    for (const char* word : {"/SX", "/EE", "/PO", "/T", "/"}) {
        harness.lines.clear();
        g_script.calls.clear();
        RunDriver(std::string(" ") + word + " t.tbl");
        EXPECT_TRUE(g_script.calls.empty()) << word;
        EXPECT_EQ(harness.lines, (std::vector<std::string>{std::string("ILLEGAL COMMAND LINE OPTION: ") + word}));
    }
    harness.lines.clear();
    RunDriver(" /E /A t.tbl");
    EXPECT_TRUE(g_script.calls.empty());
    EXPECT_EQ(harness.lines, (std::vector<std::string>{"INCOMPATIBLE OUTPUT OPTIONS SELECTED"}));
}

TEST_F(DriverTest, OptionsAfterTheTableFileAreNotTheDriversBusiness)
{
    RunDriver(" t.tbl /X");
    EXPECT_EQ(g_script.calls.back(), "CONVERT 1 no_lib");
}

TEST_F(DriverTest, SingleOutputModeSplitsEveryFunction)
{
    RunDriver(" /S t.tbl");
    EXPECT_EQ(g_script.calls,
              (std::vector<std::string>{"EXPANDER /S t.tbl", kCheck, "SUPPLMNT", "SPLITTER 01",
                                        "QUOR_ESP -o esp_tbl.### exp_tbl.###", "COMBINER", "SPLITTER 02",
                                        "QUOR_ESP -o esp_tbl.### exp_tbl.###", "COMBINER", "SPLITTER 03",
                                        "QUOR_ESP -o esp_tbl.### exp_tbl.###", "COMBINER", "CONVERT 1 no_lib"}));
    EXPECT_EQ(harness.lines, (std::vector<std::string>{"CHECKING COMPLETENESS OF INPUT TABLE", "MINIMIZING FUNCTION: 1",
                                                       "MINIMIZING FUNCTION: 2", "MINIMIZING FUNCTION: 3", ""}));
}

TEST_F(DriverTest, SingleOutputModeWithNoOutputsRunsNoPass)
{
    g_script.outputCount = "0";
    WriteFile("exp_tbl.###", "stale");
    RunDriver(" /S /M t.tbl");
    EXPECT_EQ(g_script.calls,
              (std::vector<std::string>{"EXPANDER /S /M t.tbl", kCheck, "SUPPLMNT", "CONVERT 1 no_lib"}));
    EXPECT_EQ(harness.lines.back(), "");
    EXPECT_FALSE(Exists("exp_tbl.###"));
}

TEST_F(DriverTest, SingleOutputModeRefusesABadTable)
{
    g_script.outputCount = "3x";
    RunDriver(" /S t.tbl");
    EXPECT_EQ(harness.lines.back(), "ILLEGAL TEMPORARY TABLE FILE FORMAT");
    EXPECT_EQ(g_script.calls.back(), "SUPPLMNT");
    g_script = Script{};
    g_script.writeTable = false;
    std::remove("exp_tbl.$$$");  // the failed run above leaves its files in place
    RunDriver(" /S t.tbl");
    EXPECT_EQ(harness.lines.back(), "UNABLE TO OPEN TEMPORARY FILE");
}

TEST_F(DriverTest, MooreModeWithoutSecondPassGoesStraightToTheConverter)
{
    RunDriver(" /M t.tbl JK");
    EXPECT_EQ(g_script.calls,
              (std::vector<std::string>{"EXPANDER /M t.tbl JK", kCheck, "SUPPLMNT",
                                        "QUOR_ESP -o esp_tbl.$$$ exp_tbl.$$$", "MOOR_CHK", "CONVERT 1 no_lib"}));
}

TEST_F(DriverTest, MooreModeSecondPass)
{
    g_script.mooreNeedsSecondPass = true;
    RunDriver(" /M t.tbl JK");
    EXPECT_EQ(g_script.calls, (std::vector<std::string>{
                                  "EXPANDER /M t.tbl JK", kCheck, "SUPPLMNT", "QUOR_ESP -o esp_tbl.$$$ exp_tbl.$$$",
                                  "MOOR_CHK", "QUOR_ESP -o esp_tbl.$$$ exp_tbl.$$$",
                                  "QUOR_ESP -o esp_tbl.### exp_tbl.###", "MOOR_CMB", "CONVERT 1 no_lib"}));
    EXPECT_EQ(harness.lines.back(), "SECOND PASS REQUIRED FOR MOORE TYPE REALISATION");
}

TEST_F(DriverTest, MooreModeFailureErasesTheRun)
{
    g_script.mooreNeedsSecondPass = true;
    g_script.mooreCombinationFails = true;
    WriteFile("esp_tbl.$$$", "x");
    RunDriver(" /M t.tbl JK");
    EXPECT_EQ(g_script.calls.back(), "MOOR_CMB");
    EXPECT_EQ(harness.lines.back(), "ERROR: INPUT TABLE NOT SPECIFIED AS MOORE TYPE STATE MACHINE");
    for (const char* f : {"exp_tbl.###", "esp_tbl.###", "exp_tbl.$$$", "esp_tbl.$$$", "exp_log.$$$"})
        EXPECT_FALSE(Exists(f)) << f;
}

TEST_F(DriverTest, AnErrorLogEndsTheRunAfterTheReaderOrTheCheck)
{
    g_script.logLine = "ERROR";
    RunDriver(" t.tbl");
    EXPECT_EQ(g_script.calls, (std::vector<std::string>{"EXPANDER t.tbl"}));
    EXPECT_FALSE(Exists("exp_log.$$$"));
    g_script = Script{};
    g_script.logAfterCheck = "ERROR";
    RunDriver(" t.tbl");
    EXPECT_EQ(g_script.calls, (std::vector<std::string>{"EXPANDER t.tbl", kCheck, "SUPPLMNT"}));
    EXPECT_FALSE(Exists("exp_log.$$$"));
}

TEST_F(DriverTest, AMissingLogIsReported)
{
    ClearSubTools();
    RunDriver(" t.tbl");
    EXPECT_EQ(harness.lines, (std::vector<std::string>{"UNABLE TO OPEN TEMPORARY FILE"}));
}

TEST_F(DriverTest, ProductOfSumsLineReachesTheMinimizer)
{
    g_script.logLine = "-o esp_tbl.$$$ -pos exp_tbl.$$$";
    RunDriver(" /P t.tbl");
    EXPECT_EQ(g_script.calls[3], "QUOR_ESP -o esp_tbl.$$$ -pos exp_tbl.$$$");
}

TEST_F(DriverTest, ToolDirectoryComesFromTheConfiguration)
{
    // Programs not registered here are started from the tool directory: record the paths.
    DebugEnabled = true;
    WriteFile("QUORLET.CFG", "\" comment\nQUORLET_PATH = /opt/Quorlet/bin/\n");
    g_script.logLine = "ERROR";
    RunDriver(" t.tbl");
    bool found = false;
    for (const auto& l : harness.lines) found = found || l == "Starting Application: /opt/Quorlet/bin/expander.exe";
    EXPECT_TRUE(found);

    harness.lines.clear();
    WriteFile("QUORLET.CFG", "QUORLET_PATH=./tools/\n");
    RunDriver(" t.tbl");
    std::string expected = "Starting Application: " + harness.dir.Path().string() + "/./tools/expander.exe";
    found = false;
    for (const auto& l : harness.lines) found = found || l == expected;
    EXPECT_TRUE(found);
}

// The window's run: a directory that another run holds is not waited for, and nothing runs.
TEST_F(DriverTest, ABusyDirectoryIsRefusedWithoutWaiting)
{
    WriteFile("exp_tbl.$$$", "the other run's table\n");
    int held = open("quorlet.lock", O_RDWR | O_CREAT, 0666);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    harness.NewRun();
    RunDriver(" /E adder.tbl ");
    close(held);
    EXPECT_TRUE(g_script.calls.empty());
    EXPECT_EQ(harness.lines, std::vector<std::string>{"ANOTHER RUN IS USING THIS FOLDER; THIS RUN DOES NOT START"});
    EXPECT_TRUE(harness.Outcome().errorSeen);
    EXPECT_EQ(test::ReadFile("exp_tbl.$$$"), "the other run's table\n");

    // Free again: the run goes ahead and leaves neither its files nor the lock file behind.
    RunDriver(" /E adder.tbl ");
    EXPECT_EQ(g_script.calls.front(), "EXPANDER /E adder.tbl");
    EXPECT_FALSE(Exists("exp_tbl.$$$"));
    EXPECT_FALSE(Exists("exp_log.$$$"));
    EXPECT_FALSE(Exists("quorlet.lock"));
}

}  // namespace
}  // namespace quorlet
