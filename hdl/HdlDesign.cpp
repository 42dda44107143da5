// The design and the testbench's check plan, built from the minimized cover, the settings log's
// counts and the completed cover table.
#include "HdlDesign.h"

#include <algorithm>
#include <deque>
#include <map>

#include "USubExec.h"

namespace quorlet {
namespace {

constexpr std::uint64_t kSaturated = std::uint64_t{1} << 62;

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b)
{
    return std::min(kSaturated, a + std::min(b, kSaturated));
}

int CountDashes(std::string_view cube) { return static_cast<int>(std::count(cube.begin(), cube.end(), '-')); }

std::uint64_t CubeSize(std::string_view cube)
{
    int dashes = CountDashes(cube);
    return dashes >= 62 ? kSaturated : std::uint64_t{1} << dashes;
}

bool CubeCovers(std::string_view cube, std::string_view point)
{
    for (std::size_t k = 0; k < cube.size() && k < point.size(); ++k)
        if (cube[k] != '-' && cube[k] != point[k]) return false;
    return true;
}

bool IsValue(char c) { return c == '0' || c == '1'; }

// A term's value joins a point's expectation: the first 0 or 1 counts, "-" and "~" say nothing.
void Merge(std::string& expected, std::size_t k, char value)
{
    if (expected[k] == '-' && IsValue(value)) expected[k] = value;
}

// A small fixed generator, so that sampled testbenches come out the same on every run.
class SampleSequence {
public:
    std::uint64_t Next()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return state_ >> 33;
    }

private:
    std::uint64_t state_ = 0x5EED5EEDULL;
};

// Every point of the cube when it has at most `limit`, else `samples` of them: the dashes all 0,
// all 1, then pseudo-random fills. Sets `sampled` when not all were taken.
std::vector<std::string> CubePoints(std::string_view cube, std::uint64_t limit, int samples, SampleSequence& random,
                                    bool& sampled)
{
    std::vector<std::size_t> dashes;
    for (std::size_t k = 0; k < cube.size(); ++k)
        if (cube[k] == '-') dashes.push_back(k);
    std::vector<std::string> points;
    std::string point(cube);
    if (CubeSize(cube) <= limit) {
        std::uint64_t count = CubeSize(cube);
        for (std::uint64_t v = 0; v < count; ++v) {
            for (std::size_t d = 0; d < dashes.size(); ++d)
                point[dashes[d]] = (v >> (dashes.size() - 1 - d)) & 1 ? '1' : '0';
            points.push_back(point);
        }
        return points;
    }
    sampled = true;
    for (int s = 0; s < samples; ++s) {
        for (std::size_t d = 0; d < dashes.size(); ++d)
            point[dashes[d]] = s == 0 ? '0' : s == 1 ? '1' : (random.Next() & 1 ? '1' : '0');
        if (std::find(points.begin(), points.end(), point) == points.end()) points.push_back(point);
    }
    return points;
}

bool HasValue(std::string_view text) { return std::any_of(text.begin(), text.end(), IsValue); }

}  // namespace

char NextStateBit(FlipFlopKind kind, char present, std::string_view excitation)
{
    if (!IsValue(present) || excitation.empty()) return '-';
    const char first = excitation[0];
    const char second = excitation.size() > 1 ? excitation[1] : '-';
    switch (kind) {
    case FlipFlopKind::D: return IsValue(first) ? first : '-';
    case FlipFlopKind::T:
        if (!IsValue(first)) return '-';
        return first == '1' ? (present == '1' ? '0' : '1') : present;
    case FlipFlopKind::JK:
        if (present == '0') return IsValue(first) ? first : '-';
        return second == '0' ? '1' : second == '1' ? '0' : '-';
    case FlipFlopKind::SR:
        // Set and reset together is never asked for; such a term leaves the bit unchecked.
        if (present == '0') return first == '0' ? '0' : (first == '1' && second == '0') ? '1' : '-';
        return second == '0' ? '1' : (second == '1' && first == '0') ? '0' : '-';
    }
    return '-';
}

HdlDesignResult BuildHdlDesign(const MinimizedCover& cover, const SettingsLog& log)
{
    HdlDesignResult result;
    HdlDesign& d = result.design;
    d.name = SplitPath(cover.OutputFileName).name;
    d.tableFile = cover.TableFileName;
    d.inputs = cover.InputNames;
    d.stateBits = log.n;
    d.excitations = log.m;
    d.productOfSums = cover.ProductOfSums;
    d.offCover = cover.OffCover;
    if (d.stateBits < 0 || d.excitations < 0 || d.stateBits > cover.NumInputs || d.excitations > cover.NumOutputs)
        return result;
    if (d.stateBits > 0) {
        std::string type = cover.IsStateMachine ? cover.FlipFlopType : std::string();
        if (type.empty()) {
            const std::string& first = cover.OutputNames.empty() ? std::string() : cover.OutputNames[0];
            char letter = first.size() > 1 && first[0] == '_' ? first[1] : '\0';
            type = letter == 'D' ? "D" : letter == 'T' ? "T" : letter == 'J' ? "JK" : letter == 'S' ? "SR" : "";
        }
        if (type == "D") d.flipFlops = FlipFlopKind::D;
        else if (type == "T") d.flipFlops = FlipFlopKind::T;
        else if (type == "JK") d.flipFlops = FlipFlopKind::JK;
        else if (type == "SR") d.flipFlops = FlipFlopKind::SR;
        else return result;
        const bool pairs = d.flipFlops == FlipFlopKind::JK || d.flipFlops == FlipFlopKind::SR;
        if (d.excitations != (pairs ? 2 : 1) * d.stateBits) return result;
    } else if (d.excitations != 0) {
        return result;
    }

    for (int j = 0; j < cover.NumOutputs; ++j) {
        HdlFunction f;
        f.name = cover.OutputNames[j];
        std::vector<const CoverTerm*> terms;
        for (const CoverTerm& t : cover.Terms)
            if (MinimizedCover::HasOutput(t, j)) terms.push_back(&t);
        if (terms.empty()) {
            f.form = HdlFunction::Form::ConstantZero;
        } else if (terms.size() == 1 && cover.IsUniversal(*terms[0])) {
            f.form = HdlFunction::Form::ConstantOne;
        } else {
            f.form = HdlFunction::Form::Terms;
            for (const CoverTerm* t : terms) {
                std::vector<HdlLiteral> literals;
                for (int i = 0; i < cover.NumInputs; ++i) {
                    char c = MinimizedCover::InputChar(*t, i);
                    if (c == '1' || c == '0') literals.push_back({i, c == '1'});
                }
                f.terms.push_back(std::move(literals));
            }
        }
        d.functions.push_back(std::move(f));
    }
    result.ok = true;
    return result;
}

bool EvaluateFunction(const HdlDesign& design, const HdlFunction& function, const std::string& point)
{
    bool value = false;
    switch (function.form) {
    case HdlFunction::Form::ConstantZero: value = false; break;
    case HdlFunction::Form::ConstantOne: value = true; break;
    case HdlFunction::Form::Terms: {
        auto literalTrue = [&](const HdlLiteral& l) { return (point[l.input] == '1') == l.positive; };
        if (design.productOfSums) {
            value = std::all_of(function.terms.begin(), function.terms.end(),
                                [&](const auto& sum) { return std::any_of(sum.begin(), sum.end(), literalTrue); });
        } else {
            value = std::any_of(function.terms.begin(), function.terms.end(), [&](const auto& product) {
                return std::all_of(product.begin(), product.end(), literalTrue);
            });
        }
        break;
    }
    }
    return value != design.offCover;
}

namespace {

void BuildFunctionPlan(const HdlDesign& design, const MinimizedTable& table, const HdlCheckPlanParams& params,
                       HdlCheckPlan& plan)
{
    std::vector<const Term*> terms;
    for (const Term& t : table.terms)
        if (HasValue(t.output)) {
            terms.push_back(&t);
            plan.specifiedPoints = SaturatingAdd(plan.specifiedPoints, CubeSize(t.input));
        }
    const std::size_t outputs = design.functions.size();
    std::map<std::string, std::string> expected;
    SampleSequence random;
    if (plan.specifiedPoints <= params.maxPoints) {
        // Every point of every term, each term's values merged where it stands.
        for (const Term* t : terms)
            for (const std::string& point : CubePoints(t->input, params.maxPoints, 0, random, plan.sampled)) {
                auto [it, fresh] = expected.try_emplace(point, std::string(outputs, '-'));
                for (std::size_t k = 0; k < outputs; ++k) Merge(it->second, k, t->output[k]);
            }
    } else {
        plan.sampled = true;
        const int perTerm =
            std::max(params.samplesPerTerm, params.sampledPoints / std::max<int>(1, static_cast<int>(terms.size())));
        for (const Term* t : terms)
            for (const std::string& point : CubePoints(t->input, 0, perTerm, random, plan.sampled))
                expected.try_emplace(point, std::string(outputs, '-'));
        // A sampled point may lie in other terms too: every term that covers it has its say.
        for (auto& [point, values] : expected)
            for (const Term* t : terms)
                if (CubeCovers(t->input, point))
                    for (std::size_t k = 0; k < outputs; ++k) Merge(values, k, t->output[k]);
    }
    for (const auto& [point, values] : expected) {
        if (static_cast<int>(plan.checks.size()) >= params.maxChecks) {
            plan.sampled = true;
            break;
        }
        if (HasValue(values)) plan.checks.push_back({-1, point, values, {}});
    }
}

void BuildStatePlan(const HdlDesign& design, const MinimizedTable& table, const HdlCheckPlanParams& params,
                    HdlCheckPlan& plan)
{
    const std::size_t n = static_cast<std::size_t>(design.stateBits);
    const std::size_t m = static_cast<std::size_t>(design.excitations);
    const std::size_t outputs = plan.outputsUnchecked ? 0 : static_cast<std::size_t>(design.PrimaryOutputs());
    const std::size_t width = m == n ? 1 : 2;

    struct Transition {
        std::string present, inputs, excitation, outputs;
    };
    std::vector<Transition> transitions;
    for (const Term& t : table.terms) {
        Transition tr{t.input.substr(0, n), t.input.substr(n), t.output.substr(0, m), t.output.substr(m, outputs)};
        if (!HasValue(tr.excitation) && !HasValue(tr.outputs)) continue;
        plan.specifiedPoints = SaturatingAdd(plan.specifiedPoints, CubeSize(t.input));
        transitions.push_back(std::move(tr));
    }

    std::map<std::string, int> visited;
    std::deque<int> queue;
    auto visit = [&](const std::string& code, std::vector<std::string> path) {
        visited.emplace(code, static_cast<int>(plan.states.size()));
        queue.push_back(static_cast<int>(plan.states.size()));
        plan.states.push_back({code, std::move(path)});
    };
    visit(std::string(n, '0'), {});
    SampleSequence random;
    while (!queue.empty()) {
        const int index = queue.front();
        queue.pop_front();
        const std::string state = plan.states[index].code;
        std::vector<const Transition*> here;
        for (const Transition& tr : transitions)
            if (CubeCovers(tr.present, state)) here.push_back(&tr);
        std::map<std::string, std::pair<std::string, std::string>> points;  // inputs -> outputs, next state
        for (const Transition* tr : here)
            for (const std::string& x :
                 CubePoints(tr->inputs, params.maxPointsPerStateTerm, params.samplesPerTerm, random, plan.sampled))
                points.try_emplace(x, std::string(outputs, '-'), std::string(n, '-'));
        for (auto& [x, values] : points) {
            auto& [out, next] = values;
            for (const Transition* tr : here) {
                if (!CubeCovers(tr->inputs, x)) continue;
                for (std::size_t k = 0; k < outputs; ++k) Merge(out, k, tr->outputs[k]);
                for (std::size_t b = 0; b < n; ++b)
                    Merge(next, b,
                          NextStateBit(design.flipFlops, state[b],
                                       std::string_view(tr->excitation).substr(b * width, width)));
            }
            if (!HasValue(out) && !HasValue(next)) continue;
            if (static_cast<int>(plan.checks.size()) >= params.maxChecks) {
                plan.sampled = true;
                break;
            }
            plan.checks.push_back({index, x, out, next});
            const bool known = next.find('-') == std::string::npos;
            if (known && !visited.count(next)) {
                if (static_cast<int>(plan.states.size()) >= params.maxStates) {
                    plan.sampled = true;
                    continue;
                }
                std::vector<std::string> path = plan.states[index].path;
                path.push_back(x);
                visit(next, std::move(path));
            }
        }
    }

    // Present states of the table that no path from reset reaches.
    std::vector<std::string> cubes;
    for (const Transition& tr : transitions)
        if (std::find(cubes.begin(), cubes.end(), tr.present) == cubes.end()) cubes.push_back(tr.present);
    for (const std::string& cube : cubes) {
        std::uint64_t reached = 0;
        for (const auto& [code, index] : visited)
            if (CubeCovers(cube, code)) ++reached;
        if (reached == 0) plan.unreachable.push_back(cube);
        else if (reached < CubeSize(cube))
            plan.unreachable.push_back(cube + " (" + std::to_string(CubeSize(cube) - reached) + " of its " +
                                       std::to_string(CubeSize(cube)) + " codes)");
    }
}

}  // namespace

HdlCheckPlan BuildCheckPlan(const HdlDesign& design, const MinimizedTable& coverTable, const HdlCheckPlanParams& params)
{
    HdlCheckPlan plan;
    if (design.IsStateMachine()) {
        // After the Moore second pass the cover table keeps the next-state columns only.
        plan.outputsUnchecked = design.PrimaryOutputs() > 0 && coverTable.outputs == design.excitations;
        BuildStatePlan(design, coverTable, params, plan);
    } else {
        BuildFunctionPlan(design, coverTable, params, plan);
    }
    return plan;
}

}  // namespace quorlet
