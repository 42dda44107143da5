// What the documentation says against what the programs say: the manual pages render and name
// every option of --help, README's option table lists the same options, the help page on
// options names them too; and the installed layout runs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace quorlet::test;

const std::string kSource = QUORLET_SOURCE_DIR;
const std::string kBuild = QUORLET_BUILD_DIR;

struct CommandRun {
    int status = -1;
    std::string output;
};

// Runs a shell command line and takes its standard output.
CommandRun Shell(const std::string& command)
{
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// The options of a --help text: the first word of each line that starts with two blanks and a
// slash or a dash.
std::set<std::string> HelpOptions(const std::string& help)
{
    std::set<std::string> options;
    static const std::regex line(R"((^|\n)  ([-/][^ \n]*))");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), line); it != std::sregex_iterator(); ++it)
        options.insert((*it)[2]);
    return options;
}

std::string QuorletHelp()
{
    CommandRun run = Shell(Quoted(QUORLET_BIN) + " --help");
    EXPECT_EQ(run.status, 0);
    return run.output;
}

// The text of a man page as a reader sees it, with roff's warnings.
CommandRun RenderManPage(const std::string& page)
{
    return Shell("MANWIDTH=200 man --warnings -l " + Quoted(page) + " 2>&1");
}

TEST(ManPageTest, EachPageRendersAndNamesEveryOptionOfItsProgram)
{
    const std::string help = QuorletHelp();
    const std::set<std::string> options = HelpOptions(help);
    ASSERT_GE(options.size(), 15u) << help;
    const CommandRun page = RenderManPage(kBuild + "/man/quorlet.1");
    ASSERT_EQ(page.status, 0) << page.output;
    EXPECT_EQ(page.output.find("warning"), std::string::npos) << page.output;
    for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "FILES", "SEE ALSO"})
        EXPECT_NE(page.output.find(section), std::string::npos) << section;
    for (const std::string& option : options) EXPECT_NE(page.output.find(option), std::string::npos) << option;
    // The descriptions too, word for word (the page may break lines elsewhere).
    EXPECT_NE(page.output.find("JEDEC: not implemented"), std::string::npos);
    EXPECT_EQ(page.output.find("@"), std::string::npos) << "a placeholder was left";

    const CommandRun esp = RenderManPage(kBuild + "/man/quor_esp.1");
    ASSERT_EQ(esp.status, 0) << esp.output;
    EXPECT_EQ(esp.output.find("warning"), std::string::npos) << esp.output;
    const CommandRun espHelp = Shell(Quoted(QUOR_ESP_BIN) + " --help");
    for (const char* option : {"-o", "-pos", "--exact", "--stats", "--verify"}) {
        EXPECT_NE(espHelp.output.find(option), std::string::npos) << option;
        EXPECT_NE(esp.output.find(std::string("\n       ") + option), std::string::npos) << option << " not described";
    }
    // The synopsis is the usage, line for line.
    std::string usage = espHelp.output.substr(espHelp.output.find(' ') + 1);
    usage = usage.substr(0, usage.find('\n'));
    EXPECT_NE(esp.output.find(usage), std::string::npos) << usage;
}

TEST(ManPageTest, QuorEspHelpGoesToStandardOutput)
{
    const CommandRun help = Shell(Quoted(QUOR_ESP_BIN) + " --help 2>/dev/null");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind("usage: quor_esp", 0), 0u) << help.output;
    const CommandRun wrong = Shell(Quoted(QUOR_ESP_BIN) + " --no-such-option 2>/dev/null");
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.output, "");  // messages stay on standard error
}

// The options README's command-line table lists: the first word of every `...` in the first
// cell of its rows.
std::set<std::string> ReadmeOptions()
{
    const std::string readme = ReadFile(kSource + "/README.md");
    const std::size_t start = readme.find("## The command line");
    const std::size_t end = readme.find("\n## ", start + 1);
    EXPECT_NE(start, std::string::npos);
    const std::string section = readme.substr(start, end - start);
    std::set<std::string> options;
    static const std::regex row(R"(\n\| ((?:\\\||[^|])*)\|)");
    static const std::regex code("`([^`]+)`");
    for (auto it = std::sregex_iterator(section.begin(), section.end(), row); it != std::sregex_iterator(); ++it) {
        const std::string cell = (*it)[1];
        for (auto c = std::sregex_iterator(cell.begin(), cell.end(), code); c != std::sregex_iterator(); ++c) {
            std::string option = (*c)[1];
            option = option.substr(0, option.find(' '));  // "--csv FILE": the option is its first word
            // "|" inside a table cell is written "\|".
            for (std::size_t at; (at = option.find("\\|")) != std::string::npos;) option.erase(at, 1);
            options.insert(option);
        }
    }
    return options;
}

TEST(ReadmeTest, OptionTableListsExactlyTheOptionsOfHelp)
{
    const std::set<std::string> help = HelpOptions(QuorletHelp());
    const std::set<std::string> readme = ReadmeOptions();
    for (const std::string& option : help) EXPECT_TRUE(readme.count(option)) << option << " is not in README";
    for (const std::string& option : readme) EXPECT_TRUE(help.count(option)) << option << " is not in --help";
}

TEST(HelpPageTest, OptionsPageNamesEveryOptionOfHelp)
{
    const std::string page = ReadFile(kSource + "/docs/help/options-and-outputs.html");
    ASSERT_FALSE(page.empty());
    for (std::string option : HelpOptions(QuorletHelp())) {
        // HTML writes "&" and "<" as entities; options hold neither, but "|" and "[" are plain.
        EXPECT_NE(page.find(option), std::string::npos) << option << " is not on the page";
    }
}

// Installs the build into a scratch prefix and runs the programs from there, as a user would.
TEST(InstallTest, InstalledProgramsFindTheirLibraryConfigurationAndHelp)
{
    TempWorkDir dir;
    const std::string prefix = dir.File("prefix");
    const CommandRun install =
        Shell(Quoted(QUORLET_CMAKE) + " --install " + Quoted(kBuild) + " --prefix " + Quoted(prefix) + " 2>&1");
    ASSERT_EQ(install.status, 0) << install.output;

    const std::string tools = prefix + "/lib/quorlet/";
    for (const char* file : {"quorlet", "quor_esp", "ascin", "asyin", "GENERICS.LIB", "QUORLET.CFG"})
        EXPECT_TRUE(fs::is_regular_file(tools + file)) << file;
    for (const char* program : {"quorlet", "quor_esp"}) {
        const fs::path link = prefix + "/bin/" + program;
        EXPECT_TRUE(fs::is_symlink(link)) << program;
        EXPECT_EQ(fs::canonical(link), fs::canonical(tools + program));
        // Relative, so that the tree can be moved (a package's staging directory).
        EXPECT_TRUE(fs::read_symlink(link).is_relative());
    }
    EXPECT_TRUE(fs::is_regular_file(prefix + "/share/man/man1/quorlet.1"));
    EXPECT_TRUE(fs::is_regular_file(prefix + "/share/man/man1/quor_esp.1"));
    EXPECT_TRUE(fs::is_regular_file(prefix + "/share/doc/quorlet/examples/traffic.tbl"));
    // The configuration's help pages, seen from the tool directory.
    const std::string config = ReadFile(tools + "QUORLET.CFG");
    static const std::regex helpLine(R"(\nHELP = [^,\n]*,([^\n]*))");
    int pages = 0;
    for (auto it = std::sregex_iterator(config.begin(), config.end(), helpLine); it != std::sregex_iterator(); ++it) {
        ++pages;
        EXPECT_TRUE(fs::is_regular_file(tools + std::string((*it)[1]))) << (*it)[1];
    }
    EXPECT_EQ(pages, 4);

    // A drawing from the installed programs needs GENERICS.LIB and the importer beside them.
    const std::string work = dir.File("work");
    fs::create_directories(work);
    fs::copy_file(kSource + "/examples/traffic.tbl", work + "/traffic.tbl");
    const CommandRun drawing = Shell("cd " + Quoted(work) + " && " + Quoted(prefix + "/bin/quorlet") +
                                     " --cover=dc /DGENERICS traffic.tbl JK 2>&1");
    EXPECT_EQ(drawing.status, 0) << drawing.output;
    EXPECT_EQ(drawing.output.find("NOT FOUND"), std::string::npos) << drawing.output;
    EXPECT_TRUE(fs::is_regular_file(work + "/traffic.sch"));
    EXPECT_TRUE(fs::is_regular_file(work + "/traffic.svg")) << "the importer beside the programs did not run";

    const CommandRun page = RenderManPage(prefix + "/share/man/man1/quorlet.1");
    EXPECT_EQ(page.status, 0);
    EXPECT_NE(page.output.find("--cover"), std::string::npos);

    // Installing again over the same tree works (the links are replaced).
    const CommandRun again =
        Shell(Quoted(QUORLET_CMAKE) + " --install " + Quoted(kBuild) + " --prefix " + Quoted(prefix) + " 2>&1");
    EXPECT_EQ(again.status, 0) << again.output;
}

}  // namespace
