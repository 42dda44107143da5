// The reader of a student's answer: equations "NAME = expression" over the table's signal names,
// or a file that the equations output wrote, read through its signal representation table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "AnswerExpression.h"

namespace quorlet {

// The names an answer may use, upper case, in the order of the minimized table: inputs (state
// variables first) and outputs (excitation functions first).
struct AnswerSignals {
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
};

struct AnswerEquation {
    int output = -1;            // 0-based output column
    bool complemented = false;  // "NAME' = ...": the expression is the function's complement
    Expression expression;
    int line = 0;  // line of the name
};

struct AnswerError {
    int line = 0;  // 0: the file as a whole
    std::string message;
};

struct Answer {
    std::vector<AnswerEquation> equations;  // at most one a function, in file order
    std::vector<AnswerError> errors;        // an equation with an error is left out
};

Answer ReadAnswerText(std::string_view text, const AnswerSignals& signals);
// The file's text through ReadAnswerText; a file that cannot be read gives one error of line 0.
Answer ReadAnswerFile(const std::string& path, const AnswerSignals& signals);

// "answer.txt:3: UNKNOWN SIGNAL X", or "answer.txt: CANNOT READ FILE" for line 0.
std::string FormatAnswerError(std::string_view file, const AnswerError& error);

}  // namespace quorlet
