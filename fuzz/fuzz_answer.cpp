// Fuzzes the answer reader: any text is read as an answer to a table with multi-letter names
// or with one-letter names (an equations file among them); every equation read must evaluate,
// cost and find its first differing point on a cube, agreeing with a walk over the cube.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "AnswerReader.h"
#include "FuzzSupport.h"

namespace {

constexpr std::size_t kMaxAnswerBytes = 8 * 1024;

// The first point of the cube where the expression does not have the wanted value, by walking.
std::optional<std::string> Walk(const quorlet::Expression& e, const std::string& cube, bool wanted)
{
    std::string point = cube;
    std::size_t open = 0;
    for (char c : cube) open += c == '-';
    for (unsigned long p = 0; p < (1ul << open); ++p) {
        std::size_t bit = open;
        for (std::size_t i = 0; i < cube.size(); ++i)
            if (cube[i] == '-') point[i] = (p >> --bit) & 1 ? '1' : '0';
        if (e.Evaluate(point) != (wanted ? '1' : '0')) return point;
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kMaxAnswerBytes) return -1;
    const std::string text(quorlet::fuzz::AsText(data, size));
    const quorlet::AnswerSignals named{{"A", "B", "CIN", "Q0", "_X"}, {"SUM", "COUT", "_D0", "_J1"}};
    const quorlet::AnswerSignals letters{{"A", "B", "C", "D", "E"}, {"Y", "Z"}};
    for (const quorlet::AnswerSignals* signals : {&named, &letters}) {
        quorlet::Answer answer = quorlet::ReadAnswerText(text, *signals);
        for (const quorlet::AnswerEquation& equation : answer.equations) {
            if (equation.output < 0 || equation.output >= static_cast<int>(signals->outputs.size())) std::abort();
            const quorlet::Expression& e = equation.expression;
            (void)e.Form();
            const quorlet::ExprCost cost = e.Cost();
            if (cost.terms < 0 || cost.literals < cost.terms) std::abort();
            for (const std::string cube : {"-----", "0-1--", "11-0-"}) {
                for (bool wanted : {false, true})
                    if (e.FirstPointDiffering(cube, wanted) != Walk(e, cube, wanted)) std::abort();
            }
        }
        for (const quorlet::AnswerError& error : answer.errors)
            if (error.line < 0 || error.message.empty()) std::abort();
    }
    return 0;
}
