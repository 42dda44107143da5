// Essential primes: a prime is essential when the consensus of it with the cubes around it does
// not cover it.
#include "Essentials.h"

#include "MeetIndex.h"
#include "Parallel.h"
#include "Unate.h"

namespace quorlet {

std::vector<char> EssentialPrimes(const Cover& f, const Cover& dc, long steps)
{
    const Space& s = f.space();
    std::vector<char> ess(f.Size(), 0);
    MeetIndex index({&f, &dc});
    ParallelFor(f.Size(), [&](int i) {
        thread_local std::vector<int> near;
        thread_local std::vector<Word> t;
        t.resize(s.words);
        const Word* p = f[i];
        Cover h(s);
        index.Near(p, near);
        for (int k : near) {
            const Word* d = index.At(k);
            if (d == p) continue;
            if (!Consensus(s, d, p, t.data()) || IsEmptyCube(s, t.data())) continue;
            h.Add(t.data());
            // The outputs are one many-valued variable: where d and p meet, their consensus also
            // takes the union of the outputs, an implicant that shows another prime covering p
            // there in every output of p. Without it, cubes shared by several outputs pass for
            // essential (seq: 333 of 473, where a cover of 344 holds only 220 of them).
            bool outsInside = true;
            for (int w = s.inWords; w < s.words; ++w) outsInside &= (d[w] & ~p[w]) == 0;
            if (outsInside || Distance(s, d, p) != 0) continue;
            for (int w = s.inWords; w < s.words; ++w) t[w] = p[w];
            h.Add(t.data());
        }
        // Proving a cube not essential is the costly side: the recursion has to find the
        // other primes all around it. One not settled within the budget stays in the loop,
        // which is always safe.
        ess[i] = !CubeMaybeCovered(p, h, steps);
    });
    return ess;
}

}  // namespace quorlet
