// Answer expressions: building with flattened sums and products, three-valued evaluation, the
// search for the first point where an answer differs, and the cost of an answer as written.
#include "AnswerExpression.h"

#include <algorithm>

namespace quorlet {

int Expression::Add(ExprNode node)
{
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size()) - 1;
}

int Expression::AddConstant(bool value) { return Add(ExprNode{value ? ExprKind::One : ExprKind::Zero, 0, {}}); }

int Expression::AddInput(int input) { return Add(ExprNode{ExprKind::Input, input, {}}); }

int Expression::AddNot(int operand) { return Add(ExprNode{ExprKind::Not, 0, {operand}}); }

int Expression::AddJoined(ExprKind kind, std::vector<int> operands)
{
    if (operands.size() == 1) return operands.front();
    // A + (B + C) is the sum of three terms, as it is counted and classified.
    std::vector<int> flat;
    for (int operand : operands) {
        const ExprNode& node = Node(operand);
        if (node.kind == kind) flat.insert(flat.end(), node.operands.begin(), node.operands.end());
        else flat.push_back(operand);
    }
    return Add(ExprNode{kind, 0, std::move(flat)});
}

int Expression::AddAnd(std::vector<int> operands) { return AddJoined(ExprKind::And, std::move(operands)); }

int Expression::AddOr(std::vector<int> operands) { return AddJoined(ExprKind::Or, std::move(operands)); }

bool Expression::IsLiteral(int index) const
{
    const ExprNode& node = Node(index);
    if (node.kind == ExprKind::Input) return true;
    return node.kind == ExprKind::Not && Node(node.operands.front()).kind == ExprKind::Input;
}

bool Expression::IsLiteralJoin(int index, ExprKind kind) const
{
    const ExprNode& node = Node(index);
    if (node.kind != kind) return false;
    return std::all_of(node.operands.begin(), node.operands.end(), [&](int o) { return IsLiteral(o); });
}

std::vector<int> Expression::Factors() const
{
    const ExprNode& root = Node(Root());
    if (root.kind == ExprKind::And) return root.operands;
    return {Root()};
}

ExprForm Expression::Form() const
{
    if (Empty()) return ExprForm::SumOfProducts;
    const ExprNode& root = Node(Root());
    auto isConstant = [&](int o) { return Node(o).kind == ExprKind::Zero || Node(o).kind == ExprKind::One; };

    const std::vector<int> factors = Factors();
    const bool factorsOfSums = std::all_of(factors.begin(), factors.end(),
                                           [&](int o) { return IsLiteral(o) || IsLiteralJoin(o, ExprKind::Or); });
    const bool sumOrGroup = std::any_of(factors.begin(), factors.end(), [&](int o) {
        return (root.kind == ExprKind::And && IsLiteralJoin(o, ExprKind::Or)) || Node(o).grouped;
    });
    if (factorsOfSums && sumOrGroup) return ExprForm::ProductOfSums;

    if (isConstant(Root()) || IsLiteral(Root()) || IsLiteralJoin(Root(), ExprKind::And)) return ExprForm::SumOfProducts;
    if (root.kind == ExprKind::Or) {
        bool sop = std::all_of(root.operands.begin(), root.operands.end(),
                               [&](int o) { return isConstant(o) || IsLiteral(o) || IsLiteralJoin(o, ExprKind::And); });
        return sop ? ExprForm::SumOfProducts : ExprForm::Nested;
    }
    return ExprForm::Nested;
}

bool Expression::FitsBothForms() const
{
    if (Empty()) return true;
    const ExprNode& root = Node(Root());
    if (root.kind == ExprKind::Zero || root.kind == ExprKind::One) return true;
    return IsLiteral(Root()) && !root.grouped && !Node(root.operands.empty() ? Root() : root.operands.front()).grouped;
}

int Expression::CountLiterals(int index) const
{
    const ExprNode& node = Node(index);
    if (node.kind == ExprKind::Input) return 1;
    int count = 0;
    for (int operand : node.operands) count += CountLiterals(operand);
    return count;
}

ExprCost Expression::Cost() const
{
    if (Empty()) return {};
    const ExprNode& root = Node(Root());
    if (root.kind == ExprKind::Zero || root.kind == ExprKind::One) return {};
    // Every form counts its outer operands that hold a literal: the terms of a sum, the factors
    // of a product of sums; a single product is one term, a single sum factor one factor.
    ExprCost cost;
    if (Form() == ExprForm::ProductOfSums) {
        for (int factor : Factors()) {
            cost.terms += 1;
            cost.literals += CountLiterals(factor);
        }
    } else if (root.kind == ExprKind::Or) {
        for (int operand : root.operands) {
            int literals = CountLiterals(operand);
            if (literals > 0) ++cost.terms;
            cost.literals += literals;
        }
    } else {
        cost.literals = CountLiterals(Root());
        cost.terms = cost.literals > 0 ? 1 : 0;
    }
    return cost;
}

char Expression::EvaluateNode(int index, std::string_view point) const
{
    const ExprNode& node = Node(index);
    switch (node.kind) {
    case ExprKind::Zero: return '0';
    case ExprKind::One: return '1';
    case ExprKind::Input: {
        char c =
            static_cast<std::size_t>(node.input) < point.size() ? point[static_cast<std::size_t>(node.input)] : '-';
        return c == '0' || c == '1' ? c : '-';
    }
    case ExprKind::Not: {
        char v = EvaluateNode(node.operands.front(), point);
        return v == '-' ? '-' : (v == '0' ? '1' : '0');
    }
    case ExprKind::And:
    case ExprKind::Or: {
        // The value that decides the join on its own: 0 for a product, 1 for a sum.
        const char deciding = node.kind == ExprKind::And ? '0' : '1';
        bool open = false;
        for (int operand : node.operands) {
            char v = EvaluateNode(operand, point);
            if (v == deciding) return deciding;
            if (v == '-') open = true;
        }
        return open ? '-' : (deciding == '0' ? '1' : '0');
    }
    }
    return '-';
}

char Expression::Evaluate(std::string_view point) const { return Empty() ? '0' : EvaluateNode(Root(), point); }

std::vector<int> Expression::InputsUsed() const
{
    std::vector<int> used;
    for (const ExprNode& node : nodes_)
        if (node.kind == ExprKind::Input) used.push_back(node.input);
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    return used;
}

bool Expression::Search(std::string& point, const std::vector<int>& open, std::size_t next, bool wanted) const
{
    char value = Evaluate(point);
    if (value == (wanted ? '1' : '0')) return false;
    if (value != '-' || next >= open.size()) {
        if (value == '-') return false;  // cannot happen: every input read is assigned by now
        // Inputs the expression does not read take their smallest value.
        std::replace(point.begin(), point.end(), '-', '0');
        return true;
    }
    const auto input = static_cast<std::size_t>(open[next]);
    for (char c : {'0', '1'}) {
        point[input] = c;
        if (Search(point, open, next + 1, wanted)) return true;
    }
    point[input] = '-';
    return false;
}

std::optional<std::string> Expression::FirstPointDiffering(std::string_view cube, bool wanted) const
{
    std::string point(cube);
    std::vector<int> open;
    for (int input : InputsUsed())
        if (static_cast<std::size_t>(input) < point.size() && point[static_cast<std::size_t>(input)] == '-')
            open.push_back(input);
    if (Search(point, open, 0, wanted)) return point;
    return std::nullopt;
}

}  // namespace quorlet
