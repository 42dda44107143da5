// Last gasp: the cubes reduced side by side, each against all the others, and the new primes
// grown from the pieces given a chance beside the old ones.
#include "LastGasp.h"

#include <vector>

#include "MeetIndex.h"
#include "Parallel.h"
#include "Unate.h"

namespace quorlet {

Cover LastGasp(const Cover& f, const Cover& dc, const Expansion& expand, const IrredundantParams& p)
{
    const Space& s = f.space();
    // Every cube is reduced against the others as they are, so the cubes go side by side.
    const int n = f.Size();
    std::vector<Word> out(std::size_t(n) * s.words);
    std::vector<char> smaller(n, 0);
    MeetIndex index({&f, &dc});
    ParallelFor(n, [&](int i) {
        Word* o = out.data() + std::size_t(i) * s.words;
        smaller[i] = ReduceCube(f[i], index, f[i], o) && !Equal(s, o, f[i]);
    });
    Cover reduced(s);
    for (int i = 0; i < n; ++i)
        if (smaller[i]) reduced.Add(out.data() + std::size_t(i) * s.words);
    if (reduced.Size() < 2) return f;
    Cover primes = expand(reduced);
    Cover fresh(s);
    for (int i = 0; i < primes.Size(); ++i) {
        bool known = false;
        for (int k = 0; k < f.Size() && !known; ++k) known = Equal(s, primes[i], f[k]);
        if (!known) fresh.Add(primes[i]);
    }
    if (fresh.Empty()) return f;
    Cover all = f;
    all.Append(fresh);
    return Irredundant(all, dc, p);
}

Cover LastGasp(const Cover& f, const Cover& dc, const Cover& off, const IrredundantParams& p)
{
    return LastGasp(f, dc, Expansion{&off, nullptr}, p);
}

}  // namespace quorlet
