// All multi-output prime implicants by unate recursive splitting: the primes of f are the
// primes of both cofactors that survive, plus the maximal intersections of one from each side.
//
// Cubes are kept in plain word buffers here rather than in Covers: the recursion makes and
// drops many small sets, and the bookkeeping of a Cover cost more than the splitting itself.
#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

#include "Exact.h"

namespace quorlet {
namespace {

struct LimitHit {
    ExactStatus status;
};

using Cubes = std::vector<Word>;  // cubes back to back, Space::words each

class PrimeGenerator {
public:
    PrimeGenerator(const Space& s, const ExactParams& p, ExactDeadline deadline)
        : s_(s),
          W_(std::size_t(s.words)),
          deadline_(deadline),
          timed_(p.maxSeconds > 0),
          // A Cover past kMaxCoverCubes gave up in the same way, so the limits stay below it.
          productLimit_(p.maxProducts),
          primeLimit_(std::min<long>(p.maxPrimes, long(kMaxCoverCubes))),
          splitLimit_(p.maxSplitCubes)
    {
    }

    Cubes Run(Cubes g) { return Rec(g); }

private:
    int Count(const Cubes& c) const { return W_ ? int(c.size() / W_) : 0; }

    bool Within(const Word* big, const Word* small) const
    {
        for (std::size_t w = 0; w < W_; ++w)
            if (small[w] & ~big[w]) return false;
        return true;
    }

    void CheckTime()
    {
        if (timed_ && ++ticks_ % 64 == 0 && std::chrono::steady_clock::now() > deadline_)
            throw LimitHit{ExactStatus::OutOfTime};
    }

    void TooMany(long primes) const
    {
        if (primes > primeLimit_) throw LimitHit{ExactStatus::TooManyPrimes};
    }

    int Bits(const Word* x) const
    {
        int b = 0;
        for (std::size_t w = 0; w < W_; ++w) b += std::popcount(x[w]);
        return b;
    }

    // Positions of the cubes of c by falling bit count: a cube can only lie inside one with at
    // least as many bits, so checking each against those kept before it finds every cube that
    // is inside another. Ties keep their order.
    std::vector<int> ByBits(const Cubes& c) const
    {
        int n = Count(c), top = 64 * s_.words;
        std::vector<int> bits(n), start(top + 2, 0), order(n);
        for (int i = 0; i < n; ++i) {
            bits[i] = top - Bits(c.data() + i * W_);
            ++start[bits[i] + 1];
        }
        std::partial_sum(start.begin(), start.end(), start.begin());
        for (int i = 0; i < n; ++i) order[start[bits[i]]++] = i;
        return order;
    }

    // Appends to keep every cube of c not inside a cube of keep or of c (equal ones once).
    // The cubes kept are maximal, so with `extra` more primes known the node's count can be
    // tested as they come in. When c holds no cube twice, a cube can only lie inside one with
    // more bits, so the cubes kept from c with as many bits as it need no look.
    void KeepMaximal(const Cubes& c, Cubes& keep, long extra, bool limited, bool distinct)
    {
        std::size_t bigger = keep.size();
        int lastBits = -1;
        for (int i : ByBits(c)) {
            const Word* x = c.data() + i * W_;
            int b = Bits(x);
            if (b != lastBits) {
                bigger = keep.size();
                lastBits = b;
            }
            std::size_t n = distinct ? bigger : keep.size();
            bool inside = false;
            for (std::size_t k = 0; k < n && !inside; k += W_) inside = Within(keep.data() + k, x);
            if (inside) continue;
            keep.insert(keep.end(), x, x + W_);
            if (limited) TooMany(Count(keep) + extra);
        }
    }

    // The cubes of a buffer once each: open addressing over their positions.
    class Distinct {
    public:
        explicit Distinct(std::size_t words) : W_(words), slots_(64, -1) {}

        // Appends x to c unless c holds it already.
        void Add(Cubes& c, const Word* x)
        {
            if (2 * (count_ + 1) > slots_.size()) Grow(c);
            std::size_t at = Find(c, x);
            if (slots_[at] >= 0) return;
            slots_[at] = int(count_++);
            c.insert(c.end(), x, x + W_);
        }

    private:
        std::size_t Hash(const Word* x) const
        {
            Word h = 0x9e3779b97f4a7c15ULL;
            for (std::size_t w = 0; w < W_; ++w) h = (h ^ x[w]) * 0xff51afd7ed558ccdULL;
            return std::size_t(h ^ (h >> 29));
        }
        std::size_t Find(const Cubes& c, const Word* x) const
        {
            std::size_t mask = slots_.size() - 1;
            for (std::size_t at = Hash(x) & mask;; at = (at + 1) & mask)
                if (slots_[at] < 0 || std::memcmp(c.data() + slots_[at] * W_, x, sizeof(Word) * W_) == 0) return at;
        }
        void Grow(const Cubes& c)
        {
            slots_.assign(2 * slots_.size(), -1);
            for (std::size_t i = 0; i < count_; ++i) slots_[Find(c, c.data() + i * W_)] = int(i);
        }

        std::size_t W_;
        std::vector<int> slots_;
        std::size_t count_ = 0;
    };

    bool SameOutputs(const Cubes& g) const
    {
        if (s_.no == 1) return true;
        for (std::size_t at = W_; at < g.size(); at += W_)
            if (std::memcmp(g.data() + at + s_.inWords, g.data() + s_.inWords, sizeof(Word) * (W_ - s_.inWords)))
                return false;
        return true;
    }

    // Cubes of g that allow value `bits` of v, with v freed.
    Cubes Half(const Cubes& g, int v, unsigned bits) const
    {
        Cubes r;
        r.reserve(g.size());
        for (std::size_t at = 0; at < g.size(); at += W_) {
            if (!(GetVar(g.data() + at, v) & bits)) continue;
            std::size_t to = r.size();
            r.insert(r.end(), g.begin() + at, g.begin() + at + W_);
            SetVar(r.data() + to, v, 3);
        }
        return r;
    }

    void AddWithVar(Cubes& r, const Word* c, int v, unsigned bits) const
    {
        std::size_t to = r.size();
        r.insert(r.end(), c, c + W_);
        SetVar(r.data() + to, v, bits);
    }

    Cubes Rec(const Cubes& g)
    {
        CheckTime();
        int n = Count(g);
        // Cubes handed to the splitting count as work too: functions of many outputs each unate
        // in its inputs (wide and sparse) split on one variable after another and meet an
        // exponential number of multi-output primes only deep down.
        if ((visits_ += n) > splitLimit_) throw LimitHit{ExactStatus::TooManyPrimes};
        if (n <= 1) return g;
        std::vector<int> zeros(s_.ni, 0), ones(s_.ni, 0);
        for (int i = 0; i < n; ++i) {
            const Word* c = g.data() + i * W_;
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
            if (key > bestKey) {
                bestKey = key;
                v = x;
                anyBinate |= binate;
            }
        }
        if (v < 0) {
            // Every cube spans all inputs: the function is one cube.
            Cubes r(W_, 0);
            MakeInputUniverse(s_, r.data());
            for (int i = 0; i < n; ++i)
                for (int w = s_.inWords; w < s_.words; ++w) r[w] |= g[i * W_ + w];
            return r;
        }
        if (!anyBinate && SameOutputs(g)) {
            // A unate cover of one output, or of cubes that all share one output set, is its
            // primes.
            Cubes r;
            KeepMaximal(g, r, 0, false, false);
            return r;
        }

        Cubes p0 = Rec(Half(g, v, 1));
        Cubes p1 = Rec(Half(g, v, 2));
        int a = Count(p0), b = Count(p1);
        Cubes r;
        if (ones[v] == 0 || zeros[v] == 0) {
            // Unate in v: the side where v's literal is absent is contained in the other, so its
            // primes are the primes free of v; a prime of the other side not inside one of them
            // keeps the literal.
            bool freeIsP1 = ones[v] == 0;
            const Cubes& free = freeIsP1 ? p1 : p0;
            const Cubes& bound = freeIsP1 ? p0 : p1;
            unsigned lit = freeIsP1 ? 1u : 2u;
            r = free;
            for (std::size_t at = 0; at < bound.size(); at += W_) {
                const Word* x = bound.data() + at;
                bool inside = false;
                for (std::size_t k = 0; k < free.size() && !inside; k += W_) inside = Within(free.data() + k, x);
                if (!inside) AddWithVar(r, x, v, lit);
            }
            TooMany(Count(r));
            return r;
        }

        // Binate in v. A prime x of the 0-side inside a prime of the 1-side is an implicant of
        // both cofactors and, being prime on its side, a prime of f free of v; otherwise x with
        // v's literal is a prime of f. The same holds the other way round, and a cube prime on
        // both sides counts once. So these counts alone bound the node's primes from below, and
        // a pair whose side is inside the other side's prime only yields a cube inside that one.
        std::vector<char> in0(a, 0), in1(b, 0), same1(b, 0);
        std::vector<Word> t(W_);
        long products = 0;
        for (int i = 0; i < a; ++i) {
            const Word* x = p0.data() + i * W_;
            for (int j = 0; j < b; ++j) {
                const Word* y = p1.data() + j * W_;
                bool ok = true, out = false, subX = true, subY = true;
                for (int w = 0; w < s_.inWords && ok; ++w) {
                    Word m = x[w] & y[w];
                    ok = EmptyVars(m, s_.InMask(w)) == 0;
                    subX &= m == x[w];
                    subY &= m == y[w];
                }
                if (!ok) continue;
                for (std::size_t w = s_.inWords; w < W_; ++w) {
                    Word m = x[w] & y[w];
                    out |= m != 0;
                    subX &= m == x[w];
                    subY &= m == y[w];
                }
                if (!out) continue;
                if (++products > productLimit_) throw LimitHit{ExactStatus::TooManyPrimes};
                in0[i] |= subX;
                in1[j] |= subY;
                same1[j] |= subX && subY;
            }
            CheckTime();
        }
        long known = a + b - std::count(same1.begin(), same1.end(), 1);
        TooMany(known);

        // Primes free of v found so far, then the remaining pairs' maximal intersections.
        for (int i = 0; i < a; ++i)
            if (in0[i]) r.insert(r.end(), p0.begin() + i * W_, p0.begin() + (i + 1) * W_);
        for (int j = 0; j < b; ++j)
            if (in1[j] && !same1[j]) r.insert(r.end(), p1.begin() + j * W_, p1.begin() + (j + 1) * W_);
        long bound = known - Count(r);
        // Many pairs meet in the same cube; each is kept once.
        Cubes pairs;
        Distinct seen(W_);
        for (int i = 0; i < a; ++i) {
            if (in0[i]) continue;
            const Word* x = p0.data() + i * W_;
            for (int j = 0; j < b; ++j) {
                if (in1[j]) continue;
                const Word* y = p1.data() + j * W_;
                bool ok = true, out = false;
                for (int w = 0; w < s_.inWords && ok; ++w) {
                    t[w] = x[w] & y[w];
                    ok = EmptyVars(t[w], s_.InMask(w)) == 0;
                }
                if (!ok) continue;
                for (std::size_t w = s_.inWords; w < W_; ++w) {
                    t[w] = x[w] & y[w];
                    out |= t[w] != 0;
                }
                if (!out) continue;
                seen.Add(pairs, t.data());
                if (pairs.size() > kMaxCoverCubes * W_) throw LimitHit{ExactStatus::TooManyPrimes};
            }
        }
        KeepMaximal(pairs, r, bound, true, true);
        for (int i = 0; i < a; ++i)
            if (!in0[i]) AddWithVar(r, p0.data() + i * W_, v, 1u);
        for (int j = 0; j < b; ++j)
            if (!in1[j]) AddWithVar(r, p1.data() + j * W_, v, 2u);
        TooMany(Count(r));
        return r;
    }

    const Space& s_;
    std::size_t W_;
    ExactDeadline deadline_;
    bool timed_;
    long productLimit_, primeLimit_, splitLimit_;
    long ticks_ = 0;
    long visits_ = 0;
};

}  // namespace

ExactStatus PrimeImplicants(const Cover& f, const ExactParams& p, ExactDeadline deadline, Cover& primes)
{
    const Space& s = f.space();
    try {
        PrimeGenerator gen(s, p, deadline);
        Cubes g;
        for (int i = 0; i < f.Size(); ++i)
            if (!IsEmptyCube(s, f[i])) g.insert(g.end(), f[i], f[i] + s.words);
        Cubes r = gen.Run(std::move(g));
        std::size_t W = std::size_t(s.words);
        int n = W ? int(r.size() / W) : 0;
        // A fixed order (most literals last) so that everything downstream is deterministic.
        std::vector<int> order(n);
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(),
                  [&](int a, int b) { return std::memcmp(r.data() + a * W, r.data() + b * W, sizeof(Word) * W) > 0; });
        primes = Cover(s);
        primes.Reserve(n);
        for (int i : order) primes.Add(r.data() + i * W);
        return ExactStatus::Proven;
    } catch (const LimitHit& e) {
        return e.status;
    } catch (const CoverLimitError&) {
        return ExactStatus::TooManyPrimes;
    }
}

}  // namespace quorlet
