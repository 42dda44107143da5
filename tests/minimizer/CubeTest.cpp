// Cube operations checked point by point against their set meaning, and the parallel loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "Parallel.h"
#include "TruthTable.h"

namespace quorlet::test {
namespace {

using Points = std::vector<char>;  // index m * no + j

Points PointsOf(const Space& s, const Word* c)
{
    Points p(std::size_t(1u << s.ni) * s.no, 0);
    for (unsigned m = 0; m < (1u << s.ni); ++m)
        for (int j = 0; j < s.no; ++j) p[m * s.no + j] = PointIn(s, c, m, j);
    return p;
}
Points PointsOf(const Cover& f)
{
    const Space& s = f.space();
    Points p(std::size_t(1u << s.ni) * s.no, 0);
    for (int i = 0; i < f.Size(); ++i) {
        Points q = PointsOf(s, f[i]);
        for (std::size_t k = 0; k < p.size(); ++k) p[k] |= q[k];
    }
    return p;
}

TEST(Cube, PairOperationsMatchPointSets)
{
    std::mt19937 rng(7);
    Space s(5, 3);
    for (int round = 0; round < 400; ++round) {
        Cover f(s);
        RandomCube(rng, f, 30);
        RandomCube(rng, f, 30);
        const Word *a = f[0], *b = f[1];
        Points pa = PointsOf(s, a), pb = PointsOf(s, b);
        bool meet = false, sub = true;
        for (std::size_t k = 0; k < pa.size(); ++k) {
            meet |= pa[k] && pb[k];
            if (pb[k] && !pa[k]) sub = false;
        }
        ASSERT_EQ(Intersects(s, a, b), meet);
        ASSERT_EQ(Contains(s, a, b), sub);
        ASSERT_EQ(Distance(s, a, b) == 0, meet);
        int d = 0;
        for (int v = 0; v < s.ni; ++v) d += (GetVar(a, v) & GetVar(b, v)) == 0;
        bool outMeet = false;
        for (int j = 0; j < s.no; ++j) outMeet |= GetOut(s, a, j) && GetOut(s, b, j);
        ASSERT_EQ(Distance(s, a, b), d + (outMeet ? 0 : 1));

        std::vector<Word> x(s.words);
        Intersect(s, a, b, x.data());
        Points px = PointsOf(s, x.data());
        for (std::size_t k = 0; k < pa.size(); ++k) ASSERT_EQ(px[k], pa[k] && pb[k]);

        // Consensus lies inside a + b, and is non-empty at distance 1.
        if (Consensus(s, a, b, x.data())) {
            ASSERT_LE(Distance(s, a, b), 1);
            Points pc = PointsOf(s, x.data());
            bool any = false;
            for (std::size_t k = 0; k < pa.size(); ++k) {
                ASSERT_TRUE(!pc[k] || pa[k] || pb[k]);
                any |= pc[k] != 0;
            }
            ASSERT_TRUE(any);
        } else {
            ASSERT_GE(Distance(s, a, b), 2);
        }

        Points ps = PointsOf(Sharp(s, a, b));
        for (std::size_t k = 0; k < pa.size(); ++k) ASSERT_EQ(ps[k], pa[k] && !pb[k]);

        // Inside b the cofactor of a against b says the same as a; both forms agree.
        if (meet) {
            std::vector<Word> cf(s.words), in(a, a + s.words);
            Cofactor(s, a, b, cf.data());
            CofactorInPlace(s, in.data(), b);
            ASSERT_TRUE(Equal(s, cf.data(), in.data()));
            Points pf = PointsOf(s, cf.data());
            for (std::size_t k = 0; k < pa.size(); ++k)
                if (pb[k]) {
                    ASSERT_EQ(pf[k], pa[k]);
                }
        }
    }
}

TEST(Cube, CoverTransformsKeepThePoints)
{
    std::mt19937 rng(11);
    Space s(5, 4);
    for (int round = 0; round < 100; ++round) {
        Cover f = RandomCover(rng, s, 1 + int(rng() % 12), 30);
        f.Add(f[0]);  // a duplicate
        Points before = PointsOf(f);
        Cover g = f;
        SingleCubeContainment(g);
        ASSERT_EQ(PointsOf(g), before);
        for (int i = 0; i < g.Size(); ++i)
            for (int k = 0; k < g.Size(); ++k)
                if (i != k) {
                    ASSERT_FALSE(Contains(s, g[i], g[k]));
                }
        Cover h = f;
        MergeEqualInputs(h);
        ASSERT_EQ(PointsOf(h), before);
        for (int i = 0; i + 1 < h.Size(); ++i) ASSERT_FALSE(InputEqual(s, h[i], h[i + 1]));
    }
}

TEST(Cube, WordBoundariesOfWideSpaces)
{
    Space s(33, 65);  // inputs spill into a second word, outputs too
    ASSERT_EQ(s.inWords, 2);
    ASSERT_EQ(s.outWords, 2);
    Cover f(s);
    f.AddZero();
    f.AddZero();
    Word* a = f[0];
    Word* b = f[1];
    MakeUniverse(s, a);
    MakeUniverse(s, b);
    EXPECT_TRUE(IsInputUniverse(s, a));
    EXPECT_EQ(InputLiterals(s, a), 0);
    EXPECT_EQ(OutputCount(s, a), 65);
    SetVar(a, 31, 1);
    SetVar(b, 31, 2);
    SetVar(a, 32, 2);
    SetVar(b, 32, 1);
    EXPECT_EQ(Distance(s, a, b), 2);
    for (int j = 0; j < 65; ++j) SetOut(s, b, j, j == 64);
    for (int j = 0; j < 64; ++j) SetOut(s, a, j, j == 3);
    SetOut(s, a, 64, false);
    EXPECT_EQ(Distance(s, a, b), 3);
    SetOut(s, a, 64, true);
    EXPECT_EQ(Distance(s, a, b), 2);
    EXPECT_EQ(CubeToString(s, a).substr(30, 4), "-01 ");
    EXPECT_EQ(InputLiterals(s, b), 2);
}

// The loop over independent indices: every index once, the first failure thrown again, and
// small loops left to the calling thread.
TEST(Parallel, EveryIndexOnceAndFailuresComeBack)
{
    for (int n : {0, 1, 7, 1000, 4099}) {
        std::vector<int> seen(n, 0);
        std::vector<long> square(n, 0);
        ParallelFor(
            n,
            [&](int i) {
                ++seen[i];
                square[i] = long(i) * i;
            },
            1);
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(seen[i], 1) << "n " << n << " index " << i;
            ASSERT_EQ(square[i], long(i) * i);
        }
    }
    EXPECT_THROW(ParallelFor(
                     1000,
                     [](int i) {
                         if (i == 617) throw CoverLimitError(617);
                     },
                     1),
                 CoverLimitError);
    std::vector<char> elsewhere(100, 0);
    const auto caller = std::this_thread::get_id();
    ParallelFor(
        100, [&](int i) { elsewhere[i] = std::this_thread::get_id() != caller; }, 64);
    EXPECT_EQ(std::count(elsewhere.begin(), elsewhere.end(), 1), 0);  // too few for a second thread
}

}  // namespace
}  // namespace quorlet::test
