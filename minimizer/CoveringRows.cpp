// The rows of the covering problem of one cube against the cubes that may cover it.
#include "Unate.h"

#include <algorithm>
#include <vector>

#include "UnateSplit.h"

namespace quorlet {
namespace {
using namespace unate;

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
    // An always-present cube of one literal leaves its half nothing to ask: only the other half
    // has work (covers of many short cubes overlapping all over, the complement of a few
    // scattered points, give ten times fewer splits).
    int v = OneLiteralVar(g, &tag);
    if (v < 0) v = SplitVar(g, fr.vc, false);
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

bool CoveringRows(Cover g, std::vector<int> tag, OutSet u, std::vector<std::vector<int>>& rows)
{
    bool ok = true;
    if (OutSetEmpty(u)) return true;
    RowsRec(g, tag, u, rows, ok);
    return ok;
}

}  // namespace quorlet
