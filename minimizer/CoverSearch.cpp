// Branch and bound for unate covering over a bit matrix.
#include "CoverSearch.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <limits>
#include <span>

#include "CoverMatrix.h"
#include "Cube.h"

namespace quorlet {
namespace {

using namespace cover;

using Clock = std::chrono::steady_clock;
using Costs = std::vector<long long>;

struct Done {};  // a cover as cheap as a proven bound was found

class BranchAndBound {
public:
    BranchAndBound(const BitMatrix& m, const Costs& cost, const std::vector<int>& rank, long budget,
                   ExactDeadline deadline, bool timed)
        : m_(m), cost_(cost), rank_(rank), budget_(budget), deadline_(deadline), timed_(timed)
    {
    }

    // Improves on the given solution (cost bestCost) or proves that none is cheaper. Throws
    // Stop when the node budget or the time runs out; best then holds the best found.
    // With unit costs the search first asks for a cover as small as the root's lower bound,
    // then one more, and so on (tightBounds times): a bound that is met prunes with full force
    // from the first node, and each failed round proves the bound one higher.
    void Solve(std::vector<int>& best, long long& bestCost, int tightBounds)
    {
        best_ = &best;
        std::vector<Word> rows(m_.rw, 0), cols(m_.cw, 0);
        for (int r = 0; r < m_.rows; ++r) SetBit(rows.data(), r);
        for (int c = 0; c < m_.cols; ++c) SetBit(cols.data(), c);
        floor_ = 0;
        if (tightBounds > 0) {
            std::vector<Word> r = rows, c = cols, mis(m_.cw);
            long long cost = 0;
            chosen_.clear();
            if (!Reduce(r.data(), c.data(), cost)) throw CoverSearchStop{ExactStatus::Unsatisfiable};
            floor_ = cost + LowerBound(r.data(), c.data(), mis.data());
            for (int round = 0; round < tightBounds && floor_ < bestCost; ++round) {
                long long target = floor_ + 1;
                bestCost_ = &target;
                r = rows;
                c = cols;
                chosen_.clear();
                try {
                    Search(r, c, 0);
                } catch (const Done&) {
                }
                if (target <= floor_) {
                    bestCost = target;
                    return;
                }
                ++floor_;
            }
            if (floor_ >= bestCost) return;
        }
        bestCost_ = &bestCost;
        chosen_.clear();
        try {
            Search(rows, cols, 0);
        } catch (const Done&) {
        }
    }

    long nodes() const { return nodes_; }

    long long RootBound()
    {
        std::vector<Word> rows(m_.rw, 0), cols(m_.cw, 0), mis(m_.cw);
        for (int r = 0; r < m_.rows; ++r) SetBit(rows.data(), r);
        for (int c = 0; c < m_.cols; ++c) SetBit(cols.data(), c);
        long long cost = 0;
        chosen_.clear();
        if (!Reduce(rows.data(), cols.data(), cost)) return std::numeric_limits<long long>::max() / 4;
        return cost + LowerBound(rows.data(), cols.data(), mis.data());
    }

    // Greedy cover: most rows per cost, then redundant picks dropped, last picked first.
    std::vector<int> Greedy() const
    {
        std::vector<Word> rows(m_.rw, 0);
        for (int r = 0; r < m_.rows; ++r) SetBit(rows.data(), r);
        std::vector<int> pick;
        while (AnyBit(rows.data(), m_.rw)) {
            int best = -1;
            double bestScore = -1;
            for (int c = 0; c < m_.cols; ++c) {
                int n = LiveRows(c, rows.data());
                if (n == 0) continue;
                double score = double(n) / double(cost_[c]);
                if (score > bestScore || (score == bestScore && rank_[c] < rank_[best])) {
                    best = c;
                    bestScore = score;
                }
            }
            if (best < 0) return {};
            pick.push_back(best);
            for (int r : m_.ColRows(best)) ClearBit(rows.data(), r);
        }
        std::vector<int> times(m_.rows, 0);
        for (int c : pick) ForEachBit(m_.Col(c), m_.rw, [&](int r) { ++times[r]; });
        std::vector<int> keep;
        for (int i = int(pick.size()) - 1; i >= 0; --i) {
            int c = pick[i];
            bool needed = false;
            ForEachBit(m_.Col(c), m_.rw, [&](int r) { needed |= times[r] == 1; });
            if (needed) keep.push_back(c);
            else ForEachBit(m_.Col(c), m_.rw, [&](int r) { --times[r]; });
        }
        std::sort(keep.begin(), keep.end());
        return keep;
    }

private:
    int ActiveCount(int r, const Word* cols) const
    {
        int n = 0;
        for (int c : m_.RowCols(r)) n += TestBit(cols, c);
        return n;
    }
    int LiveRows(int c, const Word* rows) const
    {
        int n = 0;
        for (int r : m_.ColRows(c)) n += TestBit(rows, r);
        return n;
    }
    // Live columns of row r, ascending.
    template <class F>
    void ForEachActive(int r, const Word* cols, F f) const
    {
        for (int c : m_.RowCols(r))
            if (TestBit(cols, c)) f(c);
    }
    // Rows by ascending count of live columns, ties by row; counts are small, so a counting
    // sort replaces the comparison sort.
    void SortByActive(const Word* rows, const Word* cols, std::vector<std::pair<int, int>>& order)
    {
        order.clear();
        int most = 0;
        ForEachBit(rows, m_.rw, [&](int r) {
            int n = ActiveCount(r, cols);
            order.push_back({n, r});
            most = std::max(most, n);
        });
        bucket_.assign(most + 2, 0);
        for (auto [n, r] : order) ++bucket_[n + 1];
        for (int i = 1; i <= most + 1; ++i) bucket_[i] += bucket_[i - 1];
        sorted_.resize(order.size());
        for (auto e : order) sorted_[bucket_[e.first]++] = e;
        order.swap(sorted_);
    }

    // Essential columns, row dominance and column dominance until nothing changes. Returns
    // false when a row can no longer be covered.
    // Rows and columns that nothing could reduce last time can only become reducible when a
    // row loses a column or a column loses a row, so only those are looked at again; what is
    // found, and in which order, is the same as a full round would find. Without lostRows and
    // lostCols everything is looked at once; with them, (rows, cols) was reduced as far as it
    // goes except that lostRows lost columns and lostCols lost rows.
    bool Reduce(Word* rows, Word* cols, long long& cost, const Word* lostRows = nullptr, const Word* lostCols = nullptr)
    {
        std::vector<std::pair<int, int>>& order = reduceOrder_;
        std::vector<Word>&forRows = lostColumn_, &forDominance = lostColumnToo_, &forColumns = lostRow_;
        if (lostRows) {
            forRows.assign(lostRows, lostRows + m_.rw);
            forDominance.assign(lostRows, lostRows + m_.rw);
        } else {
            forRows.assign(m_.rw, ~Word(0));
            forDominance.assign(m_.rw, ~Word(0));
        }
        if (lostCols) forColumns.assign(lostCols, lostCols + m_.cw);
        else forColumns.assign(m_.cw, ~Word(0));
        pending_.resize(m_.rw);
        auto dropRow = [&](int q) {
            ClearBit(rows, q);
            for (int c : m_.RowCols(q)) SetBit(forColumns.data(), c);
        };
        for (bool changed = true; changed;) {
            changed = false;
            bool empty = false;
            ForEachBit(rows, m_.rw, [&](int r) {
                if (empty || !TestBit(rows, r) || !TestBit(forRows.data(), r)) return;
                ClearBit(forRows.data(), r);
                int n = 0, last = -1;
                for (int c : m_.RowCols(r))
                    if (TestBit(cols, c)) {
                        last = c;
                        if (++n == 2) break;
                    }
                if (n == 0) {
                    empty = true;
                    return;
                }
                if (n == 1) {
                    chosen_.push_back(last);
                    cost += cost_[last];
                    for (int q : m_.ColRows(last))
                        if (TestBit(rows, q)) dropRow(q);
                    ClearBit(cols, last);
                    changed = true;
                }
            });
            if (empty) return false;

            // A live row holding every live column of r goes; such rows all lie in r's first
            // live column.
            for (int w = 0; w < m_.rw; ++w) {
                forDominance[w] &= rows[w];
                pending_[w] = forDominance[w];
                forDominance[w] = 0;  // removing rows takes no column from the rows that stay
            }
            SortByActive(pending_.data(), cols, order);
            for (auto [n, r] : order) {
                if (!TestBit(rows, r)) continue;
                active_.clear();
                ForEachActive(r, cols, [&](int c) { active_.push_back(c); });
                if (active_.empty()) {  // every other row contains it
                    ClearBit(rows, r);
                    changed |= AnyBit(rows, m_.rw);
                    ForEachBit(rows, m_.rw, [&](int q) { dropRow(q); });
                    SetBit(rows, r);
                    continue;
                }
                for (int q : m_.ColRows(active_[0])) {
                    if (q == r || !TestBit(rows, q)) continue;
                    const Word* row = m_.Row(q);
                    bool inside = true;
                    for (std::size_t i = 1; i < active_.size() && inside; ++i) inside = TestBit(row, active_[i]);
                    if (inside) {
                        dropRow(q);
                        changed = true;
                    }
                }
            }

            // Column c goes when a live column d meets every live row c meets and d is cheaper,
            // ranked earlier, or meets more rows; the rows stay put meanwhile, so counts hold.
            ForEachBit(cols, m_.cw, [&](int c) {
                if (!TestBit(forColumns.data(), c)) return;
                ClearBit(forColumns.data(), c);
                live_.clear();
                for (int r : m_.ColRows(c))
                    if (TestBit(rows, r)) live_.push_back(r);
                int n = int(live_.size());
                if (n == 0) {
                    ClearBit(cols, c);
                    changed = true;
                    return;
                }
                bool dominated = false;
                for (int d : m_.RowCols(live_[0])) {
                    if (d == c || !TestBit(cols, d) || cost_[d] > cost_[c]) continue;
                    bool inside = true;
                    for (int i = 1; i < n && inside; ++i) inside = TestBit(m_.Row(live_[i]), d);
                    if (!inside) continue;
                    if (cost_[d] < cost_[c] || rank_[d] < rank_[c] || LiveRows(d, rows) > n) {
                        dominated = true;
                        break;
                    }
                }
                if (dominated) {
                    ClearBit(cols, c);
                    for (int r : live_) {
                        SetBit(forRows.data(), r);
                        SetBit(forDominance.data(), r);
                    }
                    changed = true;
                }
            });
        }
        return true;
    }

    // Rows no two of which share a column each need a column of their own. Returns the sum of
    // their cheapest columns; mis gets the columns of the chosen rows. Two greedy choices are
    // tried: shortest rows first, and (on smaller problems) the row meeting the fewest others
    // still eligible, which finds far larger sets on symmetric problems.
    long long LowerBound(const Word* rows, const Word* cols, Word* mis)
    {
        SortByActive(rows, cols, order_);
        picked_.clear();
        std::fill(mis, mis + m_.cw, 0);
        for (auto [n, r] : order_) {
            bool free = true;
            for (int c : m_.RowCols(r))
                if (TestBit(cols, c) && TestBit(mis, c)) {
                    free = false;
                    break;
                }
            if (!free) continue;
            picked_.push_back(r);
            ForEachActive(r, cols, [&](int c) { SetBit(mis, c); });
        }
        long long lb = SumCheapest(picked_, cols);
        if (int(order_.size()) <= kDegreeRows && order_.size() > 1) {
            int n = int(order_.size());
            std::size_t rw = m_.rw;
            neighbours_.assign(std::size_t(n) * rw, 0);
            for (int i = 0; i < n; ++i) {
                Word* nb = neighbours_.data() + i * rw;
                ForEachActive(order_[i].second, cols, [&](int c) {
                    for (int q : m_.ColRows(c))
                        if (TestBit(rows, q)) SetBit(nb, q);
                });
            }
            // Degrees are kept up to date as rows leave: recounting every row after each pick made
            // this loop quadratic in the rows and most of the whole search's time.
            std::vector<Word> eligible(rows, rows + rw);
            position_.resize(m_.rows);
            degree_.resize(n);
            for (int i = 0; i < n; ++i) {
                position_[order_[i].second] = i;
                degree_[i] = CountAnd(neighbours_.data() + i * rw, eligible.data(), m_.rw);
            }
            // The fewest neighbours first, ties to the earlier row: each degree keeps a bit set of
            // places, and a degree only falls, so the lowest filled degree only moves up between
            // picks by as far as it must.
            int most = 0;
            for (int i = 0; i < n; ++i) most = std::max(most, degree_[i]);
            int nw = WordsFor(n);
            byDegree_.assign(std::size_t(most + 1) * nw, 0);
            perDegree_.assign(most + 1, 0);
            auto put = [&](int i, int d) {
                SetBit(byDegree_.data() + std::size_t(d) * nw, i);
                ++perDegree_[d];
            };
            auto take = [&](int i, int d) {
                ClearBit(byDegree_.data() + std::size_t(d) * nw, i);
                --perDegree_[d];
            };
            for (int i = 0; i < n; ++i) put(i, degree_[i]);
            int low = 0;
            other_.clear();
            for (;;) {
                while (low <= most && perDegree_[low] == 0) ++low;
                if (low > most) break;
                const Word* set = byDegree_.data() + std::size_t(low) * nw;
                int best = 0;
                while (!set[best]) ++best;
                best = best * 64 + std::countr_zero(set[best]);
                other_.push_back(order_[best].second);
                const Word* nb = neighbours_.data() + best * rw;
                for (std::size_t w = 0; w < rw; ++w) {
                    Word gone = eligible[w] & nb[w];
                    eligible[w] &= ~nb[w];
                    for (; gone; gone &= gone - 1) {
                        int j = position_[int(w) * 64 + std::countr_zero(gone)];
                        take(j, degree_[j]);
                        ForEachAnd(neighbours_.data() + std::size_t(j) * rw, eligible.data(), m_.rw, [&](int y) {
                            int i = position_[y];
                            take(i, degree_[i]);
                            put(i, --degree_[i]);
                            low = std::min(low, degree_[i]);
                        });
                    }
                }
            }
            long long lb2 = SumCheapest(other_, cols);
            if (lb2 > lb) {
                lb = lb2;
                std::fill(mis, mis + m_.cw, 0);
                for (int r : other_) ForEachActive(r, cols, [&](int c) { SetBit(mis, c); });
            }
        }
        return lb;
    }

    long long SumCheapest(const std::vector<int>& picked, const Word* cols) const
    {
        long long lb = 0;
        for (int r : picked) {
            long long cheapest = -1;
            ForEachActive(r, cols, [&](int c) {
                if (cheapest < 0 || cost_[c] < cheapest) cheapest = cost_[c];
            });
            lb += cheapest;
        }
        return lb;
    }

    void Tick()
    {
        if (++nodes_ > budget_) throw CoverSearchStop{ExactStatus::TooManyNodes};
        if (timed_ && nodes_ % 128 == 0 && Clock::now() > deadline_) throw CoverSearchStop{ExactStatus::OutOfTime};
    }

    // lostRows and lostCols as for Reduce, or null at the root.
    void Search(std::vector<Word>& rows, std::vector<Word>& cols, long long cost, const Word* lostRows = nullptr,
                const Word* lostCols = nullptr)
    {
        Tick();
        std::size_t mark = chosen_.size();
        std::vector<Word> mis(m_.cw), dropRows, noCols;
        long long lb = 0;
        for (;;) {
            if (!Reduce(rows.data(), cols.data(), cost, lostRows, lostCols)) {
                chosen_.resize(mark);
                return;
            }
            if (!AnyBit(rows.data(), m_.rw)) {
                if (cost < *bestCost_) {
                    *bestCost_ = cost;
                    *best_ = chosen_;
                    std::sort(best_->begin(), best_->end());
                    if (cost <= floor_) throw Done{};
                }
                chosen_.resize(mark);
                return;
            }
            lb = cost + LowerBound(rows.data(), cols.data(), mis.data());
            if (lb >= *bestCost_) {
                chosen_.resize(mark);
                return;
            }
            // A column meeting none of the independent rows adds its whole cost to the bound.
            bool dropped = false;
            dropRows.assign(m_.rw, 0);
            for (int w = 0; w < m_.cw; ++w)
                for (Word x = cols[w] & ~mis[w]; x; x &= x - 1) {
                    int c = w * 64 + std::countr_zero(x);
                    if (lb + cost_[c] >= *bestCost_) {
                        ClearBit(cols.data(), c);
                        for (int r : m_.ColRows(c)) SetBit(dropRows.data(), r);
                        dropped = true;
                    }
                }
            if (!dropped) break;
            noCols.assign(m_.cw, 0);
            lostRows = dropRows.data();
            lostCols = noCols.data();
        }
        // Branch on the columns of the shortest row, best covering first; later branches exclude
        // the columns already tried.
        int branchRow = -1, shortest = 0;
        ForEachBit(rows.data(), m_.rw, [&](int r) {
            int n = ActiveCount(r, cols.data());
            if (branchRow < 0 || n < shortest) {
                branchRow = r;
                shortest = n;
            }
        });
        std::vector<std::pair<long long, int>> options;
        ForEachActive(branchRow, cols.data(), [&](int c) {
            long long covered = LiveRows(c, rows.data());
            options.push_back({-covered * (1LL << 20) + rank_[c], c});
        });
        std::sort(options.begin(), options.end());
        // (rows, cols) is reduced as far as it goes here: a child differs in the rows of its
        // column, gone, which the columns of those rows lose, and in the columns tried before,
        // which their rows lose.
        std::vector<Word> childRows(m_.rw), childCols(m_.cw), excluded(m_.rw, 0), childLost(m_.cw);
        for (auto [key, c] : options) {
            if (lb >= *bestCost_) break;
            childRows = rows;
            std::fill(childLost.begin(), childLost.end(), 0);
            for (int r : m_.ColRows(c))
                if (TestBit(rows.data(), r)) {
                    ClearBit(childRows.data(), r);
                    for (int d : m_.RowCols(r)) SetBit(childLost.data(), d);
                }
            childCols = cols;
            ClearBit(childCols.data(), c);
            chosen_.push_back(c);
            Search(childRows, childCols, cost + cost_[c], excluded.data(), childLost.data());
            chosen_.pop_back();
            ClearBit(cols.data(), c);
            for (int r : m_.ColRows(c)) SetBit(excluded.data(), r);
        }
        chosen_.resize(mark);
    }

    const BitMatrix& m_;
    const Costs& cost_;
    const std::vector<int>& rank_;
    long budget_;
    ExactDeadline deadline_;
    bool timed_;
    long nodes_ = 0;
    std::vector<int> chosen_;
    std::vector<int>* best_ = nullptr;
    long long* bestCost_ = nullptr;
    long long floor_ = 0;  // no cover is cheaper than this
    std::vector<std::pair<int, int>> order_;
    std::vector<int> picked_, other_;
    std::vector<Word> neighbours_;
    std::vector<int> position_, degree_;
    std::vector<int> bucket_, active_, live_;
    std::vector<std::pair<int, int>> reduceOrder_;
    std::vector<Word> lostColumn_, lostColumnToo_, lostRow_, pending_;  // what Reduce must look at again
    std::vector<Word> byDegree_;  // per degree, the places of eligible rows of that degree
    std::vector<int> perDegree_;
    std::vector<std::pair<int, int>> sorted_;  // row -> place in order_; live neighbours by place
    static constexpr int kDegreeRows = 1500;   // rows at most for the fewest-neighbours bound
};

}  // namespace

struct CoverSearch::Impl {
    BitMatrix matrix;
    BranchAndBound search;

    Impl(const std::vector<std::vector<int>>& rows, int columns, const Costs& cost, const std::vector<int>& rank,
         long budget, ExactDeadline deadline, bool timed)
        : matrix(rows, columns), search(matrix, cost, rank, budget, deadline, timed)
    {
    }
};

CoverSearch::CoverSearch(const std::vector<std::vector<int>>& rows, int columns, const std::vector<long long>& cost,
                         const std::vector<int>& rank, long budget, ExactDeadline deadline, bool timed)
    : impl_(std::make_unique<Impl>(rows, columns, cost, rank, budget, deadline, timed))
{
}

CoverSearch::~CoverSearch() = default;

std::vector<int> CoverSearch::Greedy() const { return impl_->search.Greedy(); }

void CoverSearch::Solve(std::vector<int>& best, long long& bestCost, int tightBounds)
{
    impl_->search.Solve(best, bestCost, tightBounds);
}

long CoverSearch::nodes() const { return impl_->search.nodes(); }

long long CoverSearch::RootBound() { return impl_->search.RootBound(); }

}  // namespace quorlet
