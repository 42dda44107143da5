// The rules under the table reader: excitation tables, generated and reserved names, and the
// line scanner's comment handling.
#include <gtest/gtest.h>

#include "Excitation.h"
#include "Words.h"

namespace quorlet {
namespace {

TEST(ExcitationRules, EveryPresentAndNextCharacter)
{
    // Rows: next character c; columns: present character p = "0", "1", "-", ".".
    const std::string next = "01-.";
    const char* jk[4][4] = {
        {"0-", "-1", "01", "01"}, {"1-", "-0", "10", "10"}, {"--", "--", "--", "--"}, {"..", "..", "..", ".."}};
    const char* sr[4][4] = {
        {"0-", "01", "01", "01"}, {"10", "-0", "10", "10"}, {"--", "--", "--", "--"}, {"..", "..", "..", ".."}};
    const char* t[4][4] = {
        {"0", "1", nullptr, nullptr}, {"1", "0", nullptr, nullptr}, {"-", "-", "-", "-"}, {".", ".", ".", "."}};
    const std::string present = "01-.";
    for (int c = 0; c < 4; ++c) {
        for (int p = 0; p < 4; ++p) {
            std::string pc(1, present[p]), nc(1, next[c]);
            EXPECT_EQ(ExcitationFor("JK", pc, nc).value, jk[c][p]) << pc << nc;
            EXPECT_EQ(ExcitationFor("SR", pc, nc).value, sr[c][p]) << pc << nc;
            EXPECT_EQ(ExcitationFor("D", pc, nc).value, nc);
            ExcitationResult toggle = ExcitationFor("T", pc, nc);
            EXPECT_EQ(toggle.ok, t[c][p] != nullptr) << pc << nc;
            if (t[c][p]) {
                EXPECT_EQ(toggle.value, t[c][p]) << pc << nc;
            }
        }
    }
    // Most significant variable first; the toggle check fails on any variable.
    EXPECT_EQ(ExcitationFor("JK", "01", "1.").value, "1-..");
    EXPECT_FALSE(ExcitationFor("T", "0-", "11").ok);
    EXPECT_EQ(ExcitationFor("T", "01", "1-").value, "1-");
}

TEST(ExcitationRules, GeneratedNames)
{
    EXPECT_EQ(ExcitationNames("SR", "", 1), (std::vector<std::string>{"_S0", "_R0"}));
    EXPECT_EQ(ExcitationNames("T", "x", 2), (std::vector<std::string>{"_Tx1", "_Tx0"}));
    std::vector<std::string> q = StateVariableNames("", 25);
    ASSERT_EQ(q.size(), 25u);
    EXPECT_EQ(q.front(), "Q24");
    EXPECT_EQ(q.back(), "Q0");
    EXPECT_EQ(ExcitationCount("JK", 3), 6);
    EXPECT_EQ(ExcitationCount("T", 3), 3);
}

TEST(ExcitationRules, ReservedNamesDependOnTheNumberOfVariables)
{
    EXPECT_TRUE(IsReservedInputName("Q1", 2));
    EXPECT_FALSE(IsReservedInputName("Q2", 2));
    EXPECT_TRUE(IsReservedInputName("_Q0", 1));
    EXPECT_TRUE(IsReservedOutputName("_K1", 2));
    EXPECT_FALSE(IsReservedOutputName("_X1", 2));
    EXPECT_FALSE(IsReservedInputName("Q10", 12));  // three characters: not the two-character form
    EXPECT_TRUE(IsStateVariableName("Q;", 12));
    EXPECT_FALSE(IsStateVariableName("Q0", 0));
}

TEST(WordScanner, VectorCharactersAndComments)
{
    WordScanner scan("  A 0 1,-;1|0 x\"y z");
    EXPECT_EQ(scan.FirstWord(), "A");
    EXPECT_EQ(scan.RemainingChars(), "01-10x");
    EXPECT_FALSE(scan.NextChar());

    WordScanner words("S0 1 # NEXT 1");
    EXPECT_EQ(words.FirstWord(), "S0");
    EXPECT_EQ(words.NextChar(), '1');
    EXPECT_EQ(words.NextWord(), "");
    EXPECT_FALSE(words.NextChar());  // nothing after a comment is read

    EXPECT_TRUE(IsCommentLine("   \"x"));
    EXPECT_TRUE(IsCommentLine("#abel"));
    EXPECT_FALSE(IsCommentLine("A\"x"));
    EXPECT_TRUE(IsBlankLine(" ,;|\t"));
}

}  // namespace
}  // namespace quorlet
