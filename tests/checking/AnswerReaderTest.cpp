// Reading answers: every way of writing an operator means the same function, continuation lines
// join their equation, equations files are read through their letters, and each error names its
// line and what was expected.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AnswerReader.h"

namespace {

using quorlet::Answer;
using quorlet::AnswerSignals;
using quorlet::ExprCost;
using quorlet::Expression;
using quorlet::ExprForm;
using quorlet::ReadAnswerText;

const AnswerSignals kAdder{{"A", "B", "CIN"}, {"SUM", "COUT"}};
const AnswerSignals kLetters{{"A", "B", "C"}, {"F"}};

// The truth table of an expression over n inputs, point 0 first (first input most significant).
std::string TruthTable(const Expression& e, int n)
{
    std::string table;
    for (int p = 0; p < (1 << n); ++p) {
        std::string point;
        for (int i = n - 1; i >= 0; --i) point += (p >> i) & 1 ? '1' : '0';
        table += e.Evaluate(point);
    }
    return table;
}

Expression OnlyEquation(const Answer& answer)
{
    EXPECT_TRUE(answer.errors.empty()) << (answer.errors.empty() ? "" : answer.errors.front().message);
    EXPECT_EQ(answer.equations.size(), 1u);
    return answer.equations.empty() ? Expression{} : answer.equations.front().expression;
}

TEST(AnswerReaderTest, EveryOperatorFormGivesTheSameFunction)
{
    // SUM = A B' + CIN, written every way the answers may write it.
    const std::string expected = "01011101";
    ASSERT_EQ(TruthTable(OnlyEquation(ReadAnswerText("SUM = A B' + CIN\n", kAdder)), 3), expected);
    const std::vector<std::string> forms = {
        "SUM = A*B' + CIN",
        "SUM = A & !B | CIN",
        "SUM = A.~B # CIN",
        "SUM = A /B + CIN",
        "sum = a b' + cin",
        "SUM = (A B') + (CIN)",
        "SUM = !(!A + B) + CIN",
        "SUM = ((A)) * (B)' | CIN''",
        "SUM = A B'\n  + CIN",
        "SUM = A\n * B'\n | CIN",
        "SUM = A\n\t.~B\n# not a continuation\n  +CIN",
        "\" heading\nSUM = A B' + CIN  \" trailing",
        "# comment line\nSUM = A B' + CIN",
        "SUM = A B' +\n\n+ CIN",  // an operand is still expected
    };
    for (const std::string& text : forms) {
        Answer answer = ReadAnswerText(text, kAdder);
        if (text == forms.back()) {
            ASSERT_EQ(answer.errors.size(), 1u) << text;
            EXPECT_EQ(answer.errors[0].line, 3) << text;
            continue;
        }
        EXPECT_EQ(TruthTable(OnlyEquation(answer), 3), expected) << text;
    }
}

TEST(AnswerReaderTest, ConstantsAndAdjacentLetters)
{
    EXPECT_EQ(TruthTable(OnlyEquation(ReadAnswerText("F = 0", kLetters)), 3), "00000000");
    EXPECT_EQ(TruthTable(OnlyEquation(ReadAnswerText("F = 1", kLetters)), 3), "11111111");
    EXPECT_EQ(TruthTable(OnlyEquation(ReadAnswerText("F = A + 1", kLetters)), 3), "11111111");
    // Adjacent single letters: A B' C + A' B.
    EXPECT_EQ(TruthTable(OnlyEquation(ReadAnswerText("F = AB'C + A'B", kLetters)), 3),
              TruthTable(OnlyEquation(ReadAnswerText("F = A B' C + A' B", kLetters)), 3));
    EXPECT_EQ(TruthTable(OnlyEquation(ReadAnswerText("F = (A+B').(A'+C)", kLetters)), 3),
              TruthTable(OnlyEquation(ReadAnswerText("F = (A+B')(A'+C)", kLetters)), 3));
    // With a longer name in the table, adjacent letters are one name.
    Answer joined = ReadAnswerText("SUM = ACIN", kAdder);
    ASSERT_EQ(joined.errors.size(), 1u);
    EXPECT_EQ(joined.errors[0].message, "UNKNOWN SIGNAL ACIN");
}

TEST(AnswerReaderTest, ExcitationFunctionsWithOrWithoutUnderscore)
{
    const AnswerSignals machine{{"Q1", "Q0", "X"}, {"_J1", "_K1", "_J0", "_K0", "Z"}};
    Answer answer = ReadAnswerText("_J1 = Q0 X\nK1 = 1\nJ0 = X\n_K0 = X'\nZ = Q1 Q0' X\n", machine);
    ASSERT_TRUE(answer.errors.empty());
    ASSERT_EQ(answer.equations.size(), 5u);
    for (int j = 0; j < 5; ++j) EXPECT_EQ(answer.equations[static_cast<std::size_t>(j)].output, j);
}

TEST(AnswerReaderTest, ComplementedNameIsMarked)
{
    Answer answer = ReadAnswerText("COUT' = A'B' + A'CIN' + B'CIN'", kAdder);
    ASSERT_TRUE(answer.errors.empty());
    ASSERT_EQ(answer.equations.size(), 1u);
    EXPECT_TRUE(answer.equations[0].complemented);
    EXPECT_EQ(answer.equations[0].output, 1);
}

TEST(AnswerReaderTest, EveryErrorNamesItsLineAndWhatWasExpected)
{
    struct Case {
        std::string text;
        int line;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"SUM = A + X", 1, "UNKNOWN SIGNAL X"},
        {"\n\nCARRY = A", 3, "UNKNOWN FUNCTION CARRY"},
        {"A B + CIN", 1, "EXPECTED = AFTER A"},
        {"= A", 1, "EXPECTED NAME = EXPRESSION"},
        {"SUM = A +", 1, "EXPECTED SIGNAL, 0, 1 OR ( AT END OF EQUATION"},
        {"SUM =", 1, "EXPECTED SIGNAL, 0, 1 OR ( AT END OF EQUATION"},
        {"SUM = A + * B", 1, "EXPECTED SIGNAL, 0, 1 OR ( BEFORE *"},
        {"SUM = (A + B\n  + CIN", 2, "EXPECTED ) AT END OF EQUATION"},
        {"SUM = A + B)", 1, "UNEXPECTED )"},
        {"SUM = A $ B", 1, "EXPECTED OPERATOR OR END OF EQUATION BEFORE $"},
        {"  + A", 1, "CONTINUATION LINE WITHOUT EQUATION"},
        {"SUM = A\nCOUT = B\nSUM = CIN", 3, "SECOND EQUATION FOR THE SAME FUNCTION, FIRST ON LINE 1"},
        {"SUM = A\n  + B\n  + Y", 3, "UNKNOWN SIGNAL Y"},
    };
    for (const Case& c : cases) {
        Answer answer = ReadAnswerText(c.text, kAdder);
        ASSERT_EQ(answer.errors.size(), 1u) << c.text;
        EXPECT_EQ(answer.errors[0].line, c.line) << c.text;
        EXPECT_EQ(answer.errors[0].message, c.message) << c.text;
        EXPECT_EQ(quorlet::FormatAnswerError("answer.txt", answer.errors[0]),
                  "answer.txt:" + std::to_string(c.line) + ": " + c.message);
    }
    // Nesting is bounded, whatever the answer holds; 200 levels still read.
    for (const std::string& deep :
         {std::string(100000, '(') + "A", std::string(100000, '!') + "A", "A" + std::string(100000, '\'')}) {
        Answer answer = ReadAnswerText("SUM = " + deep, kAdder);
        ASSERT_EQ(answer.errors.size(), 1u);
        EXPECT_EQ(answer.errors[0].message, "EXPRESSION NESTED MORE THAN 200 LEVELS DEEP");
    }
    EXPECT_EQ(TruthTable(
                  OnlyEquation(ReadAnswerText(
                      "SUM = " + std::string(100, '(') + "A" + std::string(100, ')') + std::string(100, '\''), kAdder)),
                  3),
              "00001111");

    // The other equations of a file with an error are still read.
    Answer partial = ReadAnswerText("SUM = A + X\nCOUT = A B", kAdder);
    ASSERT_EQ(partial.equations.size(), 1u);
    EXPECT_EQ(partial.equations[0].output, 1);

    Answer missing = quorlet::ReadAnswerFile("/nonexistent/answer.txt", kAdder);
    ASSERT_EQ(missing.errors.size(), 1u);
    EXPECT_EQ(quorlet::FormatAnswerError("answer.txt", missing.errors[0]), "answer.txt: CANNOT READ FILE");
}

const char* const kEquationsFile =
    "head of the result file, ignored\n"
    "000 | 00   Y = nothing here counts\n"
    "INPUT SIGNAL  |  OUTPUT SIGNAL  REPRESENTATION\n"
    "\n"
    "A : A         C : CIN           |       Y : SUM       \n"
    "B : B                           |       Z : COUT      \n"
    "\n"
    "MINIMIZED EQUATIONS\n"
    "\n"
    "Y = A'B'C + A'BC'\n"
    "    + AB'C' + ABC\n"
    "Z = (A+B).(A+C)\n"
    "    .(B+C)\n";

TEST(AnswerReaderTest, EquationsFileIsReadThroughItsLetters)
{
    Answer answer = ReadAnswerText(kEquationsFile, kAdder);
    ASSERT_TRUE(answer.errors.empty()) << answer.errors.front().message;
    ASSERT_EQ(answer.equations.size(), 2u);
    EXPECT_EQ(answer.equations[0].output, 0);
    EXPECT_EQ(TruthTable(answer.equations[0].expression, 3), "01101001");
    EXPECT_EQ(answer.equations[1].output, 1);
    EXPECT_EQ(TruthTable(answer.equations[1].expression, 3), "00010111");
    EXPECT_EQ(answer.equations[1].expression.Form(), ExprForm::ProductOfSums);
    EXPECT_EQ(answer.equations[1].expression.Cost(), (ExprCost{3, 6}));

    // A letter that stands for a signal the table lacks, and a row without its colon.
    struct Fault {
        std::string written, instead;
        int line;
        std::string message;
    };
    for (const Fault& f : {Fault{"C : CIN", "C : CARRY", 5, "UNKNOWN SIGNAL CARRY"},
                           Fault{"B : B", "B B", 6, "EXPECTED LETTER : NAME IN THE SIGNAL REPRESENTATION TABLE"}}) {
        std::string text = kEquationsFile;
        text.replace(text.find(f.written), f.written.size(), f.instead);
        Answer answer = ReadAnswerText(text, kAdder);
        ASSERT_FALSE(answer.errors.empty()) << f.instead;
        EXPECT_EQ(answer.errors[0].line, f.line);
        EXPECT_EQ(answer.errors[0].message, f.message);
    }

    std::string cut = kEquationsFile;
    cut.resize(cut.find("MINIMIZED"));
    Answer headless = ReadAnswerText(cut, kAdder);
    ASSERT_EQ(headless.errors.size(), 1u);
    EXPECT_EQ(headless.errors[0].message, "EXPECTED MINIMIZED EQUATIONS");
}

TEST(AnswerReaderTest, FormAndCostAsWritten)
{
    struct Case {
        std::string expression;
        ExprForm form;
        ExprCost cost;
    };
    const std::vector<Case> cases = {
        {"0", ExprForm::SumOfProducts, {0, 0}},
        {"1", ExprForm::SumOfProducts, {0, 0}},
        {"A", ExprForm::SumOfProducts, {1, 1}},
        {"A B' CIN", ExprForm::SumOfProducts, {1, 3}},
        {"A B' + CIN + A' B", ExprForm::SumOfProducts, {3, 5}},
        {"A + (B + CIN)", ExprForm::SumOfProducts, {3, 3}},
        {"(A + B).(A' + CIN)", ExprForm::ProductOfSums, {2, 4}},
        {"(A + B) CIN'", ExprForm::ProductOfSums, {2, 3}},
        {"(A + B')", ExprForm::ProductOfSums, {1, 2}},  // a lone factor, as the /P output writes it
        {"(A).(B')", ExprForm::ProductOfSums, {2, 2}},
        {"A + B'", ExprForm::SumOfProducts, {2, 2}},
        {"(A B')", ExprForm::SumOfProducts, {1, 2}},
        {"A (B CIN + B')", ExprForm::Nested, {1, 4}},
        {"A (B + CIN) + B'", ExprForm::Nested, {2, 4}},
        {"(A + B)'", ExprForm::Nested, {1, 2}},
    };
    for (const Case& c : cases) {
        const Expression e = OnlyEquation(ReadAnswerText("SUM = " + c.expression, kAdder));
        EXPECT_EQ(e.Form(), c.form) << c.expression;
        EXPECT_EQ(e.Cost(), c.cost) << c.expression;
    }
}

}  // namespace
