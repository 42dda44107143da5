// The minimization loop: expand, irredundant and essentials once, then reduce, expand and
// irredundant until a round gains nothing and none of the ways out of that stall gains either;
// then make-sparse, and for small results a minimum cover of all primes.
#include "Minimize.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "Unate.h"

namespace quorlet {
namespace {

// QUOR_ESP_TRACE=1 prints the cost after each step, and the processor time used so far, to
// stderr (developer aid; no effect on results).
void Trace(const char* step, const Cover& f)
{
    static const bool on = std::getenv("QUOR_ESP_TRACE") != nullptr;
    if (on)
        std::fprintf(stderr, "%-12s %6d cubes %7d literals %8.3f s\n", step, f.Size(), f.Literals(),
                     double(std::clock()) / CLOCKS_PER_SEC);
}

// The cube and literal counts of the result's cover.
void CountResult(MinimizeResult& r)
{
    r.stats.cubes = r.cover.Size();
    r.stats.inputLiterals = r.cover.InputLiterals();
    r.stats.outputLiterals = r.cover.Literals() - r.stats.inputLiterals;
}

double SecondsSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// off: the OFF-set, or null to expand by tautology against on and dc.
MinimizeResult MinimizeLoop(const Cover& on, const Cover& dc, const Cover* off, const MinimizeParams& p)
{
    auto t0 = std::chrono::steady_clock::now();
    const Space& s = on.space();
    MinimizeResult res;
    res.stats.inputCubes = on.Size();
    Cover f = on;
    f.RemoveEmpty();
    SingleCubeContainment(f);
    Cover d = dc;
    d.RemoveEmpty();
    Cover care = on;
    care.Append(d);
    const Expansion expand{off, &care};

    Trace("start", f);
    f = expand(f);
    Trace("expand", f);
    f = Irredundant(f, d, p.irredundant);
    Trace("irredundant", f);
    Cover ess(s);
    // Always without an OFF-set, where the loop is slowest.
    if (p.essentials || !off) {
        std::vector<char> e = EssentialPrimes(f, d, p.essentialSteps);
        std::vector<char> rest(f.Size());
        for (int i = 0; i < f.Size(); ++i) {
            if (e[i]) ess.Add(f[i]);
            rest[i] = !e[i];
        }
        f.Filter(rest);
        d.Append(ess);
    }
    res.stats.essentials = ess.Size();
    Cost best = CostOf(f);
    // Takes g in place of f when it costs less.
    auto tookCheaper = [&](Cover& g, const char* step) {
        Trace(step, g);
        Cost c = CostOf(g);
        if (!(c < best)) return false;
        f.Swap(g);
        best = c;
        return true;
    };
    int stalls = 0;
    for (int loop = 0; loop < p.maxLoops; ++loop) {
        res.stats.loops = loop + 1;
        std::vector<char> unchanged;
        Cover reduced = ReduceLargestFirst(f, d, &unchanged);
        Trace("reduce", reduced);
        Cover g = expand(reduced, {.primes = &unchanged});  // cubes reduce left alone are still primes
        Trace("expand", g);
        g = Irredundant(g, d, p.irredundant);
        Trace("irredundant", g);
        Cost c = CostOf(g);
        bool moved = false;  // f is no longer the cover reduced above
        if (c < best && c.cubes < best.cubes) {
            f.Swap(g);
            best = c;
            continue;
        }
        if (c < best) {
            // Fewer literals only: keep the cover, but look for fewer cubes the other ways at once
            // rather than round after round of small literal gains (ex5 72 -> 71; misex3 4% faster).
            f.Swap(g);
            best = c;
            moved = true;
        }
        if (++stalls > p.maxStallRounds) break;
        // Ways out of the local minimum, the cheap one first: before the last gasp it finds other
        // minima (cps 162 -> 160, ex1010 278 -> 274, apex4 435 -> 432).
        if (p.otherReduceOrder) {
            // Reduce the cubes shared least first (the order expand takes them in), which leaves
            // different parts to the common cubes.
            std::vector<char> unchanged2;
            g = ReduceInOrder(f, d, ExpandOrder(f), &unchanged2);
            Trace("reduce 2", g);
            g = Irredundant(expand(g, {.primes = &unchanged2}), d, p.irredundant);
            if (tookCheaper(g, "irredundant")) continue;
        }
        if (p.lastGasp) {
            g = LastGasp(f, d, expand, p.irredundant);
            if (tookCheaper(g, "last gasp")) continue;
        }
        if (p.otherExpand && off) {
            // Primes of another shape: an OFF cube the outputs already keep apart stays apart by
            // the outputs, and the inputs grow instead.
            if (moved) reduced = ReduceLargestFirst(f, d, &unchanged);
            g = Irredundant(expand(reduced, {.separateByOutputs = true, .primes = &unchanged}), d, p.irredundant);
            if (tookCheaper(g, "expand 2")) continue;
        }
        break;
    }
    f.Append(ess);
    d = dc;
    d.RemoveEmpty();
    if (p.sparse) f = MakeSparse(f, d, expand, p.irredundant);
    res.cover = std::move(f);
    CountResult(res);
    res.stats.seconds = SecondsSince(t0);
    return res;
}

// The loop from the ON-set, and with p.secondStart also from the complement of the OFF-set.
MinimizeResult MinimizeFromBothStarts(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& p)
{
    MinimizeResult r = MinimizeLoop(on, dc, &off, p);
    if (!p.secondStart || on.Size() < 2) return r;
    // The loop ends in a local minimum that depends on where it starts; the complement of the
    // OFF-set is a second start, taken when it is the smaller cover.
    Cover start;
    try {
        start = Complement(off, std::size_t(on.Size() - 1));
    } catch (const CoverLimitError&) {
        return r;
    }
    MinimizeResult r2 = MinimizeLoop(start, dc, &off, p);
    r2.stats.inputCubes = r.stats.inputCubes;
    r2.stats.seconds += r.stats.seconds;
    if (CostOf(r2.cover) < CostOf(r.cover)) return r2;
    r.stats.seconds = r2.stats.seconds;
    return r;
}

}  // namespace

MinimizeResult Minimize(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& p)
{
    MinimizeResult r = MinimizeFromBothStarts(on, dc, off, p);
    if (r.cover.Size() > p.primeCoverCubes) return r;
    // Super gasp for small results: the loop's local minimum can sit a few cubes above the best
    // choice among all primes (9sym 87 against 84, bw 25 against 22). Every limit here counts
    // work, never time, so the answer stays the same from run to run; a problem past a limit
    // keeps the loop's cover.
    auto t0 = std::chrono::steady_clock::now();
    ExactParams ep;
    ep.maxSeconds = 0;
    ep.maxPrimes = p.primeCoverPrimes;
    ep.maxProducts = 20L * p.primeCoverPrimes;
    ep.maxSplitCubes = 20L * p.primeCoverPrimes;
    ep.maxRows = 40L * p.primeCoverPrimes;
    ep.maxCoreCells = 320L * p.primeCoverPrimes;  // rows x columns left after reduction (9sym: 420 x 1680)
    ep.maxNodes = p.primeCoverNodes;
    ep.literalNodes = p.primeCoverNodes;
    ep.sparse = p.sparse;
    ExactReport rep = ExactMinimizeReport(on, dc, off, ep);
    if (rep.status == ExactStatus::Proven && CostOf(rep.cover) < CostOf(r.cover)) {
        r.cover = std::move(rep.cover);
        CountResult(r);
    }
    r.stats.seconds += SecondsSince(t0);
    return r;
}

MinimizeResult MinimizeWithoutOff(const Cover& on, const Cover& dc, const MinimizeParams& p)
{
    return MinimizeLoop(on, dc, nullptr, p);
}

bool ExactMinimize(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& mp, MinimizeResult& result,
                   ExactStatus* why, const Cover* known)
{
    ExactParams p;
    p.sparse = mp.sparse;
    ExactReport rep = ExactMinimizeReport(on, dc, off, p, known);
    if (why) *why = rep.status;
    if (rep.status != ExactStatus::Proven) return false;
    result.cover = std::move(rep.cover);
    result.stats = {};
    result.stats.inputCubes = on.Size();
    CountResult(result);
    result.stats.essentials = rep.essentials;
    result.stats.seconds = rep.seconds;
    result.stats.exactProven = true;
    return true;
}

}  // namespace quorlet
