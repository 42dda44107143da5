// Wide functions whose outputs each depend on a few inputs: the unate recursions answer them
// output component by output component, and the minimizer's results are checked point by point
// over the inputs each output can see.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>

#include "Exact.h"
#include "Function.h"
#include "Minimize.h"
#include "QuorEsp.h"
#include "TruthTable.h"
#include "Unate.h"

namespace quorlet::test {
namespace {

// A wide sparse table: each term names one to three inputs and one output; some outputs get
// a pair x + x' (constant one), which every expanded cube may then carry.
PlaTable WideSparseTable(std::mt19937& rng, int ni, int no, int terms, bool constants)
{
    PlaTable t;
    t.ni = ni;
    t.no = no;
    t.type = PlaType::FD;
    auto term = [&](std::string in, int j) {
        std::string out(no, '0');
        out[j] = '1';
        t.terms.push_back({std::move(in), std::move(out), 0});
    };
    for (int k = 0; k < terms; ++k) {
        std::string in(ni, '-');
        int lits = 1 + int(rng() % 3);
        for (int l = 0; l < lits; ++l) in[rng() % ni] = rng() % 2 ? '1' : '0';
        term(in, (k + int(rng() % 2)) % no);  // at most a few terms an output
    }
    if (constants)
        for (int j = 0; j < no; j += 7) {
            std::string in(ni, '-');
            int v = int(rng() % ni);
            in[v] = '0';
            term(in, j);
            in[v] = '1';
            term(in, j);
        }
    return t;
}

bool TermHas(const std::string& in, const std::vector<int>& vars, unsigned m)
{
    for (std::size_t k = 0; k < vars.size(); ++k) {
        char c = in[vars[k]];
        char bit = ((m >> k) & 1) ? '1' : '0';
        if (c != '-' && c != bit) return false;
    }
    return true;
}

// For every output: the inputs that its terms and the result's cubes name, and every point
// over them; outside them neither side depends on anything. ON points must be covered, no
// other point may be (the tables list no don't-cares); the other way round when inverted.
void ExpectSameFunction(const PlaTable& t, const Cover& r, const std::string& what, bool inverted = false)
{
    const Space& s = r.space();
    for (int j = 0; j < t.no; ++j) {
        std::set<int> seen;
        for (auto& term : t.terms)
            if (term.out[j] == '1')
                for (int v = 0; v < t.ni; ++v)
                    if (term.in[v] != '-') seen.insert(v);
        std::vector<std::string> cubes;
        for (int i = 0; i < r.Size(); ++i) {
            if (!GetOut(s, r[i], j)) continue;
            std::string c = CubeToString(s, r[i]).substr(0, s.ni);
            for (int v = 0; v < t.ni; ++v)
                if (c[v] != '-') seen.insert(v);
            cubes.push_back(c);
        }
        std::vector<int> vars(seen.begin(), seen.end());
        ASSERT_LE(vars.size(), 20u) << what;
        for (unsigned m = 0; m < (1u << vars.size()); ++m) {
            bool on = false, covered = false;
            for (auto& term : t.terms) on |= term.out[j] == '1' && TermHas(term.in, vars, m);
            for (auto& c : cubes) covered |= TermHas(c, vars, m);
            ASSERT_EQ(on != inverted, covered) << what << ": output " << j << " point " << m;
        }
    }
}

TEST(Wide, SparseFunctionsOfManyInputsArePointCorrect)
{
    std::mt19937 rng(16);
    for (int round = 0; round < 24; ++round) {
        int ni = 40 + int(rng() % 61), no = 10 + int(rng() % 40), terms = no + int(rng() % (2 * no));
        PlaTable t = WideSparseTable(rng, ni, no, terms, round % 2 == 1);
        std::string what = "round " + std::to_string(round) + " (" + std::to_string(ni) + " inputs)";
        Problem p = BuildProblem(t, false);
        ASSERT_TRUE(p.offKnown) << what;
        MinimizeResult r = Minimize(p.on, p.dc, p.off);
        ExpectSameFunction(t, r.cover, what);
        // Nothing a cube could lose, and no cube covered by the others.
        MeetIndex index({&r.cover});
        for (int i = 0; i < r.cover.Size(); ++i)
            ASSERT_FALSE(CubeCovered(r.cover[i], index, r.cover[i])) << what << ": redundant cube " << i;
    }
}

TEST(Wide, ComplementOfSparseFunctionsIsPointCorrect)
{
    // The OFF-set as the complement gives it: exactly the points no term of the output holds.
    std::mt19937 rng(61);
    for (int round = 0; round < 12; ++round) {
        PlaTable t = WideSparseTable(rng, 50 + round * 4, 12, 30, round % 3 == 0);
        Cover comp = Complement(TermCover(t, '1'));
        ExpectSameFunction(t, comp, "round " + std::to_string(round), true);
    }
}

TEST(Wide, DenseTermsOverEachOutputsOwnInputsArePointCorrect)
{
    // Each output sees a window of its own 8 to 12 inputs, and its terms fix all of them: the
    // complement is full of single literals, which the unate questions cut one output at a time.
    std::mt19937 rng(4016);
    for (int round = 0; round < 16; ++round) {
        PlaTable t;
        t.ni = 40 + int(rng() % 61);
        t.no = 3 + int(rng() % 6);
        t.type = PlaType::F;
        for (int j = 0; j < t.no; ++j) {
            const int width = 8 + int(rng() % 5), start = int(rng() % unsigned(t.ni - width));
            for (int k = 1 + int(rng() % 5); k > 0; --k) {
                std::string in(t.ni, '-'), out(t.no, '0');
                for (int v = start; v < start + width; ++v) in[v] = rng() % 2 ? '1' : '0';
                out[j] = '1';
                t.terms.push_back({std::move(in), std::move(out), 0});
            }
        }
        std::string what = "round " + std::to_string(round) + " (" + std::to_string(t.ni) + " inputs)";
        for (bool pos : {false, true}) {
            Problem p = BuildProblem(t, pos);
            ASSERT_TRUE(p.offKnown) << what;
            MinimizeResult r = Minimize(p.on, p.dc, p.off);
            ExpectSameFunction(t, r.cover, what + (pos ? " -pos" : ""), pos);
            MinimizeResult without = MinimizeWithoutOff(p.on, p.dc);
            ExpectSameFunction(t, without.cover, what + " without the OFF-set" + (pos ? " -pos" : ""), pos);
        }
    }
}

// Covers over several output components, some outputs constant: tautology, containment and
// the smallest cube around an uncovered part, each against enumeration over all points.
TEST(Wide, UnateQuestionsSplitByOutputsMatchEnumeration)
{
    std::mt19937 rng(1616);
    for (int round = 0; round < 200; ++round) {
        Space s(6 + int(rng() % 5), 3 + int(rng() % 6));
        Cover f(s);
        // Each output sees a few cubes of its own; a few cubes join two outputs.
        for (int j = 0; j < s.no; ++j) {
            int k = 1 + int(rng() % 4);
            for (int c = 0; c < k; ++c) {
                Word* cube = RandomCube(rng, f, 60, 0);
                for (int w = s.inWords; w < s.words; ++w) cube[w] = 0;
                SetOut(s, cube, j, true);
                if (rng() % 8 == 0) SetOut(s, cube, int(rng() % s.no), true);
            }
            if (rng() % 3 == 0) {  // x + x': a constant output
                int v = int(rng() % s.ni);
                for (unsigned lit : {1u, 2u}) {
                    Word* c = f.AddZero();
                    MakeInputUniverse(s, c);
                    SetVar(c, v, lit);
                    SetOut(s, c, j, true);
                }
            }
        }
        Table t = TableOf(f);
        OutSet u(s.outWords, 0);
        for (int j = 0; j < s.no; ++j)
            if (rng() % 2 || j == 0) u[j >> 6] |= Word(1) << (j & 63);
        ASSERT_EQ(Tautology(f, u), AllOnes(t, u)) << "round " << round;
        // Each cube against the others: covered, and what is left of it.
        for (int i = 0; i < f.Size(); ++i) {
            SCOPED_TRACE("round " + std::to_string(round));
            CheckAgainstOthers(f, i);
        }
    }
}

// The completeness check's question: -pos of a table (type f) naming, row by row, the outputs
// it says something about. Rows share most outputs and leave some open ("~"); the answer is
// their complement. Rows of one or two literals over 40 to 100 inputs: checked over every point
// of the inputs an output sees. Rows that are single points: the exact check, and point by
// point at each row and every neighbour one input away, where the cubes come closest.
PlaTable CheckTable(std::mt19937& rng, int ni, int no, int rows, int maxLits)
{
    PlaTable t;
    t.ni = ni;
    t.no = no;
    t.type = PlaType::F;
    for (int k = 0; k < rows; ++k) {
        std::string in(ni, '-'), out(no, '1');
        if (maxLits >= ni) {
            for (char& c : in) c = rng() % 2 ? '1' : '0';
        } else {
            for (int l = 1 + int(rng() % maxLits); l > 0; --l) in[rng() % ni] = rng() % 2 ? '1' : '0';
        }
        for (char& c : out)
            if (rng() % 10 < 3) c = '~';
        t.terms.push_back({in, out, 0});
    }
    return t;
}

PlaTable MissingCover(const PlaTable& t)
{
    std::istringstream in(FormatPla(t));
    std::ostringstream out, err;
    EXPECT_EQ(RunQuorEsp(std::vector<std::string>{"-pos"}, err, &in, &out), 0) << err.str();
    return ParsePla(out.str(), "result");
}

TEST(Wide, MissingCoverOfWideTablesIsPointCorrect)
{
    std::mt19937 rng(1600);
    for (int round = 0; round < 16; ++round) {
        int ni = 40 + int(rng() % 61), no = 5 + int(rng() % 36), rows = 3 + int(rng() % 6);
        PlaTable t = CheckTable(rng, ni, no, rows, 2);
        std::string what = "round " + std::to_string(round) + " (" + std::to_string(ni) + " inputs)";
        ExpectSameFunction(t, TermCover(MissingCover(t), '1'), what, true);
    }
    for (int round = 0; round < 6; ++round) {
        // 40 inputs: the most a table holds, so the most the completeness check asks.
        int ni = 40, no = 1 + int(rng() % 40), rows = 5 + int(rng() % 26);
        PlaTable t = CheckTable(rng, ni, no, rows, ni);
        std::string what = "points round " + std::to_string(round) + " (" + std::to_string(ni) + " inputs)";
        PlaTable r = MissingCover(t);
        Verdict v = VerifyMinimization(t, r, true);
        ASSERT_TRUE(v.ok) << what << ": " << v.message;
        ASSERT_LE(r.terms.size(), std::size_t(rows * ni)) << what;
        auto holds = [](const std::string& cube, const std::string& p) {
            for (std::size_t i = 0; i < p.size(); ++i)
                if (cube[i] != '-' && cube[i] != p[i]) return false;
            return true;
        };
        for (const auto& row : t.terms)
            for (int flip = -1; flip < ni; ++flip) {
                std::string p = row.in;
                if (flip >= 0) p[flip] ^= 1;
                std::string given(no, '~'), missing(no, '0');
                for (const auto& other : t.terms)
                    if (other.in == p) given = other.out;
                for (const auto& cube : r.terms)
                    if (holds(cube.in, p))
                        for (int j = 0; j < no; ++j) missing[j] |= cube.out[j] == '1';
                for (int j = 0; j < no; ++j)
                    ASSERT_NE(given[j] == '1', missing[j] == '1') << what << ": point " << p << " output " << j;
            }
    }
}

TEST(Wide, PrimeGenerationGivesUpOnManyOutputSharings)
{
    // Multi-output primes of a wide sparse function are the products of one term from each of
    // any set of outputs: far too many. The generator must say so within its work limit.
    std::mt19937 rng(7);
    PlaTable t = WideSparseTable(rng, 60, 24, 80, false);
    Cover on = TermCover(t, '1');
    ExactParams p;
    p.maxPrimes = 2500;
    p.maxProducts = 50000;
    p.maxSplitCubes = 50000;
    p.maxSeconds = 0;
    Cover primes;
    EXPECT_EQ(PrimeImplicants(on, p, ExactDeadline::max(), primes), ExactStatus::TooManyPrimes);
    // A few outputs of it still give all their primes, each an implicant of its outputs.
    PlaTable small = WideSparseTable(rng, 40, 3, 8, false);
    Cover son = TermCover(small, '1');
    ASSERT_EQ(PrimeImplicants(son, p, ExactDeadline::max(), primes), ExactStatus::Proven);
    ASSERT_GE(primes.Size(), 1);
    for (int i = 0; i < primes.Size(); ++i) ASSERT_TRUE(CubeCovered(primes[i], {&son})) << i;
}

}  // namespace
}  // namespace quorlet::test
