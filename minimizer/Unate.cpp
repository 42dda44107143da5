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

namespace quor {
namespace {

struct VarCounts {
  std::vector<int> zeros, ones;  // cubes holding the literal x' (zeros) or x (ones)
};

void CountLiterals(const Cover& g, VarCounts& vc) {
  const Space& s = g.space();
  vc.zeros.assign(s.ni, 0);
  vc.ones.assign(s.ni, 0);
  for (int i = 0; i < g.Size(); ++i) {
    const Word* c = g[i];
    for (int w = 0; w < s.inWords; ++w) {
      Word x = c[w], m = s.InMask(w);
      Word z = x & ~(x >> 1) & kEven & m;
      Word o = (x >> 1) & ~x & kEven & m;
      while (z) { vc.zeros[w * 32 + std::countr_zero(z) / 2]++; z &= z - 1; }
      while (o) { vc.ones[w * 32 + std::countr_zero(o) / 2]++; o &= o - 1; }
    }
  }
}

// The most binate variable (both literals present, most cubes, then most balanced);
// -1 when the cover is unate. With allowUnate, falls back to the most frequent literal.
int SplitVar(const VarCounts& vc, bool allowUnate) {
  int best = -1, bestSum = 0, bestBal = 0;
  bool bestBinate = false;
  for (int v = 0; v < int(vc.zeros.size()); ++v) {
    int z = vc.zeros[v], o = vc.ones[v];
    bool binate = z > 0 && o > 0;
    if (!binate && (!allowUnate || z + o == 0)) continue;
    int sum = z + o, bal = -std::abs(z - o);
    if (best < 0 || (binate && !bestBinate) ||
        (binate == bestBinate && (sum > bestSum || (sum == bestSum && bal > bestBal)))) {
      best = v; bestSum = sum; bestBal = bal; bestBinate = binate;
    }
  }
  return best;
}

// Cubes of g that allow value `bits` (1: x = 0, 2: x = 1) of v, with v freed.
Cover SplitCofactor(const Cover& g, int v, unsigned bits, const std::vector<int>* tag = nullptr,
                    std::vector<int>* tagOut = nullptr) {
  Cover r(g.space());
  r.Reserve(g.Size());
  for (int i = 0; i < g.Size(); ++i) {
    if (!(GetVar(g[i], v) & bits)) continue;
    Word* c = r.AddZero();
    std::memcpy(c, g[i], sizeof(Word) * g.space().words);
    SetVar(c, v, 3);
    if (tag) tagOut->push_back((*tag)[i]);
  }
  return r;
}

bool AndNotInto(OutSet& u, const Space& s, const Word* c) {
  bool any = false;
  for (int w = 0; w < s.outWords; ++w) { u[w] &= ~c[s.inWords + w]; any |= u[w] != 0; }
  return any;
}
bool MeetsOut(const OutSet& u, const Space& s, const Word* c) {
  for (int w = 0; w < s.outWords; ++w)
    if (u[w] & c[s.inWords + w]) return true;
  return false;
}
bool Covers(const OutSet& have, const OutSet& need) {
  for (std::size_t w = 0; w < need.size(); ++w)
    if (need[w] & ~have[w]) return false;
  return true;
}

// Takes the outputs of u that an input-universal cube covers out of u and keeps the cubes
// that still matter, their outputs cut down to u. Returns false when u became empty.
bool Settle(Cover& g, OutSet& u, OutSet& orOut) {
  const Space& s = g.space();
  for (int i = 0; i < g.Size(); ++i)
    if (IsInputUniverse(s, g[i]) && !AndNotInto(u, s, g[i])) return false;
  std::vector<char> keep(g.Size());
  orOut.assign(s.outWords, 0);
  bool drop = false;
  for (int i = 0; i < g.Size(); ++i) {
    Word* c = g[i];
    keep[i] = !IsInputUniverse(s, c) && MeetsOut(u, s, c);
    if (!keep[i]) { drop = true; continue; }
    for (int w = 0; w < s.outWords; ++w) { c[s.inWords + w] &= u[w]; orOut[w] |= c[s.inWords + w]; }
  }
  if (drop) g.Filter(keep);
  return true;
}

bool TautRec(Cover& g, OutSet u) {
  const Space& s = g.space();
  VarCounts vc;
  OutSet orOut;
  for (;;) {
    if (!Settle(g, u, orOut)) return true;
    if (!Covers(orOut, u)) return false;
    CountLiterals(g, vc);
    // A cover unate in x is a tautology exactly when the cubes free of x form one.
    std::vector<char> keep(g.Size(), 1);
    bool any = false;
    for (int v = 0; v < s.ni; ++v) {
      unsigned lit = 0;
      if (vc.zeros[v] && !vc.ones[v]) lit = 1;
      else if (vc.ones[v] && !vc.zeros[v]) lit = 2;
      if (!lit) continue;
      for (int i = 0; i < g.Size(); ++i)
        if (GetVar(g[i], v) == lit) { keep[i] = 0; any = true; }
    }
    if (!any) break;
    g.Filter(keep);
  }
  int v = SplitVar(vc, false);
  if (v < 0) return false;  // no cubes left that could cover u
  Cover g1 = SplitCofactor(g, v, 2);
  if (!TautRec(g1, u)) return false;
  Cover g0 = SplitCofactor(g, v, 1);
  return TautRec(g0, u);
}

// Complement of g ignoring outputs; cubes returned with zero output parts.
Cover CompRec(const Cover& g, std::size_t limit, long& budget) {
  const Space& s = g.space();
  Cover r(s);
  if (--budget < 0) throw CoverLimitError(limit);
  if (g.Empty()) { MakeInputUniverse(s, r.AddZero()); return r; }
  for (int i = 0; i < g.Size(); ++i)
    if (IsInputUniverse(s, g[i])) return r;
  if (g.Size() == 1) {
    const Word* c = g[0];
    for (int v = 0; v < s.ni; ++v) {
      unsigned b = GetVar(c, v);
      if (b == 3) continue;
      Word* d = r.AddZero();
      MakeInputUniverse(s, d);
      SetVar(d, v, 3u & ~b);
    }
    return r;
  }
  VarCounts vc;
  CountLiterals(g, vc);
  int v = SplitVar(vc, true);
  Cover c1 = CompRec(SplitCofactor(g, v, 2), limit, budget);
  Cover c0 = CompRec(SplitCofactor(g, v, 1), limit, budget);
  if (std::size_t(c1.Size()) + c0.Size() > limit) throw CoverLimitError(limit);
  // Cubes found on both sides do not depend on v and are kept once.
  auto less = [&](const Word* a, const Word* b) { return std::memcmp(a, b, sizeof(Word) * s.inWords) < 0; };
  std::vector<const Word*> p1, p0;
  for (int i = 0; i < c1.Size(); ++i) p1.push_back(c1[i]);
  for (int i = 0; i < c0.Size(); ++i) p0.push_back(c0[i]);
  std::sort(p1.begin(), p1.end(), less);
  std::sort(p0.begin(), p0.end(), less);
  r.Reserve(c1.Size() + c0.Size());
  std::size_t a = 0, b = 0;
  while (a < p1.size() || b < p0.size()) {
    if (b == p0.size() || (a < p1.size() && less(p1[a], p0[b]))) {
      Word* d = r.AddZero(); std::memcpy(d, p1[a++], sizeof(Word) * s.inWords); SetVar(d, v, 2);
    } else if (a == p1.size() || less(p0[b], p1[a])) {
      Word* d = r.AddZero(); std::memcpy(d, p0[b++], sizeof(Word) * s.inWords); SetVar(d, v, 1);
    } else {
      Word* d = r.AddZero(); std::memcpy(d, p1[a++], sizeof(Word) * s.inWords); ++b;
    }
  }
  return r;
}

// Smallest cube containing the complement of g (outputs limited to u), inside the current
// cofactor space. Returns false when that complement is empty.
bool SccRec(Cover& g, OutSet u, Word* r) {
  const Space& s = g.space();
  OutSet orOut;
  if (!Settle(g, u, orOut)) return false;
  OutSet open(s.outWords);
  bool anyOpen = false;
  for (int w = 0; w < s.outWords; ++w) { open[w] = u[w] & ~orOut[w]; anyOpen |= open[w] != 0; }
  if (anyOpen) {
    // Outputs no cube mentions are open everywhere: the input part is the whole space and
    // only the other outputs remain to be decided.
    OutSet rest(s.outWords);
    bool anyRest = false;
    for (int w = 0; w < s.outWords; ++w) { rest[w] = u[w] & ~open[w]; anyRest |= rest[w] != 0; }
    std::vector<Word> sub(s.words, 0);
    if (anyRest && SccRec(g, rest, sub.data()))
      for (int w = 0; w < s.outWords; ++w) open[w] |= sub[s.inWords + w];
    MakeInputUniverse(s, r);
    for (int w = 0; w < s.outWords; ++w) r[s.inWords + w] = open[w];
    return true;
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
  VarCounts vc;
  CountLiterals(g, vc);
  if (SplitVar(vc, false) < 0) {
    // Unate leaf, no cube input-universal (Settle took those out): for each output the point
    // that falsifies every literal lies outside, and so does each point one literal away from
    // it unless that literal alone is a cube. Only single-literal cubes fix a variable.
    MakeInputUniverse(s, r);
    std::vector<int> single;
    for (int i = 0; i < g.Size(); ++i)
      if (InputLiterals(s, g[i]) == 1) single.push_back(i);
    if (!single.empty()) {
      // The result is the union over the outputs of u: a variable stays fixed only when
      // every output has it fixed the same way.
      std::vector<Word> in(s.inWords, 0), cj(s.inWords);
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
  int v = SplitVar(vc, true);
  std::vector<Word> r1(s.words, 0), r0(s.words, 0);
  Cover g1 = SplitCofactor(g, v, 2);
  bool h1 = SccRec(g1, u, r1.data());
  Cover g0 = SplitCofactor(g, v, 1);
  bool h0 = SccRec(g0, u, r0.data());
  if (!h1 && !h0) return false;
  if (h1) SetVar(r1.data(), v, 2);
  if (h0) SetVar(r0.data(), v, 1);
  for (int w = 0; w < s.words; ++w) r[w] = (h1 ? r1[w] : 0) | (h0 ? r0[w] : 0);
  return true;
}

void RowsRec(Cover& g, std::vector<int>& tag, OutSet u, std::vector<std::vector<int>>& rows, bool& ok) {
  const Space& s = g.space();
  VarCounts vc;
  auto apply = [&](const std::vector<char>& keep) {
    std::vector<int> t;
    for (int i = 0; i < g.Size(); ++i) if (keep[i]) t.push_back(tag[i]);
    g.Filter(keep);
    tag.swap(t);
  };
  for (;;) {
    // Outputs covered by an always-present universal cube need nothing.
    for (int i = 0; i < g.Size(); ++i)
      if (tag[i] < 0 && IsInputUniverse(s, g[i]) && !AndNotInto(u, s, g[i])) return;
    std::vector<char> keep(g.Size());
    for (int i = 0; i < g.Size(); ++i) {
      Word* c = g[i];
      keep[i] = !(tag[i] < 0 && IsInputUniverse(s, c)) && MeetsOut(u, s, c);
      if (keep[i]) for (int w = 0; w < s.outWords; ++w) c[s.inWords + w] &= u[w];
    }
    apply(keep);
    CountLiterals(g, vc);
    keep.assign(g.Size(), 1);
    bool any = false;
    for (int v = 0; v < s.ni; ++v) {
      unsigned lit = 0;
      if (vc.zeros[v] && !vc.ones[v]) lit = 1;
      else if (vc.ones[v] && !vc.zeros[v]) lit = 2;
      if (!lit) continue;
      for (int i = 0; i < g.Size(); ++i)
        if (GetVar(g[i], v) == lit) { keep[i] = 0; any = true; }
    }
    if (!any) break;
    apply(keep);
  }
  int v = SplitVar(vc, false);
  if (v < 0) {
    // Unate leaf: only universal selectable cubes are left; each output needs one of them.
    std::vector<std::vector<int>> leaf;
    for (int j = 0; j < s.no; ++j) {
      if (!((u[j >> 6] >> (j & 63)) & 1)) continue;
      std::vector<int> row;
      for (int i = 0; i < g.Size(); ++i)
        if (GetOut(s, g[i], j)) row.push_back(tag[i]);
      if (row.empty()) { ok = false; return; }
      std::sort(row.begin(), row.end());
      row.erase(std::unique(row.begin(), row.end()), row.end());
      leaf.push_back(std::move(row));
    }
    std::sort(leaf.begin(), leaf.end());
    leaf.erase(std::unique(leaf.begin(), leaf.end()), leaf.end());
    for (auto& row : leaf) rows.push_back(std::move(row));
    return;
  }
  std::vector<int> t1, t0;
  Cover g1 = SplitCofactor(g, v, 2, &tag, &t1);
  RowsRec(g1, t1, u, rows, ok);
  if (!ok) return;
  Cover g0 = SplitCofactor(g, v, 1, &tag, &t0);
  RowsRec(g0, t0, u, rows, ok);
}

}  // namespace

OutSet OutputsOf(const Space& s, const Word* c) { return OutSet(c + s.inWords, c + s.words); }
bool OutSetEmpty(const OutSet& u) {
  for (Word w : u) if (w) return false;
  return true;
}

bool Tautology(Cover g, OutSet u) {
  if (OutSetEmpty(u)) return true;
  return TautRec(g, std::move(u));
}
bool Tautology(const Cover& g) {
  std::vector<Word> all(g.space().words);
  MakeUniverse(g.space(), all.data());
  return Tautology(g, OutputsOf(g.space(), all.data()));
}

Cover CofactorOf(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip) {
  const Space& s = (*covers.begin())->space();
  Cover r(s);
  for (const Cover* f : covers)
    for (int i = 0; i < f->Size(); ++i) {
      const Word* d = (*f)[i];
      if (d != skip && Intersects(s, d, c)) Cofactor(s, d, c, r.AddZero());
    }
  return r;
}

bool CubeCovered(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip) {
  const Space& s = (*covers.begin())->space();
  Cover g = CofactorOf(c, covers, skip);
  return Tautology(std::move(g), OutputsOf(s, c));
}

Cover InputComplement(const Cover& f, std::size_t limit) {
  // The recursion may do far more work than its result shows (shared subproblems are solved
  // again), so its steps are bounded too.
  long budget = limit >= kMaxCoverCubes ? std::numeric_limits<long>::max() : long(limit) * 4;
  Cover r = CompRec(f, limit, budget);
  if (std::getenv("QUOR_ESP_TRACE"))
    std::fprintf(stderr, "complement %d cubes, %ld steps\n", r.Size(), long(limit) * 4 - budget);
  SingleCubeContainment(r);
  return r;
}

Cover Complement(const Cover& f, std::size_t limit) {
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

bool ReduceCube(const Word* c, std::initializer_list<const Cover*> covers, const Word* skip, Word* out) {
  const Space& s = (*covers.begin())->space();
  Cover g = CofactorOf(c, covers, skip);
  std::vector<Word> r(s.words, 0);
  if (!SccRec(g, OutputsOf(s, c), r.data())) return false;
  for (int w = 0; w < s.words; ++w) out[w] = c[w] & r[w];
  return true;
}

bool CoveringRows(Cover g, std::vector<int> tag, OutSet u, std::vector<std::vector<int>>& rows) {
  bool ok = true;
  if (OutSetEmpty(u)) return true;
  RowsRec(g, tag, std::move(u), rows, ok);
  return ok;
}

}  // namespace quor
