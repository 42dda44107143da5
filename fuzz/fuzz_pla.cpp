// Fuzzes the minimizer: the input is a PLA table read by the minimizer's reader and, when it is
// small, minimized; every result that the minimizer accepts is checked against the table.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Function.h"
#include "Pla.h"
#include "QuorEsp.h"

namespace {

// One execution must stay in the milliseconds: small texts, and few inputs for the minimizer.
constexpr std::size_t kMaxPlaBytes = 4 * 1024;
constexpr int kMaxMinimizedInputs = 16;
constexpr int kMaxMinimizedOutputs = 16;
constexpr int kMaxExactInputs = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kMaxPlaBytes) return -1;
    // The options come from the length, so that plain PLA files serve as seeds as they are.
    const std::size_t flags = size;
    const std::string text(quorlet::fuzz::AsText(data, size));

    quorlet::PlaTable table;
    try {
        table = quorlet::ParsePla(text, "fuzz.pla");
    } catch (const quorlet::PlaError&) {
        return 0;
    }
    // What the reader accepted, its writer must give back in a form the reader accepts again.
    try {
        quorlet::ParsePla(quorlet::FormatPla(table), "formatted.pla");
    } catch (const quorlet::PlaError& e) {
        std::fprintf(stderr, "the writer's text is refused by the reader: %s\n", e.what());
        std::abort();
    }
    if (table.ni > kMaxMinimizedInputs || table.no > kMaxMinimizedOutputs) return 0;

    const bool pos = flags & 1;
    const bool exact = (flags & 2) && table.ni <= kMaxExactInputs;
    std::vector<std::string> args;
    if (pos) args.push_back("-pos");
    if (exact) args.push_back("--exact");
    std::istringstream in(text);
    std::ostringstream out, err;
    if (quorlet::RunQuorEsp(args, err, &in, &out) != 0) return 0;

    quorlet::PlaTable result;
    try {
        result = quorlet::ParsePla(out.str(), "result.pla");
    } catch (const quorlet::PlaError& e) {
        std::fprintf(stderr, "the minimizer wrote a table its reader refuses: %s\n", e.what());
        std::abort();
    }
    quorlet::Verdict verdict = quorlet::VerifyMinimization(table, result, pos);
    if (!verdict.ok) {
        std::fprintf(stderr, "wrong minimization: %s\n", verdict.message.c_str());
        std::abort();
    }
    return 0;
}
