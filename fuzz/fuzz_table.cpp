// Fuzzes the table reader: the input is a whole table file, read by the expander stage with a
// command line that the first byte chooses. The user's table must come out of the run unchanged.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "Clock.h"
#include "FuzzSupport.h"
#include "IORedirect.h"
#include "TExpander.h"

namespace {

// Enough for a few hundred terms, so that the 2000-term store and its conflict check stay cheap.
constexpr std::size_t kMaxTableBytes = 8 * 1024;

std::string CommandLineFor(std::uint8_t choice)
{
    static constexpr std::array<const char*, 8> kOutput = {"",      " /E", " /F", " /D", " /A", " /J", " /FGENERICS/X1",
                                                           " /E /X"};
    static constexpr std::array<const char*, 4> kFlags = {" /S", " /M /R", " /P", " /O /I"};
    return quorlet::fuzz::ChosenCommandLine(choice, kOutput, kFlags);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > kMaxTableBytes + 1) return -1;
    quorlet::fuzz::EnterScratchDirectory();
    static quorlet::FixedClock clock{quorlet::ClockTime{}};
    quorlet::SetClock(&clock);
    quorlet::Console().Unbind();

    std::string table(quorlet::fuzz::AsText(data + 1, size - 1));
    quorlet::fuzz::WriteInput("t.tbl", table);
    {
        quorlet::TExpander stage;
        stage.Run(CommandLineFor(data[0]));
    }
    quorlet::Console().Flush();
    if (quorlet::fuzz::ReadBack("t.tbl") != table) {
        std::fputs("the table reader changed the table file\n", stderr);
        std::abort();
    }
    return 0;
}
