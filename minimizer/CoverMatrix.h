// The covering matrix as bit sets, both ways, for CoverSearch; and the bit set helpers it uses.
#pragma once

#include <bit>
#include <span>
#include <vector>

#include "Cube.h"

namespace quorlet::cover {

inline int WordsFor(int bits) { return (bits + 63) / 64; }
inline bool TestBit(const Word* b, int i) { return (b[i >> 6] >> (i & 63)) & 1u; }
inline void SetBit(Word* b, int i) { b[i >> 6] |= Word(1) << (i & 63); }
inline void ClearBit(Word* b, int i) { b[i >> 6] &= ~(Word(1) << (i & 63)); }
inline bool AnyBit(const Word* b, int n)
{
    for (int w = 0; w < n; ++w)
        if (b[w]) return true;
    return false;
}
inline int CountAnd(const Word* a, const Word* b, int n)
{
    int k = 0;
    for (int w = 0; w < n; ++w) k += std::popcount(a[w] & b[w]);
    return k;
}
template <class F>
inline void ForEachBit(const Word* b, int n, F f)
{
    for (int w = 0; w < n; ++w)
        for (Word x = b[w]; x; x &= x - 1) f(w * 64 + std::countr_zero(x));
}
template <class F>
inline void ForEachAnd(const Word* a, const Word* b, int n, F f)
{
    for (int w = 0; w < n; ++w)
        for (Word x = a[w] & b[w]; x; x &= x - 1) f(w * 64 + std::countr_zero(x));
}

// The covering matrix twice over: each row as a bit set of columns and each column as a bit
// set of rows, and the same again as ascending lists. Cores are sparse (apex4: five columns a
// row over 2190), so walking a list and testing the live set beats scanning whole bit sets.
struct BitMatrix {
    int rows = 0, cols = 0, rw = 0, cw = 0;
    std::vector<Word> rowBits, colBits;
    std::vector<int> rowStart, rowList, colStart, colList;
    const Word* Row(int r) const { return rowBits.data() + std::size_t(r) * cw; }
    const Word* Col(int c) const { return colBits.data() + std::size_t(c) * rw; }
    std::span<const int> RowCols(int r) const
    {
        return {rowList.data() + rowStart[r], rowList.data() + rowStart[r + 1]};
    }
    std::span<const int> ColRows(int c) const
    {
        return {colList.data() + colStart[c], colList.data() + colStart[c + 1]};
    }

    BitMatrix(const std::vector<std::vector<int>>& rowLists, int columns)
        : rows(int(rowLists.size())),
          cols(columns),
          rw(WordsFor(rows)),
          cw(WordsFor(columns)),
          rowBits(std::size_t(rows) * cw, 0),
          colBits(std::size_t(columns) * rw, 0)
    {
        for (int r = 0; r < rows; ++r)
            for (int c : rowLists[r]) {
                SetBit(rowBits.data() + std::size_t(r) * cw, c);
                SetBit(colBits.data() + std::size_t(c) * rw, r);
            }
        rowStart.assign(rows + 1, 0);
        colStart.assign(columns + 1, 0);
        for (int r = 0; r < rows; ++r) {
            ForEachBit(Row(r), cw, [&](int c) { rowList.push_back(c); });
            rowStart[r + 1] = int(rowList.size());
        }
        for (int c = 0; c < columns; ++c) {
            ForEachBit(Col(c), rw, [&](int r) { colList.push_back(r); });
            colStart[c + 1] = int(colList.size());
        }
    }
};

}  // namespace quorlet::cover
