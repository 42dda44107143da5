// Grading one answer against a table: the points the table specifies, the minimum of each
// function as the run minimized it, and the verdict lines.
#pragma once

#include <string>
#include <vector>

#include "AnswerReader.h"
#include "MinimizedCover.h"
#include "UTables.h"

namespace quorlet {

// The ON and OFF points of one function, as the cubes of the table's terms.
struct SpecifiedFunction {
    std::vector<std::string> onCubes;
    std::vector<std::string> offCubes;
};

struct CheckReference {
    AnswerSignals signals;
    std::vector<SpecifiedFunction> functions;  // one per output, in table order
};

// The cover table as the table reader wrote it, with the names of the settings log. Only "1"
// and "0" are taken: don't-cares ("-") and terms that say nothing ("~") never count, and a
// completion that made open points don't-cares leaves the ON and OFF points as written.
CheckReference MakeCheckReference(const CoverTable& coverTable, const MinimizedCover& names);

// Terms and literals of each output of a minimized cover, counted as the statistics count them
// (a term with k literals counts 1 and k), a constant function 0 and 0.
std::vector<ExprCost> MinimumCosts(const MinimizedCover& cover);

// The minimization mode an equation is compared in: its form and whether it names the complement.
struct CheckMode {
    bool productOfSums = false;
    bool offCover = false;
    bool operator==(const CheckMode&) const = default;
};
// An answer that reads as both (a constant, a lone literal) is compared in the mode the run's
// options ask for: productOfSumsAsked when they hold /P.
CheckMode ModeOf(const AnswerEquation& equation, bool productOfSumsAsked);

enum class Verdict { Correct, Wrong, Missing };

struct FunctionVerdict {
    Verdict verdict = Verdict::Missing;
    ExprCost cost;      // the answer's
    ExprCost minimum;   // the run's, in the answer's mode
    std::string point;  // Wrong: the first differing point, one character per input
    char tableValue = '0';
    char answerValue = '0';
};

// Correct when the answer has the table's value on every ON and OFF point; otherwise the first
// such point in counting order. `equation` null: Missing.
FunctionVerdict CheckFunction(const CheckReference& reference, int output, const AnswerEquation* equation,
                              ExprCost minimum);

// "SUM: CORRECT, 3 PRODUCT TERMS, 9 LITERALS; MINIMUM 3 PRODUCT TERMS, 9 LITERALS",
// "SUM: WRONG AT A=1 B=0 CIN=1: TABLE 1, ANSWER 0", "SUM: MISSING".
std::string FormatVerdict(const CheckReference& reference, int output, const FunctionVerdict& verdict);
std::string_view VerdictWord(Verdict verdict);

}  // namespace quorlet
