// Functions of a few cubes that fix most of very many inputs: the complement of such cubes is
// a long list of one- and two-literal cubes, and the unate questions that meet it must take
// its single literals all at once; the minimizer must do without the OFF-set when storing it
// would cost far more than the function itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "Function.h"
#include "Minimize.h"
#include "QuorEsp.h"
#include "TruthTable.h"
#include "Unate.h"

namespace quorlet::test {
namespace {

void SetLiteral(Word* c, int v, bool one) { SetVar(c, v, one ? 2u : 1u); }

// A few cubes without dashes and single literals against the first of them (some of its
// negated literals, some twice with both polarities), with outputs that all or some of them
// hold: the shape of a dense function beside part of its complement.
Cover DenseWithLiterals(std::mt19937& rng, const Space& s)
{
    Cover f(s);
    const int dense = 1 + int(rng() % 3);
    for (int k = 0; k < dense; ++k) RandomCube(rng, f, rng() % 2 ? 0 : 20, 70);
    std::vector<Word> first(f[0], f[0] + s.words);
    for (int v = 0; v < s.ni; ++v) {
        if (rng() % 4 == 0) continue;
        unsigned b = GetVar(first.data(), v);
        Word* c = f.AddZero();
        MakeInputUniverse(s, c);
        SetVar(c, v, b == 3 ? 1u + unsigned(rng() % 2) : 3u & ~b);
        bool allOutputs = rng() % 3 != 0;
        for (int j = 0; j < s.no; ++j) SetOut(s, c, j, allOutputs || rng() % 2);
        if (OutputsEmpty(s, c)) SetOut(s, c, int(rng() % s.no), true);
        if (rng() % 8 == 0) {                         // x and x' both: the cover is a tautology for their outputs
            std::vector<Word> other(c, c + s.words);  // c moves when f grows
            SetVar(other.data(), v, 3u & ~GetVar(c, v));
            f.Add(other.data());
        }
    }
    if (rng() % 2) {  // a two-literal cube, so that a cut leaves new single literals behind
        Word* c = f.AddZero();
        MakeUniverse(s, c);
        SetLiteral(c, int(rng() % s.ni), rng() % 2);
        SetLiteral(c, int(rng() % s.ni), rng() % 2);
    }
    return f;
}

TEST(Dense, SingleLiteralCutsMatchEnumeration)
{
    std::mt19937 rng(1601);
    int tautologies = 0;
    for (int round = 0; round < 400; ++round) {
        Space s(3 + int(rng() % 7), 1 + int(rng() % 3));
        Cover f = DenseWithLiterals(rng, s);
        Table t = TableOf(f);
        // Tautology over every set of outputs.
        for (unsigned outs = 1; outs < (1u << s.no); ++outs) {
            OutSet u(s.outWords, 0);
            u[0] = outs;
            const bool all = AllOnes(t, u);
            tautologies += all;
            ASSERT_EQ(Tautology(f, u), all) << "round " << round << " outputs " << outs;
        }
        // Each cube against the others: covered, and the smallest cube around what is left.
        for (int i = 0; i < f.Size(); ++i) {
            SCOPED_TRACE("round " + std::to_string(round));
            CheckAgainstOthers(f, i);
        }
    }
    EXPECT_GT(tautologies, 40);
}

TEST(Dense, ThousandsOfSingleLiteralsBesideOneCube)
{
    // x1 x2 ... xn and every xv' but one: what is left open is the one point with xk = 0.
    for (int n : {70, 1000, 5000}) {
        Space s(n, 2);
        Cover f(s);
        Word* c = f.AddZero();
        MakeUniverse(s, c);
        for (int v = 0; v < n; ++v) SetLiteral(c, v, true);
        const int k = n / 3;
        for (int v = 0; v < n; ++v) {
            if (v == k) continue;
            Word* d = f.AddZero();
            MakeInputUniverse(s, d);
            SetLiteral(d, v, false);
            SetOut(s, d, 0, true);
            SetOut(s, d, 1, v != n - 1);  // output 1 misses one more literal
        }
        OutSet out0(s.outWords, 1), both(s.outWords, 3);
        EXPECT_FALSE(Tautology(f, out0)) << n;
        Cover probe(s);
        Word* all = probe.AddZero();
        MakeUniverse(s, all);
        SetOut(s, all, 1, false);
        std::vector<Word> r(s.words);
        ASSERT_TRUE(ReduceCube(all, {&f}, nullptr, r.data())) << n;
        for (int v = 0; v < n; ++v) ASSERT_EQ(GetVar(r.data(), v), v == k ? 1u : 2u) << n << " variable " << v;
        // The missing literal added: output 0 is constant one, output 1 still open.
        Word* d = f.AddZero();
        MakeInputUniverse(s, d);
        SetLiteral(d, k, false);
        SetOut(s, d, 0, true);
        SetOut(s, d, 1, true);
        EXPECT_TRUE(Tautology(f, out0)) << n;
        EXPECT_FALSE(Tautology(f, both)) << n;
        EXPECT_TRUE(CubeCovered(all, {&f})) << n;
        EXPECT_FALSE(ReduceCube(all, {&f}, nullptr, r.data())) << n;
    }
}

std::string DenseTable(std::mt19937& rng, int ni, int no, int terms, const std::string& type)
{
    std::string text = ".i " + std::to_string(ni) + "\n.o " + std::to_string(no) + "\n.type " + type + "\n.p " +
                       std::to_string(terms) + "\n";
    for (int t = 0; t < terms; ++t) {
        std::string in(ni, '-'), out(no, '0');
        for (char& ch : in)
            if (rng() % 20) ch = rng() % 2 ? '1' : '0';
        for (char& ch : out) ch = "10-"[rng() % (type == "f" ? 2 : 3)];
        out[rng() % no] = '1';
        text += in + " " + out + "\n";
    }
    return text + ".e\n";
}

TEST(Dense, FewWideTermsAreMinimizedWithOrWithoutTheOffSet)
{
    // Over a hundred inputs the OFF-set is built, over thousands it is not; both give correct
    // results, and far apart cubes have nothing to grow into.
    std::mt19937 rng(1616);
    for (int ni : {100, 3000})
        for (const char* type : {"f", "fd", "fr"}) {
            PlaTable t = ParsePla(DenseTable(rng, ni, 3, 2 + int(rng() % 4), type), "dense");
            std::string what = std::to_string(ni) + " inputs, type " + type;
            for (bool pos : {false, true}) {
                if (pos && std::string(type) != "fr") continue;  // the complement is the answer there
                Problem p = BuildProblem(t, pos);
                if (std::string(type) != "fr") {
                    EXPECT_EQ(p.offKnown, ni < 1000) << what;
                }
                MinimizeResult r = p.offKnown ? Minimize(p.on, p.dc, p.off) : MinimizeWithoutOff(p.on, p.dc);
                Verdict v = VerifyMinimization(t, CoverToTable(r.cover, t), pos);
                EXPECT_TRUE(v.ok) << what << (pos ? " -pos: " : ": ") << v.message;
            }
        }
    // One ON cube beside two don't-care cubes one flip away each: it takes in one of them,
    // not both (the point with both flips is OFF).
    const int ni = 4000;
    std::string on(ni, '1'), dc1 = on, dc2 = on;
    for (int v = 0; v < ni; v += 2) on[v] = dc1[v] = dc2[v] = '0';
    dc1[10] = '1';
    dc2[3001] = '0';
    PlaTable t = ParsePla(".i 4000\n.o 1\n.type fd\n" + on + " 1\n" + dc1 + " -\n" + dc2 + " -\n.e\n", "grow");
    Problem p = BuildProblem(t, false);
    ASSERT_FALSE(p.offKnown);
    MinimizeResult r = MinimizeWithoutOff(p.on, p.dc);
    ASSERT_EQ(r.cover.Size(), 1);
    std::string got = CubeToString(r.cover.space(), r.cover[0]).substr(0, ni);
    EXPECT_EQ((got[10] == '-') + (got[3001] == '-'), 1);
    for (int v = 0; v < ni; ++v)
        if (v != 10 && v != 3001) {
            ASSERT_EQ(got[v], on[v]) << v;
        }
}

TEST(Dense, QuorEspRunAndVerifyOnTenThousandInputs)
{
    std::mt19937 rng(10000);
    const auto dir = std::filesystem::temp_directory_path() /
                     ("quorlet-dense-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const std::string in = (dir / "in.pla").string(), out = (dir / "out.pla").string();
    std::ofstream(in) << DenseTable(rng, 10000, 2, 3, "fd");
    std::ostringstream err;
    EXPECT_EQ(RunQuorEsp(std::vector<std::string>{"-o", out, in}, err), 0) << err.str();
    EXPECT_EQ(RunQuorEsp(std::vector<std::string>{"--verify", in, out}, err), 0) << err.str();
    PlaTable r = ReadPlaFile(out);
    EXPECT_LE(r.terms.size(), 3u);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quorlet::test
