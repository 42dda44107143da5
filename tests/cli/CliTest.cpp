// The command line `quorlet` as a user runs it: usage, exit status, work directory, and that a
// failed run leaves the user's table untouched.
#include <gtest/gtest.h>

#include <filesystem>

#include "ProgramRun.h"

namespace {

using namespace quorlet::test;


RunResult RunQuorlet(const std::vector<std::string>& args, const std::string& input = "")
{
    return quorlet::test::RunBuiltProgram(QUORLET_BIN, args, input);
}

TEST(CliTest, HelpAndVersion)
{
    TempWorkDir dir;
    RunResult help = RunQuorlet({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("Usage: quorlet"), std::string::npos);
    RunResult version = RunQuorlet({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "Quorlet Logic Minimizer 4.61\n");
}

TEST(CliTest, UsageErrorsExitWithTwo)
{
    TempWorkDir dir;
    EXPECT_EQ(RunQuorlet({}).status, 2);
    EXPECT_EQ(RunQuorlet({"--frobnicate", "t.tbl"}).status, 2);
    EXPECT_EQ(RunQuorlet({"--cover=maybe", "t.tbl"}).status, 2);
}

TEST(CliTest, DriverErrorsExitWithOneAndRunNothing)
{
    TempWorkDir dir;
    WriteFile("t.tbl", "TABLE\nINPUT A\nOUTPUT F\n0 1\n1 0\nEND\n");
    RunResult illegal = RunQuorlet({"/X", "t.tbl"});
    EXPECT_EQ(illegal.status, 1);
    EXPECT_EQ(illegal.output, "ILLEGAL COMMAND LINE OPTION: /X\n");
    RunResult both = RunQuorlet({"/E", "/A", "t.tbl"});
    EXPECT_EQ(both.status, 1);
    EXPECT_EQ(both.output, "INCOMPATIBLE OUTPUT OPTIONS SELECTED\n");
    EXPECT_EQ(ReadFile("t.tbl"), "TABLE\nINPUT A\nOUTPUT F\n0 1\n1 0\nEND\n");
    EXPECT_FALSE(std::filesystem::exists("t.min"));
}

TEST(CliTest, AMissingTableDirectoryIsAClearError)
{
    TempWorkDir dir;
    RunResult r = RunQuorlet({"no/such/dir/t.tbl"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot enter the table's directory no/such/dir"), std::string::npos);
}

TEST(CliTest, DebugLinesShowTheRunInTheTablesDirectory)
{
    TempWorkDir dir;
    std::filesystem::create_directory("work");
    WriteFile("work/t.tbl", "TABLE\n");
    RunResult r = RunQuorlet({"--debug", "/X", "work/t.tbl"});
    EXPECT_NE(r.output.find("Current Dir is: " + (dir.Path() / "work").string()), std::string::npos);
}

}  // namespace
