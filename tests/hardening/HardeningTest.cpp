// Bad inputs through `quorlet`, as a user would feed them: each run must end in bounded time
// with a clear message and exit status 1, without a crash or sanitizer report, and must leave
// the user's table file byte for byte as it was.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "ProgramRun.h"
#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace quorlet::test;

const fs::path kBadInputs = QUORLET_BAD_INPUTS;
const fs::path kExamples = QUORLET_EXAMPLES;
// A run takes a fraction of a second, also under the sanitizers; this is "it hangs".
constexpr int kTimeLimitSeconds = 30;

struct Outcome {
    int status = -1;  // exit status; -1 when killed by a signal or by the time limit
    bool timedOut = false;
    std::string output;
};

// Runs quorlet in `dir` with its own process group (so that a minimizer it starts dies with it
// at the time limit), standard input ended and the output read through a pipe, which a file
// size limit does not reach. `fileSizeLimit` >= 0 caps every file the run writes.
Outcome RunQuorlet(const fs::path& dir, const std::vector<std::string>& words, long fileSizeLimit = -1)
{
    std::vector<std::string> args = {QUORLET_BIN, "--cover=on"};
    args.insert(args.end(), words.begin(), words.end());
    int out[2];
    if (pipe(out) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(out[0]);
        if (chdir(dir.c_str()) != 0) _exit(126);
        if (fileSizeLimit >= 0) {
            signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails as on a full disk
            rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    Outcome r;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kTimeLimitSeconds);
    char buf[4096];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            r.timedOut = true;
            kill(-pid, SIGKILL);
            break;
        }
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        r.output.append(buf, static_cast<std::size_t>(n));
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    kill(-pid, SIGKILL);  // whatever the run started and left behind
    if (!r.timedOut && WIFEXITED(status)) r.status = WEXITSTATUS(status);
    return r;
}

bool HasSanitizerReport(const std::string& output)
{
    return output.find("Sanitizer") != std::string::npos || output.find("runtime error:") != std::string::npos;
}

bool RunningAsRoot() { return geteuid() == 0; }

class BadInput : public ::testing::Test {
protected:
    // The table in a work directory of its own, as the user keeps it.
    fs::path Place(const std::string& name, const std::string& text)
    {
        fs::create_directories(work_);
        WriteFile((work_ / name).string(), text);
        table_ = work_ / name;
        original_ = text;
        return table_;
    }
    fs::path PlaceCorpusFile(const std::string& file, const std::string& as = {})
    {
        return Place(as.empty() ? file : as, ReadFile((kBadInputs / file).string()));
    }
    fs::path PlaceExample(const std::string& file) { return Place(file, ReadFile((kExamples / file).string())); }

    // One run that must be refused: exit 1, the message, in time, the table untouched.
    void ExpectRefused(const std::vector<std::string>& words, const std::string& message, long fileSizeLimit = -1)
    {
        Outcome r = RunQuorlet(work_, words, fileSizeLimit);
        EXPECT_FALSE(r.timedOut) << "no end within " << kTimeLimitSeconds << " s";
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_FALSE(HasSanitizerReport(r.output)) << r.output;
        EXPECT_NE(r.output.find(message), std::string::npos) << "expected \"" << message << "\" in\n" << r.output;
        ExpectTableUnchanged();
    }
    void ExpectTableUnchanged() const { EXPECT_EQ(ReadFile(table_.string()), original_) << table_ << " was changed"; }

    TempWorkDir scratch_;
    fs::path work_ = scratch_.Path() / "work";
    fs::path table_;
    std::string original_;
};

struct RefusedFile {
    const char* file;
    std::vector<std::string> words;  // around the table: "@" stands for it
    const char* message;
};

const RefusedFile kRefusedFiles[] = {
    {"empty.tbl", {"@"}, "NO QUORLET INPUT FILE"},
    {"binary.tbl", {"@"}, "NO QUORLET INPUT FILE"},
    {"truncated-heading.tbl", {"@"}, "END LINE MISSING"},
    {"truncated-names.tbl", {"@"}, "NO OUTPUT SIGNALS DEFINED"},
    {"truncated-term.tbl", {"@"}, "INCORRECT INPUT VECTOR"},
    {"crlf-truncated.tbl", {"@"}, "INCORRECT OUTPUT VECTOR"},
    {"no-end.tbl", {"@"}, "END LINE MISSING"},
    {"binary-terms.tbl", {"@"}, "INCORRECT INPUT VECTOR"},
    {"long-term.tbl", {"@"}, "INCORRECT OUTPUT VECTOR"},
    {"long-comment.tbl", {"@"}, "INCORRECT OUTPUT VECTOR"},
    {"41-inputs.tbl", {"@"}, "MORE THAN 40 INPUTS OR OUTPUTS"},
    {"41-inputs-split.tbl", {"@"}, "MORE THAN 40 INPUTS OR OUTPUTS"},
    {"41-outputs.tbl", {"@"}, "MORE THAN 40 INPUTS OR OUTPUTS"},
    {"27-variables.tbl", {"/E", "@"}, "EQUATIONS OUTPUT IS INCOMPATIBLE WITH MORE THAN 26 VARIABLES"},
    {"conflicting.tbl", {"@"}, "LINE 2 IS CONFLICTING WITH LINE 1"},
    {"257-states.tbl", {"@", "D"}, "CAN'T HANDLE MORE THAN 256 STATES"},
    {"duplicate-state-code.tbl", {"@", "D"}, "DUPLICATE STATE CODE"},
    {"bad-state-code.tbl", {"@", "D"}, "ERROR IN STATE ENCODING"},
    // The flip-flop question meets ended input and must not ask forever.
    {"no-flipflop.tbl", {"@"}, "ILLEGAL FLIPFLOP TYPE"},
};

std::vector<std::string> WithTable(const std::vector<std::string>& words, const fs::path& table)
{
    std::vector<std::string> out;
    for (const auto& w : words) out.push_back(w == "@" ? table.filename().string() : w);
    return out;
}

TEST_F(BadInput, EveryCorpusTableIsRefusedWithItsMessage)
{
    for (const RefusedFile& c : kRefusedFiles) {
        SCOPED_TRACE(c.file);
        fs::remove_all(work_);
        fs::path table = PlaceCorpusFile(c.file);
        ExpectRefused(WithTable(c.words, table), c.message);
    }
}

// Lines past 255 characters are cut, as every reader does: these tables are still good.
TEST_F(BadInput, OverLongAndOddNameLinesAreCutNotFatal)
{
    for (const char* file : {"long-name.tbl", "long-title.tbl", "binary-names.tbl"}) {
        SCOPED_TRACE(file);
        fs::remove_all(work_);
        fs::path table = PlaceCorpusFile(file);
        Outcome r = RunQuorlet(work_, {table.filename().string()});
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_FALSE(HasSanitizerReport(r.output)) << r.output;
        EXPECT_TRUE(fs::exists(fs::path(table).replace_extension(".min")));
        ExpectTableUnchanged();
    }
}

TEST_F(BadInput, TenThousandTermsAreRefusedAtTheStoreLimit)
{
    std::mt19937 random(10000);
    std::string text = "TABLE MANY\nINPUT";
    for (int i = 0; i < 14; ++i) text += " I" + std::to_string(i);
    text += "\nOUTPUT Y\n";
    for (int t = 0; t < 10000; ++t) {
        for (int i = 0; i < 14; ++i) text += random() & 1 ? '1' : '0';
        text += " 1\n";
    }
    text += "END\n";
    fs::path table = Place("many.tbl", text);
    ExpectRefused({table.filename().string()}, "CAN'T HANDLE MORE THAN 2000 INPUT TERMS");
}

// Forty inputs and a hundred scattered terms leave more open points than the completeness
// check can list; the run must say so in bounded time rather than run on without end.
TEST_F(BadInput, HugeOpenCoverEndsInBoundedTime)
{
    fs::path table = PlaceCorpusFile("sparse-40-inputs.tbl");
    Outcome r = RunQuorlet(work_, {table.filename().string()});
    EXPECT_FALSE(r.timedOut) << "no end within " << kTimeLimitSeconds << " s";
    EXPECT_FALSE(HasSanitizerReport(r.output)) << r.output;
    ExpectTableUnchanged();
}

TEST_F(BadInput, ResultFileThatIsTheTableItselfIsNeverOpened)
{
    fs::path table = Place("adder.min", ReadFile((kExamples / "adder.tbl").string()));
    ExpectRefused({table.filename().string()}, "FATAL ERROR: OUTPUTFILE adder.min IS THE TABLE FILE ITSELF");

    // The same file under the result's name, by a symbolic and by a hard link.
    fs::remove_all(work_);
    table = PlaceExample("adder.tbl");
    fs::create_symlink("adder.tbl", work_ / "adder.min");
    ExpectRefused({table.filename().string()}, "IS THE TABLE FILE ITSELF");
    fs::create_hard_link(table, work_ / "adder.equ");
    ExpectRefused({"/E", table.filename().string()}, "FATAL ERROR: OUTPUTFILE adder.equ IS THE TABLE FILE ITSELF");
}

TEST_F(BadInput, MissingOrNonFileTableIsReported)
{
    fs::create_directories(work_);
    Outcome r = RunQuorlet(work_, {"absent.tbl"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("FATAL ERROR: UNABLE TO OPEN TABLE FILE absent.tbl"), std::string::npos) << r.output;

    fs::create_directory(work_ / "folder.tbl");
    r = RunQuorlet(work_, {"folder.tbl"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("FATAL ERROR: UNABLE TO OPEN TABLE FILE"), std::string::npos) << r.output;

    r = RunQuorlet(work_, {"/E", std::string(300, 'x') + ".tbl"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("longer than 255 characters"), std::string::npos) << r.output;
}

// Files the run cannot create, in ways that hold also for root: a directory in the way.
TEST_F(BadInput, ResultOrIntermediateFileThatCannotBeCreated)
{
    fs::path table = PlaceExample("adder.tbl");
    fs::create_directory(work_ / "adder.min");
    ExpectRefused({table.filename().string()}, "FATAL ERROR: UNABLE TO OPEN OUTPUTFILE adder.min");
    fs::remove(work_ / "adder.min");

    // A directory under an intermediate name ends the run before any stage, naming it.
    for (const char* name : {"exp_tbl.$$$", "exp_log.$$$", "esp_tbl.###", "isp_log.$$$"}) {
        SCOPED_TRACE(name);
        fs::create_directory(work_ / name);
        ExpectRefused({table.filename().string()},
                      "FATAL ERROR: " + std::string(name) + " IN THE WORK DIRECTORY IS NOT A PLAIN FILE");
        EXPECT_TRUE(fs::is_directory(work_ / name));
        EXPECT_FALSE(fs::exists(work_ / "adder.min"));
        fs::remove(work_ / name);
    }
}

// A result file on /dev/full takes no byte and is reported. Links under the intermediate
// names are removed before the first stage and never written through.
TEST_F(BadInput, FullDeviceUnderAFixedNameIsReportedAsDiskFull)
{
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    fs::path table = PlaceExample("adder.tbl");
    fs::create_symlink("/dev/full", work_ / "adder.min");
    ExpectRefused({table.filename().string()}, "ERROR WRITING OUTPUT, PROBABLY DISK FULL");
    fs::remove(work_ / "adder.min");
    for (const char* name : {"exp_tbl.$$$", "exp_chk.$$$", "esp_chk.$$$.tmp", "esp_tbl.$$$.tmp"}) {
        SCOPED_TRACE(name);
        fs::create_symlink("/dev/full", work_ / name);
        Outcome r = RunQuorlet(work_, {table.filename().string()});
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_FALSE(fs::is_symlink(work_ / name));
        ExpectTableUnchanged();
    }
}

// A full disk at any point of the run: every file write past the limit fails. Whatever file
// it hits, the run must not claim a result.
TEST_F(BadInput, FullDiskAtAnySizeEndsWithAnError)
{
    for (const char* example : {"bcd7seg.tbl", "traffic.tbl"}) {
        for (const char* output : {"", "/E", "/A", "/F"}) {
            SCOPED_TRACE(std::string(example) + " " + output);
            fs::remove_all(work_);
            fs::path table = PlaceExample(example);
            std::vector<std::string> words;
            if (*output) words.push_back(output);
            words.push_back(table.filename().string());
            if (std::string(example) == "traffic.tbl") words.push_back("D");
            Outcome whole = RunQuorlet(work_, words);
            ASSERT_EQ(whole.status, 0) << whole.output;
            long largest = 0;
            for (const auto& e : fs::directory_iterator(work_))
                if (e.path() != table) largest = std::max<long>(largest, static_cast<long>(e.file_size()));
            for (long limit : {0L, largest / 4, largest / 2, largest - 1}) {
                SCOPED_TRACE("file size limit " + std::to_string(limit));
                Outcome r = RunQuorlet(work_, words, limit);
                EXPECT_FALSE(r.timedOut);
                EXPECT_EQ(r.status, 1) << r.output;
                EXPECT_FALSE(HasSanitizerReport(r.output)) << r.output;
                ExpectTableUnchanged();
            }
        }
    }
}

// Permissions do not stop root: these two skip themselves when run as root.
TEST_F(BadInput, UnwritableWorkDirectory)
{
    if (RunningAsRoot()) GTEST_SKIP() << "root writes into any directory";
    fs::path table = PlaceExample("adder.tbl");
    fs::permissions(work_, fs::perms::owner_read | fs::perms::owner_exec);
    ExpectRefused({table.filename().string()}, "FATAL ERROR: UNABLE TO OPEN OUTPUTFILE adder.min");
    fs::permissions(work_, fs::perms::owner_all);
}

TEST_F(BadInput, ReadOnlyResultFile)
{
    if (RunningAsRoot()) GTEST_SKIP() << "root writes into any file";
    fs::path table = PlaceExample("adder.tbl");
    WriteFile((work_ / "adder.min").string(), "kept\n");
    fs::permissions(work_ / "adder.min", fs::perms::owner_read);
    ExpectRefused({table.filename().string()}, "FATAL ERROR: UNABLE TO OPEN OUTPUTFILE adder.min");
    EXPECT_EQ(ReadFile((work_ / "adder.min").string()), "kept\n");
}

}  // namespace

namespace {

// The minimizer's reader once took a second ".i" after ".ilb", and then wrote a table it could
// not read back itself (found by fuzzing).
TEST(MinimizerReader, CountThatDisagreesWithEarlierNamesIsRefused)
{
    quorlet::test::TempWorkDir dir;
    quorlet::test::RunResult r = quorlet::test::RunBuiltProgram(
        QUOR_ESP_BIN, {"-o", "out.pla", std::string(QUORLET_FUZZ_REGRESSIONS) + "/pla/ilb-before-second-i.pla"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(":6: .i 5 disagrees with the 7 names given before it"), std::string::npos) << r.output;
    EXPECT_FALSE(std::filesystem::exists("out.pla"));
}

}  // namespace
