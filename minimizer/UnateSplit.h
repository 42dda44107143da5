// What the unate recursions (tautology, complement, smallest containing cube, covering rows)
// share: per-level scratch kept per thread, the choice of the splitting variable, the split
// itself, and the cofactor of a cube against some covers. Used only inside the minimizer.
#pragma once

#include <algorithm>
#include <bit>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

#include "MeetIndex.h"
#include "Unate.h"

namespace quorlet::unate {

struct VarCounts {
    std::vector<int> zeros, ones;  // cubes holding the literal x' (zeros) or x (ones); kept up
                                   // to date only for the variables SplitVar looks at
    std::vector<Word> unate;       // per input word, the variables (even bit) in which the
                                   // cover is unate, one literal seen but not the other
    std::vector<Word> binate;      // ... and those with both literals
    std::vector<Word> seenOne;     // scratch: variables with a one literal
};

// Scratch space of one recursion level. Its buffers keep their capacity from call to call, so
// the recursions allocate only when they reach a new depth or a larger cover than before.
struct Frame {
    Cover cof;             // the cofactor handed to the next level
    std::vector<int> tag;  // its tags (covering rows)
    VarCounts vc;
    std::vector<char> keep;
    OutSet u, orOut, open, rest;
    std::vector<Word> r1, r0, in, cj;
    std::vector<int> single;
    std::vector<const Word*> p1, p0;  // the complement's halves, sorted
    std::vector<int> root;            // output components: union-find over the outputs
};

class FrameStack {
public:
    Frame& Push(const Space& s)
    {
        if (top_ == frames_.size()) frames_.push_back(std::make_unique<Frame>());
        Frame& f = *frames_[top_++];
        if (f.cof.space() == s) f.cof.Clear();
        else f.cof = Cover(s);
        return f;
    }
    void Pop()
    {
        // A huge cofactor at the outermost level (a big complement) should not stay reserved
        // for the rest of the run.
        if (--top_ == 0 && frames_[0]->cof.CapacityWords() > kKeepWords) frames_[0]->cof = Cover();
    }

private:
    static constexpr std::size_t kKeepWords = std::size_t(1) << 20;
    std::vector<std::unique_ptr<Frame>> frames_;
    std::size_t top_ = 0;
};

inline thread_local FrameStack frameStack;

struct FrameLease {
    Frame& f;
    explicit FrameLease(const Space& s) : f(frameStack.Push(s)) {}
    ~FrameLease() { frameStack.Pop(); }
    FrameLease(const FrameLease&) = delete;
    FrameLease& operator=(const FrameLease&) = delete;
};

// Which variables of g are unate and which binate: one pass of word operations, no counting.
inline void CountLiterals(const Cover& g, VarCounts& vc)
{
    const Space& s = g.space();
    vc.unate.assign(s.inWords, 0);  // variables with a zero literal, until the end
    vc.seenOne.assign(s.inWords, 0);
    vc.binate.resize(s.inWords);
    for (int i = 0; i < g.Size(); ++i) {
        const Word* c = g[i];
        for (int w = 0; w < s.inWords; ++w) {
            Word x = c[w];
            vc.unate[w] |= x & ~(x >> 1);
            vc.seenOne[w] |= (x >> 1) & ~x;
        }
    }
    for (int w = 0; w < s.inWords; ++w) {
        Word m = kEven & s.InMask(w);
        vc.unate[w] &= m;
        vc.seenOne[w] &= m;
        vc.binate[w] = vc.unate[w] & vc.seenOne[w];
        vc.unate[w] ^= vc.seenOne[w];
    }
}

// Literal counts of the variables in vars (even bits, per input word).
inline void CountVars(const Cover& g, VarCounts& vc, const std::vector<Word>& vars)
{
    const Space& s = g.space();
    vc.zeros.resize(s.ni);
    vc.ones.resize(s.ni);
    for (int w = 0; w < s.inWords; ++w)
        for (Word b = vars[w]; b; b &= b - 1) {
            int v = w * 32 + std::countr_zero(b) / 2;
            vc.zeros[v] = vc.ones[v] = 0;
        }
    for (int i = 0; i < g.Size(); ++i) {
        const Word* c = g[i];
        for (int w = 0; w < s.inWords; ++w) {
            Word x = c[w];
            Word z = x & ~(x >> 1) & vars[w];
            Word o = (x >> 1) & ~x & vars[w];
            while (z) {
                vc.zeros[w * 32 + std::countr_zero(z) / 2]++;
                z &= z - 1;
            }
            while (o) {
                vc.ones[w * 32 + std::countr_zero(o) / 2]++;
                o &= o - 1;
            }
        }
    }
}

// The variable of vars in most cubes, then most balanced; the first on a tie.
inline int BestVar(const VarCounts& vc, const std::vector<Word>& vars)
{
    int best = -1, bestSum = 0, bestBal = 0;
    for (std::size_t w = 0; w < vars.size(); ++w)
        for (Word b = vars[w]; b; b &= b - 1) {
            int v = int(w) * 32 + std::countr_zero(b) / 2;
            int z = vc.zeros[v], o = vc.ones[v];
            int sum = z + o, bal = -std::abs(z - o);
            if (best < 0 || sum > bestSum || (sum == bestSum && bal > bestBal)) {
                best = v;
                bestSum = sum;
                bestBal = bal;
            }
        }
    return best;
}

inline bool AnyBit(const std::vector<Word>& m)
{
    for (Word w : m)
        if (w) return true;
    return false;
}

// The most binate variable (both literals present, most cubes, then most balanced) of g,
// whose CountLiterals is in vc; -1 when g is unate. With allowUnate, falls back to the most
// frequent literal.
inline int SplitVar(const Cover& g, VarCounts& vc, bool allowUnate)
{
    if (AnyBit(vc.binate)) {
        CountVars(g, vc, vc.binate);
        return BestVar(vc, vc.binate);
    }
    if (!allowUnate || !AnyBit(vc.unate)) return -1;
    CountVars(g, vc, vc.unate);
    return BestVar(vc, vc.unate);
}

// The variable of the first cube of g that holds a single literal, or -1. Split on it, one
// half holds a universal cube for that cube's outputs. With tag, only cubes tagged -1 (always
// present) count.
inline int OneLiteralVar(const Cover& g, const std::vector<int>* tag = nullptr)
{
    const Space& s = g.space();
    for (int i = 0; i < g.Size(); ++i) {
        if (tag && (*tag)[i] >= 0) continue;
        int v = -1, n = 0;
        for (int w = 0; w < s.inWords && n < 2; ++w)
            if (Word lv = LiteralVars(g[i][w], s.InMask(w))) {
                n += std::popcount(lv);
                v = w * 32 + std::countr_zero(lv) / 2;
            }
        if (n == 1) return v;
    }
    return -1;
}

// Into r: the cubes of g that allow value `bits` (1: x = 0, 2: x = 1) of v, with v freed.
inline void SplitCofactor(const Cover& g, int v, unsigned bits, Cover& r, const std::vector<int>* tag = nullptr,
                          std::vector<int>* tagOut = nullptr)
{
    r.Clear();
    if (tagOut) tagOut->clear();
    const int wv = VarWord(v), sv = VarShift(v);
    const Word both = Word(3) << sv;
    for (int i = 0; i < g.Size(); ++i) {
        const Word* c = g[i];
        if (!((c[wv] >> sv) & bits)) continue;
        r.Add(c);
        r[r.Size() - 1][wv] |= both;
        if (tag) tagOut->push_back((*tag)[i]);
    }
}

// Keeps the entries of v whose keep flag is set, in order.
template <class T>
inline void FilterVector(std::vector<T>& v, const std::vector<char>& keep)
{
    std::size_t k = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        if (keep[i]) v[k++] = v[i];
    v.resize(k);
}

inline bool AndNotInto(OutSet& u, const Space& s, const Word* c)
{
    bool any = false;
    for (int w = 0; w < s.outWords; ++w) {
        u[w] &= ~c[s.inWords + w];
        any |= u[w] != 0;
    }
    return any;
}
inline bool MeetsOut(const OutSet& u, const Space& s, const Word* c)
{
    for (int w = 0; w < s.outWords; ++w)
        if (u[w] & c[s.inWords + w]) return true;
    return false;
}
inline bool Covers(const OutSet& have, const OutSet& need)
{
    for (std::size_t w = 0; w < need.size(); ++w)
        if (need[w] & ~have[w]) return false;
    return true;
}

// Takes the outputs of u that an input-universal cube covers out of u and keeps the cubes
// that still matter, their outputs cut down to u. Returns false when u became empty.
inline bool Settle(Cover& g, OutSet& u, OutSet& orOut, std::vector<char>& keep)
{
    const Space& s = g.space();
    const int n = g.Size();
    keep.resize(n);
    for (int i = 0; i < n; ++i) {
        keep[i] = !IsInputUniverse(s, g[i]);
        if (!keep[i] && !AndNotInto(u, s, g[i])) return false;
    }
    orOut.assign(s.outWords, 0);
    int k = 0;
    for (int i = 0; i < n; ++i) {
        if (!keep[i]) continue;
        Word* c = g[i];
        if (!MeetsOut(u, s, c)) continue;
        Word* d = g[k++];
        if (d != c) std::memcpy(d, c, sizeof(Word) * s.words);
        for (int w = 0; w < s.outWords; ++w) {
            d[s.inWords + w] &= u[w];
            orOut[w] |= d[s.inWords + w];
        }
    }
    if (k != n) g.Truncate(k);
    return true;
}

// Clears in keep the cubes holding a literal of a variable in which g is unate. Returns
// whether any was cleared.
inline bool MarkUnateCubes(const Cover& g, const VarCounts& vc, std::vector<char>& keep)
{
    const Space& s = g.space();
    keep.assign(g.Size(), 1);
    bool anyUnate = false;
    for (Word u : vc.unate) anyUnate |= u != 0;
    if (!anyUnate) return false;
    bool any = false;
    for (int i = 0; i < g.Size(); ++i) {
        const Word* c = g[i];
        for (int w = 0; w < s.inWords; ++w)
            if (LiteralVars(c[w], s.InMask(w)) & vc.unate[w]) {
                keep[i] = 0;
                any = true;
                break;
            }
    }
    return any;
}

inline int FindRoot(std::vector<int>& root, int j)
{
    while (root[j] != j) j = root[j] = root[root[j]];
    return j;
}

// Groups the outputs of u into components: two outputs are in one when a chain of cubes
// holding two outputs each joins them. Returns false (root undefined) when u is one component
// (the usual case, found at once when some cube holds every output of u).
inline bool OutputComponents(const Cover& g, const OutSet& u, std::vector<int>& root)
{
    const Space& s = g.space();
    int outs = 0;
    for (Word w : u) outs += std::popcount(w);
    if (outs < 2) return false;
    for (int i = 0; i < g.Size(); ++i) {
        bool all = true;
        for (int w = 0; w < s.outWords && all; ++w) all = (u[w] & ~g[i][s.inWords + w]) == 0;
        if (all) return false;
    }
    root.resize(s.no);
    for (int j = 0; j < s.no; ++j) root[j] = j;
    int parts = outs;
    for (int i = 0; i < g.Size(); ++i) {
        const Word* c = g[i] + s.inWords;
        int first = -1;
        for (int w = 0; w < s.outWords; ++w)
            for (Word b = c[w]; b; b &= b - 1) {
                int j = FindRoot(root, w * 64 + std::countr_zero(b));
                if (first < 0) {
                    first = j;
                    continue;
                }
                if (j != first) {
                    root[j] = first;
                    --parts;
                }
            }
        if (parts == 1) return false;
    }
    return true;
}

// Into part: the outputs of u in the component whose root is j.
inline void ComponentOutputs(const OutSet& u, std::vector<int>& root, int j, OutSet& part)
{
    std::fill(part.begin(), part.end(), 0);
    for (std::size_t w = 0; w < u.size(); ++w)
        for (Word b = u[w]; b; b &= b - 1) {
            int k = int(w) * 64 + std::countr_zero(b);
            if (FindRoot(root, k) == j) part[w] |= Word(1) << (k & 63);
        }
}

// Into r: the cubes of the covers (all but the one at address skip) that meet c, cofactored
// against c.
inline void CofactorInto(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip, Cover& r)
{
    const Space& s = r.space();
    for (const Cover* f : covers)
        for (int i = 0; i < f->Size(); ++i) {
            const Word* d = (*f)[i];
            if (d != skip && Intersects(s, d, c)) Cofactor(s, d, c, r.AddZero());
        }
}

inline thread_local std::vector<int> meetScratch;

inline void CofactorInto(const Word* c, const MeetIndex& index, const Word* skip, Cover& r)
{
    const Space& s = r.space();
    index.Meeting(c, meetScratch);
    for (int i : meetScratch) {
        const Word* d = index.At(i);
        if (d != skip && Intersects(s, d, c)) Cofactor(s, d, c, r.AddZero());
    }
}

// A cube of one literal l that holds every output of u covers the half l of the space, so g
// is a tautology exactly when it is one on the half l' alone. All such literals are taken at
// once: g is cut down to the cube where each of them is false, in place. A chain of them
// (the complement of a cube of a thousand literals beside that cube) would otherwise cost a
// recursion level and a copy of g per literal. Returns true when two of them are x and x'
// (g is a tautology); false otherwise, with g cofactored (unchanged when there were none).
inline bool CutSingleLiterals(Cover& g, const OutSet& u, std::vector<Word>& region, std::vector<char>& keep)
{
    const Space& s = g.space();
    bool any = false;
    for (int i = 0; i < g.Size(); ++i) {
        const Word* c = g[i];
        int lits = 0, w1 = -1;
        for (int w = 0; w < s.inWords && lits < 2; ++w)
            if (Word lv = LiteralVars(c[w], s.InMask(w))) {
                lits += std::popcount(lv);
                w1 = w;
            }
        if (lits != 1) continue;
        bool allOutputs = true;
        for (int w = 0; w < s.outWords && allOutputs; ++w) allOutputs = (u[w] & ~c[s.inWords + w]) == 0;
        if (!allOutputs) continue;
        if (!any) {
            region.resize(s.inWords);
            for (int w = 0; w < s.inWords; ++w) region[w] = s.InMask(w);
            any = true;
        }
        Word lv = LiteralVars(c[w1], s.InMask(w1));
        Word var = lv | (lv << 1);
        // The region keeps the values of the variable that the literal leaves out.
        region[w1] &= ~var | (~c[w1] & var);
        if (!((region[w1] | (region[w1] >> 1)) & lv)) return true;
    }
    if (!any) return false;
    keep.resize(g.Size());
    for (int i = 0; i < g.Size(); ++i) {
        Word* c = g[i];
        keep[i] = 1;
        for (int w = 0; w < s.inWords && keep[i]; ++w)
            if (EmptyVars(c[w] & region[w], s.InMask(w))) keep[i] = 0;
        if (keep[i])
            for (int w = 0; w < s.inWords; ++w) c[w] |= ~region[w] & s.InMask(w);
    }
    g.Filter(keep);
    return false;
}

// Is there a cube of one literal that holds some outputs of u but not all (cubes cut down to
// u)? Such literals cannot be cut for u as a whole, but can for each output alone.
inline bool PartialSingleLiterals(const Cover& g, const OutSet& u)
{
    const Space& s = g.space();
    for (int i = 0; i < g.Size(); ++i) {
        const Word* c = g[i];
        int lits = 0;
        for (int w = 0; w < s.inWords && lits < 2; ++w) lits += std::popcount(LiteralVars(c[w], s.InMask(w)));
        if (lits != 1) continue;
        for (int w = 0; w < s.outWords; ++w)
            if (u[w] & ~c[s.inWords + w]) return true;
    }
    return false;
}

// Each output of u its own component.
inline void EachOutputAlone(const Space& s, std::vector<int>& root)
{
    root.resize(s.no);
    for (int j = 0; j < s.no; ++j) root[j] = j;
}

// Tautology of g over the outputs u (Tautology.cpp). steps (optional): calls left; once they
// run out every call answers true, so a false answer is always proven.
bool TautRec(Cover& g, const OutSet& uIn, long* steps = nullptr);

}  // namespace quorlet::unate
