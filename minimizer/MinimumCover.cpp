// Unate covering: rows of one column force it, dominated rows go, the rest is split into
// blocks that share no column, and each block starts from a greedy cover that CoverSearch then
// improves on or proves minimum; fewer columns first, then less weight.
#include "MinimumCover.h"

#include <algorithm>
#include <map>
#include <numeric>

#include "CoverSearch.h"

namespace quorlet {
namespace {

using Rows = std::vector<std::vector<int>>;
using Costs = std::vector<long long>;

void RemoveRowsWith(Rows& rows, int c)
{
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [c](const std::vector<int>& r) { return std::binary_search(r.begin(), r.end(), c); }),
               rows.end());
}

bool Subset(const std::vector<int>& a, const std::vector<int>& b)
{
    return std::includes(b.begin(), b.end(), a.begin(), a.end());
}

// Essential columns, dominated rows and dominated columns, until nothing changes.
void Simplify(Rows& rows, std::vector<int>& chosen, bool dominance = true)
{
    bool changed = true;
    while (changed && !rows.empty()) {
        changed = false;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].size() == 1) {
                int c = rows[i][0];
                chosen.push_back(c);
                RemoveRowsWith(rows, c);
                changed = true;
                i = std::size_t(-1);
            }
        if (rows.empty() || !dominance) break;
        // A row that contains another row is implied by it.
        std::sort(rows.begin(), rows.end(),
                  [](auto& a, auto& b) { return a.size() != b.size() ? a.size() < b.size() : a < b; });
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        if (rows.size() <= 3000) {
            std::vector<char> drop(rows.size(), 0);
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (drop[i]) continue;
                for (std::size_t k = i + 1; k < rows.size(); ++k)
                    if (!drop[k] && rows[k].size() > rows[i].size() && Subset(rows[i], rows[k])) drop[k] = 1;
            }
            Rows kept;
            for (std::size_t i = 0; i < rows.size(); ++i)
                if (!drop[i]) kept.push_back(std::move(rows[i]));
            if (kept.size() != rows.size()) changed = true;
            rows.swap(kept);
        }
        // A column whose rows are all rows of another column is never needed.
        std::map<int, std::vector<int>> colRows;
        for (std::size_t i = 0; i < rows.size(); ++i)
            for (int c : rows[i]) colRows[c].push_back(int(i));
        if (colRows.size() > 400) continue;
        std::vector<int> cols;
        for (auto& [c, r] : colRows) cols.push_back(c);
        std::vector<char> gone(cols.size(), 0);
        for (std::size_t a = 0; a < cols.size(); ++a)
            for (std::size_t b = 0; b < cols.size(); ++b) {
                if (a == b || gone[a] || gone[b]) continue;
                auto& ra = colRows[cols[a]];
                auto& rb = colRows[cols[b]];
                if (rb.size() > ra.size() || (rb.size() == ra.size() && b < a)) continue;
                if (Subset(rb, ra)) gone[b] = 1;
            }
        for (std::size_t b = 0; b < cols.size(); ++b)
            if (gone[b]) {
                changed = true;
                for (int i : colRows[cols[b]]) {
                    auto& r = rows[i];
                    r.erase(std::lower_bound(r.begin(), r.end(), cols[b]));
                }
            }
    }
}

int MostFrequent(const Rows& rows, const std::vector<int>* among = nullptr)
{
    std::map<int, double> count;
    for (auto& r : rows)
        for (int c : r) count[c] += 1.0 / double(r.size());
    int best = -1;
    double bc = -1;
    for (auto& [c, n] : count) {
        if (among && std::find(among->begin(), among->end(), c) == among->end()) continue;
        if (n > bc) {
            bc = n;
            best = c;
        }
    }
    return best;
}

// The ScarceRows start (GreedyStart), ascending.
std::vector<int> ScarceRowsGreedy(Rows rows)
{
    std::vector<int> chosen;
    // Dominance once; afterwards only the columns that became essential.
    Simplify(rows, chosen);
    for (;;) {
        Simplify(rows, chosen, false);
        if (rows.empty()) break;
        int c = MostFrequent(rows);
        chosen.push_back(c);
        RemoveRowsWith(rows, c);
    }
    return chosen;
}

// Sorts the rows, drops repeats and every row that contains another row (covering the
// smaller one covers it too).
void DropDominatedRows(std::vector<std::vector<int>>& rows, int columns)
{
    for (auto& r : rows) std::sort(r.begin(), r.end());
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.size() != b.size() ? a.size() < b.size() : a < b; });
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<int> count(columns, 0);
    for (auto& r : rows)
        for (int c : r) ++count[c];
    // Each kept row is filed under its rarest column; a row containing it must hold that column.
    std::vector<std::vector<int>> filed(columns);
    std::vector<int> mark(columns, -1);
    std::vector<std::vector<int>> kept;
    for (int i = 0; i < int(rows.size()); ++i) {
        const auto& r = rows[i];
        for (int c : r) mark[c] = i;
        bool dominated = false;
        for (int c : r) {
            for (int k : filed[c]) {
                bool inside = true;
                for (int d : kept[k])
                    if (mark[d] != i) {
                        inside = false;
                        break;
                    }
                if (inside) {
                    dominated = true;
                    break;
                }
            }
            if (dominated) break;
        }
        if (dominated) continue;
        int key = r.empty() ? -1 : *std::min_element(r.begin(), r.end(), [&](int a, int b) {
            return count[a] != count[b] ? count[a] < count[b] : a < b;
        });
        if (key >= 0) filed[key].push_back(int(kept.size()));
        kept.push_back(r);
    }
    rows.swap(kept);
}

// Splits the rows into groups sharing no column; each group with its columns, in a fixed order.
std::vector<std::pair<std::vector<int>, std::vector<int>>> Blocks(const std::vector<std::vector<int>>& rows,
                                                                  int columns)
{
    std::vector<int> parent(columns);
    std::iota(parent.begin(), parent.end(), 0);
    auto find = [&](int x) {
        while (parent[x] != x) x = parent[x] = parent[parent[x]];
        return x;
    };
    for (auto& r : rows)
        for (std::size_t i = 1; i < r.size(); ++i) {
            int a = find(r[0]), b = find(r[i]);
            if (a != b) parent[std::max(a, b)] = std::min(a, b);
        }
    std::vector<int> blockOf(columns, -1);
    std::vector<std::pair<std::vector<int>, std::vector<int>>> blocks;
    for (int i = 0; i < int(rows.size()); ++i) {
        int root = find(rows[i][0]);
        if (blockOf[root] < 0) {
            blockOf[root] = int(blocks.size());
            blocks.emplace_back();
        }
        blocks[blockOf[root]].first.push_back(i);
    }
    std::vector<char> used(columns, 0);
    for (auto& r : rows)
        for (int c : r) used[c] = 1;
    for (int c = 0; c < columns; ++c)
        if (used[c]) blocks[blockOf[find(c)]].second.push_back(c);
    return blocks;
}

// Rounds of the search that ask for a cover exactly as small as the proven bound.
constexpr int kTightBounds = 3;

// One block with its columns numbered from 0 in their order.
struct Block {
    std::vector<int> columns;  // local column -> global column
    Rows rows;
    Costs unit, weighted;
    std::vector<int> rank;
    std::vector<int> best;  // local columns
    long long bestCost = 0;
};

Block MakeBlock(const Rows& rows, const std::vector<int>& blockRows, const std::vector<int>& blockColumns,
                const std::vector<int>& weight)
{
    Block b;
    b.columns = blockColumns;
    std::vector<int> local(blockColumns.empty() ? 0 : blockColumns.back() + 1, -1);
    for (int i = 0; i < int(blockColumns.size()); ++i) local[blockColumns[i]] = i;
    for (int r : blockRows) {
        std::vector<int> row;
        for (int c : rows[r]) row.push_back(local[c]);
        b.rows.push_back(std::move(row));
    }
    int n = int(blockColumns.size());
    b.unit.assign(n, 1);
    b.weighted.resize(n);
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    auto w = [&](int i) { return blockColumns[i] < int(weight.size()) ? std::max(0, weight[blockColumns[i]]) : 0; };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b2) { return w(a) < w(b2); });
    b.rank.resize(n);
    for (int i = 0; i < n; ++i) b.rank[order[i]] = i;
    for (int i = 0; i < n; ++i) b.weighted[i] = (1LL << 32) + w(i);
    return b;
}

// The block's greedy cover as `start` asks, local columns ascending, in b.best. search: the
// block's search when there is one already.
void StartGreedy(Block& b, GreedyStart start, const CoverSearch* search)
{
    if (start == GreedyStart::ScarceRows) {
        b.best = ScarceRowsGreedy(b.rows);
        std::sort(b.best.begin(), b.best.end());
    } else if (search) {
        b.best = search->Greedy();
    } else {
        b.best = CoverSearch(b.rows, int(b.columns.size()), b.unit, b.rank, 0, ExactDeadline::max(), false).Greedy();
    }
    b.bestCost = (long long)b.best.size();
}

}  // namespace

CoveringSolution MinimumCovering(int columns, const Rows& rowsIn, const std::vector<int>& weight,
                                 const CoveringParams& p)
{
    CoveringSolution sol;
    const bool timed = p.deadline != ExactDeadline::max();
    Rows rows = rowsIn;
    for (auto& r : rows) {
        r.erase(std::remove_if(r.begin(), r.end(), [&](int c) { return c < 0 || c >= columns; }), r.end());
        if (r.empty()) {
            sol.status = ExactStatus::Unsatisfiable;
            return sol;
        }
    }
    // Blocks too large to search keep their greedy cover. They are told apart on the rows as
    // given: the forced columns below would cut them into smaller blocks, each searched.
    std::vector<int> greedyOnly;
    if (p.maxSearchColumns < columns) {
        for (auto& r : rows) {
            std::sort(r.begin(), r.end());
            r.erase(std::unique(r.begin(), r.end()), r.end());
        }
        std::vector<char> aside(rows.size(), 0);
        for (auto& [br, bc] : Blocks(rows, columns)) {
            if (int(bc.size()) <= p.maxSearchColumns) continue;
            Block b = MakeBlock(rows, br, bc, weight);
            StartGreedy(b, p.start, nullptr);
            for (int c : b.best) greedyOnly.push_back(b.columns[c]);
            for (int r : br) aside[r] = 1;
            sol.status = ExactStatus::TooManyRows;
        }
        Rows searched;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (!aside[i]) searched.push_back(std::move(rows[i]));
        rows.swap(searched);
    }
    // Rows of one column force it; the rows it meets are then done.
    std::vector<char> taken(columns, 0);
    for (bool again = true; again;) {
        again = false;
        DropDominatedRows(rows, columns);
        for (auto& r : rows)
            if (r.size() == 1 && !taken[r[0]]) {
                taken[r[0]] = 1;
                again = true;
            }
        if (!again) break;
        std::erase_if(rows, [&](const std::vector<int>& r) {
            for (int c : r)
                if (taken[c]) return true;
            return false;
        });
    }
    for (int c = 0; c < columns; ++c)
        if (taken[c]) sol.columns.push_back(c);
    sol.essentials = int(sol.columns.size());
    sol.columns.insert(sol.columns.end(), greedyOnly.begin(), greedyOnly.end());
    auto blocks = Blocks(rows, columns);
    sol.blocks = int(blocks.size());
    for (auto& [br, bc] : blocks) {
        sol.coreRows += int(br.size());
        sol.coreColumns += int(bc.size());
    }
    std::vector<Block> work;
    for (auto& [br, bc] : blocks) {
        if (double(br.size()) * double(bc.size()) > double(p.maxCoreCells)) {
            sol.status = ExactStatus::TooManyRows;
            sol.columns.clear();
            return sol;
        }
        work.push_back(MakeBlock(rows, br, bc, weight));
    }

    if (p.enough >= 0) {
        long long bound = sol.essentials;
        for (Block& b : work)
            bound +=
                CoverSearch(b.rows, int(b.columns.size()), b.unit, b.rank, p.maxNodes, p.deadline, timed).RootBound();
        if (bound >= p.enough) {
            sol.boundMet = true;
            sol.columns.clear();
            return sol;
        }
    }

    // First the column count of every block, then, with what budget is left, less weight. Once
    // the nodes or the time run out, the blocks left keep their greedy covers.
    long nodesLeft = p.maxNodes;
    bool stopped = false;
    for (Block& b : work) {
        CoverSearch search(b.rows, int(b.columns.size()), b.unit, b.rank, nodesLeft, p.deadline, timed);
        StartGreedy(b, p.start, &search);
        if (stopped) continue;
        try {
            search.Solve(b.best, b.bestCost, kTightBounds);
        } catch (const CoverSearchStop& s) {
            sol.nodes += search.nodes();
            sol.status = s.status;
            if (s.status == ExactStatus::Unsatisfiable) {
                sol.columns.clear();
                return sol;
            }
            stopped = true;
            continue;
        }
        sol.nodes += search.nodes();
        nodesLeft -= search.nodes();
    }
    sol.literalsProven = !stopped;
    long literalLeft = p.literalNodes;
    for (Block& b : work) {
        if (stopped) break;
        long long cost = 0;
        for (int c : b.best) cost += b.weighted[c];
        if (literalLeft <= 0) {
            sol.literalsProven = false;
            continue;
        }
        CoverSearch search(b.rows, int(b.columns.size()), b.weighted, b.rank, literalLeft, p.deadline, timed);
        try {
            search.Solve(b.best, cost, 0);
        } catch (const CoverSearchStop&) {
            sol.literalsProven = false;
        }
        literalLeft -= search.nodes();
    }
    for (Block& b : work)
        for (int c : b.best) sol.columns.push_back(b.columns[c]);
    std::sort(sol.columns.begin(), sol.columns.end());
    return sol;
}

}  // namespace quorlet
