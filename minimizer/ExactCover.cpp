// Minimum unate covering: rows of one column force it, dominated rows go, and the rest is
// split into blocks that share no column, each solved by CoverSearch.
#include <algorithm>
#include <numeric>

#include "CoverSearch.h"
#include "Exact.h"

namespace quorlet {
namespace {

using Costs = std::vector<long long>;

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

}  // namespace

CoveringSolution MinimumCovering(int columns, const std::vector<std::vector<int>>& rowsIn,
                                 const std::vector<int>& weight, const ExactParams& p, ExactDeadline deadline,
                                 long enough)
{
    CoveringSolution sol;
    bool timed = p.maxSeconds > 0;
    std::vector<std::vector<int>> rows = rowsIn;
    for (auto& r : rows) {
        r.erase(std::remove_if(r.begin(), r.end(), [&](int c) { return c < 0 || c >= columns; }), r.end());
        if (r.empty()) {
            sol.status = ExactStatus::Unsatisfiable;
            return sol;
        }
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
    auto blocks = Blocks(rows, columns);
    sol.blocks = int(blocks.size());
    for (auto& [br, bc] : blocks) {
        sol.coreRows += int(br.size());
        sol.coreColumns += int(bc.size());
    }

    struct Block {
        std::vector<int> columns;  // local column -> global column
        std::vector<std::vector<int>> rows;
        Costs unit, weighted;
        std::vector<int> rank;
        std::vector<int> best;  // local columns
        long long bestCost = 0;
    };
    std::vector<Block> work;
    for (auto& [br, bc] : blocks) {
        if (double(br.size()) * double(bc.size()) > double(p.maxCoreCells)) {
            sol.status = ExactStatus::TooManyRows;
            return sol;
        }
        Block b;
        b.columns = bc;
        std::vector<int> local(columns, -1);
        for (int i = 0; i < int(bc.size()); ++i) local[bc[i]] = i;
        for (int r : br) {
            std::vector<int> row;
            for (int c : rows[r]) row.push_back(local[c]);
            b.rows.push_back(std::move(row));
        }
        int n = int(bc.size());
        b.unit.assign(n, 1);
        b.weighted.resize(n);
        std::vector<int> order(n);
        std::iota(order.begin(), order.end(), 0);
        auto w = [&, &bc = bc](int i) { return bc[i] < int(weight.size()) ? std::max(0, weight[bc[i]]) : 0; };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b2) { return w(a) < w(b2); });
        b.rank.resize(n);
        for (int i = 0; i < n; ++i) b.rank[order[i]] = i;
        for (int i = 0; i < n; ++i) b.weighted[i] = (1LL << 32) + w(i);
        work.push_back(std::move(b));
    }

    if (enough >= 0) {
        long long bound = sol.essentials;
        for (Block& b : work)
            bound += CoverSearch(b.rows, int(b.columns.size()), b.unit, b.rank, p.maxNodes, deadline, timed).RootBound();
        if (bound >= enough) {
            sol.boundMet = true;
            sol.columns.clear();
            return sol;
        }
    }

    // First the cube count of every block, then, with what budget is left, fewer literals.
    long nodesLeft = p.maxNodes;
    try {
        for (Block& b : work) {
            CoverSearch bb(b.rows, int(b.columns.size()), b.unit, b.rank, nodesLeft, deadline, timed);
            b.best = bb.Greedy();
            b.bestCost = (long long)b.best.size();
            try {
                bb.Solve(b.best, b.bestCost, kTightBounds);
            } catch (...) {
                sol.nodes += bb.nodes();
                throw;
            }
            sol.nodes += bb.nodes();
            nodesLeft -= bb.nodes();
        }
    } catch (const CoverSearchStop& s) {
        sol.status = s.status;
        return sol;
    }
    sol.literalsProven = true;
    long literalLeft = p.literalNodes;
    for (Block& b : work) {
        long long cost = 0;
        for (int c : b.best) cost += b.weighted[c];
        if (literalLeft <= 0) {
            sol.literalsProven = false;
            continue;
        }
        CoverSearch bb(b.rows, int(b.columns.size()), b.weighted, b.rank, literalLeft, deadline, timed);
        try {
            bb.Solve(b.best, cost, 0);
        } catch (const CoverSearchStop&) {
            sol.literalsProven = false;
        }
        literalLeft -= bb.nodes();
    }
    for (Block& b : work)
        for (int c : b.best) sol.columns.push_back(b.columns[c]);
    std::sort(sol.columns.begin(), sol.columns.end());
    return sol;
}

}  // namespace quorlet