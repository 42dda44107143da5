// The command line's --check as a grader runs it: exit statuses, the two forms, the options
// between --check and the table, and nothing written beside the table.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "ProgramRun.h"

namespace {

using namespace quorlet::test;

RunResult Quorlet(const std::vector<std::string>& args) { return quorlet::test::RunBuiltProgram(QUORLET_BIN, args); }

TEST(CheckCommandTest, ExitStatusAndFormsOfTheCommand)
{
    TempWorkDir dir;
    std::filesystem::create_directory("tables");
    WriteFile("tables/adder.tbl", ReadFile(std::string(QUORLET_EXAMPLES) + "/adder.tbl"));
    WriteFile("right.txt", "SUM = A'B'CIN + A'B CIN' + A B' CIN' + A B CIN\nCOUT = A B + A CIN + B CIN\n");
    WriteFile("wrong.txt", "SUM = A'B'CIN + A'B CIN' + A B' CIN' + A B CIN\nCOUT = A B + A CIN\n");

    RunResult right = Quorlet({"--check", "right.txt", "tables/adder.tbl"});
    EXPECT_EQ(right.status, 0) << right.output;
    EXPECT_EQ(right.output,
              "SUM: CORRECT, 4 PRODUCT TERMS, 12 LITERALS; MINIMUM 4 PRODUCT TERMS, 12 LITERALS\n"
              "COUT: CORRECT, 3 PRODUCT TERMS, 6 LITERALS; MINIMUM 3 PRODUCT TERMS, 6 LITERALS\n"
              "RESULT: 2 OF 2 CORRECT\n");
    // Options anywhere between --check and the table.
    RunResult options = Quorlet({"--check", "--cover=on", "right.txt", "/S", "--csv", "g.csv", "tables/adder.tbl"});
    EXPECT_EQ(options.status, 0) << options.output;
    EXPECT_EQ(ReadFile("g.csv").substr(0, 5), "file,");

    // --debug shows the runs themselves ahead of the verdicts.
    RunResult debug = Quorlet({"--check", "right.txt", "--debug", "tables/adder.tbl"});
    EXPECT_EQ(debug.status, 0);
    EXPECT_NE(debug.output.find("MINIMIZING FUNCTION TABLE"), std::string::npos);
    EXPECT_NE(debug.output.find("Starting Application: "), std::string::npos);
    EXPECT_NE(debug.output.find("RESULT: 2 OF 2 CORRECT\n"), std::string::npos);

    RunResult wrong = Quorlet({"--check", "wrong.txt", "tables/adder.tbl"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.output.find("COUT: WRONG AT A=0 B=1 CIN=1: TABLE 1, ANSWER 0\n"), std::string::npos)
        << wrong.output;

    RunResult many = Quorlet({"--check", "right.txt", "right.txt", "--csv=all.csv", "--", "tables/adder.tbl"});
    EXPECT_EQ(many.status, 0) << many.output;
    EXPECT_EQ(many.output.find("right.txt\nSUM: CORRECT"), 0u) << many.output;
    RunResult unreadable = Quorlet({"--check", "right.txt", "missing.txt", "--", "tables/adder.tbl"});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_NE(unreadable.output.find("missing.txt: CANNOT READ FILE\n"), std::string::npos);

    std::set<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator("tables")) files.insert(e.path().filename().string());
    EXPECT_EQ(files, std::set<std::string>{"adder.tbl"});

    EXPECT_EQ(Quorlet({"--check"}).status, 2);
    EXPECT_EQ(Quorlet({"--check", "right.txt"}).status, 2);
    EXPECT_EQ(Quorlet({"--check", "right.txt", "tables/adder.tbl", "D", "extra"}).status, 2);
    EXPECT_EQ(Quorlet({"--check", "--", "tables/adder.tbl"}).status, 2);
    EXPECT_EQ(Quorlet({"--check", "right.txt", "--cover=maybe", "tables/adder.tbl"}).status, 2);
    EXPECT_EQ(Quorlet({"--check", "right.txt", "--csv"}).status, 2);
    EXPECT_EQ(Quorlet({"--check", "right.txt", "--kmap", "tables/adder.tbl"}).status, 2);
    EXPECT_EQ(Quorlet({"--check", "right.txt", "tables/none.tbl"}).status, 1);
}

}  // namespace
