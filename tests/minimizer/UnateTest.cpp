// Tautology, complement, cube containment, reduction and covering rows against enumeration.
#include <gtest/gtest.h>

#include <algorithm>

#include "TruthTable.h"
#include "Unate.h"

namespace quorlet::test {
namespace {

// Random covers, about half of them tautologies (the missing points added as minterms).
Cover MaybeTautology(std::mt19937& rng, const Space& s, bool fill)
{
    Cover f = RandomCover(rng, s, 2 + int(rng() % 14), 50);
    if (!fill) return f;
    Table t = TableOf(f);
    for (unsigned m = 0; m < (1u << s.ni); ++m)
        for (int j = 0; j < s.no; ++j)
            if (!t[j][m] && rng() % 5 != 0) {
                Word* c = f.AddZero();
                for (int v = 0; v < s.ni; ++v) SetVar(c, v, ((m >> v) & 1) ? 2 : 1);
                SetOut(s, c, j, true);
            }
    return f;
}

TEST(Unate, TautologyAndComplementMatchEnumeration)
{
    std::mt19937 rng(3);
    int tautologies = 0;
    for (int round = 0; round < 300; ++round) {
        Space s(1 + int(rng() % 7), 1 + int(rng() % 3));
        Cover f = MaybeTautology(rng, s, round % 2);
        Table t = TableOf(f);
        bool taut = AllOnes(t);
        tautologies += taut;
        ASSERT_EQ(Tautology(f), taut) << "round " << round;
        Cover c = Complement(f);
        Table tc = TableOf(c);
        // The recursion itself leaves no cube of a complement inside another.
        Cover ic = InputComplement(f);
        for (int a = 0; a < ic.Size(); ++a)
            for (int b = 0; b < ic.Size(); ++b)
                ASSERT_TRUE(a == b || !InputContains(s, ic[a], ic[b]))
                    << "round " << round << ": " << CubeToString(s, ic[b]);
        Table ta = TableOf(ComplementAroundCommonPart(f));
        for (int j = 0; j < s.no; ++j)
            for (unsigned m = 0; m < (1u << s.ni); ++m) {
                ASSERT_NE(t[j][m], tc[j][m]) << "round " << round;
                ASSERT_NE(t[j][m], ta[j][m]) << "round " << round << " (around the common part)";
            }
        // Restricted to some outputs only.
        OutSet u(s.outWords, 0);
        u[0] = 1;
        ASSERT_EQ(Tautology(f, u), AllOnes(t, u));
    }
    EXPECT_GT(tautologies, 30);
}

TEST(Unate, CubeCoveredAndReduceCubeMatchEnumeration)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        Space s(2 + int(rng() % 6), 1 + int(rng() % 3));
        Cover f = RandomCover(rng, s, 2 + int(rng() % 12), 45);
        Cover d = RandomCover(rng, s, int(rng() % 3), 45);
        if (round % 3 == 0) {
            // Unate covers (each variable with one polarity), with some single-literal cubes:
            // the recursion answers these at once, without splitting.
            for (Cover* g : {&f, &d})
                for (int i = 0; i < g->Size(); ++i)
                    for (int v = 0; v < s.ni; ++v)
                        if (GetVar((*g)[i], v) == (v % 2 ? 1u : 2u)) SetVar((*g)[i], v, 3u - GetVar((*g)[i], v));
            for (int k = int(rng() % 3); k > 0; --k) {
                Word* c1 = f.AddZero();
                MakeUniverse(s, c1);
                int v = int(rng() % s.ni);
                SetVar(c1, v, v % 2 ? 2 : 1);
                for (int j = 0; j < s.no; ++j) SetOut(s, c1, j, rng() % 2 != 0);
            }
        }
        Cover one(s);
        const Word* c = RandomCube(rng, one, 50, 70);
        Table tf = TableOf(f), td = TableOf(d), tc = TableOf(one);
        bool covered = true;
        // Smallest cube around the points of c outside f and d.
        std::vector<unsigned> varBits(s.ni, 0);
        std::vector<char> outs(s.no, 0);
        bool any = false;
        for (int j = 0; j < s.no; ++j)
            for (unsigned m = 0; m < (1u << s.ni); ++m) {
                if (!tc[j][m] || tf[j][m] || td[j][m]) continue;
                covered = false;
                any = true;
                outs[j] = 1;
                for (int v = 0; v < s.ni; ++v) varBits[v] |= ((m >> v) & 1) ? 2 : 1;
            }
        ASSERT_EQ(CubeCovered(c, {&f, &d}), covered);
        MeetIndex index({&f, &d});
        ASSERT_EQ(CubeCovered(c, index), covered);
        std::vector<Word> r(s.words), ri(s.words);
        ASSERT_EQ(ReduceCube(c, {&f, &d}, nullptr, r.data()), any);
        ASSERT_EQ(ReduceCube(c, index, nullptr, ri.data()), any);
        if (any) {
            for (int v = 0; v < s.ni; ++v) ASSERT_EQ(GetVar(r.data(), v), varBits[v]) << "round " << round;
            for (int j = 0; j < s.no; ++j) ASSERT_EQ(GetOut(s, r.data(), j), outs[j] != 0);
            ASSERT_TRUE(Equal(s, r.data(), ri.data())) << "round " << round;
        }
        // The skipped cube does not count.
        Cover withC = f;
        withC.Add(c);
        ASSERT_TRUE(CubeCovered(c, {&withC}));
        ASSERT_EQ(CubeCovered(c, {&withC, &d}, withC[withC.Size() - 1]), covered);
    }
}

// Covers of many short cubes overlapping all over (the complement of a few scattered points,
// with short cubes added): tautology, containment and the smallest cube around what a cube
// alone covers, each against enumeration, in spaces large enough for deep recursions.
TEST(Unate, ShortOverlappingCubesMatchEnumeration)
{
    std::mt19937 rng(1616);
    int reduced = 0, redundant = 0;
    for (int round = 0; round < 40; ++round) {
        Space s(9 + int(rng() % 4), 1 + int(rng() % 3));
        Cover points(s);
        for (int k = 2 + int(rng() % 5); k > 0; --k) RandomCube(rng, points, 0, 100);
        Cover f = InputComplement(points);
        for (int i = 0; i < f.Size(); ++i)
            for (int j = 0; j < s.no; ++j) SetOut(s, f[i], j, rng() % 4 != 0);
        for (int k = int(rng() % 20); k > 0; --k) RandomCube(rng, f, 70, 60);
        f.RemoveEmpty();
        Table t = TableOf(f);
        ASSERT_EQ(Tautology(f), AllOnes(t)) << "round " << round;
        for (int i = 0; i < f.Size(); ++i) {
            SCOPED_TRACE("round " + std::to_string(round));
            const std::optional<std::vector<Word>> left = CheckAgainstOthers(f, i);
            if (!left) {
                ++redundant;
                continue;
            }
            reduced += !Equal(s, left->data(), f[i]);
        }
    }
    EXPECT_GT(reduced, 50);
    EXPECT_GT(redundant, 50);
}

// The index names every cube that meets (or lies within distance one of) the asked cube, in
// spaces of several input and output words, with empty parts, with many outputs (where it
// does not filter by outputs), and after the indexed cubes have shrunk.
TEST(Unate, MeetIndexFindsEveryNearCube)
{
    std::mt19937 rng(31);
    const int shapes[][2] = {{5, 2}, {33, 3}, {90, 80}, {7, 130}};
    for (auto [ni, no] : shapes)
        for (int round = 0; round < 20; ++round) {
            Space s(ni, no);
            int dashes = ni > 20 ? 90 : 40;
            Cover a = RandomCover(rng, s, 30 + int(rng() % 120), dashes);
            Cover b = RandomCover(rng, s, int(rng() % 40), dashes);
            if (round % 4 == 1 && b.Size()) SetVar(b[0], 0, 0);  // an empty input part
            if (round % 4 == 2)
                for (int w = s.inWords; w < s.words; ++w) a[0][w] = 0;  // no outputs
            MeetIndex index({&a, &b});
            ASSERT_EQ(index.Size(), a.Size() + b.Size());
            if (round % 2) {
                // Cubes may shrink after indexing; answers must still hold every cube that meets.
                for (Cover* g : {&a, &b})
                    for (int i = 0; i < g->Size(); i += 3) {
                        int v = int(rng() % ni);
                        if (GetVar((*g)[i], v) == 3) SetVar((*g)[i], v, 1 + rng() % 2);
                    }
            }
            Cover probes = RandomCover(rng, s, 40, ni > 20 ? 80 : 30);
            std::vector<int> meeting, near;
            for (int p = 0; p < probes.Size(); ++p) {
                const Word* c = probes[p];
                index.Meeting(c, meeting);
                index.Near(c, near);
                ASSERT_TRUE(std::is_sorted(meeting.begin(), meeting.end()));
                ASSERT_TRUE(std::is_sorted(near.begin(), near.end()));
                for (int i = 0; i < index.Size(); ++i) {
                    const Cover& g = index.CoverOf(i) == 0 ? a : b;
                    const Word* d = g[i - index.Start(index.CoverOf(i))];
                    ASSERT_EQ(index.At(i), d);
                    bool inMeeting = std::binary_search(meeting.begin(), meeting.end(), i);
                    bool inNear = std::binary_search(near.begin(), near.end(), i);
                    std::string what = std::to_string(ni) + "x" + std::to_string(no) + " round " +
                                       std::to_string(round) + " probe " + std::to_string(p) + " cube " +
                                       std::to_string(i);
                    if (Intersects(s, c, d)) {
                        ASSERT_TRUE(inMeeting) << what;
                    }
                    if (Distance(s, c, d) <= 1) {
                        ASSERT_TRUE(inNear) << what;
                    }
                }
            }
        }
}

// A subset of the selectable cubes covers c exactly when it hits every row.
TEST(Unate, CoveringRowsAreExactForEverySubset)
{
    std::mt19937 rng(9);
    int checked = 0;
    for (int round = 0; round < 200; ++round) {
        Space s(2 + int(rng() % 4), 1 + int(rng() % 2));
        Cover fixed = RandomCover(rng, s, int(rng() % 3), 40);
        Cover sel = RandomCover(rng, s, 2 + int(rng() % 6), 40);
        Cover one(s);
        const Word* c = RandomCube(rng, one, 50, 80);
        Cover g(s);
        std::vector<int> tag;
        for (int k = 0; k < 2; ++k) {
            const Cover& from = k ? sel : fixed;
            for (int i = 0; i < from.Size(); ++i)
                if (Intersects(s, from[i], c)) {
                    Cofactor(s, from[i], c, g.AddZero());
                    tag.push_back(k ? i : -1);
                }
        }
        std::vector<std::vector<int>> rows;
        bool ok = CoveringRows(g, tag, OutputsOf(s, c), rows);
        Cover all = fixed;
        all.Append(sel);
        ASSERT_EQ(ok, CubeCovered(c, {&all}));
        if (!ok) continue;
        for (unsigned mask = 0; mask < (1u << sel.Size()); ++mask) {
            Cover pick = fixed;
            for (int i = 0; i < sel.Size(); ++i)
                if ((mask >> i) & 1) pick.Add(sel[i]);
            bool hits = true;
            for (auto& row : rows) {
                bool h = false;
                for (int x : row) h |= ((mask >> x) & 1) != 0;
                hits &= h;
            }
            bool cov = pick.Empty() ? false : CubeCovered(c, {&pick});
            ASSERT_EQ(hits, cov) << "round " << round << " mask " << mask;
            ++checked;
        }
    }
    EXPECT_GT(checked, 500);
}

}  // namespace
}  // namespace quorlet::test
