// Complement of a cover by the unate recursion.
#include "Unate.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <vector>

#include "UnateSplit.h"

namespace quorlet {
namespace {
using namespace unate;

// Appends to out the complement of g ignoring outputs, as cubes with zero output parts. All
// levels share out: each appends its two halves and merges them in place, so the recursion
// allocates nothing once its scratch has grown.
void CompRec(const Cover& g, Cover& out, std::size_t limit, long& budget)
{
    const Space& s = g.space();
    if (--budget < 0) throw CoverLimitError(limit);
    if (g.Empty()) {
        MakeInputUniverse(s, out.AddZero());
        return;
    }
    for (int i = 0; i < g.Size(); ++i)
        if (IsInputUniverse(s, g[i])) return;
    if (g.Size() == 1) {
        const Word* c = g[0];
        // One cube a literal: a wide cube's complement can pass the limit right here.
        if (std::size_t(out.Size()) + std::size_t(InputLiterals(s, c)) > limit) throw CoverLimitError(limit);
        for (int v = 0; v < s.ni; ++v) {
            unsigned b = GetVar(c, v);
            if (b == 3) continue;
            Word* d = out.AddZero();
            MakeInputUniverse(s, d);
            SetVar(d, v, 3u & ~b);
        }
        return;
    }
    FrameLease lease(s);
    Frame& fr = lease.f;
    // A cube of one literal makes one half hold a universal cube, whose complement is empty at
    // once; splitting on its variable leaves a single real recursion instead of two.
    int v = OneLiteralVar(g);
    if (v < 0) {
        CountLiterals(g, fr.vc);
        v = SplitVar(g, fr.vc, true);
    }
    const int start = out.Size();
    SplitCofactor(g, v, 2, fr.cof);
    CompRec(fr.cof, out, limit, budget);
    const int mid = out.Size();
    SplitCofactor(g, v, 1, fr.cof);
    CompRec(fr.cof, out, limit, budget);
    const int end = out.Size();
    if (std::size_t(end - start) > limit) throw CoverLimitError(limit);
    if (mid == start || mid == end) {
        // One side empty: nothing to share.
        for (int i = start; i < end; ++i) SetVar(out[i], v, i < mid ? 2 : 1);
        return;
    }
    // Cubes found on both sides do not depend on v and are kept once.
    auto less = [&](const Word* a, const Word* b) { return std::memcmp(a, b, sizeof(Word) * s.inWords) < 0; };
    std::vector<const Word*>& p1 = fr.p1;
    std::vector<const Word*>& p0 = fr.p0;
    p1.clear();
    p0.clear();
    for (int i = start; i < mid; ++i) p1.push_back(out[i]);
    for (int i = mid; i < end; ++i) p0.push_back(out[i]);
    std::sort(p1.begin(), p1.end(), less);
    std::sort(p0.begin(), p0.end(), less);
    Cover& merged = fr.cof;  // free again
    merged.Clear();
    std::size_t a = 0, b = 0;
    while (a < p1.size() || b < p0.size()) {
        if (b == p0.size() || (a < p1.size() && less(p1[a], p0[b]))) {
            Word* d = merged.AddZero();
            std::memcpy(d, p1[a++], sizeof(Word) * s.inWords);
            SetVar(d, v, 2);
        } else if (a == p1.size() || less(p0[b], p1[a])) {
            Word* d = merged.AddZero();
            std::memcpy(d, p0[b++], sizeof(Word) * s.inWords);
            SetVar(d, v, 1);
        } else {
            Word* d = merged.AddZero();
            std::memcpy(d, p1[a++], sizeof(Word) * s.inWords);
            ++b;
        }
    }
    out.Truncate(start);
    out.Append(merged);
}

// The outputs of f grouped by the cubes that hold them (the key: those cubes' indices).
std::map<std::vector<int>, std::vector<int>> OutputsBySameCubes(const Cover& f)
{
    const Space& s = f.space();
    std::map<std::vector<int>, std::vector<int>> groups;
    for (int j = 0; j < s.no; ++j) {
        std::vector<int> ids;
        for (int i = 0; i < f.Size(); ++i)
            if (GetOut(s, f[i], j)) ids.push_back(i);
        groups[ids].push_back(j);
    }
    return groups;
}

}  // namespace

Cover InputComplement(const Cover& f, std::size_t limit)
{
    // The recursion may do far more work than its result shows (shared subproblems are solved
    // again), so its steps are bounded too.
    long budget = limit >= kMaxCoverCubes ? std::numeric_limits<long>::max() : long(limit) * 4;
    Cover r(f.space());
    CompRec(f, r, limit, budget);
    if (std::getenv("QUOR_ESP_TRACE"))
        std::fprintf(stderr, "complement %d cubes, %ld steps\n", r.Size(), long(limit) * 4 - budget);
    // No single-cube containment pass: the recursion leaves no cube inside another. A leaf's
    // cubes are single literals of distinct variables; at a split, a cube that has x and one
    // that has x' are disjoint, a cube free of x cannot lie in one that has it, and a cube that
    // has x lying in one free of x would mean two nested cubes in the same half already.
    return r;
}

Cover Complement(const Cover& f, std::size_t limit)
{
    const Space& s = f.space();
    // Outputs that see the same cubes have the same complement.
    std::map<std::vector<int>, std::vector<int>> groups = OutputsBySameCubes(f);
    std::vector<std::pair<int, const std::vector<int>*>> order;  // by first output, for determinism
    for (auto& [ids, outs] : groups) order.push_back({outs.front(), &ids});
    std::sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
    Cover r(s);
    for (auto& [first, ids] : order) {
        Cover g(s);
        g.Reserve(int(ids->size()));
        for (int i : *ids) g.Add(f[i]);
        Cover c = InputComplement(g, limit);
        if (std::size_t(r.Size()) + c.Size() > limit) throw CoverLimitError(limit);
        for (int j : groups[*ids])
            for (int k = 0; k < c.Size(); ++k) SetOut(s, c[k], j, true);
        r.Append(c);
    }
    MergeEqualInputs(r);
    return r;
}

Cover ComplementAroundCommonPart(const Cover& f, std::size_t limit)
{
    const Space& s = f.space();
    // Points outside every cube are open for every output, whatever the output parts say.
    Cover r = InputComplement(f, limit);
    for (int k = 0; k < r.Size(); ++k)
        for (int w = s.inWords; w < s.words; ++w) r[k][w] = s.OutMask(w - s.inWords);
    // The rest lies inside some cube d of f, open for the outputs d lacks where no cube holding
    // them covers: d less the cubes of those outputs. Outputs held by the same cubes share it.
    std::map<std::vector<int>, std::vector<int>> groups = OutputsBySameCubes(f);
    for (auto& [ids, outs] : groups) {
        Cover fj(s);
        for (int i : ids) fj.Add(f[i]);
        std::vector<Word> d(s.words);
        for (int i = 0; i < f.Size(); ++i) {
            if (std::binary_search(ids.begin(), ids.end(), i)) continue;
            std::memcpy(d.data(), f[i], sizeof(Word) * s.inWords);
            for (int w = s.inWords; w < s.words; ++w) d[w] = s.OutMask(w - s.inWords);
            Cover part = InputComplement(Cofactor(fj, d.data()), limit);
            for (int k = 0; k < part.Size(); ++k) {
                Word* c = r.AddZero();
                for (int w = 0; w < s.inWords; ++w) c[w] = part[k][w] & d[w];
                for (int j : outs) SetOut(s, c, j, true);
            }
            if (std::size_t(r.Size()) > limit) throw CoverLimitError(limit);
        }
    }
    MergeEqualInputs(r);
    SingleCubeContainment(r);
    return r;
}

}  // namespace quorlet
