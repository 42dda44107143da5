// Expand, irredundant cover, essential primes, reduce and last gasp, and the loop over them.
#include "Minimize.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <numeric>
#include <optional>

#include "Exact.h"
#include "Parallel.h"
#include "Unate.h"

namespace quorlet {

Cost CostOf(const Cover& f) { return {f.Size(), f.Literals()}; }

namespace {
// QUOR_ESP_TRACE=1 prints the cost after each step, and the processor time used so far, to
// stderr (developer aid; no effect on results).
void Trace(const char* step, const Cover& f)
{
    static const bool on = std::getenv("QUOR_ESP_TRACE") != nullptr;
    if (on)
        std::fprintf(stderr, "%-12s %6d cubes %7d literals %8.3f s\n", step, f.Size(), f.Literals(),
                     double(std::clock()) / CLOCKS_PER_SEC);
}
}  // namespace

namespace {
// Grows one cube into a prime that avoids the OFF-set, preferring raises that swallow
// other cubes of the cover, then raising as many remaining parts as possible.
class Expander {
public:
    // covered: the cubes of f already covered before the first Run.
    Expander(const Cover& f, const Cover& off, const std::vector<char>& covered, bool inputsOnly,
             bool separateByOutputs, bool columnPass)
        : s_(f.space()),
          f_(f),
          off_(off),
          inputsOnly_(inputsOnly),
          separateByOutputs_(separateByOutputs),
          raise_(s_.words),
          free_(s_.words),
          raised_(s_.words)
    {
        for (int i = 0; i < f_.Size(); ++i)
            if (!covered[i]) open_.push_back(i);
        if (columnPass) BuildColumns();
    }

    // Expands f[idx]; marks in covered every cube of f the prime contains.
    void Run(int idx, std::vector<char>& covered, Word* prime)
    {
        const Word* c = f_[idx];
        for (int w = 0; w < s_.words; ++w) {
            raise_[w] = c[w];
            free_[w] = s_.Mask(w) & ~c[w];
            if (inputsOnly_ && w >= s_.inWords) free_[w] = 0;
        }
        if (!blocks_ || !FirstPassByColumns()) {
            active_.resize(off_.Size());
            std::iota(active_.begin(), active_.end(), 0);
            LowerEssentials();
        }
        // Candidates: cubes not yet covered that some raise could still reach.
        cand_.clear();
        for (int i : open_)
            if (i != idx && !covered[i]) cand_.push_back(i);
        while (!cand_.empty()) {
            FilterCandidates(covered);
            if (cand_.empty()) break;
            int pick = PickFeasible();
            std::fill(raised_.begin(), raised_.end(), 0);
            if (pick >= 0) {
                const Word* g = f_[pick];
                for (int w = 0; w < s_.words; ++w) {
                    raised_[w] = g[w] & ~raise_[w];
                    raise_[w] |= g[w];
                    free_[w] &= ~raise_[w];
                }
            } else if (!inputsOnly_) {
                // Nothing can be taken in whole: grow toward where most candidates lie, so that the
                // cubes overlap and irredundant can drop some of them later (since the outputs count
                // as a column of their own in RaiseRest: misex3 661 -> 658, ex1010 280 -> 278). The
                // inputs-only expansion of a finished cover gains nothing from it.
                int part = MostFrequentPart();
                if (part < 0) break;
                raise_[part / 64] |= Word(1) << (part % 64);
                free_[part / 64] &= ~(Word(1) << (part % 64));
                raised_[part / 64] |= Word(1) << (part % 64);
            } else {
                break;
            }
            LowerEssentials(raised_.data());
        }
        RaiseRest();
        std::memcpy(prime, raise_.data(), sizeof(Word) * s_.words);
        covered[idx] = 1;
        std::size_t k = 0;
        for (int i : open_) {
            if (!covered[i] && Contains(s_, prime, f_[i])) covered[i] = 1;
            if (!covered[i]) open_[k++] = i;
        }
        open_.resize(k);
    }

private:
    // The first pass over the OFF-set is most of expand's work: every OFF cube is still in
    // play and its conflicts with the fresh cube can all be raised, so what matters is only
    // whether it conflicts in no, one or several parts. The columns of an index over the
    // OFF-set (per input bit and per output, the OFF cubes holding it) answer that for 64 OFF
    // cubes at a time: an OFF cube conflicts where it lacks a bit the cube holds alone.
    void BuildColumns()
    {
        columns_.emplace(std::initializer_list<const Cover*>{&off_});
        const int n = off_.Size();
        blocks_ = columns_->Blocks();
        dead_.assign(blocks_, 0);
        for (int i = 0; i < n; ++i)
            if (IsEmptyCube(s_, off_[i])) dead_[i >> 6] |= Word(1) << (i & 63);  // meets nothing
        if (n & 63) dead_[blocks_ - 1] |= ~Word(0) << (n & 63);                  // past the end
    }

    // LowerEssentials for the fresh cube, by columns. Gives the same free parts; the OFF cubes
    // left in play are those LowerEssentials leaves, less some it would only drop later.
    // Returns false (nothing done) for a cube with an empty part, which the columns cannot see.
    bool FirstPassByColumns()
    {
        if (IsEmptyCube(s_, raise_.data())) return false;
        // Bits the cube holds alone in its input variables: an OFF cube without one conflicts there.
        litBits_.clear();
        for (int w = 0; w < s_.inWords; ++w) {
            Word lv = LiteralVars(raise_[w], s_.InMask(w));
            Word held = raise_[w] & (lv | (lv << 1));
            for (Word b = held; b; b &= b - 1) litBits_.push_back(w * 64 + std::countr_zero(b));
        }
        columns_->SharingOutputs(raise_.data(), meet_);
        several_.assign(blocks_, 0);
        for (int k = 0; k < blocks_; ++k) {
            Word ones = 0, twos = 0;
            for (int p : litBits_) {
                Word x = ~columns_->Holding(p)[k];
                twos |= ones & x;
                ones |= x;
            }
            Word alive = ~dead_[k];
            Word outConflict = ~meet_[k] & alive;
            if (inputsOnly_) {
                alive &= ~outConflict;  // outputs cannot be raised: never hit
            } else {
                twos |= ones & outConflict;
                ones |= outConflict;
            }
            several_[k] = (twos | ~ones) & alive;  // none: only a cover that meets its OFF-set
            // One conflict: that part must stay lowered.
            for (Word b = ones & ~twos & alive; b; b &= b - 1) {
                const Word* r = off_[k * 64 + std::countr_zero(b)];
                if ((outConflict >> std::countr_zero(b)) & 1) {
                    for (int w = s_.inWords; w < s_.words; ++w) free_[w] &= ~r[w];
                } else {
                    for (int w = 0; w < s_.inWords; ++w) {
                        Word e = EmptyVars(raise_[w] & r[w], s_.InMask(w));
                        free_[w] &= ~(r[w] & (e | (e << 1)));
                    }
                }
            }
        }
        // OFF cubes conflicting where a part was lowered can never be hit.
        for (int p : litBits_) {
            int other = p ^ 1;
            if ((free_[other / 64] >> (other % 64)) & 1) continue;
            const Word* col = columns_->Holding(p);
            for (int k = 0; k < blocks_; ++k) several_[k] &= col[k];
        }
        active_.clear();
        bool outsLowered = false;
        for (int w = s_.inWords; w < s_.words; ++w) outsLowered |= free_[w] != (s_.Mask(w) & ~raise_[w]);
        for (int k = 0; k < blocks_; ++k)
            for (Word b = several_[k]; b; b &= b - 1) {
                int i = k * 64 + std::countr_zero(b);
                if (outsLowered && !((meet_[k] >> std::countr_zero(b)) & 1)) {
                    bool outFree = false;
                    const Word* r = off_[i];
                    for (int w = s_.inWords; w < s_.words; ++w) outFree |= (free_[w] & r[w]) != 0;
                    if (!outFree) continue;
                }
                active_.push_back(i);
            }
        return true;
    }

    // For OFF cube r: the free bits whose raising would remove a conflict with r (input parts:
    // one bit per conflicting variable), and whether r conflicts somewhere that cannot be raised.
    struct Conflict {
        bool fixed = false;
        bool outConflict = false;
    };
    Conflict Examine(const Word* r, Word* rc) const
    {
        Conflict k;
        for (int w = 0; w < s_.inWords; ++w) {
            Word e = EmptyVars(raise_[w] & r[w], s_.InMask(w));
            Word spread = e | (e << 1);
            Word bits = free_[w] & r[w] & spread;
            rc[w] = bits;
            // One bit at most per conflicting variable (r holds one literal there).
            if (((bits | (bits >> 1)) & kEven) != e) k.fixed = true;
        }
        bool outMeet = false, outFree = false;
        for (int w = s_.inWords; w < s_.words; ++w) {
            outMeet |= (raise_[w] & r[w]) != 0;
            outFree |= (free_[w] & r[w]) != 0;
        }
        if (!outMeet) {
            k.outConflict = true;
            if (!outFree) k.fixed = true;
        }
        return k;
    }

    // Drops OFF cubes that can no longer be hit and keeps lowered the part that is the only
    // thing still separating the cube from an OFF cube. Lowering a part never leaves an OFF cube
    // with a single raisable conflict (it then conflicts where nothing can be raised), so one
    // pass is enough; after a raise only OFF cubes meeting the raised bits can have changed.
    void LowerEssentials(const Word* raised = nullptr)
    {
        if (s_.inWords == 1 && s_.outWords == 1) return LowerEssentialsOneWord(raised);
        // Examine's test, with early exits: only whether an OFF cube has no, one or several
        // raisable conflicts matters here.
        const int in = s_.inWords, words = s_.words;
        std::size_t k = 0;
        for (std::size_t a = 0; a < active_.size(); ++a) {
            const Word* r = off_[active_[a]];
            if (raised) {
                bool meets = false;
                for (int w = 0; w < words && !meets; ++w) meets = (r[w] & raised[w]) != 0;
                if (!meets) {
                    active_[k++] = active_[a];
                    continue;
                }
            }
            int conflicts = 0, hitWord = -1;  // conflicts counted up to 2
            bool fixed = false;
            for (int w = 0; w < in; ++w) {
                Word x = raise_[w] & r[w];
                Word e = EmptyVars(x, s_.InMask(w));
                if (!e) continue;
                Word bits = free_[w] & r[w] & (e | (e << 1));
                // One bit at most per conflicting variable (r holds one literal there).
                if (((bits | (bits >> 1)) & kEven) != e) {
                    fixed = true;
                    break;
                }
                conflicts += (e & (e - 1)) ? 2 : 1;
                hitWord = w;
                if (conflicts >= 2) break;
            }
            if (fixed) continue;
            bool outMeet = false, outFree = false;
            for (int w = in; w < words; ++w) {
                outMeet |= (raise_[w] & r[w]) != 0;
                outFree |= (free_[w] & r[w]) != 0;
            }
            if (!outMeet) {
                if (!outFree) continue;  // a conflict nothing can raise away
                ++conflicts;
            }
            if (conflicts == 1) {
                if (!outMeet) {
                    for (int w = in; w < words; ++w) free_[w] &= ~r[w];
                } else {
                    Word e = EmptyVars(raise_[hitWord] & r[hitWord], s_.InMask(hitWord));
                    free_[hitWord] &= ~(r[hitWord] & (e | (e << 1)));
                }
                continue;  // now fixed
            }
            active_[k++] = active_[a];
        }
        active_.resize(k);
    }

    // The same for the usual shape, one word of inputs and one of outputs, where it is the
    // innermost loop of the whole minimizer: the same decisions, kept in registers.
    void LowerEssentialsOneWord(const Word* raised)
    {
        const Word rin = raise_[0], rout = raise_[1], mask = s_.InMask(0);
        Word fin = free_[0], fout = free_[1];
        const Word hitIn = raised ? raised[0] : ~Word(0), hitOut = raised ? raised[1] : ~Word(0);
        std::size_t k = 0;
        for (std::size_t a = 0; a < active_.size(); ++a) {
            const Word* r = off_[active_[a]];
            if (!((r[0] & hitIn) | (r[1] & hitOut))) {
                active_[k++] = active_[a];
                continue;
            }
            Word x = rin & r[0];
            Word e = ~(x | (x >> 1)) & kEven & mask;
            Word bits = fin & r[0] & (e | (e << 1));
            int raisable = std::popcount(bits);
            if (raisable < std::popcount(e)) continue;  // a conflict nothing can raise away
            bool outConflict = (rout & r[1]) == 0;
            if (outConflict) {
                if (!(fout & r[1])) continue;
                ++raisable;
            }
            if (raisable == 1) {
                if (outConflict) fout &= ~r[1];
                else fin &= ~bits;
                continue;
            }
            active_[k++] = active_[a];
        }
        active_.resize(k);
        free_[0] = fin;
        free_[1] = fout;
    }

    void FilterCandidates(std::vector<char>& covered)
    {
        std::size_t k = 0;
        for (int i : cand_) {
            if (covered[i]) continue;
            const Word* g = f_[i];
            bool inside = true, reach = true;
            for (int w = 0; w < s_.words; ++w) {
                Word out = g[w] & ~raise_[w];
                if (out) inside = false;
                if (out & ~free_[w]) {
                    reach = false;
                    break;
                }
            }
            if (!reach) continue;
            if (inside) {
                covered[i] = 1;
                continue;
            }
            cand_[k++] = i;
        }
        cand_.resize(k);
    }

    bool Feasible(const Word* g) const
    {
        if (s_.inWords == 1 && s_.outWords == 1) {
            const Word tin = raise_[0] | g[0], tout = raise_[1] | g[1], mask = s_.InMask(0);
            for (int r : active_) {
                const Word* o = off_[r];
                Word x = tin & o[0];
                if ((tout & o[1]) && !EmptyVars(x, mask)) return false;
            }
            return true;
        }
        std::vector<Word>& t = tmp_;
        t.resize(s_.words);
        for (int w = 0; w < s_.words; ++w) t[w] = raise_[w] | g[w];
        for (int r : active_)
            if (Intersects(s_, t.data(), off_[r])) return false;
        return true;
    }

    // The reachable cube whose raise would take in the most other candidates.
    int PickFeasible()
    {
        int best = -1, bestCount = -1, bestBits = 0;
        int checked = 0;
        std::vector<Word> t(s_.words);
        for (int i : cand_) {
            const Word* g = f_[i];
            if (!Feasible(g)) continue;
            for (int w = 0; w < s_.words; ++w) t[w] = raise_[w] | g[w];
            int count = 0;
            for (int j : cand_)
                if (Contains(s_, t.data(), f_[j])) ++count;
            int bits = CountBits(s_, t.data());
            if (count > bestCount || (count == bestCount && bits > bestBits)) {
                best = i;
                bestCount = count;
                bestBits = bits;
            }
            if (++checked >= 64) break;  // enough choice; the rest gets its turn next round
        }
        return best;
    }

    // The free part (bit) that most candidates hold. Every free part can be raised: each OFF
    // cube still in play keeps at least two raisable conflicts after LowerEssentials.
    int MostFrequentPart()
    {
        count_.assign(s_.words * 64, 0);
        for (int i : cand_) {
            const Word* g = f_[i];
            for (int w = 0; w < s_.words; ++w)
                for (Word b = g[w] & free_[w]; b; b &= b - 1) ++count_[w * 64 + std::countr_zero(b)];
        }
        int best = int(std::max_element(count_.begin(), count_.end()) - count_.begin());
        return count_[best] > 0 ? best : -1;
    }

    // Keeps lowered a small set of parts that still separates every OFF cube, raises all other
    // free input parts, then every output that stays clear of the OFF-set. The outputs count as
    // one more column beside the input parts: letting them keep apart every OFF cube they can
    // saves input literals but makes primes with fewer outputs, and on functions of many
    // outputs more cubes (cps 171 against 162, seq 344 against 334).
    void RaiseRest()
    {
        // One row of `width` words a remaining OFF cube, side by side in one buffer.
        const int width = s_.inWords + (separateByOutputs_ ? 0 : 1);
        rows_.clear();
        rc_.resize(s_.words);
        for (int r : active_) {
            Conflict c = Examine(off_[r], rc_.data());
            if (c.fixed || (c.outConflict && separateByOutputs_)) continue;
            rows_.insert(rows_.end(), rc_.begin(), rc_.begin() + s_.inWords);
            if (!separateByOutputs_) rows_.push_back(c.outConflict ? 1 : 0);
        }
        std::vector<Word> keep(std::max(width, 1), 0);
        std::size_t n = width ? rows_.size() / width : 0;
        count_.resize(std::size_t(width) * 64);
        while (n) {
            std::fill(count_.begin(), count_.end(), 0);
            for (std::size_t i = 0; i < n; ++i)
                for (int w = 0; w < width; ++w)
                    for (Word b = rows_[i * width + w]; b; b &= b - 1) ++count_[w * 64 + std::countr_zero(b)];
            int best = int(std::max_element(count_.begin(), count_.end()) - count_.begin());
            const int bw = best / 64;
            const Word bit = Word(1) << (best % 64);
            keep[bw] |= bit;
            std::size_t k = 0;
            for (std::size_t i = 0; i < n; ++i)
                if (!(rows_[i * width + bw] & bit)) {
                    if (k != i) std::copy_n(&rows_[i * width], width, &rows_[k * width]);
                    ++k;
                }
            n = k;
        }
        for (int w = 0; w < s_.inWords; ++w) {
            raise_[w] |= free_[w] & ~keep[w];
            free_[w] = 0;
        }
        if (inputsOnly_) return;
        std::vector<Word> blocked(s_.outWords, 0);
        for (int r : active_) {
            const Word* o = off_[r];
            if (InputsIntersect(s_, raise_.data(), o))
                for (int w = 0; w < s_.outWords; ++w) blocked[w] |= o[s_.inWords + w];
        }
        for (int w = 0; w < s_.outWords; ++w) raise_[s_.inWords + w] |= free_[s_.inWords + w] & ~blocked[w];
    }

    const Space& s_;
    const Cover& f_;
    const Cover& off_;
    bool inputsOnly_;
    bool separateByOutputs_;  // the outputs keep apart every OFF cube they keep apart
    std::vector<Word> raise_, free_, raised_;
    mutable std::vector<Word> tmp_;
    std::vector<int> active_, cand_, count_;
    std::vector<int> open_;  // cubes of f not covered yet, ascending
    // Columns over the OFF-set (BuildColumns); blocks_ == 0 when not built.
    std::optional<MeetIndex> columns_;
    int blocks_ = 0;
    std::vector<Word> dead_, meet_, several_;
    std::vector<int> litBits_;
    std::vector<Word> rows_, rc_;  // RaiseRest's scratch
};

// Cubes rarely shared with others first: they are the least likely to be covered by
// another expansion, and expanding them first lets them swallow the common ones.
std::vector<int> ExpandOrder(const Cover& f)
{
    const Space& s = f.space();
    std::vector<int> col(s.words * 64, 0);
    for (int i = 0; i < f.Size(); ++i)
        for (int w = 0; w < s.words; ++w)
            for (Word b = f[i][w]; b; b &= b - 1) ++col[w * 64 + std::countr_zero(b)];
    std::vector<long> weight(f.Size(), 0);
    for (int i = 0; i < f.Size(); ++i)
        for (int w = 0; w < s.words; ++w)
            for (Word b = f[i][w]; b; b &= b - 1) weight[i] += col[w * 64 + std::countr_zero(b)];
    std::vector<int> order(f.Size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return weight[a] < weight[b]; });
    return order;
}

Cover Join(const Cover& a, const Cover& b)
{
    Cover r = a;
    r.Append(b);
    return r;
}

// Expansion for functions whose OFF-set is too large to build: raise one part at a time and
// keep the raise when the grown cube still lies inside the ON and don't-care sets.
Cover ExpandByTautology(const Cover& f, const Cover& care, bool inputsOnly)
{
    const Space& s = f.space();
    Cover r(s);
    std::vector<char> covered(f.Size(), 0);
    std::vector<Word> c(s.words);
    for (int i : ExpandOrder(f)) {
        if (covered[i]) continue;
        std::memcpy(c.data(), f[i], sizeof(Word) * s.words);
        for (int v = 0; v < s.ni; ++v) {
            unsigned b = GetVar(c.data(), v);
            if (b == 3) continue;
            SetVar(c.data(), v, 3);
            if (!CubeCovered(c.data(), {&care})) SetVar(c.data(), v, b);
        }
        for (int j = 0; j < s.no && !inputsOnly; ++j) {
            if (GetOut(s, c.data(), j)) continue;
            SetOut(s, c.data(), j, true);
            if (!CubeCovered(c.data(), {&care})) SetOut(s, c.data(), j, false);
        }
        for (int k = 0; k < f.Size(); ++k)
            if (!covered[k] && Contains(s, c.data(), f[k])) covered[k] = 1;
        covered[i] = 1;
        r.Add(c.data());
    }
    SingleCubeContainment(r);
    return r;
}

// prime (optional): cubes of f known to be primes already, left as they are.
Cover ExpandIn(const Cover& f, const Cover& off, bool inputsOnly, bool separateByOutputs,
               const std::vector<char>* prime = nullptr, bool columnPass = true);

struct Grow {
    const Cover* off;   // OFF-set, or null
    const Cover* care;  // ON and don't-care sets, used when off is null
    bool separateByOutputs = false;
    Cover operator()(const Cover& f, bool inputsOnly = false, const std::vector<char>* prime = nullptr) const
    {
        return off ? ExpandIn(f, *off, inputsOnly, separateByOutputs, prime) : ExpandByTautology(f, *care, inputsOnly);
    }
};

Cover LastGaspWith(const Cover& f, const Cover& dc, const Grow& grow, const MinimizeParams& p);
Cover MakeSparseWith(const Cover& f, const Cover& dc, const Grow& grow, const MinimizeParams& p);
MinimizeResult MinimizeWith(const Cover& on, const Cover& dc, const Cover* off, const MinimizeParams& p);

}  // namespace

Cover Expand(const Cover& f, const Cover& off, bool inputsOnly) { return ExpandIn(f, off, inputsOnly, false); }

Cover Expand(const Cover& f, const Cover& off, const ExpandParams& p)
{
    return ExpandIn(f, off, p.inputsOnly, false, nullptr, p.columnPass);
}

namespace {
Cover ExpandIn(const Cover& f, const Cover& off, bool inputsOnly, bool separateByOutputs,
               const std::vector<char>* isPrime, bool columnPass)
{
    const Space& s = f.space();
    Cover r(s);
    std::vector<char> covered(f.Size(), 0);
    if (isPrime) {
        // Primes stay as they are, and no other expansion can take them in; cubes inside them
        // are already covered.
        for (int i = 0; i < f.Size(); ++i) covered[i] = (*isPrime)[i];
        for (int i = 0; i < f.Size(); ++i) {
            if (covered[i]) continue;
            for (int k = 0; k < f.Size() && !covered[i]; ++k)
                if ((*isPrime)[k] && Contains(s, f[k], f[i])) covered[i] = 1;
        }
    }
    Expander ex(f, off, covered, inputsOnly, separateByOutputs, columnPass);
    std::vector<Word> prime(s.words);
    for (int i : ExpandOrder(f)) {
        if (isPrime && (*isPrime)[i]) {
            r.Add(f[i]);
            continue;
        }
        if (covered[i]) continue;
        ex.Run(i, covered, prime.data());
        r.Add(prime.data());
    }
    SingleCubeContainment(r);
    return r;
}
}  // namespace

namespace {
// Drops the pieces (cofactors of the other cubes; tag -1: a fixed cube) that lie inside a
// fixed one, of two equal fixed ones the later. A fixed piece holds another only when each of
// its literals is one of the other's, so its candidates are the pieces that share its first
// few literals, taken from bit sets over the pieces (one per literal) instead of comparing
// every pair: a wide cube's pieces against thousands of narrow don't-care cubes are many.
void DropPiecesInsideFixed(Cover& g, std::vector<int>& tag)
{
    const Space& s = g.space();
    const int m = g.Size();
    bool anyFixed = false;
    for (int b = 0; b < m; ++b) anyFixed |= tag[b] < 0;
    if (!anyFixed) return;
    const int blocks = (m + 63) / 64;
    // having[(2v + value) * blocks ...]: the pieces holding that literal alone in v; a piece
    // with an empty part lies inside anything there and counts as holding both literals.
    std::vector<Word> having(std::size_t(2) * s.ni * blocks, 0);
    for (int a = 0; a < m; ++a)
        for (int w = 0; w < s.inWords; ++w)
            for (Word lv = LiteralVars(g[a][w], s.InMask(w)); lv; lv &= lv - 1) {
                const int at = std::countr_zero(lv), v = w * 32 + at / 2;
                const unsigned bits = unsigned(g[a][w] >> at) & 3u;  // 1: x', 2: x, 0: empty
                const Word bit = Word(1) << (a & 63);
                if (bits != 2u) having[(std::size_t(2) * v) * blocks + (a >> 6)] |= bit;
                if (bits != 1u) having[(std::size_t(2) * v + 1) * blocks + (a >> 6)] |= bit;
            }
    std::vector<Word> inside(blocks, 0), cand(blocks);
    constexpr int kColumns = 4;  // enough to leave few candidates, cheap for a dense piece
    for (int b = 0; b < m; ++b) {
        if (tag[b] >= 0) continue;
        std::fill(cand.begin(), cand.end(), ~Word(0));
        int used = 0;
        for (int w = 0; w < s.inWords && used < kColumns; ++w)
            for (Word lv = LiteralVars(g[b][w], s.InMask(w)); lv && used < kColumns; lv &= lv - 1, ++used) {
                const int at = std::countr_zero(lv), v = w * 32 + at / 2;
                const int value = int((g[b][w] >> (at + 1)) & 1);
                const Word* col = &having[(std::size_t(2) * v + value) * blocks];
                for (int k = 0; k < blocks; ++k) cand[k] &= col[k];
            }
        for (int k = 0; k < blocks; ++k)
            for (Word x = cand[k] & ~inside[k]; x; x &= x - 1) {
                const int a = k * 64 + std::countr_zero(x);
                if (a >= m || a == b || !Contains(s, g[b], g[a])) continue;
                if (tag[a] >= 0 || b < a || !Equal(s, g[a], g[b])) inside[k] |= Word(1) << (a & 63);
            }
    }
    std::vector<char> keep(m);
    std::vector<int> kept;
    for (int a = 0; a < m; ++a) {
        keep[a] = !((inside[a >> 6] >> (a & 63)) & 1);
        if (keep[a]) kept.push_back(tag[a]);
    }
    g.Filter(keep);
    tag.swap(kept);
}
}  // namespace

Cover Irredundant(const Cover& f, const Cover& dc, const MinimizeParams& p)
{
    const Space& s = f.space();
    int n = f.Size();
    // Each cube's test stands alone, so they run side by side.
    std::vector<char> essential(n, 0);
    {
        MeetIndex all({&f, &dc});
        ParallelFor(n, [&](int i) { essential[i] = !CubeCovered(f[i], all, f[i]); });
    }
    Cover e(s);
    for (int i = 0; i < n; ++i)
        if (essential[i]) e.Add(f[i]);
    std::vector<char> redundant(n, 0);
    {
        MeetIndex fixed({&e, &dc});
        ParallelFor(n, [&](int i) { redundant[i] = !essential[i] && CubeCovered(f[i], fixed); });
    }
    Cover part(s);
    for (int i = 0; i < n; ++i)
        if (!essential[i] && !redundant[i]) part.Add(f[i]);
    if (part.Empty()) return e;
    // Partially redundant cubes: keep a smallest subset that together with the rest covers each.
    std::vector<std::vector<int>> rows;
    MeetIndex index({&e, &dc, &part});
    std::vector<int> near;
    for (int k = 0; k < part.Size(); ++k) {
        const Word* c = part[k];
        Cover g(s);
        std::vector<int> tag;
        index.Meeting(c, near);
        for (int i : near) {
            const Word* d = index.At(i);
            if (d == c || !Intersects(s, d, c)) continue;
            Cofactor(s, d, c, g.AddZero());
            tag.push_back(i >= index.Start(2) ? i - index.Start(2) : -1);
        }
        // A piece inside a fixed one never decides anything: wherever it covers, the fixed one
        // does. Dropping such pieces (of two equal fixed ones, the later) spares the enumeration
        // below its splits (cordic 1.01 -> 0.94 s).
        DropPiecesInsideFixed(g, tag);
        std::vector<std::vector<int>> mine;
        if (!CoveringRows(std::move(g), std::move(tag), OutputsOf(s, c), mine)) {
            rows.push_back({k});  // cannot be covered by the others: must stay
            continue;
        }
        // Pieces of c cut apart by the fixed cubes often ask for the same cubes again.
        std::sort(mine.begin(), mine.end());
        mine.erase(std::unique(mine.begin(), mine.end()), mine.end());
        for (auto& row : mine) {
            row.push_back(k);
            rows.push_back(std::move(row));
        }
    }
    std::vector<int> keep = MinimumCoverByBlocks(rows, part.Size(), p.exactCoverColumns, p.exactCoverNodes);
    for (int k : keep) e.Add(part[k]);
    return e;
}

namespace {
// Reduces the cubes of f one after the other in the given order: each gives up what the
// others (already reduced ones as they now are) cover.
// same (optional): for each cube of the result, whether reduce left it as it was.
Cover ReduceInOrder(const Cover& f, const Cover& dc, const std::vector<int>& order, std::vector<char>* same = nullptr);
Cover ReduceBySize(const Cover& f, const Cover& dc, std::vector<char>* same);
}  // namespace

Cover Reduce(const Cover& f, const Cover& dc) { return ReduceBySize(f, dc, nullptr); }

namespace {
// Largest cubes first.
Cover ReduceBySize(const Cover& f, const Cover& dc, std::vector<char>* same)
{
    const Space& s = f.space();
    int n = f.Size();
    std::vector<int> bits(n), order(n);
    for (int i = 0; i < n; ++i) bits[i] = CountBits(s, f[i]);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return bits[a] > bits[b]; });
    return ReduceInOrder(f, dc, order, same);
}

Cover ReduceInOrder(const Cover& f, const Cover& dc, const std::vector<int>& order, std::vector<char>* same)
{
    const Space& s = f.space();
    Cover r = f;
    int n = r.Size();
    std::vector<char> keep(n, 1);
    std::vector<Word> out(s.words);
    MeetIndex index({&r, &dc});  // cubes only shrink below: its answers stay supersets
    for (int i : order) {
        if (ReduceCube(r[i], index, r[i], out.data())) {
            std::memcpy(r[i], out.data(), sizeof(Word) * s.words);
        } else {
            // Fully covered by the others: an empty cube covers nothing and is dropped.
            std::memset(r[i], 0, sizeof(Word) * s.words);
            keep[i] = 0;
        }
    }
    if (same) {
        same->clear();
        for (int i = 0; i < n; ++i)
            if (keep[i]) same->push_back(Equal(s, r[i], f[i]));
    }
    r.Filter(keep);
    return r;
}
}  // namespace

std::vector<char> EssentialPrimes(const Cover& f, const Cover& dc, long steps)
{
    const Space& s = f.space();
    std::vector<char> ess(f.Size(), 0);
    MeetIndex index({&f, &dc});
    ParallelFor(f.Size(), [&](int i) {
        thread_local std::vector<int> near;
        thread_local std::vector<Word> t;
        t.resize(s.words);
        const Word* p = f[i];
        Cover h(s);
        index.Near(p, near);
        for (int k : near) {
            const Word* d = index.At(k);
            if (d == p) continue;
            if (!Consensus(s, d, p, t.data()) || IsEmptyCube(s, t.data())) continue;
            h.Add(t.data());
            // The outputs are one many-valued variable: where d and p meet, their consensus also
            // takes the union of the outputs, an implicant that shows another prime covering p
            // there in every output of p. Without it, cubes shared by several outputs pass for
            // essential (seq: 333 of 473, where a cover of 344 holds only 220 of them).
            bool outsInside = true;
            for (int w = s.inWords; w < s.words; ++w) outsInside &= (d[w] & ~p[w]) == 0;
            if (outsInside || Distance(s, d, p) != 0) continue;
            for (int w = s.inWords; w < s.words; ++w) t[w] = p[w];
            h.Add(t.data());
        }
        // Proving a cube not essential is the costly side: the recursion has to find the
        // other primes all around it. One not settled within the budget stays in the loop,
        // which is always safe.
        ess[i] = !CubeMaybeCovered(p, h, steps);
    });
    return ess;
}

Cover LastGasp(const Cover& f, const Cover& dc, const Cover& off, const MinimizeParams& p)
{
    return LastGaspWith(f, dc, Grow{&off, nullptr}, p);
}

Cover MakeSparse(const Cover& f, const Cover& dc, const Cover& off)
{
    return MakeSparseWith(f, dc, Grow{&off, nullptr}, MinimizeParams{});
}

namespace {
MinimizeResult MinimizeBoth(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& p);
}

MinimizeResult Minimize(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& p)
{
    MinimizeResult r = MinimizeBoth(on, dc, off, p);
    if (r.cover.Size() > p.primeCoverCubes) return r;
    // Super gasp for small results: the loop's local minimum can sit a few cubes above the best
    // choice among all primes (9sym 87 against 84, bw 25 against 22). Every limit here counts
    // work, never time, so the answer stays the same from run to run; a problem past a limit
    // keeps the loop's cover.
    auto t0 = std::chrono::steady_clock::now();
    ExactParams ep;
    ep.maxSeconds = 0;
    ep.maxPrimes = p.primeCoverPrimes;
    ep.maxProducts = 20L * p.primeCoverPrimes;
    ep.maxSplitCubes = 20L * p.primeCoverPrimes;
    ep.maxRows = 40L * p.primeCoverPrimes;
    ep.maxCoreCells = 320L * p.primeCoverPrimes;  // rows x columns left after reduction (9sym: 420 x 1680)
    ep.maxNodes = p.primeCoverNodes;
    ep.literalNodes = p.primeCoverNodes;
    ep.sparse = p.sparse;
    ExactReport rep = ExactMinimizeReport(on, dc, off, ep);
    if (rep.status == ExactStatus::Proven && CostOf(rep.cover) < CostOf(r.cover)) {
        r.cover = std::move(rep.cover);
        r.stats.cubes = r.cover.Size();
        r.stats.inputLiterals = r.cover.InputLiterals();
        r.stats.outputLiterals = r.cover.Literals() - r.stats.inputLiterals;
    }
    r.stats.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return r;
}

namespace {
MinimizeResult MinimizeBoth(const Cover& on, const Cover& dc, const Cover& off, const MinimizeParams& p)
{
    MinimizeResult r = MinimizeWith(on, dc, &off, p);
    if (!p.secondStart || on.Size() < 2) return r;
    // The loop ends in a local minimum that depends on where it starts; the complement of the
    // OFF-set is a second start, taken when it is the smaller cover.
    Cover start;
    try {
        start = Complement(off, std::size_t(on.Size() - 1));
    } catch (const CoverLimitError&) {
        return r;
    }
    MinimizeResult r2 = MinimizeWith(start, dc, &off, p);
    r2.stats.inputCubes = r.stats.inputCubes;
    r2.stats.seconds += r.stats.seconds;
    if (CostOf(r2.cover) < CostOf(r.cover)) return r2;
    r.stats.seconds = r2.stats.seconds;
    return r;
}
}  // namespace

MinimizeResult MinimizeWithoutOff(const Cover& on, const Cover& dc, const MinimizeParams& p)
{
    return MinimizeWith(on, dc, nullptr, p);
}

namespace {

Cover LastGaspWith(const Cover& f, const Cover& dc, const Grow& grow, const MinimizeParams& p)
{
    const Space& s = f.space();
    // Every cube is reduced against the others as they are, so the cubes go side by side.
    const int n = f.Size();
    std::vector<Word> out(std::size_t(n) * s.words);
    std::vector<char> smaller(n, 0);
    MeetIndex index({&f, &dc});
    ParallelFor(n, [&](int i) {
        Word* o = out.data() + std::size_t(i) * s.words;
        smaller[i] = ReduceCube(f[i], index, f[i], o) && !Equal(s, o, f[i]);
    });
    Cover reduced(s);
    for (int i = 0; i < n; ++i)
        if (smaller[i]) reduced.Add(out.data() + std::size_t(i) * s.words);
    if (reduced.Size() < 2) return f;
    Cover primes = grow(reduced);
    Cover fresh(s);
    for (int i = 0; i < primes.Size(); ++i) {
        bool known = false;
        for (int k = 0; k < f.Size() && !known; ++k) known = Equal(s, primes[i], f[k]);
        if (!known) fresh.Add(primes[i]);
    }
    if (fresh.Empty()) return f;
    return Irredundant(Join(f, fresh), dc, p);
}

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

Cover MakeSparseWith(const Cover& f, const Cover& dc, const Grow& grow, const MinimizeParams& p)
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
    r = grow(r, true);
    // Inputs grown after outputs were lowered can leave a cube covered by the others.
    MeetIndex index({&r, &dc});
    for (int i = 0; i < r.Size(); ++i)
        if (CubeCovered(r[i], index, r[i])) return Irredundant(r, dc, p);
    return r;
}

MinimizeResult MinimizeWith(const Cover& on, const Cover& dc, const Cover* off, const MinimizeParams& p)
{
    auto t0 = std::chrono::steady_clock::now();
    const Space& s = on.space();
    MinimizeResult res;
    res.stats.inputCubes = on.Size();
    Cover f = on;
    f.RemoveEmpty();
    SingleCubeContainment(f);
    Cover d = dc;
    d.RemoveEmpty();
    Cover care = on;
    care.Append(d);
    Grow grow{off, &care};

    Trace("start", f);
    f = grow(f);
    Trace("expand", f);
    f = Irredundant(f, d, p);
    Trace("irredundant", f);
    Cover ess(s);
    // Always without an OFF-set, where the loop is slowest.
    if (p.essentials || !off) {
        std::vector<char> e = EssentialPrimes(f, d, p.essentialSteps);
        std::vector<char> rest(f.Size());
        for (int i = 0; i < f.Size(); ++i) {
            if (e[i]) ess.Add(f[i]);
            rest[i] = !e[i];
        }
        f.Filter(rest);
        d.Append(ess);
    }
    res.stats.essentials = ess.Size();
    Cost best = CostOf(f);
    int stalls = 0;
    for (int loop = 0; loop < p.maxLoops; ++loop) {
        res.stats.loops = loop + 1;
        std::vector<char> same;
        Cover reduced = ReduceBySize(f, d, &same);
        Trace("reduce", reduced);
        Cover g = grow(reduced, false, &same);  // cubes reduce left alone are still primes
        Trace("expand", g);
        g = Irredundant(g, d, p);
        Trace("irredundant", g);
        Cost c = CostOf(g);
        bool moved = false;  // f is no longer the cover reduced above
        if (c < best && c.cubes < best.cubes) {
            f.Swap(g);
            best = c;
            continue;
        }
        if (c < best) {
            // Fewer literals only: keep the cover, but look for fewer cubes the other ways at once
            // rather than round after round of small literal gains (ex5 72 -> 71; misex3 4% faster).
            f.Swap(g);
            best = c;
            moved = true;
        }
        if (++stalls > p.maxStallRounds) break;
        // Ways out of the local minimum, the cheap one first: before the last gasp it finds other
        // minima (cps 162 -> 160, ex1010 278 -> 274, apex4 435 -> 432).
        if (p.otherReduceOrder) {
            // Reduce the cubes shared least first (the order expand takes them in), which leaves
            // different parts to the common cubes.
            std::vector<char> same2;
            g = ReduceInOrder(f, d, ExpandOrder(f), &same2);
            Trace("reduce 2", g);
            g = Irredundant(grow(g, false, &same2), d, p);
            Trace("irredundant", g);
            c = CostOf(g);
            if (c < best) {
                f.Swap(g);
                best = c;
                continue;
            }
        }
        if (p.lastGasp) {
            g = LastGaspWith(f, d, grow, p);
            Trace("last gasp", g);
            c = CostOf(g);
            if (c < best) {
                f.Swap(g);
                best = c;
                continue;
            }
        }
        if (p.otherExpand && off) {
            // Primes of another shape: an OFF cube the outputs already keep apart stays apart by
            // the outputs, and the inputs grow instead.
            Grow other = grow;
            other.separateByOutputs = true;
            if (moved) reduced = ReduceBySize(f, d, &same);
            g = Irredundant(other(reduced, false, &same), d, p);
            Trace("expand 2", g);
            c = CostOf(g);
            if (c < best) {
                f.Swap(g);
                best = c;
                continue;
            }
        }
        break;
    }
    f.Append(ess);
    d = dc;
    d.RemoveEmpty();
    if (p.sparse) f = MakeSparseWith(f, d, grow, p);
    res.cover = std::move(f);
    res.stats.cubes = res.cover.Size();
    res.stats.inputLiterals = res.cover.InputLiterals();
    res.stats.outputLiterals = res.cover.Literals() - res.stats.inputLiterals;
    res.stats.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return res;
}

}  // namespace

}  // namespace quorlet
