// A Boolean expression of a student's answer over the table's inputs, evaluated on points and on
// cubes, and the cost it is graded with.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet {

enum class ExprKind { Zero, One, Input, Not, And, Or };

// Nodes live in one vector; a node's operands are indices into it.
struct ExprNode {
    ExprKind kind = ExprKind::Zero;
    int input = 0;              // ExprKind::Input: 0-based input column
    std::vector<int> operands;  // Not: one; And, Or: two or more (nested ones flattened)
    bool grouped = false;       // written in parentheses
};

// How an answer is written, which decides the mode its minimum is taken in.
enum class ExprForm {
    SumOfProducts,  // a constant, a literal, a product of literals, or a sum of those
    // A product of literals and sums of literals, with a sum of two literals or more among
    // them or a factor in parentheses: (A+B).(A'+C), (A+B) C', (A').(B), also a lone (A+B).
    ProductOfSums,
    Nested,  // anything else; compared with the sum-of-products minimum
};

struct ExprCost {
    int terms = 0;  // product terms (sum factors in a product of sums)
    int literals = 0;
    bool operator==(const ExprCost&) const = default;
};

class Expression {
public:
    // Building, used by the answer reader; And/Or flatten operands of their own kind.
    int AddConstant(bool value);
    int AddInput(int input);
    int AddNot(int operand);
    int AddAnd(std::vector<int> operands);
    int AddOr(std::vector<int> operands);
    void MarkGrouped(int index) { nodes_[static_cast<std::size_t>(index)].grouped = true; }

    void SetRoot(int root) { root_ = root; }
    bool Empty() const { return root_ < 0; }
    int Root() const { return root_; }
    const ExprNode& Node(int index) const { return nodes_[static_cast<std::size_t>(index)]; }

    ExprForm Form() const;
    // A constant or a lone literal not in parentheses reads the same as a sum and as a product.
    bool FitsBothForms() const;
    // Terms and literals as the statistics count them; a constant counts 0 and 0. A nested
    // expression counts the operands of its outer sum as terms and every literal it writes.
    ExprCost Cost() const;

    // Value on a point or a cube: one character per input, "0", "1" or "-" (open). Returns
    // '0', '1', or '-' when the value depends on an open input (three-valued, so an open input
    // may leave an expression like A + A' undecided on a cube).
    char Evaluate(std::string_view point) const;

    // The inputs the expression reads, ascending.
    std::vector<int> InputsUsed() const;

    // The first point of the cube, in counting order (first input most significant), where the
    // expression does not have the value `wanted`; none when it has it on the whole cube.
    std::optional<std::string> FirstPointDiffering(std::string_view cube, bool wanted) const;

private:
    int Add(ExprNode node);
    int AddJoined(ExprKind kind, std::vector<int> operands);
    char EvaluateNode(int index, std::string_view point) const;
    std::vector<int> Factors() const;  // the operands of a product, or the root alone
    bool IsLiteral(int index) const;
    bool IsLiteralJoin(int index, ExprKind kind) const;
    int CountLiterals(int index) const;
    bool Search(std::string& point, const std::vector<int>& open, std::size_t next, bool wanted) const;

    std::vector<ExprNode> nodes_;
    int root_ = -1;
};

}  // namespace quorlet
