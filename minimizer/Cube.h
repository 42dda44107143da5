// Positional-cube notation: cubes packed into 64-bit words and covers held as one word buffer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorlet {

using Word = std::uint64_t;

// A cover may not hold more cubes than this; past it the work stops with CoverLimitError
// instead of exhausting memory.
inline constexpr std::size_t kMaxCoverCubes = 4'000'000;

// The OFF-set is not built past this many cubes (nor past four times as many recursion steps
// for one output); expansion then checks candidate cubes
// against the ON and don't-care sets by tautology instead.
inline constexpr std::size_t kOffSetBudget = 200'000;
// Nor past this many words of memory for each word that the ON and don't-care cubes take, plus
// kOffSetBaseWords. A few cubes that fix most of a thousand inputs have a complement of cubes
// of two or three literals each, a thousand times their number; stored at full width it grows
// with the square of the width, while the path without it grows with the input.
inline constexpr std::size_t kOffSetWordsPerInputWord = 64;
inline constexpr std::size_t kOffSetBaseWords = std::size_t(1) << 16;

struct CoverLimitError : std::runtime_error {
    explicit CoverLimitError(std::size_t limit = kMaxCoverCubes)
        : std::runtime_error("cover grew past " + std::to_string(limit) + " cubes")
    {
    }
};

// Every binary input takes two bits (01 = value 0, 10 = value 1, 11 = both, 00 = empty);
// input v sits at bits 2v, 2v+1 counted over the input words. Outputs take one bit each and
// start on a fresh word, so input and output parts never share a word.
struct Space {
    int ni = 0;
    int no = 0;
    int inWords = 0;
    int outWords = 0;
    int words = 0;
    Word inLast = 0;   // valid bits of the last input word
    Word outLast = 0;  // valid bits of the last output word

    Space() = default;
    Space(int inputs, int outputs);

    Word InMask(int w) const { return w == inWords - 1 ? inLast : ~Word(0); }
    Word OutMask(int w) const { return w == outWords - 1 ? outLast : ~Word(0); }
    Word Mask(int w) const { return w < inWords ? InMask(w) : OutMask(w - inWords); }
    bool operator==(const Space&) const = default;
};

inline constexpr Word kEven = 0x5555555555555555ULL;

// Cubes that a complement of a function given by `cubes` cubes may hold (kOffSetBudget,
// kOffSetWordsPerInputWord).
inline std::size_t OffSetLimit(const Space& s, std::size_t cubes)
{
    const std::size_t words = std::size_t(s.words);
    const std::size_t budgetWords = kOffSetBaseWords + kOffSetWordsPerInputWord * cubes * words;
    return std::min(kOffSetBudget, budgetWords / words);
}

// --- input variables -------------------------------------------------------------------
inline int VarWord(int v) { return v >> 5; }
inline int VarShift(int v) { return (v & 31) * 2; }
inline unsigned GetVar(const Word* c, int v) { return unsigned(c[VarWord(v)] >> VarShift(v)) & 3u; }
inline void SetVar(Word* c, int v, unsigned bits)
{
    Word& w = c[VarWord(v)];
    w = (w & ~(Word(3) << VarShift(v))) | (Word(bits & 3u) << VarShift(v));
}
inline bool GetOut(const Space& s, const Word* c, int j) { return (c[s.inWords + (j >> 6)] >> (j & 63)) & 1u; }
inline void SetOut(const Space& s, Word* c, int j, bool on)
{
    Word& w = c[s.inWords + (j >> 6)];
    if (on) w |= Word(1) << (j & 63);
    else w &= ~(Word(1) << (j & 63));
}

// Mask (one bit at the even position of each pair) of variables whose two bits are both 0.
inline Word EmptyVars(Word x, Word mask) { return ~(x | (x >> 1)) & kEven & mask; }
// Mask (even position) of variables that are not "both values" (i.e. hold a literal).
inline Word LiteralVars(Word x, Word mask) { return ~(x & (x >> 1)) & kEven & mask; }

// --- whole-cube operations ---------------------------------------------------------------
void MakeUniverse(const Space& s, Word* c);
void MakeInputUniverse(const Space& s, Word* c);  // outputs left untouched

// Small predicates, inline: they sit in the innermost loops.
inline bool IsInputUniverse(const Space& s, const Word* c)
{
    for (int w = 0; w < s.inWords; ++w)
        if (c[w] != s.InMask(w)) return false;
    return true;
}
inline bool OutputsEmpty(const Space& s, const Word* c)
{
    for (int w = s.inWords; w < s.words; ++w)
        if (c[w]) return false;
    return true;
}
inline bool OutputsIntersect(const Space& s, const Word* a, const Word* b)
{
    for (int w = s.inWords; w < s.words; ++w)
        if (a[w] & b[w]) return true;
    return false;
}
inline bool IsEmptyCube(const Space& s, const Word* c)
{
    for (int w = 0; w < s.inWords; ++w)
        if (EmptyVars(c[w], s.InMask(w))) return true;
    return OutputsEmpty(s, c);
}
inline bool InputsIntersect(const Space& s, const Word* a, const Word* b)
{
    for (int w = 0; w < s.inWords; ++w)
        if (EmptyVars(a[w] & b[w], s.InMask(w))) return false;
    return true;
}
inline bool Intersects(const Space& s, const Word* a, const Word* b)
{
    if (s.words == 2) return (a[1] & b[1]) && !EmptyVars(a[0] & b[0], s.inLast);  // the usual shape
    return OutputsIntersect(s, a, b) && InputsIntersect(s, a, b);
}
// a contains b.
inline bool Contains(const Space& s, const Word* a, const Word* b)
{
    if (s.words == 2) return !((b[0] & ~a[0]) | (b[1] & ~a[1]));
    for (int w = 0; w < s.words; ++w)
        if (b[w] & ~a[w]) return false;
    return true;
}
inline bool InputContains(const Space& s, const Word* a, const Word* b)
{
    for (int w = 0; w < s.inWords; ++w)
        if (b[w] & ~a[w]) return false;
    return true;
}
inline bool Equal(const Space& s, const Word* a, const Word* b)
{
    return std::memcmp(a, b, sizeof(Word) * s.words) == 0;
}
inline bool InputEqual(const Space& s, const Word* a, const Word* b)
{
    return std::memcmp(a, b, sizeof(Word) * s.inWords) == 0;
}

// Input variables in conflict plus one if the output parts are disjoint.
int Distance(const Space& s, const Word* a, const Word* b);
int InputDistance(const Space& s, const Word* a, const Word* b);

void Intersect(const Space& s, const Word* a, const Word* b, Word* out);
void Supercube(const Space& s, const Word* a, const Word* b, Word* out);
// Consensus of a and b; returns false (out untouched) when their distance is 2 or more.
bool Consensus(const Space& s, const Word* a, const Word* b, Word* out);
// Cofactor of a with respect to c (a must intersect c): a | ~c inside the space.
void Cofactor(const Space& s, const Word* a, const Word* c, Word* out);
void CofactorInPlace(const Space& s, Word* a, const Word* c);

int InputLiterals(const Space& s, const Word* c);
int OutputCount(const Space& s, const Word* c);
int CountBits(const Space& s, const Word* c);

// --- covers ----------------------------------------------------------------------------
class Cover {
public:
    Cover() = default;
    explicit Cover(const Space& s) : s_(s) {}

    const Space& space() const { return s_; }
    int Size() const { return n_; }
    bool Empty() const { return n_ == 0; }
    Word* operator[](int i) { return data_.data() + std::size_t(i) * s_.words; }
    const Word* operator[](int i) const { return data_.data() + std::size_t(i) * s_.words; }

    // Appends a zeroed cube and returns it. Inline: the recursions add cubes all the time.
    Word* AddZero()
    {
        if (std::size_t(n_) >= kMaxCoverCubes) throw CoverLimitError();
        data_.resize(data_.size() + s_.words, 0);
        return (*this)[n_++];
    }
    void Add(const Word* c)
    {
        if (std::size_t(n_) >= kMaxCoverCubes) throw CoverLimitError();
        data_.insert(data_.end(), c, c + s_.words);
        ++n_;
    }
    void Append(const Cover& other);
    void Reserve(int n) { data_.reserve(std::size_t(n) * s_.words); }
    void Clear()
    {
        data_.clear();
        n_ = 0;
    }
    std::size_t CapacityWords() const { return data_.capacity(); }
    void Pop()
    {
        --n_;
        data_.resize(std::size_t(n_) * s_.words);
    }
    // Keeps the first n cubes.
    void Truncate(int n)
    {
        n_ = n;
        data_.resize(std::size_t(n_) * s_.words);
    }
    // Keeps cube i exactly when keep[i] is nonzero, preserving order.
    void Filter(const std::vector<char>& keep);
    void RemoveEmpty();
    void Swap(Cover& o)
    {
        std::swap(s_, o.s_);
        data_.swap(o.data_);
        std::swap(n_, o.n_);
    }

    int Literals() const;  // input literals plus output bits
    int InputLiterals() const;

private:
    Space s_;
    std::vector<Word> data_;
    int n_ = 0;
};

// What minimization lowers: cubes first, then literals (input literals plus output bits).
struct Cost {
    int cubes = 0;
    int literals = 0;
    bool operator<(const Cost& o) const { return cubes != o.cubes ? cubes < o.cubes : literals < o.literals; }
};
Cost CostOf(const Cover& f);

// Drops every cube contained in another (of two equal cubes the first stays); order kept.
void SingleCubeContainment(Cover& f);
// Sharp a # b: the points of a not in b, as a cover (not disjoint).
Cover Sharp(const Space& s, const Word* a, const Word* b);
// Cubes of f (that intersect c) cofactored against c.
Cover Cofactor(const Cover& f, const Word* c);
// Cubes sorted by content, equal input parts merged by joining their outputs.
void MergeEqualInputs(Cover& f);

std::string CubeToString(const Space& s, const Word* c);

}  // namespace quorlet
