// The smallest cube containing what is left of a cube once some covers are taken away: the
// step reduce and last gasp make on each cube.
#include "Unate.h"

#include <bit>
#include <vector>

#include "UnateSplit.h"

namespace quorlet {
namespace {
using namespace unate;

// What one search for a smallest cube has found so far, in the coordinates of its first call:
// a part of the space whose points could add nothing to it need not be searched. A cube that
// reduce leaves as it is has its smallest cube found after a few pieces, long before the
// recursion has visited every region of the others' complement.
struct SccReach {
    std::vector<Word> found;  // join of the pieces found (all zero: none yet)
    std::vector<Word> path;   // input part: the literals of the splits that led here, free elsewhere
    std::vector<Word> bound;  // scratch
};

bool SccNode(Cover& g, const OutSet& uIn, Word* r, SccReach& reach);

// Smallest cube containing the complement of g (outputs limited to u), inside the current
// cofactor space, joined into reach.found with the literals of the path. Returns false when
// the complement is empty, or when all of it lies inside what reach.found already holds (r is
// then undefined).
bool SccRec(Cover& g, const OutSet& uIn, Word* r, SccReach& reach)
{
    if (!SccNode(g, uIn, r, reach)) return false;
    const Space& s = g.space();
    for (int w = 0; w < s.inWords; ++w) reach.found[w] |= r[w] & reach.path[w];
    for (int w = s.inWords; w < s.words; ++w) reach.found[w] |= r[w];
    return true;
}

// Whether the complement of g over u (after Settle) lies inside reach.found: the cube it must
// lie in is the path, less the values single-literal cubes covering all of u take away.
bool NothingToAdd(const Cover& g, const OutSet& u, SccReach& reach)
{
    const Space& s = g.space();
    for (int w = 0; w < s.outWords; ++w)
        if (u[w] & ~reach.found[s.inWords + w]) return false;
    std::vector<Word>& b = reach.bound;
    b.assign(reach.path.begin(), reach.path.end());
    for (int i = 0; i < g.Size(); ++i) {
        const Word* c = g[i];
        bool allOuts = true;
        for (int w = 0; w < s.outWords && allOuts; ++w) allOuts = (u[w] & ~c[s.inWords + w]) == 0;
        if (!allOuts) continue;
        int n = 0, lw = 0;
        Word lv = 0;
        for (int w = 0; w < s.inWords && n < 2; ++w)
            if (Word x = LiteralVars(c[w], s.InMask(w))) {
                n += std::popcount(x);
                lw = w;
                lv = x;
            }
        if (n != 1) continue;
        b[lw] &= ~(c[lw] & (lv | (lv << 1)));  // the value the cube covers is not in the complement
        if (EmptyVars(b[lw], s.InMask(lw))) return true;  // x and x': no complement at all
    }
    for (int w = 0; w < s.inWords; ++w)
        if (b[w] & ~reach.found[w]) return false;
    return true;
}

bool SccNode(Cover& g, const OutSet& uIn, Word* r, SccReach& reach)
{
    const Space& s = g.space();
    FrameLease lease(s);
    Frame& fr = lease.f;
    OutSet& u = fr.u;
    u = uIn;
    if (!Settle(g, u, fr.orOut, fr.keep)) return false;
    if (NothingToAdd(g, u, reach)) return false;
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
        if (anyRest && SccRec(g, rest, sub.data(), reach))
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
            std::vector<Word> region = fr.in, path = reach.path;
            for (int w = 0; w < s.inWords; ++w) reach.path[w] &= region[w];
            const bool any = SccRec(g, u, r, reach);
            reach.path.swap(path);
            if (!any) return false;
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
                if (!SccRec(fr.cof, part, sub.data(), reach)) continue;
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
    SetVar(reach.path.data(), v, 2);
    bool h1 = SccRec(fr.cof, u, r1.data(), reach);
    SplitCofactor(g, v, 1, fr.cof);
    SetVar(reach.path.data(), v, 1);
    bool h0 = SccRec(fr.cof, u, r0.data(), reach);
    SetVar(reach.path.data(), v, 3);
    if (!h1 && !h0) return false;
    if (h1) SetVar(r1.data(), v, 2);
    if (h0) SetVar(r0.data(), v, 1);
    for (int w = 0; w < s.words; ++w) r[w] = (h1 ? r1[w] : 0) | (h0 ? r0[w] : 0);
    return true;
}

template <class Source>
bool Reduced(const Space& s, const Word* c, const Source& source, const Word* skip, Word* out)
{
    FrameLease top(s);
    Frame& fr = top.f;
    CofactorInto(c, source, skip, fr.cof);
    fr.u.assign(c + s.inWords, c + s.words);
    fr.r0.assign(s.words, 0);
    thread_local SccReach reach;
    reach.found.assign(s.words, 0);
    reach.path.resize(s.inWords);
    MakeInputUniverse(s, reach.path.data());
    if (!SccRec(fr.cof, fr.u, fr.r0.data(), reach)) return false;
    for (int w = 0; w < s.words; ++w) out[w] = c[w] & reach.found[w];
    return true;
}

}  // namespace

bool ReduceCube(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip, Word* out)
{
    return Reduced((*covers.begin())->space(), c, covers, skip, out);
}

bool ReduceCube(const Word* c, const MeetIndex& index, const Word* skip, Word* out)
{
    return Reduced(index.space(), c, index, skip, out);
}

}  // namespace quorlet
