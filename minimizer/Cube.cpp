// Cube and cover primitives over the packed positional-cube layout.
#include "Cube.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

namespace quorlet {

Space::Space(int inputs, int outputs) : ni(inputs), no(outputs)
{
    inWords = (2 * ni + 63) / 64;
    outWords = (no + 63) / 64;
    words = inWords + outWords;
    int r = (2 * ni) % 64;
    inLast = r == 0 ? ~Word(0) : (Word(1) << r) - 1;
    r = no % 64;
    outLast = r == 0 ? ~Word(0) : (Word(1) << r) - 1;
}

void MakeUniverse(const Space& s, Word* c)
{
    for (int w = 0; w < s.words; ++w) c[w] = s.Mask(w);
}
void MakeInputUniverse(const Space& s, Word* c)
{
    for (int w = 0; w < s.inWords; ++w) c[w] = s.InMask(w);
}

int InputDistance(const Space& s, const Word* a, const Word* b)
{
    int d = 0;
    for (int w = 0; w < s.inWords; ++w) d += std::popcount(EmptyVars(a[w] & b[w], s.InMask(w)));
    return d;
}
int Distance(const Space& s, const Word* a, const Word* b)
{
    return InputDistance(s, a, b) + (OutputsIntersect(s, a, b) ? 0 : 1);
}

void Intersect(const Space& s, const Word* a, const Word* b, Word* out)
{
    for (int w = 0; w < s.words; ++w) out[w] = a[w] & b[w];
}
void Supercube(const Space& s, const Word* a, const Word* b, Word* out)
{
    for (int w = 0; w < s.words; ++w) out[w] = a[w] | b[w];
}

bool Consensus(const Space& s, const Word* a, const Word* b, Word* out)
{
    int d = Distance(s, a, b);
    if (d >= 2) return false;
    bool outDisjoint = !OutputsIntersect(s, a, b);
    for (int w = 0; w < s.inWords; ++w) {
        Word x = a[w] & b[w];
        Word e = EmptyVars(x, s.InMask(w));
        // A conflicting variable takes the union of both parts; all others the intersection.
        Word spread = e | (e << 1);
        out[w] = (x & ~spread) | ((a[w] | b[w]) & spread);
    }
    for (int w = s.inWords; w < s.words; ++w) out[w] = outDisjoint ? (a[w] | b[w]) : (a[w] & b[w]);
    return true;
}

void Cofactor(const Space& s, const Word* a, const Word* c, Word* out)
{
    for (int w = 0; w < s.words; ++w) out[w] = (a[w] | ~c[w]) & s.Mask(w);
}
void CofactorInPlace(const Space& s, Word* a, const Word* c)
{
    for (int w = 0; w < s.words; ++w) a[w] = (a[w] | ~c[w]) & s.Mask(w);
}

int InputLiterals(const Space& s, const Word* c)
{
    int n = 0;
    for (int w = 0; w < s.inWords; ++w) n += std::popcount(LiteralVars(c[w], s.InMask(w)));
    return n;
}
int OutputCount(const Space& s, const Word* c)
{
    int n = 0;
    for (int w = s.inWords; w < s.words; ++w) n += std::popcount(c[w]);
    return n;
}
int CountBits(const Space& s, const Word* c)
{
    int n = 0;
    for (int w = 0; w < s.words; ++w) n += std::popcount(c[w]);
    return n;
}

void Cover::Append(const Cover& o)
{
    if (std::size_t(n_) + o.n_ > kMaxCoverCubes) throw CoverLimitError();
    data_.insert(data_.end(), o.data_.begin(), o.data_.begin() + std::size_t(o.n_) * s_.words);
    n_ += o.n_;
}
void Cover::Filter(const std::vector<char>& keep)
{
    int k = 0;
    for (int i = 0; i < n_; ++i) {
        if (!keep[i]) continue;
        if (k != i) std::memmove((*this)[k], (*this)[i], sizeof(Word) * s_.words);
        ++k;
    }
    n_ = k;
    data_.resize(std::size_t(n_) * s_.words);
}
void Cover::RemoveEmpty()
{
    std::vector<char> keep(n_);
    for (int i = 0; i < n_; ++i) keep[i] = !IsEmptyCube(s_, (*this)[i]);
    Filter(keep);
}
int Cover::Literals() const
{
    int n = 0;
    for (int i = 0; i < n_; ++i) n += quorlet::InputLiterals(s_, (*this)[i]) + OutputCount(s_, (*this)[i]);
    return n;
}
int Cover::InputLiterals() const
{
    int n = 0;
    for (int i = 0; i < n_; ++i) n += quorlet::InputLiterals(s_, (*this)[i]);
    return n;
}

Cost CostOf(const Cover& f) { return {f.Size(), f.Literals()}; }

void SingleCubeContainment(Cover& f)
{
    const Space& s = f.space();
    const int n = f.Size(), words = s.words;
    // Larger cubes first, so that each cube needs to be checked only against kept ones, which
    // are copied side by side: the scan over them is the whole cost on a large complement.
    std::vector<int> order(n), bits(n);
    for (int i = 0; i < n; ++i) bits[i] = CountBits(s, f[i]);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return bits[a] > bits[b]; });
    std::vector<char> keep(n, 0);
    std::vector<Word> kept;
    kept.reserve(std::size_t(n) * words);
    for (int i : order) {
        const Word* c = f[i];
        bool covered = false;
        const Word* k = kept.data();
        const Word* end = k + kept.size();
        if (words == 2) {
            const Word c0 = c[0], c1 = c[1];
            for (; k != end; k += 2)
                if (!((c0 & ~k[0]) | (c1 & ~k[1]))) {
                    covered = true;
                    break;
                }
        } else {
            for (; k != end && !covered; k += words) covered = Contains(s, k, c);
        }
        if (!covered) {
            keep[i] = 1;
            kept.insert(kept.end(), c, c + words);
        }
    }
    f.Filter(keep);
}

Cover Sharp(const Space& s, const Word* a, const Word* b)
{
    Cover r(s);
    if (!Intersects(s, a, b)) {
        r.Add(a);
        return r;
    }
    for (int v = 0; v < s.ni; ++v) {
        unsigned av = GetVar(a, v), rest = av & ~GetVar(b, v) & 3u;
        if (rest) {
            Word* c = r.AddZero();
            std::memcpy(c, a, sizeof(Word) * s.words);
            SetVar(c, v, rest);
        }
    }
    bool outRest = false;
    for (int w = s.inWords; w < s.words; ++w) outRest |= (a[w] & ~b[w]) != 0;
    if (outRest) {
        Word* c = r.AddZero();
        std::memcpy(c, a, sizeof(Word) * s.words);
        for (int w = s.inWords; w < s.words; ++w) c[w] = a[w] & ~b[w];
    }
    return r;
}

Cover Cofactor(const Cover& f, const Word* c)
{
    const Space& s = f.space();
    Cover r(s);
    for (int i = 0; i < f.Size(); ++i)
        if (Intersects(s, f[i], c)) Cofactor(s, f[i], c, r.AddZero());
    return r;
}

void MergeEqualInputs(Cover& f)
{
    const Space& s = f.space();
    int n = f.Size();
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        int c = std::memcmp(f[a], f[b], sizeof(Word) * s.inWords);
        return c != 0 ? c < 0 : a < b;
    });
    Cover r(s);
    r.Reserve(n);
    for (int k = 0; k < n; ++k) {
        const Word* c = f[order[k]];
        if (r.Size() && InputEqual(s, r[r.Size() - 1], c)) {
            Word* last = r[r.Size() - 1];
            for (int w = s.inWords; w < s.words; ++w) last[w] |= c[w];
        } else {
            r.Add(c);
        }
    }
    f.Swap(r);
}

std::string CubeToString(const Space& s, const Word* c)
{
    std::string t;
    for (int v = 0; v < s.ni; ++v) t += "?01-"[GetVar(c, v)];
    t += ' ';
    for (int j = 0; j < s.no; ++j) t += GetOut(s, c, j) ? '1' : '0';
    return t;
}

}  // namespace quorlet
