// Identifiers and the comment text that the Verilog and VHDL writers share.
#include "HdlWriters.h"

namespace quorlet {

HdlIdentifiers AssignIdentifiers(const HdlDesign& design, HdlLanguage language)
{
    IdentifierTable table(language);
    if (design.IsStateMachine()) {
        table.Reserve("clk");
        table.Reserve("reset");
    }
    // The testbench's own names.
    for (const char* helper : {"dut", "test", "minimized", "tb_check", "tb_step", "tb_reset", "tb_point", "tb_want",
                               "tb_next", "tb_state", "tb_bit", "tb_line", "tb_inputs", "tb_outputs", "tb_states"})
        table.Reserve(helper);
    HdlIdentifiers ids;
    ids.language = language;
    ids.module = table.Take(design.name);
    ids.testbench = table.Take(ids.module + "_tb");
    for (const std::string& name : design.inputs) ids.inputs.push_back(table.Take(name));
    for (const HdlFunction& f : design.functions) ids.functions.push_back(table.Take(f.name));
    ids.renamed = table.Renamed();
    return ids;
}

namespace hdl_text {

const HdlSyntax kVerilog{"// ",
                         "~",
                         "&",
                         "|",
                         "^",
                         "1'b0",
                         "1'b1",
                         false,
                         "assign ",
                         " = ",
                         "    always @(posedge clk or posedge reset) begin\n        if (reset) begin\n",
                         "        end else begin\n",
                         "        end\n    end\n"};
const HdlSyntax kVhdl{"-- ",
                      "not ",
                      "and",
                      "or",
                      "xor",
                      "'0'",
                      "'1'",
                      true,
                      "",
                      " <= ",
                      "    process (clk, reset)\n    begin\n        if reset = '1' then\n",
                      "        elsif rising_edge(clk) then\n",
                      "        end if;\n    end process;\n"};

std::vector<HdlPort> DesignPorts(const HdlDesign& design, const HdlIdentifiers& ids)
{
    const std::size_t n = static_cast<std::size_t>(design.stateBits);
    const std::size_t m = static_cast<std::size_t>(design.excitations);
    std::vector<HdlPort> ports;
    if (design.IsStateMachine()) ports = {{"clk"}, {"reset"}};
    for (std::size_t i = n; i < ids.inputs.size(); ++i) ports.push_back({ids.inputs[i]});
    for (std::size_t j = m; j < ids.functions.size(); ++j) ports.push_back({ids.functions[j], true});
    for (std::size_t b = 0; b < n; ++b) ports.push_back({ids.inputs[b], true, true});
    return ports;
}

DesignSignals SplitSignals(const HdlDesign& design, const HdlIdentifiers& ids)
{
    const auto n = static_cast<std::ptrdiff_t>(design.stateBits);
    const auto m = static_cast<std::ptrdiff_t>(design.excitations);
    DesignSignals s;
    s.inputs.assign(ids.inputs.begin() + n, ids.inputs.end());
    s.state.assign(ids.inputs.begin(), ids.inputs.begin() + n);
    s.outputs.assign(ids.functions.begin() + m, ids.functions.end());
    s.excitations.assign(ids.functions.begin(), ids.functions.begin() + m);
    return s;
}

std::string DesignLogic(const HdlSyntax& syntax, const HdlDesign& design, const HdlIdentifiers& ids)
{
    std::string text;
    for (std::size_t j = 0; j < design.functions.size(); ++j) {
        const std::string head =
            "    " + std::string(syntax.assignHead) + ids.functions[j] + std::string(syntax.assignOp);
        text += head + Expression(syntax, design, ids, design.functions[j], head.size()) + ";\n";
    }
    if (!design.IsStateMachine()) return text;
    text.append("\n    ").append(syntax.comment).append(FlipFlopName(design.flipFlops));
    text += " flip-flops: asynchronous reset to 0, state taken on the rising edge of clk.\n";
    text += syntax.registerOpen;
    for (int b = 0; b < design.stateBits; ++b)
        text.append("            ").append(ids.inputs[b]).append(" <= ").append(syntax.zero).append(";\n");
    text += syntax.registerEdge;
    for (int b = 0; b < design.stateBits; ++b)
        text += "            " + ids.inputs[b] + " <= " + NextState(syntax, design, ids, b) + ";\n";
    text += syntax.registerClose;
    return text;
}

std::string Comments(const HdlSyntax& syntax, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines) text.append(syntax.comment).append(l).append("\n");
    return text;
}

std::string ListLines(const std::vector<std::string>& items, const std::string& indent, const std::string& separator)
{
    std::string text;
    for (std::size_t k = 0; k < items.size(); ++k)
        text += indent + items[k] + (k + 1 < items.size() ? separator : "") + "\n";
    return text;
}

std::string Joined(const std::vector<std::string>& names, const std::string& separator)
{
    std::string text;
    for (std::size_t k = 0; k < names.size(); ++k) text += (k ? separator : "") + names[k];
    return text;
}

std::string Expression(const HdlSyntax& syntax, const HdlDesign& design, const HdlIdentifiers& ids,
                       const HdlFunction& f, std::size_t column)
{
    if (f.form != HdlFunction::Form::Terms) {
        bool one = (f.form == HdlFunction::Form::ConstantOne) != design.offCover;
        return std::string(one ? syntax.one : syntax.zero);
    }
    std::string inner(1, ' ');
    inner.append(design.productOfSums ? syntax.orOp : syntax.andOp).append(1, ' ');
    const bool several = f.terms.size() > 1;
    std::vector<std::string> parts;
    for (const auto& term : f.terms) {
        std::string text;
        for (std::size_t k = 0; k < term.size(); ++k)
            text.append(k ? inner : "").append(term[k].positive ? "" : syntax.notOp).append(ids.inputs[term[k].input]);
        if (term.empty()) text = design.productOfSums ? syntax.zero : syntax.one;
        else if (term.size() > 1 && several && (design.productOfSums || syntax.groupEveryProduct))
            text = "(" + text + ")";
        parts.push_back(text);
    }
    const std::string op(design.productOfSums ? syntax.andOp : syntax.orOp);
    const std::string indent = "        ";
    if (!design.offCover) return Wrap(parts, op, column, indent);
    const std::string open = std::string(syntax.notOp) + "(";
    return open + Wrap(parts, op, column + open.size(), indent) + ")";
}

std::string NextState(const HdlSyntax& syntax, const HdlDesign& design, const HdlIdentifiers& ids, int bit)
{
    const std::string& q = ids.inputs[static_cast<std::size_t>(bit)];
    auto function = [&](int j) { return ids.functions[static_cast<std::size_t>(j)]; };
    auto op = [](std::string_view token) {
        std::string spaced(1, ' ');
        return spaced.append(token).append(1, ' ');
    };
    auto group = [&](const std::string& product) { return syntax.groupEveryProduct ? "(" + product + ")" : product; };
    const std::string notOp(syntax.notOp);
    switch (design.flipFlops) {
    case FlipFlopKind::D: return function(bit);
    case FlipFlopKind::T: return q + op(syntax.xorOp) + function(bit);
    case FlipFlopKind::JK:
        return group(function(2 * bit) + op(syntax.andOp) + notOp + q) + op(syntax.orOp) +
               group(notOp + function(2 * bit + 1) + op(syntax.andOp) + q);
    case FlipFlopKind::SR:
        return function(2 * bit) + op(syntax.orOp) + group(notOp + function(2 * bit + 1) + op(syntax.andOp) + q);
    }
    return "";
}

std::string Wrap(const std::vector<std::string>& parts, const std::string& op, std::size_t firstColumn,
                 const std::string& indent)
{
    constexpr std::size_t kLineLimit = 100;
    std::string text;
    std::size_t column = firstColumn;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        std::string piece = k == 0 ? parts[k] : " " + op + " " + parts[k];
        if (k > 0 && column + piece.size() > kLineLimit) {
            text += "\n" + indent + op + " " + parts[k];
            column = indent.size() + op.size() + 1 + parts[k].size();
        } else {
            text += piece;
            column += piece.size();
        }
    }
    return text;
}

const char* FlipFlopName(FlipFlopKind kind)
{
    switch (kind) {
    case FlipFlopKind::D: return "D";
    case FlipFlopKind::T: return "T";
    case FlipFlopKind::JK: return "JK";
    case FlipFlopKind::SR: return "SR";
    }
    return "";
}

std::vector<std::string> HeaderLines(const HdlDesign& design, const HdlIdentifiers& ids, bool testbench)
{
    const bool verilog = ids.language == HdlLanguage::Verilog;
    std::vector<std::string> lines;
    std::string file = design.name + (testbench ? "_tb" : "") + (verilog ? ".v" : ".vhd");
    if (testbench)
        lines.push_back(file + ": self-checking testbench of " + ids.module + ", the result of " + design.tableFile +
                        " as Quorlet minimized it.");
    else lines.push_back(file + ": the result of " + design.tableFile + " as Quorlet minimized it.");
    if (!verilog) lines.push_back("VHDL-2008 (analyse with ghdl -a --std=08).");
    if (!testbench) {
        const char* form =
            design.productOfSums
                ? (design.offCover ? "the complement of a product of sums of the OFF cover" : "a product of sums")
                : (design.offCover ? "the complement of a sum of products of the OFF cover" : "a sum of products");
        lines.push_back(std::string(verilog ? "One continuous assignment" : "One concurrent signal assignment") +
                        " per output: " + form + ".");
        if (design.IsStateMachine())
            lines.push_back("State register: " + std::to_string(design.stateBits) + " " +
                            FlipFlopName(design.flipFlops) +
                            " flip-flops driven by the minimized excitation functions, on the rising edge of clk;");
        if (design.IsStateMachine()) lines.push_back("reset (asynchronous, active high) clears every state bit to 0.");
    }
    if (!ids.renamed.empty()) {
        // The rule, wrapped as a comment paragraph.
        std::string line = "Renamed names:";
        std::string rule = std::string(kRenamingRule) + ".";
        for (std::size_t pos = 0; pos < rule.size();) {
            std::size_t end = rule.find(' ', pos);
            if (end == std::string::npos) end = rule.size();
            std::string word = rule.substr(pos, end - pos);
            if (line.size() + 1 + word.size() > 95) {
                lines.push_back(line);
                line = word;
            } else {
                line += " " + word;
            }
            pos = end + 1;
        }
        lines.push_back(line);
        for (const auto& [from, to] : ids.renamed) lines.push_back("    " + from + " -> " + to);
    }
    return lines;
}

std::vector<std::string> PlanLines(const HdlDesign& design, const HdlCheckPlan& plan)
{
    std::vector<std::string> lines;
    const std::string points = std::to_string(plan.specifiedPoints);
    if (!design.IsStateMachine()) {
        if (plan.sampled)
            lines.push_back("The table specifies " + points +
                            " points, too many to apply one by one: " + std::to_string(plan.checks.size()) +
                            " are applied (the open inputs of every term all 0, all 1 and pseudo-random).");
        else
            lines.push_back("Applies every point the table specifies (" + std::to_string(plan.checks.size()) +
                            ") and checks every output value it gives there.");
    } else {
        std::string reset(static_cast<std::size_t>(design.stateBits), '0');
        lines.push_back("Resets, reaches each present state by a shortest path from the reset state " + reset + ",");
        lines.push_back("and drives every transition the table specifies there (" + std::to_string(plan.checks.size()) +
                        " checks): the outputs before the clock edge, the state bits after it.");
        if (plan.sampled)
            lines.push_back("The table specifies " + points +
                            " points, too many to drive one by one: open inputs are sampled (all 0, all 1, "
                            "pseudo-random).");
        if (plan.outputsUnchecked)
            lines.push_back(
                "The outputs are not checked: the run minimized them in a second pass, and its cover "
                "table holds the next-state columns only.");
        std::string names;
        for (int b = 0; b < design.stateBits; ++b) names += (b ? " " : "") + design.inputs[b];
        if (plan.unreachable.empty()) {
            lines.push_back("Every present state of the table is reachable from reset.");
        } else {
            lines.push_back("Present states not reachable from reset (" + names + "), their transitions unchecked:");
            for (const std::string& code : plan.unreachable) lines.push_back("    " + code);
        }
    }
    lines.push_back("Don't-care and unspecified values are not checked. Prints PASS at the end, or the first");
    lines.push_back("mismatch with its point and ends the simulation with a failing status.");
    return lines;
}

TestbenchStart StartTestbench(const HdlSyntax& syntax, const HdlDesign& design, const HdlIdentifiers& ids,
                              const HdlCheckPlan& plan)
{
    TestbenchStart start;
    start.io = SplitSignals(design, ids);
    start.checkOutputs = !start.io.outputs.empty() && !plan.outputsUnchecked;
    start.comments = Comments(syntax, HeaderLines(design, ids, true)) + Comments(syntax, PlanLines(design, plan));
    return start;
}

std::vector<std::string> CheckVectors(const TestbenchStart& start, const HdlDesign& design, const HdlCheckPlan& plan,
                                      const HdlCheck& check)
{
    std::vector<std::string> vectors;
    if (design.IsStateMachine()) vectors.push_back(plan.states[static_cast<std::size_t>(check.state)].code);
    if (!start.io.inputs.empty()) vectors.push_back(check.inputs);
    if (start.checkOutputs) vectors.push_back(check.outputs);
    if (design.IsStateMachine()) vectors.push_back(check.nextState);
    return vectors;
}

}  // namespace hdl_text
}  // namespace quorlet
