// Make sparse: output bits that no point needs are dropped, and the inputs grown again.
#include "MakeSparse.h"

#include <bit>
#include <cstring>
#include <map>
#include <vector>

#include "MeetIndex.h"
#include "Unate.h"

namespace quorlet {
namespace {

// For each output, the first output whose column is the same in every cube of f and dc.
std::vector<int> SameOutputs(const Cover& f, const Cover& dc)
{
    const Space& s = f.space();
    const int n = f.Size() + dc.Size(), blocks = (n + 63) / 64;
    std::vector<Word> cols(std::size_t(s.no) * blocks, 0);
    for (int i = 0; i < n; ++i) {
        const Word* c = i < f.Size() ? f[i] : dc[i - f.Size()];
        for (int w = 0; w < s.outWords; ++w)
            for (Word b = c[s.inWords + w]; b; b &= b - 1)
                cols[std::size_t(w * 64 + std::countr_zero(b)) * blocks + i / 64] |= Word(1) << (i % 64);
    }
    std::map<std::vector<Word>, int> seen;
    std::vector<int> first(s.no);
    for (int j = 0; j < s.no; ++j) {
        auto col = cols.begin() + std::ptrdiff_t(j) * blocks;
        first[j] = seen.emplace(std::vector<Word>(col, col + blocks), j).first->second;
    }
    return first;
}

}  // namespace

Cover MakeSparse(const Cover& f, const Cover& dc, const Expansion& expand, const IrredundantParams& p)
{
    const Space& s = f.space();
    Cover r = f;
    std::vector<Word> part(s.words);
    {
        // Outputs whose columns agree in every cube of f and dc are one function: the test of one
        // gives the answer for all of them, and dropping them together keeps their columns alike
        // (the completeness check's table repeats one function in every output).
        std::vector<int> first = SameOutputs(r, dc);
        MeetIndex index({&r, &dc});  // outputs only go below: its answers stay supersets
        for (int i = 0; i < r.Size(); ++i) {
            Word* c = r[i];
            for (int j = 0; j < s.no; ++j) {
                if (!GetOut(s, c, j) || first[j] != j) continue;
                std::memcpy(part.data(), c, sizeof(Word) * s.words);
                for (int w = s.inWords; w < s.words; ++w) part[w] = 0;
                SetOut(s, part.data(), j, true);
                if (!CubeCovered(part.data(), index, c)) continue;
                for (int k = j; k < s.no; ++k)
                    if (first[k] == j) SetOut(s, c, k, false);
            }
        }
    }
    r.RemoveEmpty();
    r = expand(r, {.inputsOnly = true});
    // Inputs grown after outputs were lowered can leave a cube covered by the others.
    MeetIndex index({&r, &dc});
    for (int i = 0; i < r.Size(); ++i)
        if (CubeCovered(r[i], index, r[i])) return Irredundant(r, dc, p);
    return r;
}

Cover MakeSparse(const Cover& f, const Cover& dc, const Cover& off, const IrredundantParams& p)
{
    return MakeSparse(f, dc, Expansion{&off, nullptr}, p);
}

}  // namespace quorlet
