// Runs through `quorlet` in work directories in every state a shared course folder can be in:
// runs side by side, files left by a killed run, tables named like the run's own files, links
// planted under fixed names, generated names met by the user's, failures in the schematic step.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

#include "ProgramRun.h"

namespace {

namespace fs = std::filesystem;
using namespace quorlet::test;

const fs::path kExamples = QUORLET_EXAMPLES;
const fs::path kBinDir = fs::path(QUORLET_BIN).parent_path();

RunResult Quorlet(const std::vector<std::string>& args) { return quorlet::test::RunBuiltProgram(QUORLET_BIN, args); }

// The result without its first line, which carries the date of the run.
std::string Undated(const std::string& file)
{
    std::string text = ReadFile(file);
    std::size_t lf = text.find('\n');
    return lf == std::string::npos ? text : text.substr(lf + 1);
}

// Every intermediate name of a run, with the minimizer's unfinished outputs.
const std::vector<std::string> kIntermediates = {"exp_tbl.$$$",     "exp_chk.$$$",     "exp_log.$$$",    "esp_tbl.$$$",
                                                 "esp_chk.$$$",     "exp_tbl.###",     "esp_tbl.###",    "isp_log.$$$",
                                                 "esp_tbl.$$$.tmp", "esp_chk.$$$.tmp", "esp_tbl.###.tmp"};

void ExpectCleanDirectory(const fs::path& dir)
{
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(e.path().extension() != ".$$$" && e.path().extension() != ".###" &&
                    name.find(".$$$") == std::string::npos && name.find(".###") == std::string::npos &&
                    name != "quorlet.lock")
            << name << " left behind";
    }
}

struct Mode {
    std::string example;
    std::vector<std::string> words;  // "@" stands for the table
    std::string result;
};

std::vector<std::string> Words(const Mode& mode, const std::string& table)
{
    std::vector<std::string> words = {"--cover=on"};
    for (const auto& w : mode.words) words.push_back(w == "@" ? table : w);
    return words;
}

// The result of a mode in a directory of its own: what every disturbed run must still give.
std::string Reference(const Mode& mode)
{
    TempWorkDir dir;
    fs::copy_file(kExamples / mode.example, mode.example);
    RunResult r = Quorlet(Words(mode, mode.example));
    EXPECT_EQ(r.status, 0) << r.output;
    return Undated(mode.result);
}

const Mode kEquations{"adder.tbl", {"/E", "@"}, "adder.equ"};
const Mode kSingleOutput{"bcd7seg.tbl", {"/S", "@"}, "bcd7seg.min"};
const Mode kMoore{"traffic.tbl", {"/M", "/E", "@", "D"}, "traffic.equ"};
const Mode kNetlist{"updown.tbl", {"/F", "@", "JK"}, "updown.net"};

TEST(SafeRun, RunsSideBySideInOneDirectoryEachGetTheirOwnResult)
{
    const std::string refA = Reference(kEquations), refB = Reference(kSingleOutput);
    TempWorkDir dir;
    fs::copy_file(kExamples / kEquations.example, kEquations.example);
    fs::copy_file(kExamples / kSingleOutput.example, kSingleOutput.example);
    for (int pair = 0; pair < 25; ++pair) {
        SCOPED_TRACE("pair " + std::to_string(pair));
        fs::remove(kEquations.result);
        fs::remove(kSingleOutput.result);
        RunResult a, b;
        std::thread first([&] { a = Quorlet(Words(kEquations, kEquations.example)); });
        std::thread second([&] { b = Quorlet(Words(kSingleOutput, kSingleOutput.example)); });
        first.join();
        second.join();
        EXPECT_EQ(a.status, 0) << a.output;
        EXPECT_EQ(b.status, 0) << b.output;
        EXPECT_EQ(Undated(kEquations.result), refA);
        EXPECT_EQ(Undated(kSingleOutput.result), refB);
    }
    ExpectCleanDirectory(".");
}

TEST(SafeRun, ASecondRunWaitsForTheFirstAndSaysSoOnce)
{
    TempWorkDir dir;
    fs::copy_file(kExamples / "adder.tbl", "adder.tbl");
    int held = open("quorlet.lock", O_RDWR | O_CREAT, 0666);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    FILE* run = popen(("'" + std::string(QUORLET_BIN) + "' /E adder.tbl < /dev/null 2>&1").c_str(), "r");
    ASSERT_NE(run, nullptr);
    char line[256] = {};
    // The waiting run says so before anything else, and goes on once the directory is free.
    ASSERT_NE(fgets(line, sizeof line, run), nullptr);
    EXPECT_STREQ(line, "WAITING FOR ANOTHER RUN IN THIS FOLDER TO END . . .\n");
    EXPECT_FALSE(fs::exists("adder.equ"));
    flock(held, LOCK_UN);
    close(held);
    std::string rest;
    while (fgets(line, sizeof line, run)) rest += line;
    EXPECT_EQ(WEXITSTATUS(pclose(run)), 0) << rest;
    EXPECT_EQ(rest.find("WAITING"), std::string::npos);
    EXPECT_TRUE(fs::exists("adder.equ"));
    ExpectCleanDirectory(".");
}

TEST(SafeRun, FilesLeftByAKilledRunChangeNothing)
{
    // What a run killed half-way through another table leaves behind.
    const std::vector<std::pair<std::string, std::string>> stale = {
        {"exp_tbl.$$$", ".i 3\n.o 4\n.type fdr\n.phase 1111\n.p 1\n111 1111\n.e\n"},
        {"exp_chk.$$$", ".i 3\n.o 4\n.type f\n.phase 1111\n.p 1\n111 1111\n.e\n"},
        {"exp_log.$$$", "ERROR\n"},
        {"esp_tbl.$$$", ".i 3\n.o 5\n#.phase 11111\n.p 1\n111 11111\n.e\n"},
        {"esp_chk.$$$", ".i 3\n.o 2\n.phase 11\n.p 1\n000 11\n.e\n"},
        {"exp_tbl.###", ".i 3\n.o 1\n.type fdr\n.phase 1\n.p 1\n111 1\n.e\n"},
        {"esp_tbl.###", ".i 3\n.o 1\n.phase 1\n.p 1\n1-1 1\n.e\n"},
        {"isp_log.$$$", "adder\n"},
        {"esp_tbl.$$$.tmp", ".i 1\n"},
        {"esp_chk.$$$.tmp", ".i 1\n"},
        {"esp_tbl.###.tmp", ".i 1\n"},
    };
    for (const Mode& mode : {kEquations, kSingleOutput, kMoore, kNetlist}) {
        SCOPED_TRACE(mode.example);
        const std::string reference = Reference(mode);
        for (std::size_t planted = 0; planted <= stale.size(); ++planted) {
            TempWorkDir dir;
            fs::copy_file(kExamples / mode.example, mode.example);
            // One file at a time, then all of them at once.
            for (std::size_t i = 0; i < stale.size(); ++i)
                if (i == planted || planted == stale.size()) WriteFile(stale[i].first, stale[i].second);
            SCOPED_TRACE(planted < stale.size() ? stale[planted].first : "all");
            RunResult r = Quorlet(Words(mode, mode.example));
            EXPECT_EQ(r.status, 0) << r.output;
            EXPECT_EQ(Undated(mode.result), reference);
            EXPECT_EQ(r.output.find("SCHEMATIC"), std::string::npos) << r.output;
            ExpectCleanDirectory(".");
        }
    }
}

TEST(SafeRun, ATableNamedLikeAFileOfTheRunIsRefusedAndKept)
{
    const std::string table = ReadFile((kExamples / "adder.tbl").string());
    struct Case {
        std::string name;
        std::vector<std::string> options;
        std::string message;
    };
    std::vector<Case> cases;
    const std::string touched = "A FILE THAT THIS RUN WRITES OR ERASES";
    for (const std::string& name : kIntermediates) cases.push_back({name, {}, touched});
    cases.push_back({"quorlet.lock", {}, touched});
    for (const char* name : {"x.asc", "x.asy", "x.sym", "x.sym.svg", "x.svg", "x.err", "x.sch"})
        cases.push_back({name, {"/DGENERICS"}, touched});
    cases.push_back({"x.kmap", {"--kmap"}, touched});
    cases.push_back({"x.v", {"--verilog"}, touched});
    for (const auto& [name, option] : std::vector<std::pair<std::string, std::string>>{
             {"x.min", ""}, {"x.equ", "/E"}, {"x.net", "/F"}, {"x.abl", "/A"}})
        cases.push_back({name, option.empty() ? std::vector<std::string>{} : std::vector<std::string>{option},
                         "IS THE TABLE FILE ITSELF"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        WriteFile(c.name, table);
        std::vector<std::string> words = c.options;
        words.push_back(c.name);
        RunResult r = Quorlet(words);
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
        EXPECT_EQ(ReadFile(c.name), table);
    }
    // Under another name too: a link that makes an intermediate file the table itself.
    TempWorkDir dir;
    WriteFile("t.tbl", table);
    fs::create_hard_link("t.tbl", "exp_log.$$$");
    RunResult r = Quorlet({"/E", "t.tbl"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("TABLE FILE t.tbl IS exp_log.$$$, " + touched), std::string::npos) << r.output;
    EXPECT_EQ(ReadFile("t.tbl"), table);
    EXPECT_FALSE(fs::exists("t.equ"));
}

TEST(SafeRun, LinksPlantedUnderFixedNamesLeaveTheirTargetsAlone)
{
    TempWorkDir outside;
    const fs::path target = outside.Path() / "precious.txt";
    for (const Mode& mode : {kEquations, kSingleOutput, kMoore}) {
        SCOPED_TRACE(mode.example);
        const std::string reference = Reference(mode);
        TempWorkDir dir;
        WriteFile(target.string(), "precious\n");
        fs::copy_file(kExamples / mode.example, mode.example);
        for (const std::string& name : kIntermediates) fs::create_symlink(target, name);
        RunResult r = Quorlet(Words(mode, mode.example));
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(Undated(mode.result), reference);
        EXPECT_EQ(ReadFile(target.string()), "precious\n");
        ExpectCleanDirectory(".");
    }
    // A link or a directory where the lock file goes: the run does not start.
    TempWorkDir dir;
    fs::copy_file(kExamples / "adder.tbl", "adder.tbl");
    fs::create_symlink(target, "quorlet.lock");
    RunResult r = Quorlet({"adder.tbl"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output, "FATAL ERROR: LOCK FILE quorlet.lock IS NOT A PLAIN FILE\n");
    EXPECT_EQ(ReadFile(target.string()), "precious\n");
    fs::remove("quorlet.lock");
    fs::create_directory("quorlet.lock");
    EXPECT_EQ(Quorlet({"adder.tbl"}).output, "FATAL ERROR: LOCK FILE quorlet.lock IS NOT A PLAIN FILE\n");
}

TEST(SafeRun, TheSchematicStepsFailuresExitWithOne)
{
    TempWorkDir dir;
    fs::copy_file(kExamples / "adder.tbl", "adder.tbl");
    // A symbol file that cannot be written; a directory stops a writer also when run as root.
    fs::create_directory("adder.sym");
    RunResult r = Quorlet({"/DGENERICS", "adder.tbl"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("FATAL: SYMBOL FILE adder.sym IS READ-ONLY"), std::string::npos) << r.output;
    fs::remove("adder.sym");
    // The importer cannot write the picture of the sheet: it writes its error file.
    fs::create_directory("adder.svg");
    r = Quorlet({"/DGENERICS", "adder.tbl"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("SCHEMATIC FILE GENERATION ERROR; SYMBOL CREATION CANCELED"), std::string::npos)
        << r.output;
    fs::remove("adder.svg");
    r = Quorlet({"/DGENERICS", "adder.tbl"});
    EXPECT_EQ(r.status, 0) << r.output;

    // A tool directory without the importers.
    TempWorkDir tools;
    fs::copy_file(QUORLET_BIN, "quorlet");
    fs::copy_file(kBinDir / "GENERICS.LIB", "GENERICS.LIB");
    fs::current_path(dir.Path());
    r = quorlet::test::RunBuiltProgram((tools.Path() / "quorlet").string(), {"/DGENERICS", "adder.tbl"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("ascin.exe NOT FOUND"), std::string::npos) << r.output;
    fs::current_path(tools.Path());
}

TEST(SafeRun, ToolPathWithOrWithoutItsSeparator)
{
    TempWorkDir dir;
    fs::copy_file(kExamples / "adder.tbl", "adder.tbl");
    TempWorkDir tools;
    fs::copy_file(QUORLET_BIN, "quorlet");
    for (const std::string& separator : {"", "/"}) {
        SCOPED_TRACE("separator '" + separator + "'");
        WriteFile("QUORLET.CFG", "QUORLET_PATH = " + kBinDir.string() + separator + "\n");
        RunResult r = quorlet::test::RunBuiltProgram((tools.Path() / "quorlet").string(),
                                                     {"/DGENERICS", fs::relative(dir.Path() / "adder.tbl").string()});
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_NE(r.output.find("Module"), std::string::npos) << r.output;
    }
}

TEST(SafeRun, ATableWithoutOutputsIsToldSo)
{
    TempWorkDir dir;
    WriteFile("t.tbl", "TABLE\nINPUT A B\n00\n11\nEND\n");
    RunResult r = Quorlet({"t.tbl"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("NO OUTPUT SIGNALS DEFINED"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find(".o"), std::string::npos) << r.output;
}

TEST(SafeRun, AConsoleLineOfAFullBufferEndsWithLineFeedOnly)
{
    TempWorkDir dir;
    // "FATAL ERROR: UNABLE TO OPEN TABLE FILE " and the name make 126, 127 and 128 characters.
    for (std::size_t length : {83u, 84u, 85u}) {
        const std::string name = std::string(length, 'n') + ".tbl";
        RunResult r = Quorlet({name});
        const std::string line = "FATAL ERROR: UNABLE TO OPEN TABLE FILE " + name;
        EXPECT_NE(r.output.find("\n" + line + "\n"), std::string::npos) << line.size();
        EXPECT_EQ(r.output.find('\r'), std::string::npos) << line.size();
    }
}

// Netlists where the user's names meet the names the network generates.
TEST(SafeRun, SignalNamesThatMeetGeneratedNamesAreRefused)
{
    struct Case {
        std::string table;
        std::vector<std::string> words;
        std::string name;
    };
    // Eleven state variables: Q10 and _D10 are names of the machine.
    const std::string wide = "STATES\nA 00000000000\nB 00000000001\nEND\nA 0 A 0\nA 1 B 1\nB - A 0\nEND\n";
    const std::vector<Case> cases = {
        {"TABLE\nINPUT Q10\nOUTPUT Y\n" + wide, {"/E", "t.tbl", "D"}, "Q10"},
        {"TABLE\nINPUT X\nOUTPUT _D10\n" + wide, {"t.tbl", "D"}, "_D10"},
        {"TABLE\nINPUT X _X\nOUTPUT Y\n00 1\n01 0\n10 0\n11 0\nEND\n", {"/F", "t.tbl"}, "N_X"},
        {"TABLE\nINPUT X N_X\nOUTPUT Y\n00 1\n01 1\n10 0\n11 1\nEND\n", {"/F", "t.tbl"}, "N_X"},
        {"TABLE\nINPUT A B NET1\nOUTPUT Y\n11- 1\n--1 1\n000 0\nEND\n", {"/F", "t.tbl"}, "NET1"},
        {"TABLE\nINPUT A B C\nOUTPUT NET1 Y\n11- 1.\n--1 11\n000 01\nEND\n", {"/F", "t.tbl"}, "NET1"},
        {"TABLE\nINPUT A B C\nOUTPUT NET1 Y\n11- 1.\n--1 11\n000 01\nEND\n", {"/DGENERICS", "t.tbl"}, "NET1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        TempWorkDir dir;
        WriteFile("t.tbl", c.table);
        std::vector<std::string> words = {"--cover=off"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        RunResult r = Quorlet(words);
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_NE(r.output.find("SIGNAL NAME " + c.name), std::string::npos) << r.output;
        EXPECT_EQ(ReadFile("t.tbl"), c.table);
        ExpectCleanDirectory(".");
    }
    // The same tables with names of their own run through.
    TempWorkDir dir;
    WriteFile("t.tbl", "TABLE\nINPUT X Z\nOUTPUT Y\n00 1\n01 0\n10 0\n11 0\nEND\n");
    EXPECT_EQ(Quorlet({"--cover=off", "/F", "t.tbl"}).status, 0);
    WriteFile("t.tbl", "TABLE\nINPUT X10\nOUTPUT Y\n" + wide);
    EXPECT_EQ(Quorlet({"--cover=off", "/F", "t.tbl", "D"}).status, 0);
}

}  // namespace
