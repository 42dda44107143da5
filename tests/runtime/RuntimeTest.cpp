// Stage runs, the registry's naming rules, open-file bookkeeping, word scanning, numbers,
// external programs and the console's line rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "TestSupport.h"
#include "USubExec.h"
#include "WorkDirectory.h"

namespace quorlet {
namespace {

using test::StageHarness;

class RecordingStage : public TSubExec {
public:
    void Execute() override
    {
        ++runs;
        for (int i = 1; i <= ParamCount(); ++i) params.push_back(Param(i));
        if (throwInside) throw std::runtime_error("stage failure");
    }
    static inline int runs = 0;
    static inline std::vector<std::string> params;
    static inline bool throwInside = false;
};

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSubTools();
        RegisterSubTool("EXPANDER", &MakeStage<RecordingStage>);
        RecordingStage::runs = 0;
        RecordingStage::params.clear();
        RecordingStage::throwInside = false;
    }
    void TearDown() override { ClearSubTools(); }
    StageHarness harness;
};

TEST_F(RegistryTest, ProgramNamesFindTheStageWhateverTheirCaseDirectoryOrExtension)
{
    for (const char* path : {"expander.exe", "EXPANDER.EXE", "Expander.Exe", "/x/expander.exe", "expander"}) {
        auto stage = FindSubTool(path);
        ASSERT_NE(stage, nullptr) << path;
        EXPECT_EQ(stage->ProgName, "EXPANDER");
    }
    EXPECT_EQ(FindSubTool("quor_esp.exe"), nullptr);
    EXPECT_EQ(FindSubTool("expanderx.exe"), nullptr);
}

TEST_F(RegistryTest, ProgramPathIsTheAbsoluteDirectoryAndTheNameInCapitals)
{
    std::filesystem::create_directory("tools");
    auto stage = FindSubTool("tools/expander.exe");
    ASSERT_NE(stage, nullptr);
    std::string dir = std::filesystem::canonical("tools").string();
    EXPECT_EQ(stage->ProgPath, dir + "/EXPANDER.EXE");
    // A directory that does not exist yields the current directory.
    auto lost = FindSubTool("nowhere/expander.exe");
    ASSERT_NE(lost, nullptr);
    EXPECT_EQ(lost->ProgPath, CurrentDir() + "/EXPANDER.EXE");
}

TEST_F(RegistryTest, RegistryRefusesDuplicatesAndKeepsItsLimit)
{
    EXPECT_FALSE(RegisterSubTool("expander", &MakeStage<RecordingStage>));
    for (int i = 1; i < kMaxSubTools; ++i)
        EXPECT_TRUE(RegisterSubTool("S" + std::to_string(i), &MakeStage<RecordingStage>));
    EXPECT_FALSE(RegisterSubTool("ONEMORE", &MakeStage<RecordingStage>));
}

TEST_F(RegistryTest, CommandLineIsCutAtSingleBlanksWithoutEmptyWords)
{
    RunProgram("expander.exe", "  a   b ");
    ASSERT_EQ(RecordingStage::params, (std::vector<std::string>{"a", "b"}));
    RecordingStage::params.clear();
    RunProgram("expander.exe", "");
    EXPECT_TRUE(RecordingStage::params.empty());
    RecordingStage::params.clear();
    RunProgram("expander.exe", "x\ty");  // tabs are not separators here
    EXPECT_EQ(RecordingStage::params, (std::vector<std::string>{"x\ty"}));
}

TEST_F(RegistryTest, AtMostNinetyNineWordsReachTheStage)
{
    std::string line;
    for (int i = 0; i < 120; ++i) line += " w" + std::to_string(i);
    RunProgram("expander.exe", line);
    ASSERT_EQ(RecordingStage::params.size(), 99u);
    EXPECT_EQ(RecordingStage::params.back(), "w98");
}

TEST_F(RegistryTest, AnExceptionInsideAStageIsDroppedAndTheStackUnwound)
{
    RecordingStage::throwInside = true;
    EXPECT_NO_THROW(RunProgram("expander.exe", "a"));
    EXPECT_EQ(RecordingStage::runs, 1);
    EXPECT_EQ(FileControl().Depth(), 0);
}

TEST_F(RegistryTest, DebugLinesOfAnInProcessRun)
{
    DebugEnabled = true;
    RunProgram("expander.exe", "a");
    Console().Flush();
    ASSERT_GE(harness.lines.size(), 4u);
    EXPECT_EQ(harness.lines[0].rfind("Created SubExec: EXPANDER ", 0), 0u);
    EXPECT_EQ(harness.lines[1], "Starting Application: expander.exe");
    EXPECT_EQ(harness.lines[2], "Inline APPL Started: EXPANDER");
    EXPECT_EQ(harness.lines[3], "Current Dir is: " + CurrentDir());
    EXPECT_EQ(harness.lines.back(), "Inline APPL Stopped: EXPANDER");
}

TEST_F(RegistryTest, AMissingExternalProgramWritesOnlyTheFourProcessLines)
{
    DebugEnabled = true;
    RunProgram("quor_esp.exe", "-o x y");
    Console().Flush();
    EXPECT_EQ(harness.lines,
              (std::vector<std::string>{"Starting Application: quor_esp.exe", "Current Dir is: " + CurrentDir(),
                                        "Commandline is -o x y", "Application Ended: quor_esp.exe"}));
}

// A stage that opens files and leaves some of them open.
class FileStage : public TSubExec {
public:
    void Execute() override
    {
        OpenOut(a, "a.txt");
        OpenIn(a, "a.txt");  // the same file variable again
        OpenOut(b, "b.txt");
        b.WriteLine("kept");
        openWhileRunning = static_cast<int>(OpenFiles().size());
    }
    TextFile a, b;
    int openWhileRunning = 0;
};

TEST(FileControlTest, FilesLeftOpenAreClosedAtTheEndOfTheStage)
{
    StageHarness harness;
    DebugEnabled = true;
    FileStage stage;
    harness.Run(stage);
    EXPECT_EQ(stage.openWhileRunning, 2);
    EXPECT_FALSE(stage.a.IsOpen());
    EXPECT_FALSE(stage.b.IsOpen());
    EXPECT_EQ(test::ReadFile("b.txt"), "kept\n");
    auto count = [&](const std::string& prefix) {
        return std::count_if(harness.lines.begin(), harness.lines.end(),
                             [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    };
    EXPECT_EQ(count(">>>>>>>>>>>>>>Opening Open file: a.txt"), 1);
    EXPECT_EQ(count(">>>>>>>>>>>>>>Closing Unclosed file: "), 2);
    EXPECT_EQ(FileControl().Depth(), 0);
}

TEST(FileControlTest, EraseFileOnAMissingFileLeavesNothingBehind)
{
    StageHarness harness;
    DebugEnabled = true;
    struct EraseStage : TSubExec {
        void Execute() override { EraseFile("missing.$$$"); }
    } stage;
    harness.Run(stage);
    EXPECT_FALSE(test::Exists("missing.$$$"));
    ASSERT_FALSE(harness.lines.empty());
    EXPECT_EQ(harness.lines.front(), "Erase File: missing.$$$ 1:assign");
    EXPECT_EQ(harness.lines.back(), "Erase Done");
}

TEST(FileControlTest, OpenInLogsItsResult)
{
    StageHarness harness;
    DebugEnabled = true;
    struct OpenStage : TSubExec {
        void Execute() override
        {
            TextFile f;
            ok = OpenIn(f, "none.txt");
        }
        bool ok = true;
    } stage;
    harness.Run(stage);
    EXPECT_FALSE(stage.ok);
    ASSERT_EQ(harness.lines.size(), 2u);
    EXPECT_EQ(harness.lines[0], "Assigning In: none.txt (Current Dir = " + CurrentDir() + " )");
    EXPECT_EQ(harness.lines[1], "Assign result:none.txt fail");
}

TEST(FileControlTest, AppendNeedsAnExistingFile)
{
    StageHarness harness;
    struct AppendStage : TSubExec {
        void Execute() override
        {
            TextFile f;
            missing = OpenAppend(f, "r.min");
            test::WriteFile("r.min", "head\n");
            present = OpenAppend(f, "r.min");
            f.WriteLine("tail");
            CloseText(f);
        }
        bool missing = true, present = false;
    } stage;
    harness.Run(stage);
    EXPECT_FALSE(stage.missing);
    EXPECT_TRUE(stage.present);
    EXPECT_EQ(test::ReadFile("r.min"), "head\ntail\n");
}

struct WordStage : TSubExec {
    void Execute() override {}
};

TEST(WordScanTest, WordsSeparatorsAndComments)
{
    WordStage s;
    std::string line = "  INPUT A,B;;C|D\tE \"comment F";
    EXPECT_EQ(s.FirstWord(line), "INPUT");
    std::vector<std::string> words;
    for (std::string w = s.NextWord(line); !w.empty(); w = s.NextWord(line)) words.push_back(w);
    EXPECT_EQ(words, (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(s.FirstWord("#first stays"), "#first");
    EXPECT_EQ(s.NextWord("#first stays"), "stays");
    EXPECT_EQ(s.FirstWord(""), "");
}

TEST(WordScanTest, ParseNumberReportsEveryBadCharacter)
{
    StageHarness harness;
    WordStage s;
    EXPECT_EQ(s.ParseNumber("1a"), 59);
    EXPECT_TRUE(s.ErrorFlag);
    Console().Flush();
    EXPECT_EQ(harness.lines, (std::vector<std::string>{"NUMBER CHECK ERROR"}));
    WordStage t;
    EXPECT_EQ(t.ParseNumber("2000"), 2000);
    EXPECT_FALSE(t.ErrorFlag);
    harness.lines.clear();
    t.ParseNumber("x y");
    Console().Flush();
    EXPECT_EQ(harness.lines.size(), 3u);
    t.ErrorFlag = false;
    EXPECT_EQ(t.ParseNumber(""), 0);
    EXPECT_FALSE(t.ErrorFlag);
}

TEST(WordScanTest, ACommentEndsTheLineForEveryLaterCall)
{
    WordStage s;
    const std::string line = "DEVICE \"note P22V10";
    EXPECT_EQ(s.FirstWord(line), "DEVICE");
    EXPECT_EQ(s.NextWord(line), "");
    EXPECT_EQ(s.NextWord(line), "");
    EXPECT_EQ(SplitWords(line), (std::vector<std::string>{"DEVICE", "\"note", "P22V10"}));
    EXPECT_TRUE(SplitWords(" ,;| ").empty());
}

TEST(NumberTest, OneParserForCountsSignsAndCeilings)
{
    int value = -1;
    EXPECT_TRUE(ParseCount("", value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(ParseCount("0042", value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(ParseCount("99999999999999999999", value));
    EXPECT_EQ(value, kCountCeiling);
    EXPECT_FALSE(ParseCount("-1", value));
    EXPECT_FALSE(ParseCount("1 ", value));

    ParsedNumber bad = ParseDecimal("12x4y");
    EXPECT_FALSE(bad.isNumber);
    EXPECT_EQ(bad.value, 12);  // the digits before the first bad character
    EXPECT_EQ(bad.badChars, 2);

    const NumberRules signedWord{.minusAllowed = true, .plusAllowed = true, .emptyIsZero = false, .ceiling = 1000};
    EXPECT_EQ(ParseDecimal("-17", signedWord).value, -17);
    EXPECT_EQ(ParseDecimal("+17", signedWord).value, 17);
    EXPECT_FALSE(ParseDecimal("+", signedWord).isNumber);
    EXPECT_FALSE(ParseDecimal("", signedWord).isNumber);
    ParsedNumber big = ParseDecimal("-123456", signedWord);
    EXPECT_TRUE(big.isNumber && big.capped);
    EXPECT_EQ(big.value, -1000);
    EXPECT_FALSE(ParseDecimal("-5").isNumber);  // no sign unless the rules allow one
    EXPECT_FALSE(ParseDecimal("+5", NumberRules{.minusAllowed = true}).isNumber);
}

TEST(PathTest, SplitPathAndProgramDir)
{
    PathParts p = SplitPath("/a/b/adder.tbl");
    EXPECT_EQ(p.dir, "/a/b/");
    EXPECT_EQ(p.name, "adder");
    EXPECT_EQ(p.ext, ".tbl");
    PathParts q = SplitPath("plain");
    EXPECT_EQ(q.dir, "");
    EXPECT_EQ(q.name, "plain");
    EXPECT_EQ(q.ext, "");
}

TEST(PathTest, SystemNamesAreFoundWhateverTheirCase)
{
    test::TempWorkDir dir;
    test::WriteFile("GENERICS.LIB", "x");
    test::WriteFile("other.lib", "x");
    test::WriteFile("notes.txt", "x");
    EXPECT_EQ(FindFileNoCase("GENERICS.lib"), "GENERICS.LIB");
    EXPECT_EQ(FindFileNoCase(dir.Path().string() + "/generics.lib"), dir.Path().string() + "/GENERICS.LIB");
    EXPECT_EQ(FindMatches(".", "*.lib"), (std::vector<std::string>{"GENERICS.LIB", "other.lib"}));
    test::WriteFile("ascin", "");
    EXPECT_EQ(ResolveProgramFile("ascin.exe"), "ascin");
    EXPECT_EQ(ResolveProgramFile("asyin.exe"), "");
}

TEST(ProcessTest, ArgumentsReachTheChildWithoutAShell)
{
    test::TempWorkDir dir;
    // The child writes its arguments one a line; a shell would have split, expanded or run them.
    test::WriteFile("echoargs", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n");
    std::filesystem::permissions("echoargs", std::filesystem::perms::owner_all);
    LaunchProcess("echoargs.exe", "\"my file; touch pwned.txt\" 'x' $HOME", true);
    EXPECT_EQ(test::ReadFile("args.txt"), "my file; touch pwned.txt\n'x'\n$HOME\n");
    EXPECT_FALSE(test::Exists("pwned.txt"));
    EXPECT_FALSE(LaunchProcess("absent.exe", "", true));
}

TEST(ProcessTest, QuotesGroupAndAreDropped)
{
    EXPECT_EQ(SplitCommandLine("\"B.asc\""), (std::vector<std::string>{"B.asc"}));
    EXPECT_EQ(SplitCommandLine("  -o  esp_tbl.$$$ exp_tbl.$$$ "),
              (std::vector<std::string>{"-o", "esp_tbl.$$$", "exp_tbl.$$$"}));
    EXPECT_EQ(SplitCommandLine("a\" b \"c"), (std::vector<std::string>{"a b c"}));
}

// ---- Console ----

TEST(ConsoleTest, TextWithoutLineEndJoinsTheNextLine)
{
    std::vector<std::string> lines;
    StringListTarget target(lines);
    ScopedConsole console(&target);
    Console().Write("AB");
    Console().WriteLine("C");
    Console().WriteLine("D");
    Console().Write("E");
    Console().Flush();
    EXPECT_EQ(lines, (std::vector<std::string>{"ABC", "D", "E"}));
}

TEST(ConsoleTest, LongLinesArriveInPiecesAndFormOneLine)
{
    std::vector<std::string> lines;
    StringListTarget target(lines);
    ScopedConsole console(&target);
    std::string longLine(300, 'x');
    Console().WriteLine(longLine);
    Console().Write("two\r\nlines\r\n");
    EXPECT_EQ(lines, (std::vector<std::string>{longLine, "two", "lines"}));
}

TEST(ConsoleTest, CurrentLineIsBroughtBackIntoRange)
{
    std::vector<std::string> lines;
    StringListTarget target(lines);
    ScopedConsole console(&target);
    Console().WriteLine("one");
    // Someone else emptied the list meanwhile: the next text starts the list anew.
    lines.clear();
    Console().WriteLine("two");
    EXPECT_EQ(lines, (std::vector<std::string>{"two"}));
    lines.push_back("added");
    lines.push_back("more");
    Console().WriteLine("three");
    EXPECT_EQ(lines.back(), "three");
}

// A stream gets LF line ends, also where the 128-character buffer ends between CR and LF; a CR
// that no LF follows is written as it came.
TEST(ConsoleTest, AStreamNeverGetsCarriageReturnBeforeLineFeed)
{
    std::ostringstream out;
    Console().Bind(out);
    for (std::size_t length : {126u, 127u, 128u, 255u}) Console().WriteLine(std::string(length, 'a'));
    Console().Write("x\r");
    Console().Flush();
    Console().Write("y\r");
    Console().Unbind();
    std::string expected;
    for (std::size_t length : {126u, 127u, 128u, 255u}) expected += std::string(length, 'a') + "\n";
    EXPECT_EQ(out.str(), expected + "x\ry\r");
}

TEST(ConsoleTest, TextAfterTheRunIsDiscarded)
{
    std::vector<std::string> lines;
    StringListTarget target(lines);
    {
        ScopedConsole console(&target);
        Console().WriteLine("inside");
    }
    DebugEnabled = true;
    DebugLog("after the run");
    Console().WriteLine("also after");
    DebugEnabled = false;
    EXPECT_EQ(lines, (std::vector<std::string>{"inside"}));
}

TEST(QuestionsTest, EndedInputAnswersEmptyAndAbort)
{
    std::istringstream in("first\r\n");
    StreamQuestions q(in);
    EXPECT_EQ(q.AskLine().text, "first");
    LineAnswer ended = q.AskLine();
    EXPECT_TRUE(ended.ended);
    EXPECT_EQ(ended.text, "");
    EXPECT_EQ(q.AskCover(), "Q");
    std::istringstream none("");
    StreamQuestions fixed(none, "-");
    EXPECT_EQ(fixed.AskCover(), "-");
}

TEST(WorkDirLockTest, OneHolderADirectoryAndNoLockFileLeftBehind)
{
    test::TempWorkDir dir;
    WorkDirLock first, second;
    int waits = 0;
    auto waiting = [&] { ++waits; };
    ASSERT_EQ(first.Acquire(false, waiting), WorkDirLock::Result::Locked);
    EXPECT_EQ(second.Acquire(false, waiting), WorkDirLock::Result::Busy);
    EXPECT_EQ(waits, 0);
    first.Release();
    EXPECT_FALSE(test::Exists(std::string(kWorkDirLockFile)));
    // Free again: the next run locks a fresh lock file.
    EXPECT_EQ(second.Acquire(true, waiting), WorkDirLock::Result::Locked);
    EXPECT_TRUE(test::Exists(std::string(kWorkDirLockFile)));
    second.Release();

    std::filesystem::create_directory(std::string(kWorkDirLockFile));
    EXPECT_EQ(first.Acquire(true, waiting), WorkDirLock::Result::Failed);
    EXPECT_EQ(first.Problem(), "IS NOT A PLAIN FILE");
    EXPECT_TRUE(std::filesystem::is_directory(std::string(kWorkDirLockFile)));
}

TEST(WorkDirLockTest, RemovingWorkFilesUnlinksLinksAndRefusesOtherKinds)
{
    test::TempWorkDir dir;
    test::WriteFile("target", "kept\n");
    std::filesystem::create_symlink("target", "a.$$$");
    test::WriteFile("b.$$$", "stale\n");
    std::filesystem::create_directory("c.$$$");
    EXPECT_EQ(RemoveWorkFile("a.$$$"), WorkFileRemoval::Removed);
    EXPECT_EQ(RemoveWorkFile("b.$$$"), WorkFileRemoval::Removed);
    EXPECT_EQ(RemoveWorkFile("c.$$$"), WorkFileRemoval::NotAFile);
    EXPECT_EQ(RemoveWorkFile("d.$$$"), WorkFileRemoval::Absent);
    EXPECT_EQ(test::ReadFile("target"), "kept\n");
    EXPECT_TRUE(std::filesystem::is_directory("c.$$$"));
    EXPECT_TRUE(IsIntermediateFileName("esp_tbl.###"));
    EXPECT_FALSE(IsIntermediateFileName("esp_tbl.$$$.tmp"));
}

TEST(WorkDirLockTest, DirectoryScopeComesBackAndLeavesAMissingDirectoryAlone)
{
    test::TempWorkDir dir;
    const std::filesystem::path start = std::filesystem::current_path();
    std::filesystem::create_directory("inner");
    {
        CurrentDirectoryScope inner("inner");
        EXPECT_TRUE(inner.Entered());
        EXPECT_EQ(std::filesystem::current_path(), start / "inner");
        CurrentDirectoryScope missing("no-such-directory");
        EXPECT_FALSE(missing.Entered());
        EXPECT_EQ(std::filesystem::current_path(), start / "inner");
    }
    EXPECT_EQ(std::filesystem::current_path(), start);
}

}  // namespace
}  // namespace quorlet
