// Tautology by the unate recursion, and the questions answered with it: is a cube covered
// by some covers, and the cofactor of a cube against them.
#include "Unate.h"

#include <vector>

#include "UnateSplit.h"

namespace quorlet {
namespace unate {
namespace {

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

}  // namespace

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
        // A test bounded by steps splits one literal at a time as it always has: its step count
        // is what bounds its work, and the essential primes found with it stay the same.
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

}  // namespace unate

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
    return unate::TautRec(g, u);
}
bool Tautology(const Cover& g)
{
    std::vector<Word> all(g.space().words);
    MakeUniverse(g.space(), all.data());
    return Tautology(g, OutputsOf(g.space(), all.data()));
}

Cover CofactorOf(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip)
{
    Cover r((*covers.begin())->space());
    unate::CofactorInto(c, covers, skip, r);
    return r;
}

namespace {
// Source: a list of covers, or an index over them.
// steps (optional): as for TautRec.
template <class Source>
bool Covered(const Space& s, const Word* c, const Source& source, const Word* skip, long* steps = nullptr)
{
    unate::FrameLease top(s);
    unate::CofactorInto(c, source, skip, top.f.cof);
    top.f.u.assign(c + s.inWords, c + s.words);
    if (OutSetEmpty(top.f.u)) return true;
    return unate::TautRec(top.f.cof, top.f.u, steps);
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

}  // namespace quorlet
