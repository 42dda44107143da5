// Fuzzes whole runs: the driver with every stage of the process on a fuzzed table and fuzzed
// options, in a work directory that may hold fuzzed files left by an earlier run (plain files or
// links to files outside it). After the run the table file must be unchanged and nothing outside
// the work directory touched.
//
// Input: byte 0 chooses the options, byte 1 which intermediate names hold leftovers, byte 2
// whether they are links and which cover answer is given; then the table text, a NUL byte, and
// the leftover text that every planted file receives.
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "Clock.h"
#include "FuzzSupport.h"
#include "IORedirect.h"
#include "StageTable.h"
#include "USubExec.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxTableBytes = 4 * 1024;

constexpr std::array<const char*, 8> kLeftovers = {"exp_tbl.$$$", "exp_chk.$$$", "exp_log.$$$", "esp_tbl.$$$",
                                                   "esp_chk.$$$", "exp_tbl.###", "esp_tbl.###", "isp_log.$$$"};

std::string CommandLineFor(std::uint8_t choice, std::uint8_t more)
{
    static constexpr std::array<const char*, 8> kOutput = {
        "", " /E", " /F", " /DGENERICS", " /A", " /J", " /FGENERICS/X1", " /E /X"};
    static constexpr std::array<const char*, 4> kFlags = {" /S", " /M", " /P", " /O /I /R"};
    return ((more & 0x10) ? " --kmap" : "") + quorlet::fuzz::ChosenCommandLine(choice, kOutput, kFlags);
}

// Every entry below a directory with its kind and, for plain files, its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> entries;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, fs::directory_options::none, ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::path p = it->path();
        if (it->is_symlink(ec)) entries[p.string()] = "link " + fs::read_symlink(p, ec).string();
        else if (it->is_regular_file(ec)) entries[p.string()] = "file " + quorlet::fuzz::ReadBack(p);
        else entries[p.string()] = "other";
    }
    return entries;
}

void Fail(const char* what)
{
    std::fputs(what, stderr);
    std::fputc('\n', stderr);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3 || size > kMaxTableBytes + 3) return -1;
    quorlet::fuzz::EnterScratchDirectory();
    static const fs::path scratch = fs::current_path();
    static const fs::path tools = scratch / "tools";
    static const fs::path outside = scratch / "outside";
    static const fs::path work = scratch / "work";
    static bool prepared = false;
    if (!prepared) {
        quorlet::RegisterQuorletStages();
        fs::create_directories(tools);
        fs::create_directories(outside);
        quorlet::fuzz::WriteInput((tools / "GENERICS.LIB").c_str(), "LIBRARY FUZZ\nEND\n");
        quorlet::fuzz::WriteInput((outside / "target").c_str(), "kept outside\n");
        prepared = true;
    }
    static quorlet::FixedClock clock{quorlet::ClockTime{}};
    quorlet::SetClock(&clock);

    const std::string_view rest = quorlet::fuzz::AsText(data + 3, size - 3);
    const std::size_t nul = rest.find('\0');
    const std::string table(rest.substr(0, nul));
    const std::string leftover(nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1));

    std::error_code ec;
    fs::remove_all(work, ec);
    fs::create_directories(work);
    fs::current_path(work);
    quorlet::fuzz::WriteInput("t.tbl", table);
    for (std::size_t i = 0; i < kLeftovers.size(); ++i) {
        if (!(data[1] & (1u << i))) continue;
        if (data[2] & 0x01) fs::create_symlink(outside / "target", kLeftovers[i], ec);
        else quorlet::fuzz::WriteInput(kLeftovers[i], leftover);
    }
    const auto leftovers = Snapshot(work);
    const auto before = Snapshot(tools);
    const auto outsideBefore = Snapshot(outside);

    static constexpr std::array<const char*, 4> kCovers = {"1", "-", "0", "Q"};
    quorlet::ScriptedQuestions questions({"t.tbl", "D"}, {kCovers[(data[2] >> 1) & 3]});
    quorlet::SetQuestions(&questions);
    quorlet::Console().Unbind();
    quorlet::RunPipeline((tools / "quorlet.exe").string(), CommandLineFor(data[0], data[2]),
                         quorlet::DirectoryWait::Refuse);
    quorlet::Console().Flush();
    quorlet::SetQuestions(nullptr);

    fs::current_path(scratch);
    if (quorlet::fuzz::ReadBack(work / "t.tbl") != table) Fail("the run changed the table file");
    if (Snapshot(tools) != before) Fail("the run changed the tool directory");
    if (Snapshot(outside) != outsideBefore) Fail("the run changed a file outside its work directory");
    for (const auto& entry : fs::directory_iterator(scratch))
        if (entry.path() != tools && entry.path() != outside && entry.path() != work)
            Fail("the run made a file beside its work directory");
    // A run that never started (a bad option) leaves an earlier run's files as they were.
    const auto after = Snapshot(work);
    for (const auto& [path, content] : after) {
        const std::string name = fs::path(path).filename().string();
        if (name.find(".$$$") == std::string::npos && name.find(".###") == std::string::npos && name != "quorlet.lock")
            continue;
        auto planted = leftovers.find(path);
        if (planted == leftovers.end() || planted->second != content)
            Fail("the run left an intermediate file or its lock behind");
    }
    return 0;
}
