// Exact minimization against exhaustive enumeration on small functions and matrices, and
// the limits that make it give up.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <numeric>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Exact.h"
#include "Minimize.h"
#include "QuorEsp.h"

namespace quorlet {
namespace {

// An incompletely specified function point by point: val[j][m] is 0, 1 or 2 (don't-care).
struct Truth {
    int ni, no;
    std::vector<std::vector<int>> val;
};

// Values follow a few random cubes, with some noise and don't-cares, so that minima are not
// just the minterm count.
Truth RandomTruth(std::mt19937& rng, int ni, int no, int dcPercent)
{
    Truth t{ni, no, std::vector<std::vector<int>>(no, std::vector<int>(1u << ni, 0))};
    std::uniform_int_distribution<int> pc(0, 99);
    int shapes = 2 + int(rng() % 5);
    std::vector<std::vector<int>> shape(shapes, std::vector<int>(ni));
    std::vector<unsigned> outs(shapes);
    for (int k = 0; k < shapes; ++k) {
        for (int v = 0; v < ni; ++v) shape[k][v] = pc(rng) < 50 ? 2 : int(rng() % 2);
        outs[k] = unsigned(rng() % ((1u << no) - 1)) + 1;
    }
    for (int j = 0; j < no; ++j)
        for (unsigned m = 0; m < (1u << ni); ++m) {
            bool in = false;
            for (int k = 0; k < shapes && !in; ++k) {
                if (!((outs[k] >> j) & 1)) continue;
                bool inside = true;
                for (int v = 0; v < ni && inside; ++v) inside = shape[k][v] == 2 || shape[k][v] == int((m >> v) & 1);
                in = inside;
            }
            int r = pc(rng);
            t.val[j][m] = r < dcPercent ? 2 : r < dcPercent + 8 ? int(!in) : int(in);
        }
    return t;
}

// The ON, don't-care and OFF covers of t, one minterm cube per point and value. With grown,
// the ON-set is given as overlapping cubes grown at random from its points through ON and
// don't-care points, so that ON cubes are cut by primes and hold don't-cares.
struct Covers {
    Cover on, dc, off;
};
Covers CoversOf(const Truth& t, std::mt19937* grown = nullptr)
{
    Space s(t.ni, t.no);
    Cover on(s), dc(s), off(s);
    for (unsigned m = 0; m < (1u << t.ni); ++m)
        for (int j = 0; j < t.no; ++j) {
            if (grown && t.val[j][m] == 1) continue;
            Cover& into = t.val[j][m] == 1 ? on : t.val[j][m] == 2 ? dc : off;
            Word* c = into.AddZero();
            for (int v = 0; v < t.ni; ++v) SetVar(c, v, ((m >> v) & 1) ? 2 : 1);
            SetOut(s, c, j, true);
        }
    if (!grown) return {on, dc, off};
    for (int j = 0; j < t.no; ++j) {
        std::vector<char> done(1u << t.ni, 0);
        for (unsigned m = 0; m < (1u << t.ni); ++m) {
            if (t.val[j][m] != 1 || done[m]) continue;
            unsigned freeMask = 0;
            for (int tries = 0; tries < 2 * t.ni; ++tries) {
                unsigned f = freeMask | (1u << ((*grown)() % t.ni));
                bool ok = true;
                for (unsigned x = 0; x < (1u << t.ni) && ok; ++x)
                    if ((x & ~f) == (m & ~f)) ok = t.val[j][x] != 0;
                if (ok) freeMask = f;
            }
            Word* c = on.AddZero();
            for (int v = 0; v < t.ni; ++v) SetVar(c, v, ((freeMask >> v) & 1) ? 3 : ((m >> v) & 1) ? 2 : 1);
            SetOut(s, c, j, true);
            for (unsigned x = 0; x < (1u << t.ni); ++x)
                if ((x & ~freeMask) == (m & ~freeMask)) done[x] = 1;
        }
    }
    return {on, dc, off};
}

bool Holds(const Space& s, const Word* c, unsigned m, int j)
{
    if (!GetOut(s, c, j)) return false;
    for (int v = 0; v < s.ni; ++v)
        if (!(GetVar(c, v) & (((m >> v) & 1) ? 2u : 1u))) return false;
    return true;
}

// Every ON point covered, no OFF point touched, checked point by point.
::testing::AssertionResult PointCorrect(const Truth& t, const Cover& f)
{
    for (int j = 0; j < t.no; ++j)
        for (unsigned m = 0; m < (1u << t.ni); ++m) {
            bool hit = false;
            for (int i = 0; i < f.Size() && !hit; ++i) hit = Holds(f.space(), f[i], m, j);
            if (t.val[j][m] == 1 && !hit)
                return ::testing::AssertionFailure() << "ON point " << m << " output " << j << " missed";
            if (t.val[j][m] == 0 && hit)
                return ::testing::AssertionFailure() << "OFF point " << m << " output " << j << " hit";
        }
    return ::testing::AssertionSuccess();
}

// A cube of the enumeration: per input 0, 1 or 2 (free), and an output set.
struct Brute {
    std::vector<int> in;
    unsigned out;
};

bool BruteImplicant(const Truth& t, const Brute& b)
{
    for (int j = 0; j < t.no; ++j) {
        if (!((b.out >> j) & 1)) continue;
        for (unsigned m = 0; m < (1u << t.ni); ++m) {
            bool inside = true;
            for (int v = 0; v < t.ni && inside; ++v) inside = b.in[v] == 2 || b.in[v] == int((m >> v) & 1);
            if (inside && t.val[j][m] == 0) return false;
        }
    }
    return true;
}

// Every multi-output prime, by trying each cube and each one-step enlargement of it.
std::vector<Brute> BrutePrimes(const Truth& t)
{
    std::vector<Brute> primes;
    int total = 1;
    for (int v = 0; v < t.ni; ++v) total *= 3;
    for (int code = 0; code < total; ++code)
        for (unsigned out = 1; out < (1u << t.no); ++out) {
            Brute b{std::vector<int>(t.ni), out};
            for (int v = 0, x = code; v < t.ni; ++v, x /= 3) b.in[v] = x % 3;
            if (!BruteImplicant(t, b)) continue;
            bool prime = true;
            for (int v = 0; v < t.ni && prime; ++v) {
                if (b.in[v] == 2) continue;
                Brute g = b;
                g.in[v] = 2;
                prime = !BruteImplicant(t, g);
            }
            for (int j = 0; j < t.no && prime; ++j) {
                if ((out >> j) & 1) continue;
                prime = !BruteImplicant(t, {b.in, out | (1u << j)});
            }
            if (prime) primes.push_back(b);
        }
    return primes;
}

std::string BruteText(const Brute& b, int no)
{
    std::string s;
    for (int x : b.in) s += "01-"[x];
    s += ' ';
    for (int j = 0; j < no; ++j) s += ((b.out >> j) & 1) ? '1' : '0';
    return s;
}

// Fewest primes covering every ON point, by iterative deepening over the point with fewest
// choices.
int BruteMinimum(const Truth& t, const std::vector<Brute>& primes)
{
    std::vector<std::vector<int>> holders;
    for (int j = 0; j < t.no; ++j)
        for (unsigned m = 0; m < (1u << t.ni); ++m) {
            if (t.val[j][m] != 1) continue;
            std::vector<int> h;
            for (int p = 0; p < int(primes.size()); ++p) {
                if (!((primes[p].out >> j) & 1)) continue;
                bool inside = true;
                for (int v = 0; v < t.ni && inside; ++v)
                    inside = primes[p].in[v] == 2 || primes[p].in[v] == int((m >> v) & 1);
                if (inside) h.push_back(p);
            }
            holders.push_back(h);
        }
    int n = int(holders.size());
    std::vector<char> used(primes.size(), 0);
    auto covered = [&](int point) {
        for (int p : holders[point])
            if (used[p]) return true;
        return false;
    };
    std::vector<int> size(primes.size(), 0);
    for (auto& h : holders)
        for (int p : h) ++size[p];
    int most = size.empty() ? 0 : *std::max_element(size.begin(), size.end());
    auto search = [&](auto& self, int budget) -> bool {
        int pick = -1, open = 0;
        for (int i = 0; i < n; ++i)
            if (!covered(i)) {
                ++open;
                if (pick < 0 || holders[i].size() < holders[pick].size()) pick = i;
            }
        if (pick < 0) return true;
        if (open > budget * most) return false;
        for (int p : holders[pick]) {
            used[p] = 1;
            bool ok = self(self, budget - 1);
            used[p] = 0;
            if (ok) return true;
        }
        return false;
    };
    for (int k = 0;; ++k)
        if (search(search, k)) return k;
}

TEST(ExactPrimes, EqualExhaustiveEnumeration)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 80; ++round) {
        int ni = 2 + round % 6, no = 1 + round % 3;
        Truth t = RandomTruth(rng, ni, no, 15);
        // Minterms, and overlapping grown cubes whose cofactor primes often lie inside each other.
        auto [on, dc, off] = CoversOf(t, round % 2 ? &rng : nullptr);
        Cover valid = on;
        valid.Append(dc);
        Cover primes;
        ASSERT_EQ(PrimeImplicants(valid, {}, ExactDeadline::max(), primes), ExactStatus::Proven);
        std::set<std::string> got, want;
        for (int i = 0; i < primes.Size(); ++i) got.insert(CubeToString(primes.space(), primes[i]));
        for (const Brute& b : BrutePrimes(t)) want.insert(BruteText(b, no));
        EXPECT_EQ(got, want) << "round " << round << " ni " << ni << " no " << no;
        EXPECT_EQ(int(got.size()), primes.Size()) << "a prime listed twice";
    }
}

// Generation stops as soon as a limit is sure to be passed. That must not move the point
// where a limit turns the answer: the prime limit flips exactly at the number of primes, and
// the product limit flips at one value, both whatever the order of the cubes.
TEST(ExactPrimes, LimitsFlipOnceWhateverTheCubeOrder)
{
    std::mt19937 rng(17);
    std::vector<Truth> functions;
    Truth sym{7, 1, {std::vector<int>(128)}};
    for (unsigned m = 0; m < 128; ++m) sym.val[0][m] = __builtin_popcount(m) == 3 || __builtin_popcount(m) == 4;
    functions.push_back(sym);
    for (int round = 0; round < 8; ++round) functions.push_back(RandomTruth(rng, 6 + round % 3, 1 + round % 3, 10));
    auto status = [](const Cover& f, long maxPrimes, long maxProducts) {
        ExactParams p;
        p.maxSeconds = 0;
        p.maxPrimes = maxPrimes;
        p.maxProducts = maxProducts;
        Cover primes;
        return PrimeImplicants(f, p, ExactDeadline::max(), primes);
    };
    for (std::size_t k = 0; k < functions.size(); ++k) {
        auto [on, dc, off] = CoversOf(functions[k], k % 2 ? &rng : nullptr);
        Cover valid = on;
        valid.Append(dc);
        Cover all;
        ASSERT_EQ(PrimeImplicants(valid, {}, ExactDeadline::max(), all), ExactStatus::Proven);
        long n = all.Size(), lots = 1L << 40;
        // The smallest product limit that passes.
        long lo = 0, hi = lots;
        while (lo < hi) {
            long mid = lo + (hi - lo) / 2;
            if (status(valid, lots, mid) == ExactStatus::Proven) hi = mid;
            else lo = mid + 1;
        }
        long products = lo;
        for (int shuffle = 0; shuffle < 4; ++shuffle) {
            Cover f(valid.space());
            std::vector<int> order(valid.Size());
            std::iota(order.begin(), order.end(), 0);
            std::shuffle(order.begin(), order.end(), rng);
            for (int i : order) f.Add(valid[i]);
            SCOPED_TRACE("function " + std::to_string(k) + " shuffle " + std::to_string(shuffle));
            EXPECT_EQ(status(f, n, lots), ExactStatus::Proven);
            for (long below : {n - 1, n / 2, 1L})
                EXPECT_EQ(status(f, below, lots), ExactStatus::TooManyPrimes) << below;
            EXPECT_EQ(status(f, lots, products), ExactStatus::Proven);
            if (products > 0) {
                EXPECT_EQ(status(f, lots, products - 1), ExactStatus::TooManyPrimes);
            }
        }
    }
}

TEST(ExactMinimize, CubeCountEqualsExhaustiveMinimum)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        // Six inputs with three outputs takes the enumeration too long; two outputs there.
        int ni = 2 + round % 5, no = std::min(1 + (round / 5) % 3, ni == 6 ? 2 : 3);
        Truth t = RandomTruth(rng, ni, no, round % 2 ? 20 : 0);
        auto [on, dc, off] = CoversOf(t, round % 4 < 2 ? &rng : nullptr);
        ExactReport rep = ExactMinimizeReport(on, dc, off);
        ASSERT_EQ(rep.status, ExactStatus::Proven) << ExactStatusName(rep.status);
        EXPECT_TRUE(PointCorrect(t, rep.cover)) << "round " << round;
        EXPECT_EQ(rep.cover.Size(), BruteMinimum(t, BrutePrimes(t)))
            << "round " << round << " ni " << ni << " no " << no;
    }
}

Cover BruteCover(const Space& s, const std::vector<Brute>& cubes)
{
    Cover f(s);
    for (const Brute& b : cubes) {
        Word* c = f.AddZero();
        for (int v = 0; v < s.ni; ++v) SetVar(c, v, b.in[v] == 2 ? 3u : b.in[v] == 1 ? 2u : 1u);
        for (int j = 0; j < s.no; ++j) SetOut(s, c, j, (b.out >> j) & 1);
    }
    return f;
}

// Is some ON point of output j held by prime p alone?
bool BruteEssential(const Truth& t, const std::vector<Brute>& primes, int p)
{
    auto holds = [&](const Brute& b, unsigned m, int j) {
        if (!((b.out >> j) & 1)) return false;
        for (int v = 0; v < t.ni; ++v)
            if (b.in[v] != 2 && b.in[v] != int((m >> v) & 1)) return false;
        return true;
    };
    for (int j = 0; j < t.no; ++j)
        for (unsigned m = 0; m < (1u << t.ni); ++m) {
            if (t.val[j][m] != 1 || !holds(primes[p], m, j)) continue;
            bool alone = true;
            for (int q = 0; q < int(primes.size()) && alone; ++q) alone = q == p || !holds(primes[q], m, j);
            if (alone) return true;
        }
    return false;
}

// The test for a point only one cube can cover marks exactly the essential primes: among all
// primes, and among the primes with some of their literals or outputs taken away.
TEST(HoldsNeededPoint, MarksExactlyTheEssentialPrimes)
{
    std::mt19937 rng(31);
    for (int round = 0; round < 150; ++round) {
        int ni = 2 + round % 5, no = 1 + (round / 5) % 3;
        Truth t = RandomTruth(rng, ni, no, round % 3 ? 15 : 0);
        auto [on, dc, off] = CoversOf(t, round % 2 ? &rng : nullptr);
        Cover valid = on;
        valid.Append(dc);
        std::vector<Brute> primes = BrutePrimes(t);
        Cover f = BruteCover(on.space(), primes);
        std::vector<char> marked = HoldsNeededPoint(f, valid, dc);
        ASSERT_EQ(int(marked.size()), f.Size());
        for (int p = 0; p < int(primes.size()); ++p)
            EXPECT_EQ(bool(marked[p]), BruteEssential(t, primes, p))
                << "round " << round << " prime " << BruteText(primes[p], no);
        // Smaller implicants are never marked, however few cubes surround them.
        std::vector<Brute> smaller;
        for (const Brute& b : primes) {
            Brute c = b;
            for (int v = 0; v < ni; ++v)
                if (c.in[v] == 2 && rng() % 2) c.in[v] = int(rng() % 2);
            if (std::popcount(c.out) > 1 && rng() % 2) c.out &= c.out - 1;
            if (c.in != b.in || c.out != b.out) smaller.push_back(c);
        }
        std::vector<char> none = HoldsNeededPoint(BruteCover(on.space(), smaller), valid, dc);
        for (int i = 0; i < int(smaller.size()); ++i)
            EXPECT_FALSE(none[i]) << "round " << round << " cube " << BruteText(smaller[i], no);
    }
}

// With a known cover (the heuristic one, or the unminimized ON cubes) the result is still a
// minimum: the known cover only bounds the search, and is kept only when it is a minimum.
TEST(ExactMinimize, KnownCoverKeepsTheMinimum)
{
    std::mt19937 rng(37);
    int provenByKnown = 0, pointsAdded = 0, searchedAroundEssentials = 0;
    for (int round = 0; round < 200; ++round) {
        int ni = 2 + round % 5, no = std::min(1 + (round / 5) % 3, ni == 6 ? 2 : 3);
        Truth t = RandomTruth(rng, ni, no, round % 2 ? 20 : 0);
        auto [on, dc, off] = CoversOf(t, round % 4 < 2 ? &rng : nullptr);
        std::vector<Brute> primes = BrutePrimes(t);
        int minimum = BruteMinimum(t, primes);
        int essential = 0;
        for (int p = 0; p < int(primes.size()); ++p) essential += BruteEssential(t, primes, p);
        // A wrong cover (nothing, or another space) is no bound and is never the result.
        Cover nothing(on.space()), elsewhere(Space(ni + 1, no));
        for (const Cover& known : {Minimize(on, dc, off).cover, on, nothing, elsewhere}) {
            ExactReport rep = ExactMinimizeReport(on, dc, off, {}, &known);
            ASSERT_EQ(rep.status, ExactStatus::Proven) << ExactStatusName(rep.status);
            EXPECT_TRUE(PointCorrect(t, rep.cover)) << "round " << round;
            EXPECT_EQ(rep.cover.Size(), minimum) << "round " << round;
            EXPECT_LE(rep.neededCubes, essential) << "round " << round;
            // The bound from points that share no implicant never passes the minimum.
            EXPECT_LE(rep.lowerBound, minimum) << "round " << round;
            EXPECT_GE(rep.lowerBound, rep.neededCubes) << "round " << round;
            provenByKnown += rep.knownProven;
            pointsAdded += rep.lowerBound > rep.neededCubes;
            searchedAroundEssentials += !rep.knownProven && rep.neededCubes > 0;
        }
    }
    EXPECT_GT(provenByKnown, 0);
    EXPECT_GT(pointsAdded, 0);
    EXPECT_GT(searchedAroundEssentials, 0);
}

TEST(ExactMinimize, LargerFunctionsCorrectDeterministicAndNoWorseThanHeuristic)
{
    std::mt19937 rng(23);
    for (int round = 0; round < 12; ++round) {
        int ni = 7 + round % 2, no = 2 + round % 3;
        Truth t = RandomTruth(rng, ni, no, 10);
        auto [on, dc, off] = CoversOf(t, &rng);
        ExactReport a = ExactMinimizeReport(on, dc, off);
        ASSERT_EQ(a.status, ExactStatus::Proven) << ExactStatusName(a.status);
        EXPECT_TRUE(PointCorrect(t, a.cover)) << "round " << round;
        EXPECT_LE(a.cover.Size(), Minimize(on, dc, off).cover.Size()) << "round " << round;
        // Starting from the heuristic cover proves the same count.
        Cover heuristic = Minimize(on, dc, off).cover;
        ExactReport known = ExactMinimizeReport(on, dc, off, {}, &heuristic);
        ASSERT_EQ(known.status, ExactStatus::Proven) << ExactStatusName(known.status);
        EXPECT_EQ(known.cover.Size(), a.cover.Size()) << "round " << round;
        EXPECT_TRUE(PointCorrect(t, known.cover)) << "round " << round;
        ExactReport b = ExactMinimizeReport(on, dc, off);
        ASSERT_EQ(a.cover.Size(), b.cover.Size());
        for (int i = 0; i < a.cover.Size(); ++i) EXPECT_TRUE(Equal(a.cover.space(), a.cover[i], b.cover[i]));
    }
}

// Functions whose minimum is known by argument: parity needs one cube per ON minterm, and
// "at least k of n" needs one cube per k-subset.
TEST(ExactMinimize, KnownMinimaOfStructuredFunctions)
{
    for (int n = 2; n <= 7; ++n) {
        Truth parity{n, 1, {std::vector<int>(1u << n)}};
        Truth atLeastTwo{n, 1, {std::vector<int>(1u << n)}};
        for (unsigned m = 0; m < (1u << n); ++m) {
            parity.val[0][m] = __builtin_popcount(m) % 2;
            atLeastTwo.val[0][m] = __builtin_popcount(m) >= 2;
        }
        for (auto [t, minimum] : {std::pair{&parity, 1 << (n - 1)}, std::pair{&atLeastTwo, n * (n - 1) / 2}}) {
            auto [on, dc, off] = CoversOf(*t);
            ExactReport rep = ExactMinimizeReport(on, dc, off);
            ASSERT_EQ(rep.status, ExactStatus::Proven);
            EXPECT_EQ(rep.cover.Size(), minimum) << "n " << n;
            EXPECT_TRUE(PointCorrect(*t, rep.cover));
        }
    }
}

TEST(ExactMinimize, DegenerateInputs)
{
    Space s(3, 2);
    Cover none(s), all(s);
    MakeUniverse(s, all.AddZero());
    ExactReport empty = ExactMinimizeReport(none, none, all);
    EXPECT_EQ(empty.status, ExactStatus::Proven);
    EXPECT_EQ(empty.cover.Size(), 0);
    ExactReport full = ExactMinimizeReport(all, none, none);
    ASSERT_EQ(full.status, ExactStatus::Proven);
    ASSERT_EQ(full.cover.Size(), 1);
    EXPECT_TRUE(Equal(s, full.cover[0], all[0]));
    // An ON point that is also OFF cannot be covered.
    EXPECT_EQ(ExactMinimizeReport(all, none, all).status, ExactStatus::Unsatisfiable);
    // Covers of different spaces are refused, not read past their ends.
    Cover other(Space(5, 1));
    EXPECT_EQ(ExactMinimizeReport(all, other, none).status, ExactStatus::Unsatisfiable);
    // No inputs at all: each output is a constant.
    Space z(0, 2);
    Cover on(z), off(z), dc(z);
    SetOut(z, on.AddZero(), 0, true);
    SetOut(z, off.AddZero(), 1, true);
    ExactReport constant = ExactMinimizeReport(on, dc, off);
    ASSERT_EQ(constant.status, ExactStatus::Proven);
    ASSERT_EQ(constant.cover.Size(), 1);
    EXPECT_TRUE(GetOut(z, constant.cover[0], 0));
    EXPECT_FALSE(GetOut(z, constant.cover[0], 1));
}

TEST(ExactMinimize, GivesUpAtEachLimit)
{
    // Symmetric "3 to 4 of 7": many primes and a cyclic covering problem.
    Truth t{7, 1, {std::vector<int>(128)}};
    for (unsigned m = 0; m < 128; ++m) t.val[0][m] = __builtin_popcount(m) == 3 || __builtin_popcount(m) == 4;
    auto [on, dc, off] = CoversOf(t);
    ExactParams p;
    p.maxPrimes = 10;
    EXPECT_EQ(ExactMinimizeReport(on, dc, off, p).status, ExactStatus::TooManyPrimes);
    p = {};
    p.maxRows = 5;
    EXPECT_EQ(ExactMinimizeReport(on, dc, off, p).status, ExactStatus::TooManyRows);
    p = {};
    p.maxCoreCells = 100;
    EXPECT_EQ(ExactMinimizeReport(on, dc, off, p).status, ExactStatus::TooManyRows);
    p = {};
    p.maxNodes = 1;
    ExactReport nodes = ExactMinimizeReport(on, dc, off, p);
    EXPECT_EQ(nodes.status, ExactStatus::TooManyNodes);
    EXPECT_EQ(nodes.cover.Size(), 0);
    p = {};
    p.maxSeconds = 1e-9;
    EXPECT_EQ(ExactMinimizeReport(on, dc, off, p).status, ExactStatus::OutOfTime);
    // With the default limits the same function is solved.
    ExactReport rep = ExactMinimizeReport(on, dc, off);
    ASSERT_EQ(rep.status, ExactStatus::Proven);
    EXPECT_TRUE(PointCorrect(t, rep.cover));
}

TEST(ExactMinimize, HookFillsResultAndStats)
{
    std::mt19937 rng(3);
    Truth t = RandomTruth(rng, 6, 3, 10);
    auto [on, dc, off] = CoversOf(t);
    MinimizeResult res;
    ASSERT_TRUE(ExactMinimize(on, dc, off, {}, res));
    EXPECT_TRUE(res.stats.exactProven);
    EXPECT_EQ(res.stats.cubes, res.cover.Size());
    EXPECT_EQ(res.stats.inputLiterals + res.stats.outputLiterals, res.cover.Literals());
    EXPECT_TRUE(PointCorrect(t, res.cover));
    EXPECT_EQ(res.cover.Size(), BruteMinimum(t, BrutePrimes(t)));
}

// Brute-force check of the covering solver on random matrices: fewest columns, and among
// those the least weight when the solver says it proved it.
TEST(MinimumCovering, MatchesSubsetEnumeration)
{
    std::mt19937 rng(8);
    for (int round = 0; round < 200; ++round) {
        // Every third matrix has rows of two or three columns only, which leaves cyclic cores
        // that the reductions alone cannot settle.
        bool cyclic = round % 3 == 0;
        int cols = 3 + int(rng() % 15), nrows = cyclic ? std::min(64, 2 * cols + int(rng() % 20)) : 1 + int(rng() % 60);
        std::vector<std::vector<int>> rows(nrows);
        std::vector<unsigned long long> rowsOf(cols, 0);
        for (int i = 0; i < nrows; ++i) {
            int len = cyclic ? 2 + int(rng() % 2) : 1 + int(rng() % 5);
            for (int k = 0; k < len; ++k) {
                int c = int(rng() % cols);
                rows[i].push_back(c);
                rowsOf[c] |= 1ULL << i;
            }
        }
        std::vector<int> weight(cols);
        for (int& w : weight) w = 1 + int(rng() % 9);
        unsigned long long all = nrows == 64 ? ~0ULL : (1ULL << nrows) - 1;
        std::vector<unsigned long long> hit(1u << cols, 0);
        std::vector<int> sum(1u << cols, 0);
        int bestSize = cols + 1, bestWeight = 0;
        for (unsigned set = 1; set < (1u << cols); ++set) {
            int low = __builtin_ctz(set);
            hit[set] = hit[set & (set - 1)] | rowsOf[low];
            sum[set] = sum[set & (set - 1)] + weight[low];
            int size = __builtin_popcount(set);
            if (hit[set] == all && (size < bestSize || (size == bestSize && sum[set] < bestWeight))) {
                bestSize = size;
                bestWeight = sum[set];
            }
        }
        // The cube-count search alone (no literal phase to fall back on) must find the minimum.
        CoveringParams countOnly;
        countOnly.literalNodes = 0;
        CoveringSolution first = MinimumCovering(cols, rows, weight, countOnly);
        ASSERT_EQ(first.status, ExactStatus::Proven);
        EXPECT_EQ(int(first.columns.size()), bestSize) << "round " << round;
        CoveringSolution sol = MinimumCovering(cols, rows, weight);
        ASSERT_EQ(sol.status, ExactStatus::Proven);
        EXPECT_EQ(int(sol.columns.size()), bestSize) << "round " << round;
        int w = 0;
        for (int c : sol.columns) w += weight[c];
        for (auto& r : rows)
            EXPECT_TRUE(
                std::any_of(r.begin(), r.end(),
                            [&](int c) { return std::binary_search(sol.columns.begin(), sol.columns.end(), c); }))
                << "round " << round;
        if (sol.literalsProven) {
            EXPECT_EQ(w, bestWeight) << "round " << round;
        }
        // A cover known elsewhere: the search stops at it only when nothing smaller exists.
        for (long enough : {long(bestSize) - 1, long(bestSize), long(bestSize) + 1}) {
            CoveringSolution bounded = MinimumCovering(cols, rows, weight, {.enough = enough});
            ASSERT_EQ(bounded.status, ExactStatus::Proven);
            if (bounded.boundMet) {
                EXPECT_LE(enough, bestSize) << "round " << round;
            } else {
                EXPECT_EQ(int(bounded.columns.size()), bestSize) << "round " << round << " enough " << enough;
            }
        }
    }
    EXPECT_EQ(MinimumCovering(4, {{0, 1}, {}}, {1, 1, 1, 1}).status, ExactStatus::Unsatisfiable);
}

// Problems spanning several words of rows and of columns: a vertex cover of a dense random
// graph on a few real columns, hidden among decoy columns that each meet only some rows of
// one real column. A decoy can always give way to its real column, so the fewest columns
// is the fewest real ones, which enumeration finds; the weights make decoys worth keeping
// when the literal phase looks for a lighter cover of that size.
TEST(MinimumCovering, MatchesEnumerationAcrossWords)
{
    std::mt19937 rng(21);
    for (int round = 0; round < 12; ++round) {
        int real = 14 + int(rng() % 5), decoys = 60 + int(rng() % 80), cols = real + decoys;
        std::vector<int> place(cols);
        std::iota(place.begin(), place.end(), 0);
        std::shuffle(place.begin(), place.end(), rng);  // real columns land in different words
        std::vector<std::vector<int>> realRows;         // rows as real column numbers
        for (int a = 0; a < real; ++a)
            for (int b = a + 1; b < real; ++b)
                if (rng() % 3 != 0) {
                    realRows.push_back({a, b});
                    if (rng() % 5 == 0) realRows.back().push_back(int(rng() % real));
                }
        int nrows = int(realRows.size());
        std::vector<std::vector<int>> rows(nrows);
        for (int i = 0; i < nrows; ++i)
            for (int c : realRows[i]) rows[i].push_back(place[c]);
        for (int d = 0; d < decoys; ++d) {
            int of = int(rng() % real);
            for (int i = 0; i < nrows; ++i)
                if (std::find(realRows[i].begin(), realRows[i].end(), of) != realRows[i].end() && rng() % 2)
                    rows[i].push_back(place[real + d]);
        }
        int words = (nrows + 63) / 64;
        std::vector<std::vector<unsigned long long>> hitOf(real, std::vector<unsigned long long>(words, 0));
        for (int i = 0; i < nrows; ++i)
            for (int c : realRows[i]) hitOf[c][i / 64] |= 1ULL << (i % 64);
        int bestSize = real;
        std::vector<unsigned long long> hit(words);
        for (unsigned set = 1; set < (1u << real); ++set) {
            int size = std::popcount(set);
            if (size >= bestSize) continue;
            std::fill(hit.begin(), hit.end(), 0);
            for (int c = 0; c < real; ++c)
                if (set >> c & 1)
                    for (int w = 0; w < words; ++w) hit[w] |= hitOf[c][w];
            bool all = true;
            for (int i = 0; i < nrows && all; ++i) all = hit[i / 64] >> (i % 64) & 1;
            if (all) bestSize = size;
        }
        std::vector<int> weight(cols);
        for (int& w : weight) w = 1 + int(rng() % 9);
        CoveringParams countOnly;
        countOnly.literalNodes = 0;
        for (const CoveringParams& p : {countOnly, CoveringParams{}}) {
            CoveringSolution sol = MinimumCovering(cols, rows, weight, p);
            ASSERT_EQ(sol.status, ExactStatus::Proven) << "round " << round;
            EXPECT_EQ(int(sol.columns.size()), bestSize) << "round " << round << " rows " << nrows;
            for (auto& r : rows)
                EXPECT_TRUE(
                    std::any_of(r.begin(), r.end(),
                                [&](int c) { return std::binary_search(sol.columns.begin(), sol.columns.end(), c); }))
                    << "round " << round;
        }
    }
}

// Cyclic problems with known minima: a cycle of n rows {i, i+1} needs ceil(n/2) columns while
// its independent rows only prove floor(n/2); the lines of the Fano plane need three points.
TEST(MinimumCovering, CyclicProblemsWithKnownMinima)
{
    CoveringParams countOnly;
    countOnly.literalNodes = 0;
    for (int n = 3; n <= 25; ++n) {
        std::vector<std::vector<int>> rows;
        for (int i = 0; i < n; ++i) rows.push_back({i, (i + 1) % n});
        CoveringSolution sol = MinimumCovering(n, rows, std::vector<int>(n, 1), countOnly);
        ASSERT_EQ(sol.status, ExactStatus::Proven);
        EXPECT_EQ(int(sol.columns.size()), (n + 1) / 2) << "cycle " << n;
    }
    for (int n : {63, 64, 65, 128, 131}) {  // rows and columns over several words
        std::vector<std::vector<int>> rows;
        for (int i = 0; i < n; ++i) rows.push_back({i, (i + 1) % n});
        CoveringSolution sol = MinimumCovering(n, rows, std::vector<int>(n, 1), countOnly);
        ASSERT_EQ(sol.status, ExactStatus::Proven);
        EXPECT_EQ(int(sol.columns.size()), (n + 1) / 2) << "cycle " << n;
    }
    std::vector<std::vector<int>> fano{{0, 1, 2}, {0, 3, 4}, {0, 5, 6}, {1, 3, 5}, {1, 4, 6}, {2, 3, 6}, {2, 4, 5}};
    CoveringSolution sol = MinimumCovering(7, fano, std::vector<int>(7, 1), countOnly);
    ASSERT_EQ(sol.status, ExactStatus::Proven);
    EXPECT_EQ(sol.columns.size(), 3u);
    // A trap for covering by most rows first: columns 0 and 1 take the two halves of rows
    // 0..13, while 2, 3 and 4 take 2, 4 and 8 rows across both halves. A useless column of its
    // own keeps each row distinct.
    std::vector<std::vector<int>> halves(14);
    for (int r = 0; r < 14; ++r) {
        int k = r % 7;
        halves[r] = {r < 7 ? 0 : 1, k == 0 ? 2 : k <= 2 ? 3 : 4, 5 + r};
    }
    sol = MinimumCovering(19, halves, std::vector<int>(19, 1), countOnly);
    ASSERT_EQ(sol.status, ExactStatus::Proven);
    EXPECT_EQ(sol.columns, (std::vector<int>{0, 1}));
}

TEST(ExactMinimize, QuorEspExactRunReportsNoGivingUp)
{
    const std::string table = ".i 4\n.o 1\n.p 6\n0001 1\n0010 1\n0100 1\n1000 1\n0111 1\n1110 1\n.e\n";
    std::istringstream in(table);
    std::ostringstream out, err;
    std::vector<std::string> args{"--exact", "--stats"};
    ASSERT_EQ(RunQuorEsp(args, err, &in, &out), 0) << err.str();
    EXPECT_EQ(err.str().find("gave up"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("cubes 6 "), std::string::npos) << err.str();
}

}  // namespace
}  // namespace quorlet
