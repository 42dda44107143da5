// Bit sets over the cubes of some covers, one per input bit and one per output, that name the
// cubes near a given cube without a scan of all of them.
#include "MeetIndex.h"

#include <algorithm>
#include <bit>

namespace quorlet {

MeetIndex::MeetIndex(std::initializer_list<const Cover*> covers) : covers_(covers)
{
    s_ = covers_.front()->space();
    for (const Cover* f : covers_) {
        start_.push_back(n_);
        n_ += f->Size();
    }
    start_.push_back(n_);
    blocks_ = (n_ + 63) / 64;
    has_.assign(std::size_t(2) * s_.ni * blocks_, 0);
    out_.assign(std::size_t(s_.no) * blocks_, 0);
    valid_.assign(blocks_, ~Word(0));
    if (n_ & 63) valid_[blocks_ - 1] = (Word(1) << (n_ & 63)) - 1;
    // Every cube starts out holding every input bit and loses those it lacks: the work is that
    // of its literals, not of the width (wide cubes are mostly free variables).
    for (int b = 0; b < 2 * s_.ni; ++b) std::copy(valid_.begin(), valid_.end(), has_.begin() + std::size_t(b) * blocks_);
    int i = 0;
    for (const Cover* f : covers_)
        for (int k = 0; k < f->Size(); ++k, ++i) {
            const Word* c = (*f)[k];
            const Word bit = Word(1) << (i & 63);
            const int blk = i >> 6;
            for (int w = 0; w < s_.inWords; ++w)
                for (Word b = ~c[w] & s_.InMask(w); b; b &= b - 1)
                    has_[std::size_t(w * 64 + std::countr_zero(b)) * blocks_ + blk] &= ~bit;
            for (int w = 0; w < s_.outWords; ++w)
                for (Word b = c[s_.inWords + w]; b; b &= b - 1)
                    out_[std::size_t(w * 64 + std::countr_zero(b)) * blocks_ + blk] |= bit;
        }
}

int MeetIndex::CoverOf(int i) const
{
    return int(std::upper_bound(start_.begin(), start_.end(), i) - start_.begin()) - 1;
}

template <class F>
void MeetIndex::ForEachLiteralColumn(const Word* c, F f) const
{
    for (int w = 0; w < s_.inWords; ++w) {
        Word lv = LiteralVars(c[w], s_.InMask(w));
        for (Word b = c[w] & (lv | (lv << 1)); b; b &= b - 1)
            // data() + offset: with no cubes indexed the columns are empty and has_ may hold nothing.
            f(has_.data() + std::size_t(w * 64 + std::countr_zero(b)) * blocks_);
    }
}

void MeetIndex::SharingOutputs(const Word* c, std::vector<Word>& outs) const
{
    outs.assign(blocks_, 0);
    for (int w = 0; w < s_.outWords; ++w)
        for (Word b = c[s_.inWords + w]; b; b &= b - 1) {
            const Word* col = out_.data() + std::size_t(w * 64 + std::countr_zero(b)) * blocks_;
            for (int k = 0; k < blocks_; ++k) outs[k] |= col[k];
        }
}

bool MeetIndex::GatherSharedOutputs(const Word* c, std::vector<Word>& outs) const
{
    // Past a few outputs OR-ing their columns costs more than the cubes it rules out.
    int n = 0;
    for (int w = s_.inWords; w < s_.words; ++w) n += std::popcount(c[w]);
    if (n > 16) return false;
    SharingOutputs(c, outs);
    return true;
}

namespace {
// Per-thread bit sets for the index's answers.
struct MeetBits {
    std::vector<Word> acc, twos, outs;
};
thread_local MeetBits meetBits;
}  // namespace

void MeetIndex::Meeting(const Word* c, std::vector<int>& out) const
{
    MeetBits& m = meetBits;
    m.acc = valid_;
    ForEachLiteralColumn(c, [&](const Word* col) {
        for (int k = 0; k < blocks_; ++k) m.acc[k] &= col[k];
    });
    if (GatherSharedOutputs(c, m.outs))
        for (int k = 0; k < blocks_; ++k) m.acc[k] &= m.outs[k];
    Collect(m.acc, out);
}

void MeetIndex::Near(const Word* c, std::vector<int>& out) const
{
    // ones (in acc): a conflict seen; twos: two or more.
    MeetBits& m = meetBits;
    m.acc.assign(blocks_, 0);
    m.twos.assign(blocks_, 0);
    ForEachLiteralColumn(c, [&](const Word* col) {
        for (int k = 0; k < blocks_; ++k) {
            Word x = ~col[k];
            m.twos[k] |= m.acc[k] & x;
            m.acc[k] |= x;
        }
    });
    if (GatherSharedOutputs(c, m.outs))
        for (int k = 0; k < blocks_; ++k) m.twos[k] |= m.acc[k] & ~m.outs[k];
    for (int k = 0; k < blocks_; ++k) m.acc[k] = ~m.twos[k] & valid_[k];
    Collect(m.acc, out);
}

void MeetIndex::Collect(const std::vector<Word>& found, std::vector<int>& out) const
{
    out.clear();
    for (int k = 0; k < blocks_; ++k)
        for (Word b = found[k]; b; b &= b - 1) out.push_back(k * 64 + std::countr_zero(b));
}

}  // namespace quorlet
