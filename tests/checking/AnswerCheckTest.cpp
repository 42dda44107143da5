// Grading against known points: the first differing point of an expression on a cube agrees with
// walking the cube point by point, and the verdict names the first point in counting order.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "AnswerCheck.h"

namespace {

using namespace quorlet;

// A random expression of literals, sums, products and negations over n inputs.
int RandomNode(Expression& e, std::mt19937& rng, int n, int depth)
{
    int pick = static_cast<int>(rng() % 10);
    if (depth == 0 || pick < 3) {
        if (rng() % 15 == 0) return e.AddConstant(rng() % 2 == 0);
        int input = e.AddInput(static_cast<int>(rng() % static_cast<unsigned>(n)));
        return rng() % 2 ? e.AddNot(input) : input;
    }
    if (pick == 3) return e.AddNot(RandomNode(e, rng, n, depth - 1));
    std::vector<int> operands;
    for (int k = 2 + static_cast<int>(rng() % 3); k > 0; --k) operands.push_back(RandomNode(e, rng, n, depth - 1));
    return pick < 7 ? e.AddAnd(operands) : e.AddOr(operands);
}

// The points of a cube in counting order.
std::vector<std::string> PointsOf(const std::string& cube)
{
    std::vector<std::string> points{""};
    for (char c : cube) {
        std::vector<std::string> next;
        for (const std::string& p : points) {
            if (c != '1') next.push_back(p + '0');
            if (c != '0') next.push_back(p + '1');
        }
        points.swap(next);
    }
    return points;
}

std::string RandomCube(std::mt19937& rng, int n)
{
    std::string cube;
    for (int i = 0; i < n; ++i) cube += "01--"[rng() % 4];
    return cube;
}

TEST(AnswerCheckTest, FirstDifferingPointAgreesWithWalkingTheCube)
{
    std::mt19937 rng(20);
    for (int round = 0; round < 600; ++round) {
        const int n = 1 + static_cast<int>(rng() % 9);
        Expression e;
        e.SetRoot(RandomNode(e, rng, n, 4));
        const std::string cube = RandomCube(rng, n);
        for (bool wanted : {false, true}) {
            std::optional<std::string> expected;
            for (const std::string& p : PointsOf(cube)) {
                if (e.Evaluate(p) != (wanted ? '1' : '0')) {
                    expected = p;
                    break;
                }
            }
            EXPECT_EQ(e.FirstPointDiffering(cube, wanted), expected) << "round " << round << " cube " << cube;
        }
    }
}

TEST(AnswerCheckTest, VerdictNamesTheFirstSpecifiedPointThatDiffers)
{
    CheckReference reference;
    reference.signals = {{"A", "B", "CIN"}, {"F"}};
    // F: ON at 1--, OFF at 00-, don't-care (absent) at 01-.
    reference.functions = {{{"1--"}, {"00-"}}};
    Answer answer = ReadAnswerText("F = A + B", reference.signals);
    ASSERT_EQ(answer.equations.size(), 1u);
    FunctionVerdict right = CheckFunction(reference, 0, &answer.equations[0], {1, 1});
    EXPECT_EQ(right.verdict, Verdict::Correct);
    EXPECT_EQ(FormatVerdict(reference, 0, right),
              "F: CORRECT, 2 PRODUCT TERMS, 2 LITERALS; MINIMUM 1 PRODUCT TERMS, 1 LITERALS");

    // Wrong on 001 (OFF point, answer 1) and on 100, 101 (ON points, answer 0): 001 comes first.
    Answer wrong = ReadAnswerText("F = A'CIN + A B", reference.signals);
    FunctionVerdict verdict = CheckFunction(reference, 0, &wrong.equations[0], {1, 1});
    EXPECT_EQ(verdict.verdict, Verdict::Wrong);
    EXPECT_EQ(FormatVerdict(reference, 0, verdict), "F: WRONG AT A=0 B=0 CIN=1: TABLE 0, ANSWER 1");

    // The complement of the function named on the left: F' = A' is F = A.
    Answer complement = ReadAnswerText("F' = A'", reference.signals);
    EXPECT_EQ(CheckFunction(reference, 0, &complement.equations[0], {1, 1}).verdict, Verdict::Correct);
    EXPECT_TRUE(ModeOf(complement.equations[0], false).offCover);
    // A lone literal reads as a sum and as a product: the options decide.
    EXPECT_TRUE(ModeOf(complement.equations[0], true).productOfSums);
    EXPECT_FALSE(ModeOf(complement.equations[0], false).productOfSums);
    Answer factor = ReadAnswerText("F = (A)", reference.signals);
    EXPECT_TRUE(ModeOf(factor.equations[0], false).productOfSums);

    EXPECT_EQ(FormatVerdict(reference, 0, CheckFunction(reference, 0, nullptr, {1, 1})), "F: MISSING");
}

TEST(AnswerCheckTest, MinimumCostsCountTermsAndLiteralsPerOutput)
{
    MinimizedCover cover;
    cover.NumInputs = 3;
    cover.NumOutputs = 3;
    cover.Terms = {{"1-0", "11."}, {"-11", "1.."}, {"---", "..1"}};
    cover.NumTerms = 3;
    std::vector<ExprCost> costs = MinimumCosts(cover);
    ASSERT_EQ(costs.size(), 3u);
    EXPECT_EQ(costs[0], (ExprCost{2, 4}));
    EXPECT_EQ(costs[1], (ExprCost{1, 2}));
    EXPECT_EQ(costs[2], (ExprCost{0, 0}));  // constant: the universal term
}

TEST(AnswerCheckTest, ReferenceTakesOnlyOnAndOffPoints)
{
    CoverTable table;
    table.inputs = 2;
    table.outputs = 2;
    table.terms = {{"00", "1~"}, {"01", "0-"}, {"1-", "-1"}};
    MinimizedCover names;
    names.InputNames = {"A", "B"};
    names.OutputNames = {"F", "G"};
    CheckReference reference = MakeCheckReference(table, names);
    ASSERT_EQ(reference.functions.size(), 2u);
    EXPECT_EQ(reference.functions[0].onCubes, std::vector<std::string>{"00"});
    EXPECT_EQ(reference.functions[0].offCubes, std::vector<std::string>{"01"});
    EXPECT_EQ(reference.functions[1].onCubes, std::vector<std::string>{"1-"});
    EXPECT_TRUE(reference.functions[1].offCubes.empty());
}

}  // namespace
