// Unate covering: choose few columns so that every row holds a chosen one.
#include <algorithm>
#include <map>
#include <numeric>

#include "MinimumCover.h"

namespace quorlet {
namespace {

using Rows = std::vector<std::vector<int>>;

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

std::vector<int> Greedy(Rows rows)
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

// Rows pairwise without a common column: each needs its own column.
int IndependentRows(const Rows& rows)
{
    std::vector<const std::vector<int>*> order;
    for (auto& r : rows) order.push_back(&r);
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->size() < b->size(); });
    std::vector<int> used;
    int n = 0;
    for (auto* r : order) {
        bool clash = false;
        for (int c : *r)
            if (std::binary_search(used.begin(), used.end(), c)) {
                clash = true;
                break;
            }
        if (clash) continue;
        ++n;
        for (int c : *r) used.insert(std::lower_bound(used.begin(), used.end(), c), c);
    }
    return n;
}

struct BranchAndBound {
    long budget = 0;
    long nodes = 0;
    bool aborted = false;
    std::vector<int> best;

    void Solve(Rows rows, std::vector<int> chosen)
    {
        Simplify(rows, chosen);
        if (rows.empty()) {
            if (chosen.size() < best.size()) best = chosen;
            return;
        }
        if (chosen.size() + IndependentRows(rows) >= best.size()) return;
        if (++nodes > budget) {
            aborted = true;
            return;
        }
        const std::vector<int>* shortest = &rows[0];
        for (auto& r : rows)
            if (r.size() < shortest->size()) shortest = &r;
        std::vector<int> branch = *shortest;
        std::sort(branch.begin(), branch.end(), [&](int a, int b) {
            int na = 0, nb = 0;
            for (auto& r : rows) {
                na += std::binary_search(r.begin(), r.end(), a);
                nb += std::binary_search(r.begin(), r.end(), b);
            }
            return na != nb ? na > nb : a < b;
        });
        std::vector<int> excluded;
        for (int c : branch) {
            if (aborted) return;
            Rows sub;
            bool dead = false;
            for (auto& r : rows) {
                if (std::binary_search(r.begin(), r.end(), c)) continue;
                std::vector<int> nr;
                for (int x : r)
                    if (std::find(excluded.begin(), excluded.end(), x) == excluded.end()) nr.push_back(x);
                if (nr.empty()) {
                    dead = true;
                    break;
                }
                sub.push_back(std::move(nr));
            }
            if (!dead) {
                std::vector<int> ch = chosen;
                ch.push_back(c);
                Solve(std::move(sub), std::move(ch));
            }
            excluded.push_back(c);
        }
    }
};

}  // namespace

std::vector<int> MinimumCover(const std::vector<std::vector<int>>& input, int columns, long nodeBudget, bool* proven)
{
    return MinimumCoverByBlocks(input, columns, columns, nodeBudget, proven);
}

std::vector<int> MinimumCoverByBlocks(const std::vector<std::vector<int>>& input, int columns, int maxBlockColumns,
                                      long nodeBudget, bool* proven)
{
    // Columns joined by a row fall in one block; blocks share nothing, so their minimum covers
    // add up to a minimum cover, and a large problem made of many small blocks (a cover full of
    // little cycles of primes) is solved exactly block by block instead of greedily as a whole.
    std::vector<int> parent(std::max(columns, 0));
    std::iota(parent.begin(), parent.end(), 0);
    auto find = [&](int c) {
        while (parent[c] != c) c = parent[c] = parent[parent[c]];
        return c;
    };
    Rows rows;
    for (auto r : input) {
        std::sort(r.begin(), r.end());
        r.erase(std::unique(r.begin(), r.end()), r.end());
        if (r.empty()) continue;  // nothing can cover it
        for (int c : r)
            if (c >= int(parent.size())) {
                int old = int(parent.size());
                parent.resize(c + 1);
                std::iota(parent.begin() + old, parent.end(), old);
            }
        for (std::size_t i = 1; i < r.size(); ++i) {
            int a = find(r[0]), b = find(r[i]);
            if (a != b) parent[std::max(a, b)] = std::min(a, b);
        }
        rows.push_back(std::move(r));
    }
    std::map<int, Rows> blocks;  // keyed by the smallest column: a fixed order
    for (auto& r : rows) blocks[find(r[0])].push_back(std::move(r));
    std::vector<int> best;
    bool exact = true;
    for (auto& [root, block] : blocks) {
        std::vector<int> cols;
        for (auto& r : block) cols.insert(cols.end(), r.begin(), r.end());
        std::sort(cols.begin(), cols.end());
        cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
        std::vector<int> mine = Greedy(block);
        if (nodeBudget > 0 && int(cols.size()) <= maxBlockColumns) {
            BranchAndBound bb;
            bb.budget = nodeBudget;
            bb.best = mine;
            bb.Solve(block, {});
            mine = bb.best;
            if (bb.aborted) exact = false;
        } else {
            exact = false;
        }
        best.insert(best.end(), mine.begin(), mine.end());
    }
    if (proven) *proven = exact;
    std::sort(best.begin(), best.end());
    best.erase(std::unique(best.begin(), best.end()), best.end());
    return best;
}

}  // namespace quorlet
