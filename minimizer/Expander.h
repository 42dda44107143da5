// The expander behind Expand: one cube at a time grown into a prime clear of the OFF-set.
// Used by Expand.cpp; the tests put in another first pass to compare against.
#pragma once

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <optional>
#include <vector>

#include "Expand.h"
#include "MeetIndex.h"

namespace quorlet {

// Grows one cube into a prime that avoids the OFF-set, preferring raises that swallow
// other cubes of the cover, then raising as many remaining parts as possible.
class Expander {
public:
    virtual ~Expander() = default;
    // covered: the cubes of f already covered before the first Run.
    Expander(const Cover& f, const Cover& off, const std::vector<char>& covered, const ExpandParams& p)
        : s_(f.space()),
          f_(f),
          off_(off),
          inputsOnly_(p.inputsOnly),
          separateByOutputs_(p.separateByOutputs),
          raise_(s_.words),
          free_(s_.words),
          raised_(s_.words)
    {
        for (int i = 0; i < f_.Size(); ++i)
            if (!covered[i]) open_.push_back(i);
        BuildColumns();
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
        if (!FirstPass()) {
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

protected:
    // Settles the fresh cube against the whole OFF-set at once: the free parts and the OFF cubes
    // still in play, as LowerEssentials over every OFF cube would leave them. Returns false when
    // it did nothing (Run then takes every OFF cube through LowerEssentials).
    virtual bool FirstPass() { return blocks_ && FirstPassByColumns(); }

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

// Expand with expander E (Expander, or one with another first pass).
template <class E>
Cover ExpandWith(const Cover& f, const Cover& off, const ExpandParams& p)
{
    const std::vector<char>* isPrime = p.primes;
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
    E ex(f, off, covered, p);
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

}  // namespace quorlet
