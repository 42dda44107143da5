// An index over the cubes of some covers that answers which of them lie near a given cube.
#pragma once

#include <initializer_list>
#include <vector>

#include "Cube.h"

namespace quorlet {

// Which cubes of some covers lie near a given cube, answered from bit sets over the cubes (one
// per input bit, the cubes holding it, and one per output) instead of a scan of every cube.
// The covers must stay where they are while the index is used; their cubes may shrink (an
// answer is then a superset, so callers test each cube it names), but none may be added.
class MeetIndex {
public:
    explicit MeetIndex(std::initializer_list<const Cover*> covers);

    const Space& space() const { return s_; }
    int Size() const { return n_; }
    const Word* At(int i) const
    {
        int k = CoverOf(i);
        return (*covers_[k])[i - start_[k]];
    }
    int CoverOf(int i) const;  // position of the cover in the list given to the constructor
    int Start(int k) const { return start_[k]; }

    // Indices, ascending, of every cube that meets c (and perhaps some that do not).
    void Meeting(const Word* c, std::vector<int>& out) const;
    // Indices, ascending, of every cube within distance one of c (conflicting in at most one
    // input variable or, instead, in the outputs), and perhaps some others.
    void Near(const Word* c, std::vector<int>& out) const;

    // The bit sets themselves (cube i: bit i % 64 of word i / 64), Blocks() words each.
    int Blocks() const { return blocks_; }
    // The cubes holding input bit b (counted over the input words, as in a cube).
    const Word* Holding(int b) const { return &has_[std::size_t(b) * blocks_]; }
    // Into outs: the cubes sharing an output with c.
    void SharingOutputs(const Word* c, std::vector<Word>& outs) const;

private:
    void Collect(const std::vector<Word>& found, std::vector<int>& out) const;
    // Calls f with the column of each input bit that c holds alone in its variable.
    template <class F>
    void ForEachLiteralColumn(const Word* c, F f) const;
    // Fills outs with the cubes sharing an output with c; false when c has too many outputs
    // for that to pay (outs then undefined).
    bool GatherSharedOutputs(const Word* c, std::vector<Word>& outs) const;

    Space s_;
    std::vector<const Cover*> covers_;
    std::vector<int> start_;
    int n_ = 0, blocks_ = 0;
    std::vector<Word> has_;    // per input bit: the cubes holding it
    std::vector<Word> out_;    // per output: the cubes holding it
    std::vector<Word> valid_;  // the indices in use
                               // No scratch here: threads may ask one index at the same time.
};

}  // namespace quorlet
