// All multi-output prime implicants by unate recursive splitting: the primes of f are the
// primes of both cofactors that survive, plus the maximal intersections of one from each side.
#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

#include "Exact.h"

namespace quor {
namespace {

struct LimitHit {
  ExactStatus status;
};

class PrimeGenerator {
 public:
  PrimeGenerator(const Space& s, const ExactParams& p, ExactDeadline deadline)
      : s_(s), p_(p), deadline_(deadline), timed_(p.maxSeconds > 0) {}

  Cover Run(Cover g) { return Rec(std::move(g)); }

 private:
  bool Within(const Word* big, const Word* small) const {
    for (int w = 0; w < s_.words; ++w)
      if (small[w] & ~big[w]) return false;
    return true;
  }

  void CheckTime() {
    if (timed_ && ++ticks_ % 64 == 0 && std::chrono::steady_clock::now() > deadline_)
      throw LimitHit{ExactStatus::OutOfTime};
  }

  // Keeps the maximal cubes, largest first, equal ones once; the order depends only on content.
  Cover Maximal(const Cover& f) {
    int n = f.Size();
    std::vector<int> order(n), bits(n);
    for (int i = 0; i < n; ++i) bits[i] = CountBits(s_, f[i]);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
      if (bits[a] != bits[b]) return bits[a] > bits[b];
      int c = std::memcmp(f[a], f[b], sizeof(Word) * s_.words);
      return c != 0 ? c < 0 : a < b;
    });
    Cover r(s_);
    for (int i : order) {
      const Word* c = f[i];
      bool inside = false;
      for (int k = 0; k < r.Size() && !inside; ++k) inside = Within(r[k], c);
      if (!inside) r.Add(c);
    }
    return r;
  }

  // Cubes of g that allow value `bits` of v, with v freed.
  Cover Half(const Cover& g, int v, unsigned bits) {
    Cover r(s_);
    r.Reserve(g.Size());
    for (int i = 0; i < g.Size(); ++i) {
      if (!(GetVar(g[i], v) & bits)) continue;
      Word* c = r.AddZero();
      std::memcpy(c, g[i], sizeof(Word) * s_.words);
      SetVar(c, v, 3);
    }
    return r;
  }

  // Cubes p of side not inside any cube of free, with v set to `bits`, appended to out.
  void AddBound(const Cover& side, const Cover& free, int v, unsigned bits, Cover& out) {
    for (int i = 0; i < side.Size(); ++i) {
      bool inside = false;
      for (int k = 0; k < free.Size() && !inside; ++k) inside = Within(free[k], side[i]);
      if (inside) continue;
      Word* c = out.AddZero();
      std::memcpy(c, side[i], sizeof(Word) * s_.words);
      SetVar(c, v, bits);
    }
  }

  Cover Rec(Cover g) {
    CheckTime();
    g.RemoveEmpty();
    if (g.Size() <= 1) return g;
    std::vector<int> zeros(s_.ni, 0), ones(s_.ni, 0);
    for (int i = 0; i < g.Size(); ++i) {
      const Word* c = g[i];
      for (int w = 0; w < s_.inWords; ++w) {
        Word x = c[w], m = s_.InMask(w);
        for (Word z = x & ~(x >> 1) & kEven & m; z; z &= z - 1) ++zeros[w * 32 + std::countr_zero(z) / 2];
        for (Word o = (x >> 1) & ~x & kEven & m; o; o &= o - 1) ++ones[w * 32 + std::countr_zero(o) / 2];
      }
    }
    // Most binate variable first; a unate split needs no intersections, so it comes last.
    int v = -1;
    long bestKey = -1;
    bool anyBinate = false;
    for (int x = 0; x < s_.ni; ++x) {
      int z = zeros[x], o = ones[x];
      if (z + o == 0) continue;
      bool binate = z > 0 && o > 0;
      long key = (binate ? (1L << 40) : 0) + long(std::min(z, o)) * (1L << 20) + (z + o);
      if (key > bestKey) { bestKey = key; v = x; anyBinate |= binate; }
    }
    if (v < 0) {
      // Every cube spans all inputs: the function is one cube.
      Cover r(s_);
      Word* c = r.AddZero();
      MakeInputUniverse(s_, c);
      for (int i = 0; i < g.Size(); ++i)
        for (int w = s_.inWords; w < s_.words; ++w) c[w] |= g[i][w];
      return r;
    }
    if (!anyBinate && s_.no == 1) return Maximal(g);  // a unate single-output cover is its primes

    Cover p0 = Rec(Half(g, v, 1));
    Cover p1 = Rec(Half(g, v, 2));
    Cover r(s_);
    if (ones[v] == 0 || zeros[v] == 0) {
      // Unate in v: the side where v's literal is absent is contained in the other, so its
      // primes are the primes free of v.
      const Cover& free = ones[v] == 0 ? p1 : p0;
      const Cover& bound = ones[v] == 0 ? p0 : p1;
      r = free;
      AddBound(bound, free, v, ones[v] == 0 ? 1u : 2u, r);
    } else {
      Cover products(s_);
      std::vector<Word> t(s_.words);
      for (int a = 0; a < p0.Size(); ++a) {
        const Word* x = p0[a];
        for (int b = 0; b < p1.Size(); ++b) {
          const Word* y = p1[b];
          bool ok = true, out = false;
          for (int w = 0; w < s_.inWords && ok; ++w) {
            t[w] = x[w] & y[w];
            ok = EmptyVars(t[w], s_.InMask(w)) == 0;
          }
          if (!ok) continue;
          for (int w = s_.inWords; w < s_.words; ++w) { t[w] = x[w] & y[w]; out |= t[w] != 0; }
          if (!out) continue;
          if (++products_ > p_.maxProducts) throw LimitHit{ExactStatus::TooManyPrimes};
          products.Add(t.data());
        }
        CheckTime();
      }
      products_ -= products.Size();
      r = Maximal(products);
      Cover free = r;
      AddBound(p0, free, v, 1u, r);
      AddBound(p1, free, v, 2u, r);
    }
    if (r.Size() > p_.maxPrimes) throw LimitHit{ExactStatus::TooManyPrimes};
    return r;
  }

  const Space& s_;
  const ExactParams& p_;
  ExactDeadline deadline_;
  bool timed_;
  long ticks_ = 0;
  long products_ = 0;  // cubes held in product buffers right now
};

}  // namespace

ExactStatus PrimeImplicants(const Cover& f, const ExactParams& p, ExactDeadline deadline, Cover& primes) {
  const Space& s = f.space();
  try {
    PrimeGenerator gen(s, p, deadline);
    Cover r = gen.Run(f);
    // A fixed order (most literals last) so that everything downstream is deterministic.
    std::vector<int> order(r.Size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return std::memcmp(r[a], r[b], sizeof(Word) * s.words) > 0; });
    primes = Cover(s);
    primes.Reserve(r.Size());
    for (int i : order) primes.Add(r[i]);
    return ExactStatus::Proven;
  } catch (const LimitHit& e) {
    return e.status;
  } catch (const CoverLimitError&) {
    return ExactStatus::TooManyPrimes;
  }
}

}  // namespace quor
