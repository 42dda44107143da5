// Exact minimization: primes of the valid region, covering rows from the ON-set split into
// regions that no prime cuts, the minimum covering, and a final check of the result.
#include "Exact.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "Expand.h"
#include "MakeSparse.h"
#include "MeetIndex.h"
#include "Unate.h"

namespace quorlet {

const char* ExactStatusName(ExactStatus s)
{
    switch (s) {
    case ExactStatus::Proven: return "proven";
    case ExactStatus::TooManyPrimes: return "too many primes";
    case ExactStatus::TooManyRows: return "covering problem too large";
    case ExactStatus::TooManyNodes: return "branch and bound node limit reached";
    case ExactStatus::OutOfTime: return "time limit reached";
    case ExactStatus::Unsatisfiable: return "ON-set not coverable without touching the OFF-set";
    }
    return "?";
}

namespace {

struct RowLimit {};

// Covering rows of one output: every ON point needs one of the primes that contain it. ON
// cubes are split until each piece lies inside or outside every prime; the primes holding a
// piece make one row.
class RowBuilder {
public:
    // Points inside a prime marked in `essential` need no row: every cover holds that prime.
    RowBuilder(const Space& s, const Cover& primes, const std::vector<char>& essential, long limit,
               std::vector<std::vector<int>>& rows)
        : s_(s),
          one_(s.ni, 1),
          primes_(primes),
          essential_(essential),
          limit_(limit),
          rows_(rows),
          cut_(one_),
          region_(one_.words)
    {
    }

    bool unsatisfiable = false;

    void Add(const Word* piece, const std::vector<int>& candidates)
    {
        std::vector<Word> region(piece, piece + std::max(1, s_.inWords));
        std::vector<int> meet;
        for (int p : candidates)
            if (InputsIntersect(s_, primes_[p], region.data())) meet.push_back(p);
        Split(region, meet);
    }

private:
    bool InputsHold(const Word* big, const Word* small) const
    {
        for (int w = 0; w < s_.inWords; ++w)
            if (small[w] & ~big[w]) return false;
        return true;
    }

    void Split(std::vector<Word>& region, const std::vector<int>& meet)
    {
        std::vector<int> hold, cut, essentialCut;
        for (int p : meet) {
            bool inside = InputsHold(primes_[p], region.data());
            if (essential_[p]) {
                if (inside) return;
                essentialCut.push_back(p);
            } else {
                (inside ? hold : cut).push_back(p);
            }
        }
        if (!essentialCut.empty()) {
            if (CutCovers(region.data(), essentialCut)) return;
            cut.insert(cut.end(), essentialCut.begin(), essentialCut.end());
        }
        if (!cut.empty() && !CutCovers(region.data(), cut)) {
            // Some point of the region lies in no cutting prime: its row is the holding primes
            // alone, and every other point's row contains that one.
            cut.clear();
        }
        if (cut.empty()) {
            if (hold.empty()) {
                unsatisfiable = true;
                return;
            }
            if (long(rows_.size()) >= limit_) throw RowLimit{};
            rows_.push_back(std::move(hold));
            return;
        }
        // Split on the variable that the most cutting primes restrict.
        std::vector<int>& count = count_;
        count.assign(s_.ni, 0);
        for (int p : cut)
            for (int w = 0; w < s_.inWords; ++w) {
                Word open = LiteralVars(primes_[p][w], s_.InMask(w)) & ~LiteralVars(region[w], s_.InMask(w));
                for (; open; open &= open - 1) ++count[w * 32 + std::countr_zero(open) / 2];
            }
        int v = int(std::max_element(count.begin(), count.end()) - count.begin());
        for (unsigned half : {1u, 2u}) {
            std::vector<int> sub = hold;
            for (int p : cut)
                if (GetVar(primes_[p], v) & half) sub.push_back(p);
            SetVar(region.data(), v, half);
            Split(region, sub);
            SetVar(region.data(), v, 3);
        }
    }

    // Do the cutting primes together cover the whole region?
    bool CutCovers(const Word* region, const std::vector<int>& cut)
    {
        cut_.Clear();
        for (int p : cut) {
            Word* c = cut_.AddZero();
            std::memcpy(c, primes_[p], sizeof(Word) * s_.inWords);
            SetOut(one_, c, 0, true);
        }
        std::fill(region_.begin(), region_.end(), 0);
        std::memcpy(region_.data(), region, sizeof(Word) * s_.inWords);
        SetOut(one_, region_.data(), 0, true);
        return CubeCovered(region_.data(), {&cut_});
    }

    const Space& s_;
    Space one_;  // the inputs with a single output, for the covering question
    const Cover& primes_;
    const std::vector<char>& essential_;
    long limit_;
    std::vector<std::vector<int>>& rows_;
    Cover cut_;
    std::vector<Word> region_;
    std::vector<int> count_;  // per input: cutting primes restricting it, for the split at hand
};

// Pieces are input parts stored at this stride (one spare word when there are no inputs).
int Stride(const Space& s) { return std::max(1, s.inWords); }

// Input cube a minus input cube b as cubes (not disjoint), appended to out.
void InputSharp(const Space& s, const Word* a, const Word* b, std::vector<Word>& out)
{
    for (int v = 0; v < s.ni; ++v) {
        unsigned rest = GetVar(a, v) & ~GetVar(b, v) & 3u;
        if (!rest) continue;
        std::size_t at = out.size();
        out.insert(out.end(), a, a + Stride(s));
        SetVar(out.data() + at, v, rest);
    }
}

// The input parts of the ON cubes of output j with the don't-care points of j taken out.
std::vector<Word> CarePieces(const Space& s, const Cover& on, const Cover& dc, int j, long limit)
{
    std::vector<Word> pieces, next;
    for (int i = 0; i < on.Size(); ++i)
        if (GetOut(s, on[i], j)) {
            pieces.insert(pieces.end(), on[i], on[i] + s.inWords);
            pieces.resize(pieces.size() + Stride(s) - s.inWords, 0);
        }
    for (int k = 0; k < dc.Size(); ++k) {
        if (!GetOut(s, dc[k], j)) continue;
        next.clear();
        for (std::size_t at = 0; at < pieces.size(); at += Stride(s)) {
            const Word* c = pieces.data() + at;
            if (!InputsIntersect(s, c, dc[k])) next.insert(next.end(), c, c + Stride(s));
            else InputSharp(s, c, dc[k], next);
        }
        pieces.swap(next);
        if (long(pieces.size() / Stride(s)) > limit) throw RowLimit{};
    }
    return pieces;
}

bool CoverIsValid(const Cover& f, const Cover& on, const Cover& dc, const Cover& off)
{
    const Space& s = f.space();
    for (int i = 0; i < f.Size(); ++i)
        for (int k = 0; k < off.Size(); ++k)
            if (Intersects(s, f[i], off[k])) return false;
    for (int i = 0; i < on.Size(); ++i)
        if (!IsEmptyCube(s, on[i]) && !CubeCovered(on[i], {&f, &dc})) return false;
    return true;
}

// Points of f's cubes, ON and clear of the don't-cares, that no other cube of f holds: up to
// `count` of them in cube i, found by fixing its free inputs one after another, each to a value
// that keeps some such point (the first point prefers 0, the others a value drawn from a fixed
// sequence).
void OwnPoints(const Cover& f, int i, const Cover& dc, int count, std::vector<std::vector<Word>>& points)
{
    const Space& s = f.space();
    std::vector<Word> c(s.words);
    std::size_t first = points.size();
    std::uint32_t draw = 0x9e3779b9u ^ std::uint32_t(i);
    for (int j = 0; j < s.no && int(points.size() - first) < count; ++j) {
        if (!GetOut(s, f[i], j)) continue;
        for (int round = 0; round < count && int(points.size() - first) < count; ++round) {
            std::copy(f[i], f[i] + s.words, c.begin());
            for (int w = s.inWords; w < s.words; ++w) c[w] = 0;
            SetOut(s, c.data(), j, true);
            if (CubeCovered(c.data(), {&f, &dc}, f[i])) break;
            for (int v = 0; v < s.ni; ++v) {
                if (GetVar(c.data(), v) != 3) continue;
                draw = draw * 1664525u + 1013904223u;
                unsigned value = round == 0 ? 1u : 1u + ((draw >> 16) & 1u);
                SetVar(c.data(), v, value);
                if (CubeCovered(c.data(), {&f, &dc}, f[i])) SetVar(c.data(), v, 3u - value);
            }
            bool again = false;
            for (std::size_t q = first; q < points.size() && !again; ++q) again = points[q] == c;
            if (!again) points.push_back(c);
        }
    }
}

// A lower bound on the cubes that the unmarked cubes of f add to the marked ones (marked:
// holding a point no implicant leaving the cube holds), good for proving `need` of them. Two
// points lie in a common implicant exactly when their smallest common cube misses the OFF-set;
// points no two of which do need a cube each. Candidates are points of the unmarked cubes that
// no other cube of f holds, so none shares an implicant with a marked cube's own point. Cube by
// cube, the first candidate sharing no implicant with the points taken so far is taken; when
// none is free, one that clashes with a single taken point is taken if that point's cube has
// another candidate free of both. The walk stops once `need` is reached or out of reach, or
// past p.maxPointPairs tested pairs. off must be the whole complement of ON and dc.
int SeparatePoints(const Cover& f, const std::vector<char>& marked, const Cover& dc, const Cover& off,
                   const ExactParams& p, int need)
{
    const Space& s = f.space();
    int open = int(std::count(marked.begin(), marked.end(), 0));
    if (p.pointsPerCube <= 0 || need <= 0 || need > open) return 0;
    MeetIndex index({&off});
    std::vector<int> near;
    std::vector<Word> join(s.words);
    using Point = std::vector<Word>;
    struct PairLimit {};
    long pairs = 0;
    auto shareImplicant = [&](const Point& a, const Point& b) {
        if (++pairs > p.maxPointPairs) throw PairLimit{};
        Supercube(s, a.data(), b.data(), join.data());
        index.Meeting(join.data(), near);
        for (int k : near)
            if (Intersects(s, join.data(), off[k])) return false;
        return true;
    };
    std::vector<std::vector<Point>> choices;  // candidates of each cube with a point taken
    std::vector<int> pick;                    // the one taken
    auto takenPoint = [&](int t) -> const Point& { return choices[t][pick[t]]; };
    // Taken points (but `skip`) sharing an implicant with q, up to `most` of them.
    auto clashes = [&](const Point& q, int skip, int most, std::vector<int>& with) {
        with.clear();
        for (int t = 0; t < int(pick.size()) && int(with.size()) < most; ++t)
            if (t != skip && shareImplicant(q, takenPoint(t))) with.push_back(t);
    };
    std::vector<Point> candidates;
    std::vector<int> with, other;
    try {
        for (int i = 0; i < f.Size() && int(pick.size()) < need; ++i) {
            if (marked[i]) continue;
            --open;  // cubes still to come after this one
            candidates.clear();
            OwnPoints(f, i, dc, p.pointsPerCube, candidates);
            bool done = false;
            for (int c = 0; c < int(candidates.size()) && !done; ++c) {
                clashes(candidates[c], -1, 1, with);
                if (!with.empty()) continue;
                choices.push_back(candidates);
                pick.push_back(c);
                done = true;
            }
            for (int c = 0; c < int(candidates.size()) && !done; ++c) {
                clashes(candidates[c], -1, 2, with);
                if (with.size() != 1) continue;
                int t = with[0];
                for (int r = 0; r < int(choices[t].size()) && !done; ++r) {
                    if (r == pick[t] || shareImplicant(choices[t][r], candidates[c])) continue;
                    clashes(choices[t][r], t, 1, other);
                    if (!other.empty()) continue;
                    pick[t] = r;
                    choices.push_back(candidates);
                    pick.push_back(c);
                    done = true;
                }
            }
            if (int(pick.size()) + open < need) break;
        }
    } catch (const PairLimit&) {
    }
    return int(pick.size());
}

}  // namespace

CoveringParams CoveringLimits(const ExactParams& p, ExactDeadline deadline)
{
    CoveringParams c;
    c.maxNodes = p.maxNodes;
    c.literalNodes = p.literalNodes;
    c.maxCoreCells = p.maxCoreCells;
    c.deadline = deadline;
    return c;
}

// A point whose every neighbour outside the cube (one input flipped where the cube has a
// literal, or the same inputs in an output the cube lacks) is outside `valid` lies in no
// implicant that leaves the cube.
std::vector<char> HoldsNeededPoint(const Cover& f, const Cover& valid, const Cover& dc)
{
    const Space& s = f.space();
    std::vector<char> needed(f.Size(), 0);
    MeetIndex index({&valid});
    std::vector<int> near;
    Cover around(s);
    std::vector<Word> t(s.words);
    for (int i = 0; i < f.Size(); ++i) {
        const Word* c = f[i];
        around.Clear();
        index.Near(c, near);
        for (int k : near) {
            const Word* g = valid[k];
            int conflicts = 0, at = -1;
            for (int v = 0; v < s.ni && conflicts < 2; ++v)
                if (!(GetVar(c, v) & GetVar(g, v))) {
                    ++conflicts;
                    at = v;
                }
            if (conflicts >= 2) continue;
            bool meetOutputs = false, otherOutputs = false;
            for (int w = s.inWords; w < s.words; ++w) {
                meetOutputs |= (g[w] & c[w]) != 0;
                otherOutputs |= (g[w] & ~c[w]) != 0;
            }
            if (conflicts == 0) {
                // The same inputs in an output c lacks: every output of c has that neighbour.
                if (otherOutputs) {
                    Intersect(s, g, c, t.data());
                    for (int w = s.inWords; w < s.words; ++w) t[w] = c[w];
                    around.Add(t.data());
                }
                // g reaching past a literal of c holds the neighbour there of each point they share.
                if (meetOutputs && !InputContains(s, c, g)) {
                    Intersect(s, g, c, t.data());
                    around.Add(t.data());
                }
            } else if (conflicts == 1 && meetOutputs) {
                // Across the literal of c at `at`: g mirrored into c.
                std::copy(g, g + s.words, t.begin());
                SetVar(t.data(), at, GetVar(c, at));
                Intersect(s, t.data(), c, t.data());
                around.Add(t.data());
            }
        }
        needed[i] = !CubeCovered(c, {&around, &dc});
    }
    return needed;
}

ExactReport ExactMinimizeReport(const Cover& onIn, const Cover& dcIn, const Cover& offIn, const ExactParams& p,
                                const Cover* known)
{
    auto t0 = std::chrono::steady_clock::now();
    auto deadline = p.maxSeconds > 0 ? t0 + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                std::chrono::duration<double>(p.maxSeconds))
                                     : std::chrono::steady_clock::time_point::max();
    ExactReport rep;
    auto finish = [&](ExactStatus st) {
        rep.status = st;
        if (st != ExactStatus::Proven) rep.cover = Cover(onIn.space());
        rep.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        return rep;
    };
    const Space& s = onIn.space();
    if (!(dcIn.space() == s) || !(offIn.space() == s)) return finish(ExactStatus::Unsatisfiable);
    Cover on = onIn, dc = dcIn, off = offIn;
    on.RemoveEmpty();
    dc.RemoveEmpty();
    off.RemoveEmpty();
    try {
        // Primes are taken over every point clear of the OFF-set. Usually that is exactly ON and
        // don't-care together; otherwise it is the complement of the OFF-set.
        Cover valid = on;
        valid.Append(dc);
        bool clear = true;
        for (int i = 0; i < valid.Size() && clear; ++i)
            for (int k = 0; k < off.Size() && clear; ++k) clear = !Intersects(s, valid[i], off[k]);
        if (clear) {
            Cover all = valid;
            all.Append(off);
            clear = Tautology(all);
        }
        // That complement may be far larger than the function (a few cubes fixing thousands of
        // inputs); past the budget of an OFF-set, or past what the splits below may take, the
        // primes are out of reach anyway.
        if (!clear)
            valid = Complement(off, std::min<std::size_t>(std::size_t(p.maxSplitCubes),
                                                          OffSetLimit(s, std::size_t(on.Size() + dc.Size() + off.Size()))));

        // Only a correct cover of this function may bound the search.
        if (known && !(known->space() == s && CoverIsValid(*known, on, dc, off))) known = nullptr;
        // A known cover, each of whose cubes (made prime) holds a point no other cube can take,
        // is a minimum one; the cubes that do are essential primes either way.
        Cover essentials(s);
        if (known && clear) {
            Cover grown = Expand(*known, off);
            grown.RemoveEmpty();
            if (CoverIsValid(grown, on, dc, off)) {
                std::vector<char> needed = HoldsNeededPoint(grown, valid, dc);
                for (int i = 0; i < grown.Size(); ++i) {
                    bool again = false;
                    for (int k = 0; k < essentials.Size() && !again; ++k) again = Equal(s, essentials[k], grown[i]);
                    if (needed[i] && !again) essentials.Add(grown[i]);
                }
                rep.neededCubes = essentials.Size();
                int least = std::min(known->Size(), grown.Size());
                rep.lowerBound = essentials.Size();
                if (rep.lowerBound < least)
                    rep.lowerBound += SeparatePoints(grown, needed, dc, off, p, least - rep.lowerBound);
                if (rep.lowerBound >= least) {
                    if (grown.Size() < known->Size() && p.sparse) {
                        Cover thin = MakeSparse(grown, dc, off);
                        if (thin.Size() == grown.Size() && CoverIsValid(thin, on, dc, off)) grown = std::move(thin);
                    }
                    rep.cover = grown.Size() < known->Size() ? std::move(grown) : *known;
                    rep.knownProven = true;
                    return finish(ExactStatus::Proven);
                }
            }
        }

        Cover primes(s);
        ExactStatus st = PrimeImplicants(valid, p, deadline, primes);
        rep.primes = primes.Size();
        if (st != ExactStatus::Proven) return finish(st);

        // Every cover holds the essential primes; the points they cover need no row.
        std::vector<char> essential(primes.Size(), 0);
        {
            Cover found(s);
            for (int k = 0; k < essentials.Size(); ++k) {
                int lo = 0, hi = primes.Size();
                while (lo < hi) {  // primes are in falling word order
                    int mid = (lo + hi) / 2;
                    if (std::memcmp(primes[mid], essentials[k], sizeof(Word) * s.words) > 0) lo = mid + 1;
                    else hi = mid;
                }
                if (lo < primes.Size() && Equal(s, primes[lo], essentials[k]) && !essential[lo]) {
                    essential[lo] = 1;
                    found.Add(essentials[k]);
                }
            }
            essentials.Swap(found);
        }

        std::vector<std::vector<int>> rows;
        std::vector<int> candidates;
        for (int j = 0; j < s.no; ++j) {
            candidates.clear();
            for (int i = 0; i < primes.Size(); ++i)
                if (GetOut(s, primes[i], j)) candidates.push_back(i);
            std::vector<Word> pieces = CarePieces(s, on, dc, j, p.maxRows);
            auto before = std::ptrdiff_t(rows.size());
            RowBuilder builder(s, primes, essential, p.maxRows, rows);
            for (std::size_t at = 0; at < pieces.size(); at += Stride(s)) builder.Add(pieces.data() + at, candidates);
            if (builder.unsatisfiable) return finish(ExactStatus::Unsatisfiable);
            // The rows so far are sorted and distinct: only this output's need sorting.
            std::sort(rows.begin() + before, rows.end());
            std::inplace_merge(rows.begin(), rows.begin() + before, rows.end());
            rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            if (std::chrono::steady_clock::now() > deadline) return finish(ExactStatus::OutOfTime);
        }
        rep.rows = long(rows.size());

        std::vector<int> weight(primes.Size());
        for (int i = 0; i < primes.Size(); ++i) weight[i] = InputLiterals(s, primes[i]) + OutputCount(s, primes[i]);
        CoveringParams limits = CoveringLimits(p, deadline);
        limits.enough = known ? long(known->Size()) - essentials.Size() : -1;
        CoveringSolution sol = MinimumCovering(primes.Size(), rows, weight, limits);
        rep.nodes = sol.nodes;
        rep.essentials = sol.essentials + essentials.Size();
        rep.coreRows = sol.coreRows;
        rep.coreColumns = sol.coreColumns;
        rep.blocks = sol.blocks;
        rep.literalsProven = sol.literalsProven;
        if (sol.status != ExactStatus::Proven) return finish(sol.status);
        if (sol.boundMet) {
            rep.cover = *known;
            rep.knownProven = true;
            return finish(ExactStatus::Proven);
        }

        Cover chosen = essentials;
        for (int c : sol.columns) chosen.Add(primes[c]);
        if (!CoverIsValid(chosen, on, dc, off)) return finish(ExactStatus::Unsatisfiable);
        rep.cover = chosen;
        if (p.sparse) {
            Cover thin = MakeSparse(chosen, dc, off);
            if (thin.Size() == chosen.Size() && CostOf(thin) < CostOf(chosen) && CoverIsValid(thin, on, dc, off))
                rep.cover = std::move(thin);
        }
        return finish(ExactStatus::Proven);
    } catch (const RowLimit&) {
        return finish(ExactStatus::TooManyRows);
    } catch (const CoverLimitError&) {
        return finish(ExactStatus::TooManyPrimes);
    } catch (const std::bad_alloc&) {
        return finish(ExactStatus::TooManyRows);
    }
}

}  // namespace quorlet
