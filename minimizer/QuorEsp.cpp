// Argument handling, reading, minimizing, writing and verifying for quor_esp.
#include "QuorEsp.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Exact.h"
#include "Function.h"
#include "Minimize.h"

namespace quorlet {
namespace {

constexpr const char* kUsage =
    "usage: quor_esp [-o OUT] [-pos] [--exact] [--stats] [IN]\n"
    "       quor_esp --verify ORIGINAL RESULT [-pos]\n";

PlaTable ReadInput(const std::string& path, std::istream* in)
{
    if (!path.empty()) return ReadPlaFile(path);
    std::ostringstream ss;
    if (in) ss << in->rdbuf();
    else ss << std::cin.rdbuf();
    return ParsePla(ss.str(), "(standard input)");
}

// With -pos on a table that lists no OFF points, the cover to find is the complement of what
// the table names, and a few scattered points in many dimensions leave thousands of cubes open
// (the completeness check of a sparse table). Past this many, the full loop would take minutes.
constexpr int kMaxComputedCubesToMinimize = 2000;

// That complement (the completeness check's list of missing points) needs to be correct and
// compact, not the last cube smaller: one round of reduce, expand and irredundant takes it most
// of the way, and on scattered points each further round wins a cube or two for the time of
// the whole first pass.
MinimizeParams ComplementParams(MinimizeParams p)
{
    p.maxLoops = 1;
    p.maxStallRounds = 0;
    p.otherReduceOrder = p.lastGasp = p.otherExpand = p.secondStart = false;
    p.primeCoverCubes = 0;
    return p;
}

// Something other than a regular file or a folder (a device, a pipe, a socket) stands there.
bool IsSpecialFile(const std::string& path)
{
    std::error_code ec;
    auto st = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(st) && !std::filesystem::is_regular_file(st) &&
           !std::filesystem::is_directory(st);
}

bool ComplementTooLargeToMinimize(const PlaTable& table, bool pos, const Problem& prob)
{
    const bool offListed = table.type == PlaType::FR || table.type == PlaType::FDR || table.type == PlaType::R;
    return pos && !offListed && prob.on.Size() > kMaxComputedCubesToMinimize;
}

// The check table's question: a table of type f names only what it says (no don't-cares), and
// with -pos the points it leaves open are asked for. A -pos run on a function with don't-cares
// (type fd, the default) keeps the full loop.
bool MissingPointsAsked(const PlaTable& table, bool pos) { return pos && table.type == PlaType::F; }

}  // namespace

int RunQuorEsp(std::span<const std::string> args, std::ostream& err, std::istream* in, std::ostream* out)
{
    std::string outPath, inPath;
    bool pos = false, stats = false, verify = false;
    MinimizeParams params;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o") {
            if (i + 1 >= args.size()) {
                err << "quor_esp: -o needs a file name\n" << kUsage;
                return 2;
            }
            outPath = args[++i];
        } else if (a == "-pos") {
            pos = true;
        } else if (a == "--exact") {
            params.exact = true;
        } else if (a == "--stats") {
            stats = true;
        } else if (a == "--verify") {
            verify = true;
        } else if (a == "-h" || a == "--help") {
            err << kUsage;
            return 0;
        } else if (a.size() > 1 && a[0] == '-') {
            err << "quor_esp: unknown option " << a << "\n" << kUsage;
            return 2;
        } else {
            files.push_back(a);
        }
    }
    try {
        if (verify) {
            if (files.size() != 2) {
                err << "quor_esp: --verify needs ORIGINAL and RESULT\n" << kUsage;
                return 2;
            }
            PlaTable orig = ReadPlaFile(files[0]);
            PlaTable res = ReadPlaFile(files[1]);
            Verdict v = VerifyMinimization(orig, res, pos);
            if (!v.ok) {
                err << "quor_esp: " << files[1] << " is wrong: " << v.message << "\n";
                return 1;
            }
            err << "quor_esp: " << files[1] << " is a correct minimization of " << files[0] << (pos ? " (-pos)" : "")
                << "\n";
            return 0;
        }
        if (files.size() > 1) {
            err << "quor_esp: more than one input file\n" << kUsage;
            return 2;
        }
        if (!files.empty()) inPath = files[0];
        auto t0 = std::chrono::steady_clock::now();
        PlaTable table = ReadInput(inPath, in);
        for (const std::string& w : table.warnings) err << "quor_esp: warning: " << w << "\n";
        Problem prob = BuildProblem(table, pos);
        MinimizeResult res;
        if (prob.offKnown && ComplementTooLargeToMinimize(table, pos, prob)) {
            // Its primes are already a correct cover; the full loop would take minutes.
            res.cover = Expand(prob.on, prob.off);
            res.stats.inputCubes = prob.on.Size();
            res.stats.cubes = res.cover.Size();
            res.stats.inputLiterals = res.cover.InputLiterals();
            err << "quor_esp: note: the cover to find has " << prob.on.Size()
                << " cubes; only its primes are given, not a minimized cover\n";
        } else {
            const MinimizeParams loop = MissingPointsAsked(table, pos) ? ComplementParams(params) : params;
            res = prob.offKnown ? Minimize(prob.on, prob.dc, prob.off, loop) : MinimizeWithoutOff(prob.on, prob.dc, loop);
        }
        if (params.exact && !prob.offKnown) {
            res.stats.exactGaveUp = true;
            err << "quor_esp: note: the OFF-set is too large for exact minimization; the result is the heuristic one\n";
        } else if (params.exact) {
            MinimizeResult ex;
            ExactStatus why = ExactStatus::Proven;
            if (ExactMinimize(prob.on, prob.dc, prob.off, params, ex, &why, &res.cover)) {
                ex.stats.exactProven = true;
                res = std::move(ex);
            } else {
                res.stats.exactGaveUp = true;
                err << "quor_esp: note: exact minimization gave up (" << ExactStatusName(why)
                    << "); the result is the heuristic one\n";
            }
        }
        PlaTable result = CoverToTable(res.cover, table);
        std::string text = FormatPla(result);
        if (outPath.empty()) {
            (out ? *out : std::cout) << text << std::flush;
        } else if (IsSpecialFile(outPath)) {
            // A device or pipe (-o /dev/null, -o /dev/stdout) is written into; replacing it by a
            // renamed file would destroy it, and for /dev/null as root break the whole system.
            std::ofstream f(outPath, std::ios::binary);
            if (!(f << text << std::flush)) throw PlaError(outPath + ": cannot write file");
        } else {
            std::string tmp = outPath + ".tmp";
            std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
            if (!f) throw PlaError(outPath + ": cannot create file");
            f << text;
            f.close();
            if (!f || std::rename(tmp.c_str(), outPath.c_str()) != 0) {
                std::remove(tmp.c_str());
                throw PlaError(outPath + ": cannot write file");
            }
        }
        if (stats) {
            double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            err << "cubes " << res.stats.cubes << " literals " << res.stats.inputLiterals + res.stats.outputLiterals
                << " (input " << res.stats.inputLiterals << ", output " << res.stats.outputLiterals << ") seconds "
                << secs << "\n";
        }
        return 0;
    } catch (const PlaError& e) {
        err << "quor_esp: error: " << e.what() << "\n";
    } catch (const CoverLimitError& e) {
        err << "quor_esp: error: " << e.what() << " (limit kMaxCoverCubes); function too large\n";
    } catch (const std::bad_alloc&) {
        err << "quor_esp: error: out of memory\n";
    }
    // No stale result may stay for the next stage to read; a device or pipe is left alone.
    if (!outPath.empty() && outPath != inPath && !IsSpecialFile(outPath)) std::remove(outPath.c_str());
    return 1;
}

}  // namespace quorlet
