// The command line front end: one pipeline run in the table file's directory, the console on
// standard output, questions on standard input.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "AnswerCheckRun.h"
#include "Clock.h"
#include "IORedirect.h"
#include "StageTable.h"
#include "USubExec.h"

namespace {

constexpr const char* kVersion = "Quorlet Logic Minimizer 4.61";

constexpr const char* kUsage =
    "Usage: quorlet [--cover=on|dc|off|abort] [--pause] [--debug] [--kmap] [--verilog] [--vhdl]\n"
    "               [--] WORD...\n"
    "       quorlet --check ANSWER [OPTIONS] TABLE [FF]\n"
    "       quorlet --check ANSWER... [OPTIONS] -- TABLE [FF]\n"
    "\n"
    "Runs one minimization of a table file, as the window's Minimize does.\n"
    "WORDs are the pipeline command line: slash options, the table file, and for a state table\n"
    "the flip-flop type (D, T, JK or SR). The result file NAME.EXT lands beside the table file.\n"
    "  quorlet /E examples/adder.tbl\n"
    "  quorlet /S /DGENERICS /R traffic.tbl JK\n"
    "\n"
    "Output (one at most; without one, the minimized table NAME.min):\n"
    "  /E               logic equations, NAME.equ\n"
    "  /F[LIB][/EXT]    gate netlist for the Pardovex fault simulator, NAME.net, on the gate\n"
    "                   library LIB.lib (/FGENERICS), with node extension EXT (/FGENERICS/ab)\n"
    "  /D[LIB]          schematic drawing NAME.sch, its symbol NAME.sym, and the pictures\n"
    "                   NAME.svg and NAME.sym.svg, on the gate library LIB.lib (/DGENERICS)\n"
    "  /A               ABEL source for a PAL device, NAME.abl\n"
    "  /J               JEDEC: not implemented; the run only says so (NAME.min holds the table)\n"
    "Minimization:\n"
    "  /S               minimize output by output instead of all outputs together\n"
    "  /P               product of sums instead of sum of products\n"
    "  /O               minimize the OFF cover\n"
    "  /I               inverting gates (NAND, NOR), with /F or /D\n"
    "  /M               enforce a Moore-type state machine\n"
    "  /R               state register outputs as primary outputs, with /F, /D or /A\n"
    "Program options:\n"
    "  --cover=on|dc|off|abort  answer the \"Select Cover\" question without asking\n"
    "  --pause                  keep the two-second banner pause\n"
    "  --debug                  write the runtime's debug lines\n"
    "  --kmap                   also write NAME.kmap and NAME.kmap.svg, the Karnaugh maps\n"
    "  --verilog                also write NAME.v and its testbench NAME_tb.v\n"
    "  --vhdl                   also write NAME.vhd and its testbench NAME_tb.vhd\n"
    "  --help                   show this text\n"
    "  --version                show the version\n"
    "\n"
    "Checking answers:\n"
    "  --check ANSWER...        grade answer files (equations NAME = expression, or a NAME.equ\n"
    "                           file) against the table: one verdict line per function and a\n"
    "                           RESULT line per answer; nothing is written beside the table\n"
    "  --csv FILE               with --check: also write one line per answer and function\n"
    "With --check the OPTIONS, anywhere before TABLE, are slash options, --cover=on|dc|off|abort\n"
    "(how open points are completed for the minimum; default dc), --csv and --debug. Several\n"
    "answers end with -- before TABLE.\n"
    "\n"
    "One run at a time uses a directory: a second run there waits for the first.\n"
    "Exit status: 0 result written (--check: every answer correct), 1 the run ended on an error\n"
    "message (--check: an answer wrong, incomplete or unreadable), 2 usage error.\n";

// The system clock without its pauses: the command line does not wait unless asked to.
class NoPauseClock : public quorlet::TClock {
public:
    explicit NoPauseClock(quorlet::TClock& real) : real_(real) {}
    quorlet::ClockTime Now() override { return real_.Now(); }
    void Sleep(int) override {}

private:
    quorlet::TClock& real_;
};

int UsageError(const std::string& message)
{
    std::cerr << "quorlet: " << message << "\n"
              << "Try 'quorlet --help'.\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string_view(argv[1]) == "--check") {
        quorlet::RegisterQuorletStages();
        quorlet::Console().Bind(std::cout);
        const int status = quorlet::RunCheckCommand(std::vector<std::string>(argv + 2, argv + argc), std::cerr);
        quorlet::Console().Unbind();
        return status;
    }
    std::string cover;
    bool pause = false, debug = false;
    std::vector<std::string> words;
    std::string extraOutputs;  // leading words of the driver's command line
    bool optionsDone = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && arg == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (!optionsDone && arg == "--version") {
            std::cout << kVersion << "\n";
            return 0;
        } else if (!optionsDone && arg == "--pause") {
            pause = true;
        } else if (!optionsDone && arg == "--debug") {
            debug = true;
        } else if (!optionsDone && (arg == "--kmap" || arg == "--verilog" || arg == "--vhdl")) {
            if (extraOutputs.find(" " + arg + " ") == std::string::npos) extraOutputs += " " + arg + " ";
        } else if (!optionsDone && arg.rfind("--cover=", 0) == 0) {
            std::string value = arg.substr(8);
            if (value == "on") cover = "1";
            else if (value == "dc") cover = "-";
            else if (value == "off") cover = "0";
            else if (value == "abort") cover = "Q";
            else return UsageError("--cover takes on, dc, off or abort, not '" + value + "'");
        } else if (!optionsDone && arg.size() > 1 && arg.rfind("--", 0) == 0) {
            return UsageError("unknown option '" + arg + "'");
        } else {
            words.push_back(arg);
        }
    }
    if (words.empty()) return UsageError("no table file given");

    // The table file's directory becomes the work directory; the driver sees its name only.
    std::string tablePath;
    for (auto& w : words) {
        if (w.empty() || w[0] == '/') continue;
        tablePath = w;
        std::filesystem::path p(w);
        if (p.has_parent_path()) w = p.filename().string();
        break;
    }
    std::string commandLine;
    if (!extraOutputs.empty()) {
        // " --kmap  --vhdl " -> " --kmap --vhdl": one blank between words, as the driver splits them
        for (std::size_t pos; (pos = extraOutputs.find("  ")) != std::string::npos;) extraOutputs.erase(pos, 1);
        extraOutputs.pop_back();
        commandLine = extraOutputs;
    }
    for (const auto& w : words) {
        if (w.find(' ') != std::string::npos) return UsageError("a word may not hold a blank: '" + w + "'");
        commandLine += " " + w;
    }
    commandLine += " ";
    if (commandLine.size() > quorlet::kMaxLine) {
        std::cerr << "quorlet: the command line is longer than " << quorlet::kMaxLine << " characters\n";
        return 1;
    }

    std::string programDir = quorlet::ExecutableDir();
    if (!tablePath.empty()) {
        std::filesystem::path dir = std::filesystem::path(tablePath).parent_path();
        std::error_code ec;
        if (!dir.empty()) std::filesystem::current_path(dir, ec);
        if (ec) {
            std::cerr << "quorlet: cannot enter the table's directory " << dir.string() << ": " << ec.message() << "\n";
            return 1;
        }
    }

    quorlet::RegisterQuorletStages();
    NoPauseClock noPause(quorlet::Clock());
    if (!pause) quorlet::SetClock(&noPause);
    quorlet::StreamQuestions questions(std::cin, cover);
    quorlet::SetQuestions(&questions);
    quorlet::DebugEnabled = debug;

    quorlet::Console().Bind(std::cout);
    // A second run in the same directory waits for the first; an interrupt ends the wait.
    const quorlet::RunOutcome outcome =
        quorlet::RunPipeline(programDir + "quorlet.exe", commandLine, quorlet::DirectoryWait::Wait);
    quorlet::Console().Flush();
    quorlet::Console().Unbind();
    quorlet::SetQuestions(nullptr);
    quorlet::SetClock(nullptr);
    return outcome.Succeeded() ? 0 : 1;
}
