// The comparison of an answer with the table's ON and OFF points, and the verdict lines.
#include "AnswerCheck.h"

namespace quorlet {

CheckReference MakeCheckReference(const CoverTable& coverTable, const MinimizedCover& names)
{
    CheckReference reference;
    reference.signals.inputs = names.InputNames;
    reference.signals.outputs = names.OutputNames;
    reference.functions.resize(names.OutputNames.size());
    for (const Term& term : coverTable.terms) {
        for (std::size_t j = 0; j < reference.functions.size() && j < term.output.size(); ++j) {
            if (term.output[j] == '1') reference.functions[j].onCubes.push_back(term.input);
            if (term.output[j] == '0') reference.functions[j].offCubes.push_back(term.input);
        }
    }
    return reference;
}

std::vector<ExprCost> MinimumCosts(const MinimizedCover& cover)
{
    std::vector<ExprCost> costs(static_cast<std::size_t>(cover.NumOutputs));
    for (int j = 0; j < cover.NumOutputs; ++j) {
        ExprCost& cost = costs[static_cast<std::size_t>(j)];
        bool universal = false;
        for (const CoverTerm& term : cover.Terms) {
            if (!MinimizedCover::HasOutput(term, j)) continue;
            int literals = 0;
            for (int i = 0; i < cover.NumInputs; ++i)
                if (MinimizedCover::InputChar(term, i) != '-') ++literals;
            universal = universal || literals == 0;
            ++cost.terms;
            cost.literals += literals;
        }
        // A universal term makes the function constant (1 in a sum, 0 in a product).
        if (universal) cost = ExprCost{};
    }
    return costs;
}

CheckMode ModeOf(const AnswerEquation& equation, bool productOfSumsAsked)
{
    const Expression& e = equation.expression;
    const bool productOfSums = e.FitsBothForms() ? productOfSumsAsked : e.Form() == ExprForm::ProductOfSums;
    return CheckMode{productOfSums, equation.complemented};
}

FunctionVerdict CheckFunction(const CheckReference& reference, int output, const AnswerEquation* equation,
                              ExprCost minimum)
{
    FunctionVerdict result;
    result.minimum = minimum;
    if (!equation) return result;
    result.cost = equation->expression.Cost();
    const SpecifiedFunction& function = reference.functions[static_cast<std::size_t>(output)];
    // Counting order is the order of the point strings: the first input is the most significant.
    bool differs = false;
    auto look = [&](const std::vector<std::string>& cubes, bool tableValue) {
        const bool wanted = tableValue != equation->complemented;
        for (const std::string& cube : cubes) {
            std::optional<std::string> point = equation->expression.FirstPointDiffering(cube, wanted);
            if (!point || (differs && *point >= result.point)) continue;
            differs = true;
            result.point = *point;
            result.tableValue = tableValue ? '1' : '0';
            result.answerValue = tableValue ? '0' : '1';
        }
    };
    look(function.onCubes, true);
    look(function.offCubes, false);
    result.verdict = differs ? Verdict::Wrong : Verdict::Correct;
    return result;
}

std::string_view VerdictWord(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Correct: return "CORRECT";
    case Verdict::Wrong: return "WRONG";
    case Verdict::Missing: return "MISSING";
    }
    return "MISSING";
}

std::string FormatVerdict(const CheckReference& reference, int output, const FunctionVerdict& verdict)
{
    std::string line = reference.signals.outputs[static_cast<std::size_t>(output)] + ": ";
    switch (verdict.verdict) {
    case Verdict::Correct:
        line += "CORRECT, " + std::to_string(verdict.cost.terms) + " PRODUCT TERMS, " +
                std::to_string(verdict.cost.literals) + " LITERALS; MINIMUM " + std::to_string(verdict.minimum.terms) +
                " PRODUCT TERMS, " + std::to_string(verdict.minimum.literals) + " LITERALS";
        break;
    case Verdict::Wrong:
        line += "WRONG AT";
        for (std::size_t i = 0; i < verdict.point.size() && i < reference.signals.inputs.size(); ++i)
            line += " " + reference.signals.inputs[i] + "=" + verdict.point[i];
        line += std::string(": TABLE ") + verdict.tableValue + ", ANSWER " + verdict.answerValue;
        break;
    case Verdict::Missing: line += "MISSING"; break;
    }
    return line;
}

}  // namespace quorlet
