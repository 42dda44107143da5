// Reduce: each cube shrunk, one after the other, to what the other cubes leave to it.
#include "Reduce.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "MeetIndex.h"
#include "Unate.h"

namespace quorlet {

Cover ReduceInOrder(const Cover& f, const Cover& dc, std::span<const int> order, std::vector<char>* unchanged)
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
    if (unchanged) {
        unchanged->clear();
        for (int i = 0; i < n; ++i)
            if (keep[i]) unchanged->push_back(Equal(s, r[i], f[i]));
    }
    r.Filter(keep);
    return r;
}

Cover ReduceLargestFirst(const Cover& f, const Cover& dc, std::vector<char>* unchanged)
{
    const Space& s = f.space();
    int n = f.Size();
    std::vector<int> bits(n), order(n);
    for (int i = 0; i < n; ++i) bits[i] = CountBits(s, f[i]);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return bits[a] > bits[b]; });
    return ReduceInOrder(f, dc, order, unchanged);
}

Cover Reduce(const Cover& f, const Cover& dc) { return ReduceLargestFirst(f, dc); }

}  // namespace quorlet
