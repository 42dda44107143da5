// Truth-table helpers for the minimizer tests.
#include "TruthTable.h"

#include <gtest/gtest.h>

namespace quorlet::test {

bool PointIn(const Space& s, const Word* c, unsigned m, int j)
{
    if (!GetOut(s, c, j)) return false;
    for (int v = 0; v < s.ni; ++v)
        if (!(GetVar(c, v) & (((m >> v) & 1) ? 2u : 1u))) return false;
    return true;
}

Table TableOf(const Cover& f)
{
    const Space& s = f.space();
    Table t(s.no, std::vector<char>(1u << s.ni, 0));
    for (int i = 0; i < f.Size(); ++i)
        for (int j = 0; j < s.no; ++j)
            for (unsigned m = 0; m < (1u << s.ni); ++m)
                if (PointIn(s, f[i], m, j)) t[j][m] = 1;
    return t;
}

Word* RandomCube(std::mt19937& rng, Cover& into, int dashPercent, int outPercent)
{
    const Space& s = into.space();
    Word* c = into.AddZero();
    std::uniform_int_distribution<int> pc(0, 99);
    for (int v = 0; v < s.ni; ++v) SetVar(c, v, pc(rng) < dashPercent ? 3 : (pc(rng) < 50 ? 1 : 2));
    bool any = false;
    for (int j = 0; j < s.no; ++j)
        if (pc(rng) < outPercent) {
            SetOut(s, c, j, true);
            any = true;
        }
    if (!any) SetOut(s, c, int(rng() % s.no), true);
    return c;
}

Cover RandomCover(std::mt19937& rng, const Space& s, int cubes, int dashPercent)
{
    Cover f(s);
    for (int i = 0; i < cubes; ++i) RandomCube(rng, f, dashPercent);
    return f;
}

RandomFunction MakeFunction(std::mt19937& rng, int ni, int no, int onPercent, int dcPercent)
{
    Space s(ni, no);
    RandomFunction f{s, {}, Cover(s), Cover(s), Cover(s)};
    std::uniform_int_distribution<int> pc(0, 99);
    // Values come from random cubes so that the functions have structure worth minimizing.
    Cover shape = RandomCover(rng, s, 3 + int(rng() % 6), 55);
    f.value.assign(no, std::vector<char>(1u << ni, 0));
    for (int j = 0; j < no; ++j)
        for (unsigned m = 0; m < (1u << ni); ++m) {
            bool in = false;
            for (int i = 0; i < shape.Size() && !in; ++i) in = PointIn(s, shape[i], m, j);
            int r = pc(rng);
            char v = in ? 1 : 0;
            if (r < dcPercent) v = 2;
            else if (r < dcPercent + onPercent / 4) v = char(1 - v);  // noise
            f.value[j][m] = v;
        }
    for (unsigned m = 0; m < (1u << ni); ++m)
        for (int kind = 0; kind < 3; ++kind) {
            Cover& into = kind == 1 ? f.on : kind == 2 ? f.dc : f.off;
            Word* c = nullptr;
            for (int j = 0; j < no; ++j) {
                if (f.value[j][m] != kind) continue;
                if (!c) {
                    c = into.AddZero();
                    for (int v = 0; v < ni; ++v) SetVar(c, v, ((m >> v) & 1) ? 2 : 1);
                }
                SetOut(s, c, j, true);
            }
        }
    return f;
}

bool AllOnes(const Table& t)
{
    for (const auto& column : t)
        for (char v : column)
            if (!v) return false;
    return true;
}

bool AllOnes(const Table& t, const OutSet& u)
{
    for (std::size_t j = 0; j < t.size(); ++j)
        if ((u[j >> 6] >> (j & 63)) & 1)
            for (char v : t[j])
                if (!v) return false;
    return true;
}

std::optional<std::vector<Word>> CheckAgainstOthers(const Cover& f, int i)
{
    const Space& s = f.space();
    const Word* c = f[i];
    Cover others(s);
    for (int k = 0; k < f.Size(); ++k)
        if (k != i) others.Add(f[k]);
    const Table held = TableOf(others);
    std::vector<Word> box(s.words, 0);
    bool any = false;
    for (int j = 0; j < s.no; ++j)
        for (unsigned m = 0; m < (1u << s.ni); ++m)
            if (PointIn(s, c, m, j) && !held[j][m]) {
                any = true;
                for (int v = 0; v < s.ni; ++v)
                    SetVar(box.data(), v, GetVar(box.data(), v) | (((m >> v) & 1) ? 2u : 1u));
                SetOut(s, box.data(), j, true);
            }
    EXPECT_EQ(CubeCovered(c, {&f}, c), !any) << "cube " << i;
    std::vector<Word> out(s.words);
    EXPECT_EQ(ReduceCube(c, {&f}, c, out.data()), any) << "cube " << i;
    if (!any) return std::nullopt;
    EXPECT_TRUE(Equal(s, out.data(), box.data()))
        << "cube " << i << ": " << CubeToString(s, out.data()) << " against " << CubeToString(s, box.data());
    return out;
}

}  // namespace quorlet::test
