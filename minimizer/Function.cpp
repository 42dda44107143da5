// Covers of a table in each phase, and verification of results.
#include "Function.h"

#include <cstring>

#include "Unate.h"

namespace quorlet {
namespace {

void TermInputs(const Space& s, const std::string& in, Word* c)
{
    for (int v = 0; v < s.ni; ++v) SetVar(c, v, in[v] == '0' ? 1 : in[v] == '1' ? 2 : 3);
}

bool AnyIntersect(const Cover& a, const Cover& b)
{
    for (int i = 0; i < a.Size(); ++i)
        for (int k = 0; k < b.Size(); ++k)
            if (Intersects(a.space(), a[i], b[k])) return true;
    return false;
}

Cover Join(std::initializer_list<const Cover*> cs)
{
    Cover r((*cs.begin())->space());
    for (const Cover* c : cs) r.Append(*c);
    return r;
}

// Cube c restricted to output j alone.
std::vector<Word> OneOutput(const Space& s, const Word* c, int j)
{
    std::vector<Word> r(c, c + s.words);
    for (int w = s.inWords; w < s.words; ++w) r[w] = 0;
    SetOut(s, r.data(), j, true);
    return r;
}

std::string Name(const std::vector<std::string>& names, int j)
{
    return std::to_string(j + 1) + (j < int(names.size()) ? " (" + names[j] + ")" : "");
}

std::string InputString(const Space& s, const Word* c)
{
    std::string t = CubeToString(s, c);
    return t.substr(0, s.ni);
}

// Some point of c (output j) outside the covers, as an input string.
std::string UncoveredPoint(const Space& s, const Word* c, int j, std::initializer_list<const Cover*> covers)
{
    std::vector<Word> cj = OneOutput(s, c, j);
    Cover g = CofactorOf(cj.data(), covers);
    Cover gj(s);
    for (int i = 0; i < g.Size(); ++i)
        if (GetOut(s, g[i], j)) gj.Add(g[i]);
    Cover comp = InputComplement(gj);
    if (comp.Empty()) return "?";
    std::vector<Word> p(s.words);
    for (int w = 0; w < s.inWords; ++w) p[w] = comp[0][w] & cj[w];
    std::string t = InputString(s, p.data());
    for (char& ch : t)
        if (ch == '-') ch = '0';
    return t;
}

}  // namespace

Cover TermCover(const PlaTable& t, char which)
{
    Space s(t.ni, t.no);
    Cover c(s);
    for (auto& term : t.terms) {
        bool any = false;
        for (char ch : term.out) any |= ch == which;
        if (!any) continue;
        Word* cube = c.AddZero();
        TermInputs(s, term.in, cube);
        for (int j = 0; j < t.no; ++j)
            if (term.out[j] == which) SetOut(s, cube, j, true);
    }
    return c;
}

Problem BuildProblem(const PlaTable& t, bool pos)
{
    Space s(t.ni, t.no);
    Problem p{s, Cover(s), Cover(s), Cover(s)};
    Cover on = TermCover(t, '1');
    Cover dc = (t.type == PlaType::FD || t.type == PlaType::FDR) ? TermCover(t, '-') : Cover(s);
    if (t.type == PlaType::R) {
        p.off = TermCover(t, '0');
        on = Complement(p.off);
    } else if (t.type == PlaType::F || t.type == PlaType::FD) {
        try {
            Cover listed = Join({&on, &dc});
            if (pos && t.type == PlaType::F) {
                // The points a table of type f leaves open (the completeness check's question)
                // are the cover to minimize: start from the smaller of the complement's two
                // forms, output by output or around the part all outputs share (tried within
                // the size of the first, since it is the larger when outputs share nothing).
                p.off = Complement(listed, kMaxCoverCubes);
                try {
                    if (p.off.Size() > 1) {
                        Cover around = ComplementAroundCommonPart(listed, std::size_t(p.off.Size()) - 1);
                        if (around.Size() < p.off.Size()) p.off = std::move(around);
                    }
                } catch (const CoverLimitError&) {
                }
            } else {
                p.off = Complement(listed, pos ? kMaxCoverCubes : OffSetLimit(s, std::size_t(on.Size() + dc.Size())));
            }
        } catch (const CoverLimitError&) {
            p.offKnown = false;  // the minimizer can do without it
        }
    } else {
        Cover off = TermCover(t, '0');
        // Points no term names are don't-cares; the OFF-set is then recomputed so that it keeps
        // clear of points also named ON or don't-care. Those points are listed within the same
        // budget as an OFF-set; past it they are left out, which keeps every result correct
        // (the listed OFF-set still guides expansion; fewer don't-cares only let fewer cubes go).
        bool restListed = true;
        try {
            dc.Append(Complement(Join({&on, &off}), OffSetLimit(s, std::size_t(on.Size() + off.Size()))));
        } catch (const CoverLimitError&) {
            restListed = false;
        }
        if (AnyIntersect(off, on) || AnyIntersect(off, dc)) {
            if (!restListed) dc.Append(Complement(Join({&on, &off})));
            p.off = Complement(Join({&on, &dc}));
        } else {
            p.off = std::move(off);
        }
    }
    p.on = std::move(on);
    p.dc = std::move(dc);
    if (pos) p.on.Swap(p.off);
    return p;
}

PlaTable CoverToTable(const Cover& f, const PlaTable& like)
{
    PlaTable t;
    t.ni = like.ni;
    t.no = like.no;
    t.ilb = like.ilb;
    t.ob = like.ob;
    t.type = PlaType::F;
    const Space& s = f.space();
    for (int i = 0; i < f.Size(); ++i) {
        std::string c = CubeToString(s, f[i]);
        t.terms.push_back({c.substr(0, s.ni), c.substr(s.ni + 1), 0});
    }
    return t;
}

Verdict VerifyMinimization(const PlaTable& orig, const PlaTable& result, bool pos)
{
    Verdict v;
    if (orig.ni != result.ni || orig.no != result.no) {
        v.ok = false;
        v.message = "result has " + std::to_string(result.ni) + " inputs and " + std::to_string(result.no) +
                    " outputs, the original " + std::to_string(orig.ni) + " and " + std::to_string(orig.no);
        return v;
    }
    Space s(orig.ni, orig.no);
    Cover g = TermCover(result, '1');
    Cover dc = (orig.type == PlaType::FD || orig.type == PlaType::FDR) ? TermCover(orig, '-') : Cover(s);
    bool explicitOff = orig.type == PlaType::FR || orig.type == PlaType::FDR || orig.type == PlaType::R;
    Cover off = explicitOff ? TermCover(orig, '0') : Cover(s);
    Cover on = orig.type == PlaType::R ? Complement(off) : TermCover(orig, '1');
    Cover onDc = Join({&on, &dc});
    auto fail = [&](std::string m) {
        v.ok = false;
        v.message = std::move(m);
        return v;
    };
    auto resultTerm = [&](int i) {
        return "result term " + std::to_string(i + 1) + " \"" + CubeToString(s, g[i]) + "\"";
    };

    if (!pos) {
        // Every ON point is in the result or a don't-care.
        for (int i = 0; i < on.Size(); ++i)
            for (int j = 0; j < s.no; ++j) {
                if (!GetOut(s, on[i], j)) continue;
                auto c = OneOutput(s, on[i], j);
                if (!CubeCovered(c.data(), {&g, &dc}))
                    return fail("output " + Name(orig.ob, j) + ": ON point " +
                                UncoveredPoint(s, c.data(), j, {&g, &dc}) + " of original term \"" +
                                CubeToString(s, on[i]) + "\" is not covered");
            }
        // No result point is OFF.
        for (int i = 0; i < g.Size(); ++i)
            for (int j = 0; j < s.no; ++j) {
                if (!GetOut(s, g[i], j)) continue;
                auto c = OneOutput(s, g[i], j);
                if (!explicitOff) {
                    if (!CubeCovered(c.data(), {&onDc}))
                        return fail("output " + Name(orig.ob, j) + ": " + resultTerm(i) + " covers OFF point " +
                                    UncoveredPoint(s, c.data(), j, {&onDc}));
                } else {
                    for (int k = 0; k < off.Size(); ++k) {
                        if (!Intersects(s, c.data(), off[k])) continue;
                        std::vector<Word> x(s.words);
                        Intersect(s, c.data(), off[k], x.data());
                        if (!CubeCovered(x.data(), {&onDc}))
                            return fail("output " + Name(orig.ob, j) + ": " + resultTerm(i) + " covers OFF point " +
                                        UncoveredPoint(s, x.data(), j, {&onDc}));
                    }
                }
            }
        return v;
    }
    // With pos the OFF points (neither ON nor don't-care) must all be covered ...
    Cover all = Join({&g, &on, &dc});
    std::vector<Word> u(s.words);
    MakeUniverse(s, u.data());
    for (int j = 0; j < s.no; ++j) {
        if (!explicitOff) {
            auto c = OneOutput(s, u.data(), j);
            if (!CubeCovered(c.data(), {&all}))
                return fail("output " + Name(orig.ob, j) + ": point " + UncoveredPoint(s, c.data(), j, {&all}) +
                            ", neither ON nor don't-care, is not covered");
        } else {
            for (int k = 0; k < off.Size(); ++k) {
                if (!GetOut(s, off[k], j)) continue;
                auto c = OneOutput(s, off[k], j);
                if (!CubeCovered(c.data(), {&all}))
                    return fail("output " + Name(orig.ob, j) + ": OFF point " + UncoveredPoint(s, c.data(), j, {&all}) +
                                " of original term \"" + CubeToString(s, off[k]) + "\" is not covered");
            }
        }
    }
    // ... and no ON point (one that is not also a don't-care) touched.
    for (int i = 0; i < g.Size(); ++i)
        for (int k = 0; k < on.Size(); ++k) {
            if (!Intersects(s, g[i], on[k])) continue;
            std::vector<Word> x(s.words);
            Intersect(s, g[i], on[k], x.data());
            for (int j = 0; j < s.no; ++j) {
                if (!GetOut(s, x.data(), j)) continue;
                auto c = OneOutput(s, x.data(), j);
                if (!CubeCovered(c.data(), {&dc}))
                    return fail("output " + Name(orig.ob, j) + ": " + resultTerm(i) + " covers ON point " +
                                UncoveredPoint(s, c.data(), j, {&dc}));
            }
        }
    return v;
}

}  // namespace quorlet
