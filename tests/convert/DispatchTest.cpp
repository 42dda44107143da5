// The converter dispatch: call errors, the choice of converter, the schematic step with and
// without importers, and the removal of the intermediate files.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "ConvertFixtures.h"
#include "TConvert.h"
#include "TConvert5.h"

namespace quorlet::test {
namespace {

// Stands in for a converter: reports its name and argument.
template <int N>
class FakeConverter : public TSubExec {
public:
    void Execute() override { WriteLine("RAN " + ProgName + " WITH " + Param(1)); }
};

// Stands in for the drawing converter: leaves a sheet, a symbol and the schematic log.
class FakeDrawing : public TSubExec {
public:
    void Execute() override
    {
        WriteFile("mod.asc", "sheet\n");
        WriteFile("mod.asy", "symbol\n");
        WriteFile("isp_log.$$$", "mod\n");
    }
};

// Stands in for a converter that finishes its result file.
class FakeFinishingConverter : public TSubExec {
public:
    void Execute() override { MarkResultWritten("T.equ"); }
};

// Stands in for an extra output: reports that it ran while the minimized cover was still there.
class FakeExtraOutput : public TSubExec {
public:
    void Execute() override { WriteLine("RAN " + ProgName + (Exists("esp_tbl.$$$") ? " WITH COVER" : "")); }
};

class Dispatch : public ::testing::Test {
protected:
    Dispatch()
    {
        ClearSubTools();
        RegisterSubTool("CONVERT1", &MakeStage<FakeConverter<1>>);
        RegisterSubTool("CONVERT2", &MakeStage<FakeConverter<2>>);
        RegisterSubTool("CONVERT3", &MakeStage<FakeConverter<3>>);
        RegisterSubTool("CONVERT4", &MakeStage<FakeDrawing>);
        RegisterSubTool("CONVERT5", &MakeStage<TConvert5>);
        RegisterSubTool("CONVERT6", &MakeStage<FakeConverter<6>>);
        std::filesystem::create_directory(h.dir.Path() / "tools");
        toolDir = h.dir.File("tools") + "/";
    }
    ~Dispatch() override { ClearSubTools(); }

    void Run(const std::string& commandLine)
    {
        WriteFile("exp_log.$$$", "log\n");
        WriteFile("esp_tbl.$$$", "table\n");
        h.lines.clear();
        TConvert stage;
        stage.ProgPath = toolDir + "CONVERT.EXE";
        h.Run(stage, commandLine);
        EXPECT_FALSE(Exists("exp_log.$$$"));
        EXPECT_FALSE(Exists("esp_tbl.$$$"));
        EXPECT_FALSE(Exists("isp_log.$$$"));
    }

    void Tool(const std::string& name, const std::string& script)
    {
        std::string path = toolDir + name;
        WriteFile(path, "#!/bin/sh\n" + script + "\n");
        chmod(path.c_str(), 0755);
    }

    StageHarness h;
    std::string toolDir;
};

TEST_F(Dispatch, ExtraOutputsRunAfterAFinishedResultOnly)
{
    RegisterSubTool("KMAP", &MakeStage<FakeExtraOutput>);
    RegisterSubTool("VHDL", &MakeStage<FakeExtraOutput>);
    h.NewRun();
    Run("3 no_lib --kmap --vhdl");  // the converter writes no result
    EXPECT_EQ(h.lines, std::vector<std::string>{"RAN CONVERT3 WITH no_lib"});

    ClearSubTools();
    RegisterSubTool("CONVERT2", &MakeStage<FakeFinishingConverter>);
    RegisterSubTool("KMAP", &MakeStage<FakeExtraOutput>);
    RegisterSubTool("VHDL", &MakeStage<FakeExtraOutput>);
    Run("2 no_lib --vhdl --kmap");
    EXPECT_EQ(h.lines, (std::vector<std::string>{"RAN VHDL WITH COVER", "RAN KMAP WITH COVER"}));
    h.NewRun();
}

TEST_F(Dispatch, CallErrorsStillEraseTheIntermediateFiles)
{
    for (const std::string& line :
         {std::string("x no_lib"), std::string("2"), std::string(""), std::string("2x no_lib")}) {
        Run(line);
        EXPECT_EQ(h.lines, std::vector<std::string>{"CONVERTER CALL ERROR"}) << line;
    }
}

TEST_F(Dispatch, OutputOptionChoosesTheConverter)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "CONVERT1"},           {"1", "CONVERT1"}, {"7", "CONVERT1"}, {"-3", "CONVERT1"},
        {"99999999999", "CONVERT1"}, {"2", "CONVERT2"}, {"3", "CONVERT3"}, {"6", "CONVERT6"}};
    for (const auto& [option, program] : cases) {
        Run(option + " GENERICS");
        EXPECT_EQ(h.lines, std::vector<std::string>{"RAN " + program + " WITH GENERICS"}) << option;
    }
    Run("5 no_lib");
    EXPECT_EQ(h.lines,
              (std::vector<std::string>{"CONVERT5: JEDEC OPTION IS NOT IMPLEMENTED", "RECEIVED ARGUMENT: no_lib"}));
}

TEST_F(Dispatch, SchematicStepWithoutImporters)
{
    Run("4 GENERICS");
    EXPECT_EQ(h.lines, (std::vector<std::string>{"FATAL: " + toolDir + "ascin.exe NOT FOUND",
                                                 "       OUTPUT NOT CONVERTED INTO SCHEMATIC"}));
    EXPECT_TRUE(Exists("mod.asc") && Exists("mod.asy"));

    // A stale schematic log is taken up after any converter.
    WriteFile("isp_log.$$$", "mod\n");
    Tool("ascin", "echo sch > \"${1%.asc}.sch\"");
    Run("1 no_lib");
    EXPECT_EQ(h.lines, (std::vector<std::string>{"RAN CONVERT1 WITH no_lib", "GENERATING SCHEMATIC FILE mod.sch", "",
                                                 "ERROR: " + toolDir + "asyin.exe NOT FOUND",
                                                 "       NO SYMBOL CREATED FOR THIS SCHEMATIC"}));
    EXPECT_TRUE(Exists("mod.sch") && Exists("mod.asc") && Exists("mod.asy"));
}

TEST_F(Dispatch, SchematicStepCreatesThenReplacesTheSymbol)
{
    Tool("ascin.exe", "echo sch > \"${1%.asc}.sch\"");
    Tool("asyin", "echo sym > \"${1%.asy}.sym\"");
    Run("4 GENERICS");
    EXPECT_EQ(h.lines, (std::vector<std::string>{"GENERATING SCHEMATIC FILE mod.sch", "GENERATING SYMBOL FILE mod.sym",
                                                 "", "Module files successfully created"}));
    EXPECT_TRUE(Exists("mod.sch") && Exists("mod.sym"));
    EXPECT_FALSE(Exists("mod.asc") || Exists("mod.asy"));

    Run("4 GENERICS");
    EXPECT_EQ(h.lines,
              (std::vector<std::string>{"GENERATING SCHEMATIC FILE mod.sch", "REPLACING EXISTING SYMBOL FILE mod.sym",
                                        "", "Module must be reinstantiated in any schematic containing it!"}));
}

TEST_F(Dispatch, ImporterErrorCancelsTheSymbol)
{
    Tool("ascin", "echo bad > \"${1%.asc}.err\"");
    Tool("asyin", "echo sym > \"${1%.asy}.sym\"");
    WriteFile("mod.sym", "old symbol\n");
    Run("4 GENERICS");
    EXPECT_EQ(h.lines, (std::vector<std::string>{"GENERATING SCHEMATIC FILE mod.sch", "",
                                                 "SCHEMATIC FILE GENERATION ERROR; SYMBOL CREATION CANCELED"}));
    EXPECT_TRUE(Exists("mod.err"));
    EXPECT_FALSE(Exists("mod.sym") || Exists("mod.asc") || Exists("mod.asy"));
}

TEST_F(Dispatch, ReadOnlySymbolStopsTheImport)
{
    if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the super-user";
    Tool("ascin", "echo sch > \"${1%.asc}.sch\"");
    WriteFile("mod.sym", "kept\n");
    chmod("mod.sym", 0444);
    Run("4 GENERICS");
    EXPECT_EQ(h.lines, std::vector<std::string>{"FATAL: SYMBOL FILE mod.sym IS READ-ONLY"});
    EXPECT_EQ(ReadFile("mod.sym"), "kept\n");
    EXPECT_FALSE(Exists("mod.sch") || Exists("mod.asc"));
}

}  // namespace
}  // namespace quorlet::test
