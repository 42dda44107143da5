// The VHDL design (one concurrent assignment per output, the state register of the chosen
// flip-flops) and its testbench.
#include "HdlWriters.h"

namespace quorlet {
using hdl_text::Joined;
using hdl_text::kVhdl;

namespace {

std::string Vector(std::string_view bits)
{
    std::string text = "\"";
    text += bits;
    return text + "\"";
}

// "tb_bit(Q1) & tb_bit(Q0)": the values of the signals as a string.
std::string Shown(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t k = 0; k < names.size(); ++k) text += (k ? " & " : "") + std::string("tb_bit(") + names[k] + ")";
    return text;
}

std::string Range(std::size_t width) { return "std_logic_vector(1 to " + std::to_string(width) + ")"; }

}  // namespace

std::string VhdlDesign(const HdlDesign& design, const HdlIdentifiers& ids)
{
    const int m = design.excitations;
    std::string text = hdl_text::Comments(kVhdl, hdl_text::HeaderLines(design, ids, false));
    text += "library ieee;\nuse ieee.std_logic_1164.all;\n\nentity " + ids.module + " is\n";
    std::vector<std::string> ports;
    for (const hdl_text::HdlPort& p : hdl_text::DesignPorts(design, ids))
        ports.push_back(p.name + (p.output ? " : out std_logic" : " : in std_logic"));
    if (!ports.empty()) {
        text += "    port (\n";
        text += hdl_text::ListLines(ports, "        ", ";");
        text += "    );\n";
    }
    text += "end entity " + ids.module + ";\n\narchitecture minimized of " + ids.module + " is\n";
    if (m > 0)
        text += "    signal " + Joined(hdl_text::SplitSignals(design, ids).excitations, ", ") + " : std_logic;\n";
    text += "begin\n";
    text += hdl_text::DesignLogic(kVhdl, design, ids);
    text += "end architecture minimized;\n";
    return text;
}

std::string VhdlTestbench(const HdlDesign& design, const HdlIdentifiers& ids, const HdlCheckPlan& plan)
{
    const bool fsm = design.IsStateMachine();
    const std::size_t n = static_cast<std::size_t>(design.stateBits);
    const hdl_text::TestbenchStart start = hdl_text::StartTestbench(kVhdl, design, ids, plan);
    const hdl_text::DesignSignals& io = start.io;
    const bool checkOutputs = start.checkOutputs;

    std::string text = start.comments;
    text += "library ieee;\nuse ieee.std_logic_1164.all;\nuse std.textio.all;\n\n";
    text += "entity " + ids.testbench + " is\nend entity " + ids.testbench + ";\n\n";
    text += "architecture test of " + ids.testbench + " is\n";
    if (fsm) text += "    signal clk, reset : std_logic := '0';\n";
    std::vector<std::string> signals = io.inputs;
    signals.insert(signals.end(), io.outputs.begin(), io.outputs.end());
    signals.insert(signals.end(), io.state.begin(), io.state.end());
    if (!signals.empty()) text += "    signal " + Joined(signals, ", ") + " : std_logic;\n";
    text += "begin\n    dut: entity work." + ids.module + "\n        port map (\n";
    std::vector<std::string> connections;
    if (fsm) connections = {"clk => clk", "reset => reset"};
    for (const std::string& s : signals) connections.push_back(s + " => " + s);
    text += hdl_text::ListLines(connections, "            ", ",");
    text += "        );\n\n    process\n";
    if (fsm) text += "        subtype tb_states is " + Range(n) + ";\n";
    if (!io.inputs.empty()) text += "        subtype tb_inputs is " + Range(io.inputs.size()) + ";\n";
    if (checkOutputs) text += "        subtype tb_outputs is " + Range(io.outputs.size()) + ";\n";
    text += "        variable tb_line : line;\n\n";
    text += "        function tb_bit(b : std_logic) return character is\n        begin\n";
    text += "            return std_logic'image(b)(2);\n        end function;\n\n";

    // The point as a message shows it.
    std::string where;
    if (fsm) where = "\"" + Joined(io.state) + " = \" & to_string(tb_state)";
    if (!io.inputs.empty())
        where += (where.empty() ? "\"" : " & \", ") + Joined(io.inputs) + " = \" & to_string(tb_point)";
    auto checkLines = [&](const std::vector<std::string>& names, const std::string& vector, const std::string& what) {
        std::string lines;
        for (std::size_t k = 0; k < names.size(); ++k) {
            std::string bit = vector + "(" + std::to_string(k + 1) + ")";
            lines += "            if " + bit + " /= '-' and " + names[k] + " /= " + bit + " then\n";
            lines += "                report \"MISMATCH at \" & " + where + " & \": " + what + names[k] +
                     " is \" & tb_bit(" + names[k] + ") & \", expected \" & tb_bit(" + bit +
                     ")\n                    severity failure;\n";
            lines += "            end if;\n";
        }
        return lines;
    };
    auto stateDiffers = [&](const std::string& vector) {
        std::string cond;
        for (std::size_t b = 0; b < n; ++b)
            cond += (b ? " or " : "") + io.state[b] + " /= " + vector + "(" + std::to_string(b + 1) + ")";
        return cond;
    };
    const std::string clock =
        "            wait for 1 ns;\n            clk <= '1';\n            wait for 1 ns;\n"
        "            clk <= '0';\n            wait for 1 ns;\n";

    if (fsm) {
        text += "        -- Asynchronous reset; every state bit must be 0 after it.\n";
        text += "        procedure tb_reset is\n        begin\n            reset <= '1';\n            wait for 1 ns;\n";
        text += "            reset <= '0';\n            wait for 1 ns;\n";
        std::string anySet;
        for (std::size_t b = 0; b < n; ++b) anySet += (b ? " or " : "") + io.state[b] + " /= '0'";
        text += "            if " + anySet + " then\n";
        text += "                report \"MISMATCH after reset: " + Joined(io.state) + " = \" & " + Shown(io.state) +
                "\n                    severity failure;\n            end if;\n        end procedure;\n\n";
        text += "        -- One rising edge of clk under the inputs.\n        procedure tb_step";
        if (!io.inputs.empty()) text += "(tb_point : tb_inputs)";
        text += " is\n        begin\n";
        for (std::size_t k = 0; k < io.inputs.size(); ++k)
            text += "            " + io.inputs[k] + " <= tb_point(" + std::to_string(k + 1) + ");\n";
        text += clock + "        end procedure;\n\n";
    }

    std::vector<std::string> params;
    if (fsm) params.push_back("tb_state : tb_states");
    if (!io.inputs.empty()) params.push_back("tb_point : tb_inputs");
    if (checkOutputs) params.push_back("tb_want : tb_outputs");
    if (fsm) params.push_back("tb_next : tb_states");
    text += "        -- tb_want: the outputs " + (checkOutputs ? Joined(io.outputs) : std::string("(none)"));
    if (fsm) text += ", tb_next: the state after the clock edge";
    text += "; '-' is not checked.\n";
    text += "        procedure tb_check";
    if (!params.empty()) text += "(" + Joined(params, "; ") + ")";
    text += " is\n        begin\n";
    if (fsm) {
        text += "            if " + stateDiffers("tb_state") + " then\n";
        text += "                report \"MISMATCH on the way from reset to " + Joined(io.state) +
                " = \" & to_string(tb_state) & \": the state is \" & " + Shown(io.state) +
                "\n                    severity failure;\n            end if;\n";
    }
    for (std::size_t k = 0; k < io.inputs.size(); ++k)
        text += "            " + io.inputs[k] + " <= tb_point(" + std::to_string(k + 1) + ");\n";
    text += "            wait for 1 ns;\n";
    if (checkOutputs) text += checkLines(io.outputs, "tb_want", "");
    if (fsm) {
        text +=
            "            clk <= '1';\n            wait for 1 ns;\n            clk <= '0';\n            wait for 1 "
            "ns;\n";
        text += checkLines(io.state, "tb_next", "next ");
    }
    text += "        end procedure;\n    begin\n";

    for (const HdlCheck& c : plan.checks) {
        if (fsm) {
            text += "        tb_reset;\n";
            for (const std::string& x : plan.states[static_cast<std::size_t>(c.state)].path)
                text += "        tb_step" + (io.inputs.empty() ? std::string() : "(" + Vector(x) + ")") + ";\n";
        }
        std::vector<std::string> args;
        for (const std::string& bits : hdl_text::CheckVectors(start, design, plan, c)) args.push_back(Vector(bits));
        text += "        tb_check" + (args.empty() ? std::string() : "(" + Joined(args, ", ") + ")") + ";\n";
    }
    text += "        write(tb_line, string'(\"PASS\"));\n        writeline(output, tb_line);\n        wait;\n";
    text += "    end process;\nend architecture test;\n";
    return text;
}

}  // namespace quorlet
