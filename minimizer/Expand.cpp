// Expand: each cube grown into a prime that avoids the OFF-set (or, without one, stays inside
// the ON and don't-care sets), in an order that lets the rare cubes swallow the common ones.
#include "Expand.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

#include "Expander.h"
#include "Unate.h"

namespace quorlet {

// Cubes rarely shared with others first: they are the least likely to be covered by
// another expansion, and expanding them first lets them swallow the common ones.
std::vector<int> ExpandOrder(const Cover& f)
{
    const Space& s = f.space();
    std::vector<int> col(s.words * 64, 0);
    for (int i = 0; i < f.Size(); ++i)
        for (int w = 0; w < s.words; ++w)
            for (Word b = f[i][w]; b; b &= b - 1) ++col[w * 64 + std::countr_zero(b)];
    std::vector<long> weight(f.Size(), 0);
    for (int i = 0; i < f.Size(); ++i)
        for (int w = 0; w < s.words; ++w)
            for (Word b = f[i][w]; b; b &= b - 1) weight[i] += col[w * 64 + std::countr_zero(b)];
    std::vector<int> order(f.Size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return weight[a] < weight[b]; });
    return order;
}

Cover Expand(const Cover& f, const Cover& off, const ExpandParams& p) { return ExpandWith<Expander>(f, off, p); }

Cover ExpandByTautology(const Cover& f, const Cover& care, const ExpandParams& p)
{
    const Space& s = f.space();
    Cover r(s);
    std::vector<char> covered(f.Size(), 0);
    std::vector<Word> c(s.words);
    for (int i : ExpandOrder(f)) {
        if (covered[i]) continue;
        std::memcpy(c.data(), f[i], sizeof(Word) * s.words);
        for (int v = 0; v < s.ni; ++v) {
            unsigned b = GetVar(c.data(), v);
            if (b == 3) continue;
            SetVar(c.data(), v, 3);
            if (!CubeCovered(c.data(), {&care})) SetVar(c.data(), v, b);
        }
        for (int j = 0; j < s.no && !p.inputsOnly; ++j) {
            if (GetOut(s, c.data(), j)) continue;
            SetOut(s, c.data(), j, true);
            if (!CubeCovered(c.data(), {&care})) SetOut(s, c.data(), j, false);
        }
        for (int k = 0; k < f.Size(); ++k)
            if (!covered[k] && Contains(s, c.data(), f[k])) covered[k] = 1;
        covered[i] = 1;
        r.Add(c.data());
    }
    SingleCubeContainment(r);
    return r;
}

}  // namespace quorlet
