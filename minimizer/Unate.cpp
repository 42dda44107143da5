// Unate recursive paradigm: split on the most binate variable until the cover is unate,
// where the question has a direct answer.
#include "Unate.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>

namespace quorlet {
namespace {

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

thread_local FrameStack frameStack;

struct FrameLease {
    Frame& f;
    explicit FrameLease(const Space& s) : f(frameStack.Push(s)) {}
    ~FrameLease() { frameStack.Pop(); }
    FrameLease(const FrameLease&) = delete;
    FrameLease& operator=(const FrameLease&) = delete;
};

// Which variables of g are unate and which binate: one pass of word operations, no counting.
void CountLiterals(const Cover& g, VarCounts& vc)
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
void CountVars(const Cover& g, VarCounts& vc, const std::vector<Word>& vars)
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
int BestVar(const VarCounts& vc, const std::vector<Word>& vars)
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

bool AnyBit(const std::vector<Word>& m)
{
    for (Word w : m)
        if (w) return true;
    return false;
}

// The most binate variable (both literals present, most cubes, then most balanced) of g,
// whose CountLiterals is in vc; -1 when g is unate. With allowUnate, falls back to the most
// frequent literal.
int SplitVar(const Cover& g, VarCounts& vc, bool allowUnate)
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
// half holds a universal cube for that cube's outputs.
int OneLiteralVar(const Cover& g)
{
    const Space& s = g.space();
    for (int i = 0; i < g.Size(); ++i) {
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
void SplitCofactor(const Cover& g, int v, unsigned bits, Cover& r, const std::vector<int>* tag = nullptr,
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
void FilterVector(std::vector<T>& v, const std::vector<char>& keep)
{
    std::size_t k = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        if (keep[i]) v[k++] = v[i];
    v.resize(k);
}

bool AndNotInto(OutSet& u, const Space& s, const Word* c)
{
    bool any = false;
    for (int w = 0; w < s.outWords; ++w) {
        u[w] &= ~c[s.inWords + w];
        any |= u[w] != 0;
    }
    return any;
}
bool MeetsOut(const OutSet& u, const Space& s, const Word* c)
{
    for (int w = 0; w < s.outWords; ++w)
        if (u[w] & c[s.inWords + w]) return true;
    return false;
}
bool Covers(const OutSet& have, const OutSet& need)
{
    for (std::size_t w = 0; w < need.size(); ++w)
        if (need[w] & ~have[w]) return false;
    return true;
}

// Takes the outputs of u that an input-universal cube covers out of u and keeps the cubes
// that still matter, their outputs cut down to u. Returns false when u became empty.
bool Settle(Cover& g, OutSet& u, OutSet& orOut, std::vector<char>& keep)
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
bool MarkUnateCubes(const Cover& g, const VarCounts& vc, std::vector<char>& keep)
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

int FindRoot(std::vector<int>& root, int j)
{
    while (root[j] != j) j = root[j] = root[root[j]];
    return j;
}

// Groups the outputs of u into components: two outputs are in one when a chain of cubes
// holding two outputs each joins them. Returns false (root undefined) when u is one component
// (the usual case, found at once when some cube holds every output of u).
bool OutputComponents(const Cover& g, const OutSet& u, std::vector<int>& root)
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
void ComponentOutputs(const OutSet& u, std::vector<int>& root, int j, OutSet& part)
{
    std::fill(part.begin(), part.end(), 0);
    for (std::size_t w = 0; w < u.size(); ++w)
        for (Word b = u[w]; b; b &= b - 1) {
            int k = int(w) * 64 + std::countr_zero(b);
            if (FindRoot(root, k) == j) part[w] |= Word(1) << (k & 63);
        }
}

// A cube of one literal l that holds every output of u covers the half l of the space, so g
// is a tautology exactly when it is one on the half l' alone. All such literals are taken at
// once: g is cut down to the cube where each of them is false, in place. A chain of them
// (the complement of a cube of a thousand literals beside that cube) would otherwise cost a
// recursion level and a copy of g per literal. Returns true when two of them are x and x'
// (g is a tautology); false otherwise, with g cofactored (unchanged when there were none).
bool CutSingleLiterals(Cover& g, const OutSet& u, std::vector<Word>& region, std::vector<char>& keep)
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
bool PartialSingleLiterals(const Cover& g, const OutSet& u)
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
void EachOutputAlone(const Space& s, std::vector<int>& root)
{
    root.resize(s.no);
    for (int j = 0; j < s.no; ++j) root[j] = j;
}

bool TautRec(Cover& g, const OutSet& uIn, long* steps = nullptr);

// Tautology of g over u, one output component at a time: outputs that no cube joins are
// settled apart, so that a split made for one of them does not redo the others' work (wide
// functions whose outputs each see a few inputs).
bool TautByComponents(const Cover& g, const OutSet& u, std::vector<int>& root, long* steps)
{
    const Space& s = g.space();
    FrameLease lease(s);
    Frame& fr = lease.f;
    OutSet part(s.outWords);
    for (int w = 0; w < s.outWords; ++w)
        for (Word b = u[w]; b; b &= b - 1) {
            int j = w * 64 + std::countr_zero(b);
            if (FindRoot(root, j) != j) continue;
            ComponentOutputs(u, root, j, part);
            fr.cof.Clear();
            for (int i = 0; i < g.Size(); ++i)
                if (MeetsOut(part, s, g[i])) fr.cof.Add(g[i]);
            if (!TautRec(fr.cof, part, steps)) return false;
        }
    return true;
}

// steps (optional): calls left; once they run out every call answers true, so a false answer
// is always proven.
bool TautRec(Cover& g, const OutSet& uIn, long* steps)
{
    if (steps && --*steps < 0) return true;
    FrameLease lease(g.space());
    Frame& fr = lease.f;
    fr.u = uIn;
    for (;;) {
        if (!Settle(g, fr.u, fr.orOut, fr.keep)) return true;
        if (!Covers(fr.orOut, fr.u)) return false;
        const int before = g.Size();
        if (!steps && CutSingleLiterals(g, fr.u, fr.in, fr.keep)) return true;
        if (g.Size() != before) continue;  // the literals' own cubes are gone; settle again
        CountLiterals(g, fr.vc);
        // A cover unate in x is a tautology exactly when the cubes free of x form one.
        if (!MarkUnateCubes(g, fr.vc, fr.keep)) break;
        g.Filter(fr.keep);
    }
    if (OutputComponents(g, fr.u, fr.root)) return TautByComponents(g, fr.u, fr.root, steps);
    if (!steps && PartialSingleLiterals(g, fr.u)) {
        EachOutputAlone(g.space(), fr.root);
        return TautByComponents(g, fr.u, fr.root, steps);
    }
    int v = SplitVar(g, fr.vc, false);
    if (v < 0) return false;  // no cubes left that could cover u
    SplitCofactor(g, v, 2, fr.cof);
    if (!TautRec(fr.cof, fr.u, steps)) return false;
    SplitCofactor(g, v, 1, fr.cof);
    return TautRec(fr.cof, fr.u, steps);
}

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

// Smallest cube containing the complement of g (outputs limited to u), inside the current
// cofactor space. Returns false when that complement is empty.
bool SccRec(Cover& g, const OutSet& uIn, Word* r)
{
    const Space& s = g.space();
    FrameLease lease(s);
    Frame& fr = lease.f;
    OutSet& u = fr.u;
    u = uIn;
    if (!Settle(g, u, fr.orOut, fr.keep)) return false;
    OutSet& open = fr.open;
    open.resize(s.outWords);
    bool anyOpen = false;
    for (int w = 0; w < s.outWords; ++w) {
        open[w] = u[w] & ~fr.orOut[w];
        anyOpen |= open[w] != 0;
    }
    if (anyOpen) {
        // Outputs no cube mentions are open everywhere: the input part is the whole space and
        // only the other outputs remain to be decided.
        OutSet& rest = fr.rest;
        rest.resize(s.outWords);
        bool anyRest = false;
        for (int w = 0; w < s.outWords; ++w) {
            rest[w] = u[w] & ~open[w];
            anyRest |= rest[w] != 0;
        }
        std::vector<Word>& sub = fr.r1;
        sub.assign(s.words, 0);
        if (anyRest && SccRec(g, rest, sub.data()))
            for (int w = 0; w < s.outWords; ++w) open[w] |= sub[s.inWords + w];
        MakeInputUniverse(s, r);
        for (int w = 0; w < s.outWords; ++w) r[s.inWords + w] = open[w];
        return true;
    }
    {
        // Single literals holding every output confine the complement to the cube where they
        // are all false, and inside it the complement no longer depends on their variables.
        const int before = g.Size();
        if (CutSingleLiterals(g, u, fr.in, fr.keep)) return false;
        if (g.Size() != before) {
            std::vector<Word> region = fr.in;
            if (!SccRec(g, u, r)) return false;
            for (int w = 0; w < s.inWords; ++w) r[w] &= region[w];
            return true;
        }
    }
    bool byOutputs = OutputComponents(g, u, fr.root);
    if (!byOutputs && PartialSingleLiterals(g, u)) {
        // Any grouping of the outputs will do; one output at a time, the cuts above apply.
        EachOutputAlone(s, fr.root);
        byOutputs = true;
    }
    if (byOutputs) {
        // The complement is the union of those of the output components, each over its own
        // outputs: its smallest cube is the join of theirs.
        OutSet part(s.outWords);
        std::vector<Word> sub(s.words);
        bool any = false;
        std::fill(r, r + s.words, 0);
        for (int w = 0; w < s.outWords; ++w)
            for (Word b = u[w]; b; b &= b - 1) {
                int j = w * 64 + std::countr_zero(b);
                if (FindRoot(fr.root, j) != j) continue;
                ComponentOutputs(u, fr.root, j, part);
                fr.cof.Clear();
                for (int i = 0; i < g.Size(); ++i)
                    if (MeetsOut(part, s, g[i])) fr.cof.Add(g[i]);
                if (!SccRec(fr.cof, part, sub.data())) continue;
                any = true;
                for (int k = 0; k < s.words; ++k) r[k] |= sub[k];
            }
        return any;
    }
    if (g.Size() == 1) {
        const Word* c = g[0];
        MakeInputUniverse(s, r);
        if (InputLiterals(s, c) == 1)
            for (int v = 0; v < s.ni; ++v)
                if (unsigned b = GetVar(c, v); b != 3) SetVar(r, v, 3u & ~b);
        for (int w = 0; w < s.outWords; ++w) r[s.inWords + w] = u[w];
        return true;
    }
    CountLiterals(g, fr.vc);
    if (!AnyBit(fr.vc.binate)) {
        // Unate leaf, no cube input-universal (Settle took those out): for each output the point
        // that falsifies every literal lies outside, and so does each point one literal away from
        // it unless that literal alone is a cube. Only single-literal cubes fix a variable.
        MakeInputUniverse(s, r);
        std::vector<int>& single = fr.single;
        single.clear();
        for (int i = 0; i < g.Size(); ++i)
            if (InputLiterals(s, g[i]) == 1) single.push_back(i);
        if (!single.empty()) {
            // The result is the union over the outputs of u: a variable stays fixed only when
            // every output has it fixed the same way.
            std::vector<Word>& in = fr.in;
            std::vector<Word>& cj = fr.cj;
            in.assign(s.inWords, 0);
            cj.resize(s.inWords);
            for (int j = 0; j < s.no; ++j) {
                if (!((u[j >> 6] >> (j & 63)) & 1)) continue;
                for (int w = 0; w < s.inWords; ++w) cj[w] = s.InMask(w);
                for (int i : single) {
                    if (!GetOut(s, g[i], j)) continue;
                    for (int w = 0; w < s.inWords; ++w) {
                        Word lv = LiteralVars(g[i][w], s.InMask(w));
                        cj[w] &= ~(g[i][w] & (lv | (lv << 1)));
                    }
                }
                for (int w = 0; w < s.inWords; ++w) in[w] |= cj[w];
            }
            for (int w = 0; w < s.inWords; ++w) r[w] = in[w];
        }
        for (int w = 0; w < s.outWords; ++w) r[s.inWords + w] = u[w];
        return true;
    }
    // A cube of one literal ends one half at once for its outputs (a constant output that every
    // cube carries, x + x', would otherwise be split apart variable by variable).
    int v = OneLiteralVar(g);
    if (v < 0) v = SplitVar(g, fr.vc, false);
    std::vector<Word>& r1 = fr.r1;
    std::vector<Word>& r0 = fr.r0;
    r1.assign(s.words, 0);
    r0.assign(s.words, 0);
    SplitCofactor(g, v, 2, fr.cof);
    bool h1 = SccRec(fr.cof, u, r1.data());
    SplitCofactor(g, v, 1, fr.cof);
    bool h0 = SccRec(fr.cof, u, r0.data());
    if (!h1 && !h0) return false;
    if (h1) SetVar(r1.data(), v, 2);
    if (h0) SetVar(r0.data(), v, 1);
    for (int w = 0; w < s.words; ++w) r[w] = (h1 ? r1[w] : 0) | (h0 ? r0[w] : 0);
    return true;
}

void RowsRec(Cover& g, std::vector<int>& tag, const OutSet& uIn, std::vector<std::vector<int>>& rows, bool& ok)
{
    const Space& s = g.space();
    FrameLease lease(s);
    Frame& fr = lease.f;
    OutSet& u = fr.u;
    u = uIn;
    std::vector<char>& keep = fr.keep;
    auto apply = [&] {
        FilterVector(tag, keep);
        g.Filter(keep);
    };
    for (;;) {
        // Outputs covered by an always-present universal cube need nothing.
        for (int i = 0; i < g.Size(); ++i)
            if (tag[i] < 0 && IsInputUniverse(s, g[i]) && !AndNotInto(u, s, g[i])) return;
        keep.resize(g.Size());
        for (int i = 0; i < g.Size(); ++i) {
            Word* c = g[i];
            keep[i] = !(tag[i] < 0 && IsInputUniverse(s, c)) && MeetsOut(u, s, c);
            if (keep[i])
                for (int w = 0; w < s.outWords; ++w) c[s.inWords + w] &= u[w];
        }
        apply();
        CountLiterals(g, fr.vc);
        if (!MarkUnateCubes(g, fr.vc, keep)) break;
        apply();
    }
    int v = SplitVar(g, fr.vc, false);
    if (v < 0) {
        // Unate leaf: only universal selectable cubes are left; each output needs one of them.
        std::vector<std::vector<int>> leaf;
        for (int j = 0; j < s.no; ++j) {
            if (!((u[j >> 6] >> (j & 63)) & 1)) continue;
            std::vector<int> row;
            for (int i = 0; i < g.Size(); ++i)
                if (GetOut(s, g[i], j)) row.push_back(tag[i]);
            if (row.empty()) {
                ok = false;
                return;
            }
            std::sort(row.begin(), row.end());
            row.erase(std::unique(row.begin(), row.end()), row.end());
            leaf.push_back(std::move(row));
        }
        std::sort(leaf.begin(), leaf.end());
        leaf.erase(std::unique(leaf.begin(), leaf.end()), leaf.end());
        for (auto& row : leaf) rows.push_back(std::move(row));
        return;
    }
    SplitCofactor(g, v, 2, fr.cof, &tag, &fr.tag);
    RowsRec(fr.cof, fr.tag, u, rows, ok);
    if (!ok) return;
    SplitCofactor(g, v, 1, fr.cof, &tag, &fr.tag);
    RowsRec(fr.cof, fr.tag, u, rows, ok);
}

}  // namespace

OutSet OutputsOf(const Space& s, const Word* c) { return OutSet(c + s.inWords, c + s.words); }
bool OutSetEmpty(const OutSet& u)
{
    for (Word w : u)
        if (w) return false;
    return true;
}

bool Tautology(Cover g, OutSet u)
{
    if (OutSetEmpty(u)) return true;
    return TautRec(g, u);
}
bool Tautology(const Cover& g)
{
    std::vector<Word> all(g.space().words);
    MakeUniverse(g.space(), all.data());
    return Tautology(g, OutputsOf(g.space(), all.data()));
}

namespace {
void CofactorInto(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip, Cover& r)
{
    const Space& s = r.space();
    for (const Cover* f : covers)
        for (int i = 0; i < f->Size(); ++i) {
            const Word* d = (*f)[i];
            if (d != skip && Intersects(s, d, c)) Cofactor(s, d, c, r.AddZero());
        }
}
}  // namespace

MeetIndex::MeetIndex(std::initializer_list<const Cover*> covers) : covers_(covers)
{
    s_ = covers_.front()->space();
    for (const Cover* f : covers_) {
        start_.push_back(n_);
        n_ += f->Size();
    }
    start_.push_back(n_);
    blocks_ = (n_ + 63) / 64;
    has_.assign(std::size_t(2) * s_.ni * blocks_, 0);
    out_.assign(std::size_t(s_.no) * blocks_, 0);
    valid_.assign(blocks_, ~Word(0));
    if (n_ & 63) valid_[blocks_ - 1] = (Word(1) << (n_ & 63)) - 1;
    // Every cube starts out holding every input bit and loses those it lacks: the work is that
    // of its literals, not of the width (wide cubes are mostly free variables).
    for (int b = 0; b < 2 * s_.ni; ++b) std::copy(valid_.begin(), valid_.end(), has_.begin() + std::size_t(b) * blocks_);
    int i = 0;
    for (const Cover* f : covers_)
        for (int k = 0; k < f->Size(); ++k, ++i) {
            const Word* c = (*f)[k];
            const Word bit = Word(1) << (i & 63);
            const int blk = i >> 6;
            for (int w = 0; w < s_.inWords; ++w)
                for (Word b = ~c[w] & s_.InMask(w); b; b &= b - 1)
                    has_[std::size_t(w * 64 + std::countr_zero(b)) * blocks_ + blk] &= ~bit;
            for (int w = 0; w < s_.outWords; ++w)
                for (Word b = c[s_.inWords + w]; b; b &= b - 1)
                    out_[std::size_t(w * 64 + std::countr_zero(b)) * blocks_ + blk] |= bit;
        }
}

int MeetIndex::CoverOf(int i) const
{
    return int(std::upper_bound(start_.begin(), start_.end(), i) - start_.begin()) - 1;
}

template <class F>
void MeetIndex::ForEachLiteralColumn(const Word* c, F f) const
{
    for (int w = 0; w < s_.inWords; ++w) {
        Word lv = LiteralVars(c[w], s_.InMask(w));
        for (Word b = c[w] & (lv | (lv << 1)); b; b &= b - 1)
            // data() + offset: with no cubes indexed the columns are empty and has_ may hold nothing.
            f(has_.data() + std::size_t(w * 64 + std::countr_zero(b)) * blocks_);
    }
}

void MeetIndex::SharingOutputs(const Word* c, std::vector<Word>& outs) const
{
    outs.assign(blocks_, 0);
    for (int w = 0; w < s_.outWords; ++w)
        for (Word b = c[s_.inWords + w]; b; b &= b - 1) {
            const Word* col = out_.data() + std::size_t(w * 64 + std::countr_zero(b)) * blocks_;
            for (int k = 0; k < blocks_; ++k) outs[k] |= col[k];
        }
}

bool MeetIndex::GatherSharedOutputs(const Word* c, std::vector<Word>& outs) const
{
    // Past a few outputs OR-ing their columns costs more than the cubes it rules out.
    int n = 0;
    for (int w = s_.inWords; w < s_.words; ++w) n += std::popcount(c[w]);
    if (n > 16) return false;
    SharingOutputs(c, outs);
    return true;
}

namespace {
// Per-thread bit sets for the index's answers.
struct MeetBits {
    std::vector<Word> acc, twos, outs;
};
thread_local MeetBits meetBits;
}  // namespace

void MeetIndex::Meeting(const Word* c, std::vector<int>& out) const
{
    MeetBits& m = meetBits;
    m.acc = valid_;
    ForEachLiteralColumn(c, [&](const Word* col) {
        for (int k = 0; k < blocks_; ++k) m.acc[k] &= col[k];
    });
    if (GatherSharedOutputs(c, m.outs))
        for (int k = 0; k < blocks_; ++k) m.acc[k] &= m.outs[k];
    Collect(m.acc, out);
}

void MeetIndex::Near(const Word* c, std::vector<int>& out) const
{
    // ones (in acc): a conflict seen; twos: two or more.
    MeetBits& m = meetBits;
    m.acc.assign(blocks_, 0);
    m.twos.assign(blocks_, 0);
    ForEachLiteralColumn(c, [&](const Word* col) {
        for (int k = 0; k < blocks_; ++k) {
            Word x = ~col[k];
            m.twos[k] |= m.acc[k] & x;
            m.acc[k] |= x;
        }
    });
    if (GatherSharedOutputs(c, m.outs))
        for (int k = 0; k < blocks_; ++k) m.twos[k] |= m.acc[k] & ~m.outs[k];
    for (int k = 0; k < blocks_; ++k) m.acc[k] = ~m.twos[k] & valid_[k];
    Collect(m.acc, out);
}

void MeetIndex::Collect(const std::vector<Word>& found, std::vector<int>& out) const
{
    out.clear();
    for (int k = 0; k < blocks_; ++k)
        for (Word b = found[k]; b; b &= b - 1) out.push_back(k * 64 + std::countr_zero(b));
}

namespace {
thread_local std::vector<int> meetScratch;

void CofactorInto(const Word* c, const MeetIndex& index, const Word* skip, Cover& r)
{
    const Space& s = r.space();
    index.Meeting(c, meetScratch);
    for (int i : meetScratch) {
        const Word* d = index.At(i);
        if (d != skip && Intersects(s, d, c)) Cofactor(s, d, c, r.AddZero());
    }
}
}  // namespace

Cover CofactorOf(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip)
{
    Cover r((*covers.begin())->space());
    CofactorInto(c, covers, skip, r);
    return r;
}

namespace {
// Source: a list of covers, or an index over them.
// steps (optional): as for TautRec.
template <class Source>
bool Covered(const Space& s, const Word* c, const Source& source, const Word* skip, long* steps = nullptr)
{
    FrameLease top(s);
    CofactorInto(c, source, skip, top.f.cof);
    top.f.u.assign(c + s.inWords, c + s.words);
    if (OutSetEmpty(top.f.u)) return true;
    return TautRec(top.f.cof, top.f.u, steps);
}

template <class Source>
bool Reduced(const Space& s, const Word* c, const Source& source, const Word* skip, Word* out)
{
    FrameLease top(s);
    Frame& fr = top.f;
    CofactorInto(c, source, skip, fr.cof);
    fr.u.assign(c + s.inWords, c + s.words);
    fr.r0.assign(s.words, 0);
    if (!SccRec(fr.cof, fr.u, fr.r0.data())) return false;
    for (int w = 0; w < s.words; ++w) out[w] = c[w] & fr.r0[w];
    return true;
}
}  // namespace

bool CubeCovered(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip)
{
    return Covered((*covers.begin())->space(), c, covers, skip);
}

bool CubeCovered(const Word* c, const MeetIndex& index, const Word* skip)
{
    return Covered(index.space(), c, index, skip);
}

bool CubeMaybeCovered(const Word* c, const Cover& f, long steps)
{
    return Covered(f.space(), c, std::initializer_list<const Cover*>{&f}, nullptr, &steps);
}

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
    std::map<std::vector<int>, std::vector<int>> groups;
    for (int j = 0; j < s.no; ++j) {
        std::vector<int> ids;
        for (int i = 0; i < f.Size(); ++i)
            if (GetOut(s, f[i], j)) ids.push_back(i);
        groups[ids].push_back(j);
    }
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

bool ReduceCube(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip, Word* out)
{
    return Reduced((*covers.begin())->space(), c, covers, skip, out);
}

bool ReduceCube(const Word* c, const MeetIndex& index, const Word* skip, Word* out)
{
    return Reduced(index.space(), c, index, skip, out);
}

bool CoveringRows(Cover g, std::vector<int> tag, OutSet u, std::vector<std::vector<int>>& rows)
{
    bool ok = true;
    if (OutSetEmpty(u)) return true;
    RowsRec(g, tag, u, rows, ok);
    return ok;
}

}  // namespace quorlet
