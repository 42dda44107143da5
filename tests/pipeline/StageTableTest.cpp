// Every stage of the system is registered and found under its program name.
#include <gtest/gtest.h>

#include "StageTable.h"
#include "USubExec.h"

namespace quorlet {
namespace {

TEST(StageTableTest, EveryProgramNameFindsItsStage)
{
    RegisterQuorletStages();
    const std::vector<std::string> expected = {"QUORLET",  "EXPANDER", "QUOR_ESP", "SUPPLMNT", "SPLITTER",
                                               "COMBINER", "MOOR_CHK", "MOOR_CMB", "CONVERT",  "CONVERT1",
                                               "CONVERT2", "CONVERT3", "CONVERT4", "CONVERT5", "CONVERT6",
                                               "KMAP",     "VERILOG",  "VHDL",     "CHECK"};
    std::vector<std::string> names = QuorletStageNames();
    std::sort(names.begin(), names.end());
    std::vector<std::string> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(names, sorted);
    EXPECT_EQ(RegisteredSubTools().size(), expected.size());
    for (const std::string& name : expected) {
        auto stage = FindSubTool("/opt/quorlet/" + name + ".exe");
        ASSERT_NE(stage, nullptr) << name;
        EXPECT_EQ(stage->ProgName, name);
    }
    // The importers stay external programs.
    EXPECT_EQ(FindSubTool("ascin.exe"), nullptr);
    EXPECT_EQ(FindSubTool("asyin.exe"), nullptr);
    ClearSubTools();
}

}  // namespace
}  // namespace quorlet
