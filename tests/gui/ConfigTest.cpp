// The main window's configuration reader and its table-file rules, without a display.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "TestSupport.h"
#include "UCommandLine.h"
#include "UConfig.h"
#include "UEditor.h"

namespace quorlet {
namespace {

using test::Lines;
using test::TempWorkDir;
using test::WriteFile;

class RecordingOwner : public TConfigOwner {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void SetHelpItem(int index, const std::string& caption, const std::string& file) override
    {
        items.push_back({index, caption, file});
    }
    struct Item {
        int index;
        std::string caption, file;
    };
    std::vector<std::string> messages;
    std::vector<Item> items;
};

class ConfigTest : public ::testing::Test {
protected:
    std::string ProgramDir() const { return dir.Path().string() + "/"; }

    // Reads the text as QUORLET.CFG beside the program, with the window's four keys.
    bool Read(const std::string& text)
    {
        WriteFile(dir.File("QUORLET.CFG"), text);
        return config.ReadConfig("QUORLET.CFG", items);
    }
    const std::string& Value(const std::string& key) const
    {
        for (const auto& item : items)
            if (item.key == key) return item.value;
        static const std::string none = "<no such key>";
        return none;
    }

    TempWorkDir dir;
    RecordingOwner owner;
    TConfig config{owner, dir.Path().string()};
    std::vector<TConfigItem> items = {
        {"QUORLET_PATH", true, {}}, {"WORKDIR", true, {}}, {"DEBUG", false, {}}, {"DEFAULT_LIB", false, {}}};
};

TEST_F(ConfigTest, MissingFileSaysNotFoundAndEmptiesTheValues)
{
    items[2].value = "ON";
    EXPECT_FALSE(config.ReadConfig("QUORLET.CFG", items));
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(owner.messages[0], ProgramDir() + "QUORLET.CFG not found!");
    for (const auto& item : items) EXPECT_EQ(item.value, "") << item.key;
}

TEST_F(ConfigTest, FileNameIsFoundWhateverItsCase)
{
    WriteFile(dir.File("Quorlet.cfg"), "DEBUG = ON\n");
    EXPECT_TRUE(config.ReadConfig("QUORLET.CFG", items));
    EXPECT_EQ(Value("DEBUG"), "ON");
    EXPECT_TRUE(owner.messages.empty());
}

TEST_F(ConfigTest, ValuesAsReadFromTheText)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::pair<std::string, std::string>> values;
    };
    const Case cases[] = {
        {"a key needs a blank before =", "QUORLET_PATH = /q/bin/\n", {{"QUORLET_PATH", "/q/bin/"}}},
        {"a key without a blank before = is not read", "QUORLET_PATH=/q/bin/\n", {{"QUORLET_PATH", ""}}},
        {"path values get their slash after the blanks before a comment",
         "QUORLET_PATH = /Q/Bin  \" the tools\nWORKDIR = /data/tables\n",
         {{"QUORLET_PATH", "/Q/Bin  /"}, {"WORKDIR", "/data/tables/"}}},
        {"plain values are read in capitals",
         Lines({"DEBUG = on", "DEFAULT_LIB = mylib.lib"}),
         {{"DEBUG", "ON"}, {"DEFAULT_LIB", "MYLIB.LIB"}}},
        {"plain values keep their trailing blanks", "DEBUG = ON \"debugging allowed\n", {{"DEBUG", "ON "}}},
        {"comment lines are skipped and the last line of a key counts",
         Lines({"\" DEBUG = ON is how to switch it on", "DEFAULT_LIB = A.LIB", "x \"DEFAULT_LIB = B.LIB",
                "DEFAULT_LIB = C.LIB", "DEFAULT_LIB =   d.lib"}),
         {{"DEBUG", ""}, {"DEFAULT_LIB", "D.LIB"}}},
        {"Windows line ends", "DEBUG = ON\r\nWORKDIR = /w\r\n", {{"DEBUG", "ON"}, {"WORKDIR", "/w/"}}},
        {"an empty path value stays empty", "QUORLET_PATH = \nWORKDIR =\n", {{"QUORLET_PATH", ""}, {"WORKDIR", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Read(c.text));
        for (const auto& [key, value] : c.values) EXPECT_EQ(Value(key), value) << key;
    }
}

TEST_F(ConfigTest, DotPathIsMadeAbsoluteFromTheProgramDirectory)
{
    std::filesystem::create_directory(dir.File("tables"));
    const std::string before = CurrentDir();
    ASSERT_TRUE(Read("WORKDIR = ./tables\n"));
    EXPECT_EQ(Value("WORKDIR"), std::filesystem::canonical(dir.File("tables")).string() + "/");
    EXPECT_EQ(CurrentDir(), before);

    // A directory that does not exist gives the current directory.
    ASSERT_TRUE(Read("WORKDIR = ./nowhere\n"));
    EXPECT_EQ(Value("WORKDIR"), before + "/");
}

TEST_F(ConfigTest, HelpEntriesFillTheItemsInOrderUpToTen)
{
    std::string text = "HELP = Manual,manual.htm\n\"HELP = Hidden,hidden.htm\nHELP = no comma\n";
    for (int n = 2; n <= 11; ++n)
        text += "HELP" + std::to_string(n) + " = Page " + std::to_string(n) + ",p" + std::to_string(n) + ".htm\n";
    ASSERT_TRUE(Read(text));
    ASSERT_EQ(owner.items.size(), 10u);
    EXPECT_EQ(owner.items[0].index, 1);
    EXPECT_EQ(owner.items[0].caption, " Manual");
    EXPECT_EQ(owner.items[0].file, "manual.htm");
    EXPECT_EQ(owner.items[9].index, 10);
    EXPECT_EQ(owner.items[9].caption, " Page 10");
    config.SetHelpDir("/tool/");
    EXPECT_EQ(config.HelpPath(1), "/tool/manual.htm");
    EXPECT_EQ(config.HelpPath(11), "");
}

TEST_F(ConfigTest, MalformedFileReadsAsNothingSet)
{
    ASSERT_TRUE(Read(std::string("\x01\x02 garbage\0\xff = , = \n=\n,\n\"\n", 24) + std::string(5000, 'x')));
    for (const auto& item : items) EXPECT_EQ(item.value, "") << item.key;
    EXPECT_TRUE(owner.items.empty());
}

TEST_F(ConfigTest, DirectoryInPlaceOfTheFileIsNotFound)
{
    std::filesystem::create_directory(dir.File("QUORLET.CFG"));
    EXPECT_FALSE(config.ReadConfig("QUORLET.CFG", items));
    EXPECT_EQ(owner.messages.size(), 1u);
}

// ---- The table file as the window sees it ----

TEST(TableFileTest, StateMachineIsDeclaredByTheFirstKeyword)
{
    TempWorkDir dir;
    const std::string file = dir.File("t.tbl");
    WriteFile(file, Lines({"\" a traffic light", "", "TABLE light", "INPUT car", "\tOUTPUT red green", "  # more",
                           "states\tS0 S1", "END"}));
    EXPECT_TRUE(DeclaresStateMachine(file));
    WriteFile(file, Lines({"TABLE adder", "INPUT A B", "OUTPUT S", "TERMS", "STATES S0"}));
    EXPECT_FALSE(DeclaresStateMachine(file));
    WriteFile(file, "TABLE x\r\nSTATES A B\r\n");
    EXPECT_TRUE(DeclaresStateMachine(file));
    WriteFile(file, "STATESX A\n");
    EXPECT_FALSE(DeclaresStateMachine(file));
    EXPECT_FALSE(DeclaresStateMachine(dir.File("missing.tbl")));
    EXPECT_FALSE(DeclaresStateMachine(dir.Path().string()));
}

TEST(TableFileTest, PathCutAtItsBlanksIsJoinedAgain)
{
    TempWorkDir dir;
    std::filesystem::create_directory(dir.File("My Tables"));
    const std::string file = dir.File("My Tables") + "/a b.tbl";
    WriteFile(file, "TABLE a\n");
    const std::string my = dir.File("My");
    EXPECT_EQ(TableFileFromArguments({my, "Tables/a", "b.tbl"}), file);
    EXPECT_EQ(TableFileFromArguments({file}), file);
    EXPECT_EQ(TableFileFromArguments({my, "Tables/x.tbl"}), my);
    EXPECT_EQ(TableFileFromArguments({}), "");
}

TEST(TableFileTest, LibraryWordAndSaveName)
{
    for (auto [path, word] : {std::pair{"GENERICS.LIB", "GENERICS"},
                              {"/opt/q/mylib.Lib", "mylib"},
                              {"CMOS.GAT", "CMOS.GAT"},
                              {"LIB", "LIB"}})
        EXPECT_EQ(LibraryWord(path), word) << path;
    EXPECT_EQ(OutputSaveName("/t/adder.tbl"), "/t/adder.txt");
}

// ---- Extra outputs on the command line ----

TEST(CommandLineTest, ExtraOutputsLeadTheLineAndChangeNothingElse)
{
    TCommandOptions o;
    o.tableFile = "/w/exa.tbl";
    EXPECT_EQ(BuildCommandLine(o), "exa.tbl D ");
    o.output = TOutputFormat::Drawing;
    o.singleOutput = true;
    const std::string plain = BuildCommandLine(o);
    EXPECT_EQ(plain, " /S /DGENERICS exa.tbl D ");
    // Every combination puts the words once, in one order, before the line the options give.
    for (int mask = 1; mask < 8; ++mask) {
        o.kmap = mask & 1;
        o.verilog = mask & 2;
        o.vhdl = mask & 4;
        std::string words;
        if (o.kmap) words += " --kmap";
        if (o.verilog) words += " --verilog";
        if (o.vhdl) words += " --vhdl";
        EXPECT_EQ(BuildCommandLine(o), words + plain) << mask;
    }
    o = TCommandOptions{};
    o.tableFile = "exa.tbl";
    o.kmap = true;
    EXPECT_EQ(BuildCommandLine(o), " --kmap exa.tbl D ");
}

// ---- The editors Run > Edit falls back to ----

struct FakeSystem {
    std::map<std::string, std::string> environment;
    std::set<std::string> installed;
    TEditorLookup Lookup() const
    {
        return {[this](const std::string& name) {
                    auto it = environment.find(name);
                    return it == environment.end() ? std::string() : it->second;
                },
                [this](const std::string& name) { return installed.count(name) ? "/usr/bin/" + name : std::string(); }};
    }
};

std::vector<std::string> Programs(const std::vector<TEditorCommand>& commands)
{
    std::vector<std::string> programs;
    for (const auto& c : commands) programs.push_back(c.program + (c.arguments.empty() ? "" : " " + c.arguments[0]));
    return programs;
}

TEST(EditorTest, VisualThenEditorThenEditorsFoundOnThePath)
{
    FakeSystem system;
    system.environment = {{"VISUAL", "gvim -f"}, {"EDITOR", "my-editor"}};
    system.installed = {"kate", "gedit", "xterm", "nano"};
    const auto commands = EditorCommands("/w/t.tbl", system.Lookup());
    EXPECT_EQ(Programs(commands), (std::vector<std::string>{"gvim -f", "my-editor /w/t.tbl", "/usr/bin/gedit /w/t.tbl",
                                                            "/usr/bin/kate /w/t.tbl", "/usr/bin/xterm -e"}));
    EXPECT_EQ(commands[0].arguments, (std::vector<std::string>{"-f", "/w/t.tbl"}));
    EXPECT_EQ(commands[0].source, "VISUAL");
    EXPECT_EQ(commands[1].source, "EDITOR");
    EXPECT_EQ(commands.back().arguments, (std::vector<std::string>{"-e", "/usr/bin/nano", "/w/t.tbl"}));
}

TEST(EditorTest, TerminalEditorsRunInATerminalOrNotAtAll)
{
    FakeSystem system;
    system.environment = {{"EDITOR", "vim"}, {"VISUAL", "emacs -nw"}};
    system.installed = {"gnome-terminal"};
    auto commands = EditorCommands("t.tbl", system.Lookup());
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].program, "/usr/bin/gnome-terminal");
    EXPECT_EQ(commands[0].arguments, (std::vector<std::string>{"--", "emacs", "-nw", "t.tbl"}));
    EXPECT_EQ(commands[1].arguments, (std::vector<std::string>{"--", "vim", "t.tbl"}));
    // Without a terminal they would end unseen, so they are not tried.
    system.installed.clear();
    EXPECT_TRUE(EditorCommands("t.tbl", system.Lookup()).empty());
    EXPECT_TRUE(NeedsTerminal("/usr/bin/nano -w"));
    EXPECT_FALSE(NeedsTerminal("emacs"));
    EXPECT_FALSE(NeedsTerminal("code --wait"));
    EXPECT_FALSE(NeedsTerminal(""));
}

TEST(EditorTest, BlankVariablesCountAsUnset)
{
    FakeSystem system;
    system.environment = {{"VISUAL", "   "}, {"EDITOR", ""}};
    EXPECT_TRUE(EditorCommands("t.tbl", system.Lookup()).empty());
    EXPECT_NE(NoEditorMessage("/w/t.tbl").find("/w/t.tbl"), std::string::npos);
}

}  // namespace
}  // namespace quorlet
