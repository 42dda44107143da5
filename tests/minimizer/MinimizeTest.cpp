// The minimization steps and loop on random functions, checked point by point, and the
// heuristic's cube counts against proven minima of small functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "Expander.h"
#include "Minimize.h"
#include "TruthTable.h"
#include "Unate.h"

namespace quorlet::test {
namespace {

// The columns MinimumCovering chooses; proven: whether it proved their number minimum.
std::vector<int> CoverColumns(const std::vector<std::vector<int>>& rows, int columns, const CoveringParams& p,
                              bool* proven)
{
    CoveringSolution sol = MinimumCovering(columns, rows, {}, p);
    *proven = sol.status == ExactStatus::Proven;
    return sol.columns;
}

// Every ON point covered, no OFF point touched.
void ExpectCorrect(const RandomFunction& f, const Cover& r, bool pos, const std::string& what)
{
    Table t = TableOf(r);
    char want = pos ? 0 : 1, avoid = pos ? 1 : 0;
    for (int j = 0; j < f.space.no; ++j)
        for (unsigned m = 0; m < (1u << f.space.ni); ++m) {
            if (f.value[j][m] == want) {
                ASSERT_TRUE(t[j][m]) << what << ": point " << m << " output " << j << " not covered";
            }
            if (f.value[j][m] == avoid) {
                ASSERT_FALSE(t[j][m]) << what << ": point " << m << " output " << j << " wrongly covered";
            }
        }
}

bool TouchesOff(const Space& s, const Word* c, const Cover& off)
{
    for (int i = 0; i < off.Size(); ++i)
        if (Intersects(s, c, off[i])) return true;
    return false;
}

TEST(Minimize, RandomFunctionsBothPhasesArePointCorrect)
{
    std::mt19937 rng(2024);
    for (int round = 0; round < 60; ++round) {
        int ni = 1 + round % 10, no = 1 + int(rng() % 4);
        RandomFunction f = MakeFunction(rng, ni, no, 40, round % 3 == 0 ? 0 : 20);
        for (bool pos : {false, true})
            for (int primeCover : {0, 150}) {  // the loop alone, and with the minimum cover of all primes
                const Cover& on = pos ? f.off : f.on;
                const Cover& off = pos ? f.on : f.off;
                MinimizeParams mp;
                mp.primeCoverCubes = primeCover;
                MinimizeResult r = Minimize(on, f.dc, off, mp);
                std::string what =
                    "round " + std::to_string(round) + (pos ? " pos" : "") + (primeCover ? " primes" : "");
                ExpectCorrect(f, r.cover, pos, what);
                // No cube may be dropped, and none may grow an input part without touching the OFF-set.
                for (int i = 0; i < r.cover.Size(); ++i) {
                    ASSERT_FALSE(CubeCovered(r.cover[i], {&r.cover, &f.dc}, r.cover[i])) << what << ": redundant cube";
                    std::vector<Word> c(r.cover[i], r.cover[i] + f.space.words);
                    for (int v = 0; v < ni; ++v) {
                        unsigned b = GetVar(c.data(), v);
                        if (b == 3) continue;
                        SetVar(c.data(), v, 3);
                        ASSERT_TRUE(TouchesOff(f.space, c.data(), off)) << what << ": cube not prime in input " << v;
                        SetVar(c.data(), v, b);
                    }
                }
                ASSERT_EQ(r.stats.cubes, r.cover.Size());
            }
    }
}

TEST(Minimize, StepsKeepTheFunction)
{
    std::mt19937 rng(77);
    for (int round = 0; round < 40; ++round) {
        RandomFunction f = MakeFunction(rng, 3 + round % 6, 1 + round % 3, 40, 15);
        Cover e = Expand(f.on, f.off);
        ExpectCorrect(f, e, false, "expand");
        // Every expanded cube is prime: no input part and no output can still be raised.
        for (int i = 0; i < e.Size(); ++i) {
            std::vector<Word> c(e[i], e[i] + f.space.words);
            for (int v = 0; v < f.space.ni; ++v) {
                unsigned b = GetVar(c.data(), v);
                if (b == 3) continue;
                SetVar(c.data(), v, 3);
                ASSERT_TRUE(TouchesOff(f.space, c.data(), f.off))
                    << "round " << round << ": input " << v << " can grow";
                SetVar(c.data(), v, b);
            }
            for (int j = 0; j < f.space.no; ++j) {
                if (GetOut(f.space, c.data(), j)) continue;
                SetOut(f.space, c.data(), j, true);
                ASSERT_TRUE(TouchesOff(f.space, c.data(), f.off))
                    << "round " << round << ": output " << j << " can grow";
                SetOut(f.space, c.data(), j, false);
            }
        }
        Cover irr = Irredundant(e, f.dc);
        ExpectCorrect(f, irr, false, "irredundant");
        EXPECT_LE(irr.Size(), e.Size());
        Cover red = Reduce(irr, f.dc);
        ExpectCorrect(f, red, false, "reduce");
        for (int i = 0; i < red.Size(); ++i) {
            bool inside = false;
            for (int k = 0; k < irr.Size() && !inside; ++k) inside = Contains(f.space, irr[k], red[i]);
            ASSERT_TRUE(inside) << "reduce may only shrink cubes";
        }
        ExpectCorrect(f, LastGasp(irr, f.dc, f.off), false, "last gasp");
        Cover sparse = MakeSparse(irr, f.dc, f.off);
        ExpectCorrect(f, sparse, false, "sparse");
        EXPECT_LE(sparse.Size(), irr.Size());
        for (int i = 0; i < sparse.Size(); ++i)
            ASSERT_FALSE(CubeCovered(sparse[i], {&sparse, &f.dc}, sparse[i]))
                << "round " << round << ": sparse left a redundant cube";
    }
}

// The column pass over the OFF-set must choose exactly what the cube-by-cube pass chooses, in
// every word layout: one word of each, several input words, several output words, both.
// Expand with its first pass over the OFF-set made cube by cube, as every later pass is, instead
// of 64 OFF cubes at a time by columns: the two must give the same primes.
class CubeByCubeExpander : public Expander {
public:
    using Expander::Expander;

protected:
    bool FirstPass() override { return false; }
};

TEST(Minimize, ExpandByColumnsMatchesCubeByCube)
{
    std::mt19937 rng(4242);
    const int shapes[][2] = {{6, 3}, {12, 1}, {40, 2}, {9, 70}, {70, 66}};
    for (auto [ni, no] : shapes)
        for (int round = 0; round < 6; ++round) {
            Space s(ni, no);
            // Random cubes dealt to ON and OFF, each kept clear of the other side; expansion only
            // needs the OFF-set to be the points to avoid, not a whole complement.
            Cover on(s), off(s), pool = RandomCover(rng, s, 60 + round * 40, ni > 20 ? 80 : 45);
            for (int i = 0; i < pool.Size(); ++i) {
                Cover& into = i % 3 == 0 ? on : off;
                const Cover& other = i % 3 == 0 ? off : on;
                bool meets = false;
                for (int k = 0; k < other.Size() && !meets; ++k) meets = Intersects(s, pool[i], other[k]);
                if (!meets) into.Add(pool[i]);
            }
            // An empty OFF cube meets nothing and must not hold anything back.
            if (round == 1) off.AddZero();
            for (bool inputsOnly : {false, true}) {
                Cover byColumns = Expand(on, off, {.inputsOnly = inputsOnly});
                Cover byCubes = ExpandWith<CubeByCubeExpander>(on, off, {.inputsOnly = inputsOnly});
                std::string what = std::to_string(ni) + "x" + std::to_string(no) + " round " + std::to_string(round) +
                                   (inputsOnly ? " inputs only" : "");
                ASSERT_EQ(byColumns.Size(), byCubes.Size()) << what;
                for (int i = 0; i < byColumns.Size(); ++i)
                    ASSERT_TRUE(Equal(s, byColumns[i], byCubes[i])) << what << ": cube " << i;
                for (int i = 0; i < byColumns.Size(); ++i)
                    for (int k = 0; k < off.Size(); ++k)
                        ASSERT_FALSE(Intersects(s, byColumns[i], off[k]))
                            << what << ": cube " << i << " meets the OFF-set";
            }
        }
}

// All primes of a single-output function of few inputs, by enumeration of all cubes.
std::vector<std::vector<char>> Primes(const RandomFunction& f, std::vector<unsigned>& cubes)
{
    int ni = f.space.ni;
    int total = 1;
    for (int v = 0; v < ni; ++v) total *= 3;
    std::vector<std::vector<char>> pts;  // points of each implicant
    std::vector<unsigned> code;
    for (int k = 0; k < total; ++k) {
        std::vector<char> p(1u << ni, 0);
        bool ok = true, any = false;
        for (unsigned m = 0; m < (1u << ni) && ok; ++m) {
            int x = k;
            bool in = true;
            for (int v = 0; v < ni; ++v, x /= 3)
                if (x % 3 != 2 && unsigned(x % 3) != ((m >> v) & 1)) in = false;
            if (!in) continue;
            if (f.value[0][m] == 0) ok = false;
            p[m] = 1;
            any |= f.value[0][m] == 1;
        }
        if (ok && any) {
            pts.push_back(p);
            code.push_back(k);
        }
    }
    std::vector<std::vector<char>> primes;
    for (std::size_t a = 0; a < pts.size(); ++a) {
        bool inside = false;
        for (std::size_t b = 0; b < pts.size() && !inside; ++b) {
            if (a == b || pts[a] == pts[b]) continue;
            bool sub = true;
            for (std::size_t m = 0; m < pts[a].size(); ++m)
                if (pts[a][m] && !pts[b][m]) sub = false;
            inside = sub;
        }
        if (!inside) {
            primes.push_back(pts[a]);
            cubes.push_back(code[a]);
        }
    }
    return primes;
}

TEST(Minimize, CubeCountsCloseToProvenMinimum)
{
    std::mt19937 rng(99);
    int heuristic = 0, minimum = 0, functions = 0;
    for (int round = 0; round < 60; ++round) {
        RandomFunction f = MakeFunction(rng, 4 + round % 3, 1, 50, 15);
        if (f.on.Empty()) continue;
        std::vector<unsigned> codes;
        auto primes = Primes(f, codes);
        std::vector<std::vector<int>> rows;
        for (unsigned m = 0; m < (1u << f.space.ni); ++m) {
            if (f.value[0][m] != 1) continue;
            std::vector<int> row;
            for (std::size_t p = 0; p < primes.size(); ++p)
                if (primes[p][m]) row.push_back(int(p));
            rows.push_back(row);
        }
        bool proven = false;
        int best = int(CoverColumns(rows, int(primes.size()), {.maxNodes = 1000000}, &proven).size());
        ASSERT_TRUE(proven);
        MinimizeParams loopOnly;
        loopOnly.primeCoverCubes = 0;
        MinimizeResult r = Minimize(f.on, f.dc, f.off, loopOnly);
        ASSERT_GE(r.stats.cubes, best) << "fewer cubes than the proven minimum: the result cannot be right";
        EXPECT_LE(r.stats.cubes, best + 1) << "round " << round;
        // Functions this small are far inside the limits of the minimum cover of all primes.
        EXPECT_EQ(Minimize(f.on, f.dc, f.off).stats.cubes, best) << "round " << round;
        heuristic += r.stats.cubes;
        minimum += best;
        ++functions;
    }
    EXPECT_GT(functions, 40);
    EXPECT_LE(heuristic, minimum + minimum / 20) << "heuristic " << heuristic << " minimum " << minimum;
}

TEST(Minimize, EssentialPrimesMatchEnumeration)
{
    std::mt19937 rng(5150);
    for (int round = 0; round < 40; ++round) {
        RandomFunction f = MakeFunction(rng, 3 + round % 4, 1, 50, 15);
        if (f.on.Empty()) continue;
        std::vector<unsigned> codes;
        auto primes = Primes(f, codes);
        Cover all(f.space);
        for (unsigned k : codes) {
            Word* c = all.AddZero();
            for (int v = 0; v < f.space.ni; ++v, k /= 3) SetVar(c, v, k % 3 == 2 ? 3 : k % 3 == 1 ? 2 : 1);
            SetOut(f.space, c, 0, true);
        }
        std::vector<char> ess = EssentialPrimes(all, f.dc);
        for (std::size_t p = 0; p < primes.size(); ++p) {
            bool alone = false;
            for (unsigned m = 0; m < (1u << f.space.ni); ++m) {
                if (f.value[0][m] != 1 || !primes[p][m]) continue;
                int n = 0;
                for (auto& q : primes) n += q[m];
                alone |= n == 1;
            }
            ASSERT_EQ(ess[p] != 0, alone) << "round " << round << " prime " << p;
        }
    }
}

// All primes of a multi-output function (input cube and set of outputs), by enumeration.
Cover MultiOutputPrimes(const RandomFunction& f)
{
    const Space& s = f.space;
    int total = 1;
    for (int v = 0; v < s.ni; ++v) total *= 3;
    auto implicant = [&](const Word* c, bool& on) {
        on = false;
        for (int j = 0; j < s.no; ++j)
            for (unsigned m = 0; m < (1u << s.ni); ++m) {
                if (!PointIn(s, c, m, j)) continue;
                if (f.value[j][m] == 0) return false;
                on |= f.value[j][m] == 1;
            }
        return true;
    };
    Cover primes(s);
    std::vector<Word> c(s.words), up(s.words);
    for (int k = 0; k < total; ++k)
        for (unsigned outs = 1; outs < (1u << s.no); ++outs) {
            std::fill(c.begin(), c.end(), 0);
            for (int v = 0, x = k; v < s.ni; ++v, x /= 3) SetVar(c.data(), v, x % 3 == 2 ? 3 : x % 3 == 1 ? 2 : 1);
            for (int j = 0; j < s.no; ++j) SetOut(s, c.data(), j, (outs >> j) & 1);
            bool on = false, ignored = false;
            if (!implicant(c.data(), on) || !on) continue;
            bool prime = true;
            for (int v = 0; v < s.ni && prime; ++v) {
                if (GetVar(c.data(), v) == 3) continue;
                up = c;
                SetVar(up.data(), v, 3);
                prime = !implicant(up.data(), ignored);
            }
            for (int j = 0; j < s.no && prime; ++j) {
                if (GetOut(s, c.data(), j)) continue;
                up = c;
                SetOut(s, up.data(), j, true);
                prime = !implicant(up.data(), ignored);
            }
            if (prime) primes.Add(c.data());
        }
    return primes;
}

// Essentialness does not depend on which prime cover the test is given: on all primes, and on
// the loop's own irredundant cover of primes, where a cube meeting a prime in part of its
// outputs may stand for a wider prime that is not in the cover.
TEST(Minimize, EssentialMultiOutputPrimesMatchEnumeration)
{
    std::mt19937 rng(8128);
    int essentials = 0, others = 0;
    long unsettled = 0;
    for (int round = 0; round < 60; ++round) {
        RandomFunction f = MakeFunction(rng, 3 + round % 3, 2 + round % 2, 50, 15);
        Cover all = MultiOutputPrimes(f);
        if (all.Empty()) continue;
        for (bool loopCover : {false, true}) {
            Cover given = loopCover ? Irredundant(Expand(f.on, f.off), f.dc) : all;
            std::vector<char> ess = EssentialPrimes(given, f.dc);
            // With few steps a test may stay unsettled, but a cube marked essential must be one.
            for (long steps : {1L, 3L, 8L}) {
                std::vector<char> some = EssentialPrimes(given, f.dc, steps);
                for (int p = 0; p < given.Size(); ++p)
                    if (some[p]) {
                        ASSERT_TRUE(ess[p]) << "round " << round << " steps " << steps << " prime " << p;
                    }
                if (steps == 1)
                    unsettled += std::count(ess.begin(), ess.end(), 1) - std::count(some.begin(), some.end(), 1);
            }
            for (int p = 0; p < given.Size(); ++p) {
                bool alone = false;
                for (int j = 0; j < f.space.no; ++j)
                    for (unsigned m = 0; m < (1u << f.space.ni); ++m) {
                        if (f.value[j][m] != 1 || !PointIn(f.space, given[p], m, j)) continue;
                        int n = 0;
                        for (int q = 0; q < all.Size(); ++q) n += PointIn(f.space, all[q], m, j);
                        alone |= n == 1;
                    }
                ASSERT_EQ(ess[p] != 0, alone) << "round " << round << (loopCover ? " loop cover" : " all primes")
                                              << " prime " << CubeToString(f.space, given[p]);
                (alone ? essentials : others) += 1;
            }
        }
    }
    EXPECT_GT(essentials, 20);
    EXPECT_GT(others, 20);
    EXPECT_GT(unsettled, 0);  // the small budgets above did cut some tests short
}

// Size of a smallest set of columns hitting every row, by trying every subset.
int BruteMinimumCover(const std::vector<std::vector<int>>& rows, int cols)
{
    int best = cols + 1;
    for (unsigned mask = 0; mask < (1u << cols); ++mask) {
        bool ok = true;
        for (auto& r : rows) {
            bool h = false;
            for (int c : r) h |= ((mask >> c) & 1) != 0;
            ok &= h;
        }
        if (ok) best = std::min(best, std::popcount(mask));
    }
    return best;
}

bool HitsEveryRow(const std::vector<std::vector<int>>& rows, const std::vector<int>& chosen)
{
    for (auto& r : rows)
        if (std::none_of(r.begin(), r.end(),
                         [&](int c) { return std::find(chosen.begin(), chosen.end(), c) != chosen.end(); }))
            return false;
    return true;
}

TEST(Minimize, MinimumCoverIsMinimumOnSmallMatrices)
{
    std::mt19937 rng(31);
    for (int round = 0; round < 200; ++round) {
        int cols = 2 + int(rng() % 9), nrows = 1 + int(rng() % 12);
        std::vector<std::vector<int>> rows(nrows);
        for (auto& r : rows) {
            for (int c = 0; c < cols; ++c)
                if (rng() % 3 == 0) r.push_back(c);
            if (r.empty()) r.push_back(int(rng() % cols));
        }
        int best = BruteMinimumCover(rows, cols);
        bool proven = false;
        std::vector<int> got = CoverColumns(rows, cols, {.maxNodes = 100000}, &proven);
        ASSERT_TRUE(proven);
        ASSERT_EQ(int(got.size()), best) << "round " << round;
        EXPECT_TRUE(HitsEveryRow(rows, got));
    }
}

// Many small independent blocks with their columns interleaved: each block must get its own
// minimum, although the whole problem is far past the size the branch and bound would take.
// As irredundant solves its covering problems: blocks past maxSearchColumns keep a greedy cover.
CoveringParams ByBlocks(int maxSearchColumns)
{
    return {
        .maxNodes = 100000, .literalNodes = 0, .maxSearchColumns = maxSearchColumns, .start = GreedyStart::ScarceRows};
}

TEST(Minimize, MinimumCoverByBlocksIsMinimumPerBlock)
{
    std::mt19937 rng(47);
    for (int round = 0; round < 20; ++round) {
        int blocks = 5 + int(rng() % 20), total = 0, expected = 0;
        std::vector<std::vector<int>> rows;
        std::vector<std::vector<int>> blockCols;
        for (int b = 0; b < blocks; ++b) {
            int cols = 3 + int(rng() % 7);
            blockCols.push_back({});
            for (int c = 0; c < cols; ++c) blockCols.back().push_back(total + c);
            total += cols;
        }
        std::vector<int> perm(total);
        std::iota(perm.begin(), perm.end(), 0);
        std::shuffle(perm.begin(), perm.end(), rng);
        for (auto& bc : blockCols) {
            int cols = int(bc.size());
            std::vector<std::vector<int>> local;
            if (rng() % 2) {  // a cycle of pairs: the greedy choice can go wrong here
                for (int c = 0; c < cols; ++c) local.push_back({c, (c + 1) % cols});
            } else {
                for (int k = 0, n = 1 + int(rng() % 10); k < n; ++k) {
                    std::vector<int> r;
                    for (int c = 0; c < cols; ++c)
                        if (rng() % 3 == 0) r.push_back(c);
                    if (r.empty()) r.push_back(int(rng() % cols));
                    local.push_back(r);
                }
            }
            int best = BruteMinimumCover(local, cols);
            expected += best;
            for (auto& r : local) {
                std::vector<int> g;
                for (int c : r) g.push_back(perm[bc[c]]);
                rows.push_back(g);
            }
        }
        std::shuffle(rows.begin(), rows.end(), rng);
        bool proven = false;
        std::vector<int> got = CoverColumns(rows, total, ByBlocks(12), &proven);
        ASSERT_TRUE(proven);
        ASSERT_EQ(int(got.size()), expected) << "round " << round;
        EXPECT_TRUE(HitsEveryRow(rows, got));
        // Blocks past the size limit are covered greedily and the result is not claimed minimum.
        std::vector<int> greedy = CoverColumns(rows, total, ByBlocks(2), &proven);
        EXPECT_FALSE(proven);
        EXPECT_TRUE(HitsEveryRow(rows, greedy));
    }
}

// Irredundant needs a cover even when the search runs out of nodes: every block then keeps the
// best cover found so far (the greedy one for blocks not reached), and says it is not proven.
TEST(Minimize, CoveringPastItsNodeBudgetStillCoversEveryRow)
{
    std::mt19937 rng(53);
    int cutShort = 0;
    for (int round = 0; round < 40; ++round) {
        // Two blocks: the budget runs out in the first, the second is never searched.
        int half = 10 + int(rng() % 15), cols = 2 * half;
        std::vector<std::vector<int>> rows;
        for (int base : {0, half})
            for (int c = 0; c < half; ++c) rows.push_back({base + c, base + (c + 1) % half, base + int(rng() % half)});
        for (GreedyStart start : {GreedyStart::RowsPerCost, GreedyStart::ScarceRows}) {
            CoveringSolution sol = MinimumCovering(cols, rows, {}, {.maxNodes = 2, .literalNodes = 0, .start = start});
            ASSERT_TRUE(sol.status == ExactStatus::Proven || sol.status == ExactStatus::TooManyNodes);
            cutShort += sol.status == ExactStatus::TooManyNodes;
            EXPECT_TRUE(HitsEveryRow(rows, sol.columns)) << "round " << round;
            EXPECT_TRUE(std::is_sorted(sol.columns.begin(), sol.columns.end()));
        }
    }
    EXPECT_GT(cutShort, 10);
}

}  // namespace
}  // namespace quorlet::test
