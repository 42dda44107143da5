// The Verilog design (one continuous assignment per output, the state register of the chosen
// flip-flops) and its testbench.
#include <algorithm>

#include "HdlWriters.h"

namespace quorlet {
using hdl_text::Joined;
using hdl_text::kVerilog;

namespace {

std::string Binary(std::string_view bits)
{
    std::string text = std::to_string(bits.size()) + "'b";
    for (char c : bits) text += c == '-' ? 'x' : c;
    return text;
}

// "{A, B, CIN}" or "A".
std::string Concat(const std::vector<std::string>& names)
{
    return names.size() == 1 ? names[0] : "{" + Joined(names, ", ") + "}";
}

std::string Range(std::size_t width) { return "[" + std::to_string(width - 1) + ":0]"; }

}  // namespace

std::string VerilogDesign(const HdlDesign& design, const HdlIdentifiers& ids)
{
    const int m = design.excitations;
    std::string text = hdl_text::Comments(kVerilog, hdl_text::HeaderLines(design, ids, false));
    text += "`timescale 1ns / 1ps\n\nmodule " + ids.module + " (\n";
    std::vector<std::string> ports;
    for (const hdl_text::HdlPort& p : hdl_text::DesignPorts(design, ids))
        ports.push_back((p.output ? (p.stateBit ? "output reg  " : "output wire ") : "input  wire ") + p.name);
    text += hdl_text::ListLines(ports, "    ", ",");
    text += ");\n";

    if (m > 0) text += "    wire " + Joined(hdl_text::SplitSignals(design, ids).excitations, ", ") + ";\n";
    text += "\n";
    text += hdl_text::DesignLogic(kVerilog, design, ids);
    text += "endmodule\n";
    return text;
}

std::string VerilogTestbench(const HdlDesign& design, const HdlIdentifiers& ids, const HdlCheckPlan& plan)
{
    const std::size_t n = static_cast<std::size_t>(design.stateBits);
    const hdl_text::TestbenchStart start = hdl_text::StartTestbench(kVerilog, design, ids, plan);
    const hdl_text::DesignSignals& io = start.io;
    const bool checkOutputs = start.checkOutputs;
    const std::string fail = "$fatal(1);";

    std::string text = start.comments;
    text += "`timescale 1ns / 1ps\n\nmodule " + ids.testbench + ";\n";
    if (design.IsStateMachine()) text += "    reg clk = 1'b0, reset = 1'b0;\n";
    if (!io.inputs.empty()) text += "    reg " + Joined(io.inputs, ", ") + ";\n";
    std::vector<std::string> wires = io.outputs;
    wires.insert(wires.end(), io.state.begin(), io.state.end());
    if (!wires.empty()) text += "    wire " + Joined(wires, ", ") + ";\n";
    text += "\n    " + ids.module + " dut (\n";
    std::vector<std::string> connections;
    if (design.IsStateMachine()) connections = {".clk(clk)", ".reset(reset)"};
    for (const std::string& s : io.inputs) connections.push_back("." + s + "(" + s + ")");
    for (const std::string& s : io.outputs) connections.push_back("." + s + "(" + s + ")");
    for (const std::string& s : io.state) connections.push_back("." + s + "(" + s + ")");
    text += hdl_text::ListLines(connections, "        ", ",");
    text += "    );\n\n";

    // The point as it is shown in a message: "A B CIN = %b", with the state for a state table.
    std::string where, whereArgs;
    if (design.IsStateMachine()) {
        where = Joined(io.state) + " = %b";
        whereArgs = ", tb_state";
    }
    if (!io.inputs.empty()) {
        where += (where.empty() ? "" : ", ") + Joined(io.inputs) + " = %b";
        whereArgs += ", tb_point";
    }

    auto checkLines = [&](const std::vector<std::string>& names, const std::string& vector, const std::string& what) {
        std::string lines;
        for (std::size_t k = 0; k < names.size(); ++k) {
            std::string bit = vector + "[" + std::to_string(names.size() - 1 - k) + "]";
            lines += "            if (" + bit + " !== 1'bx && " + names[k] + " !== " + bit + ") begin\n";
            lines += "                $display(\"MISMATCH at " + where + ": " + what + names[k] +
                     " is %b, expected %b\"" + whereArgs + ", " + names[k] + ", " + bit + ");\n";
            lines += "                " + fail + "\n            end\n";
        }
        return lines;
    };

    std::vector<std::string> params;
    if (design.IsStateMachine()) params.push_back("input " + Range(n) + " tb_state");
    if (!io.inputs.empty()) params.push_back("input " + Range(io.inputs.size()) + " tb_point");
    if (checkOutputs) params.push_back("input " + Range(io.outputs.size()) + " tb_want");
    if (design.IsStateMachine()) params.push_back("input " + Range(n) + " tb_next");

    if (design.IsStateMachine()) {
        text += "    // Asynchronous reset; every state bit must be 0 after it.\n";
        text += "    task tb_reset;\n        begin\n            reset = 1'b1;\n            #1;\n";
        text += "            reset = 1'b0;\n            #1;\n";
        text += "            if (" + Concat(io.state) + " !== " + Binary(std::string(n, '0')) + ") begin\n";
        text += "                $display(\"MISMATCH after reset: " + Joined(io.state) + " = %b\", " +
                Concat(io.state) + ");\n                " + fail + "\n            end\n        end\n    endtask\n\n";
        text += "    // One rising edge of clk under the inputs.\n";
        text += "    task tb_step";
        if (!io.inputs.empty()) text += "(input " + Range(io.inputs.size()) + " tb_point)";
        text += ";\n        begin\n";
        if (!io.inputs.empty()) text += "            " + Concat(io.inputs) + " = tb_point;\n";
        text += "            #1;\n            clk = 1'b1;\n            #1;\n            clk = 1'b0;\n            #1;\n";
        text += "        end\n    endtask\n\n";
    }

    text += "    // tb_want: the outputs " + (checkOutputs ? Joined(io.outputs) : std::string("(none)"));
    if (design.IsStateMachine()) text += ", tb_next: the state after the clock edge";
    text += "; x is not checked.\n";
    text += "    task tb_check(";
    text += Joined(params, ", ");
    text += ");\n        begin\n";
    if (design.IsStateMachine()) {
        text += "            if (" + Concat(io.state) + " !== tb_state) begin\n";
        text += "                $display(\"MISMATCH on the way from reset to " + Joined(io.state) +
                " = %b: the state is %b\", tb_state, " + Concat(io.state) + ");\n";
        text += "                " + fail + "\n            end\n";
    }
    if (!io.inputs.empty()) text += "            " + Concat(io.inputs) + " = tb_point;\n";
    text += "            #1;\n";
    if (checkOutputs) text += checkLines(io.outputs, "tb_want", "");
    if (design.IsStateMachine()) {
        text += "            clk = 1'b1;\n            #1;\n            clk = 1'b0;\n            #1;\n";
        text += checkLines(io.state, "tb_next", "next ");
    }
    text += "        end\n    endtask\n\n    initial begin\n";

    for (const HdlCheck& c : plan.checks) {
        if (design.IsStateMachine()) {
            // Each transition starts from reset, so that a wrong step cannot hide behind another.
            text += "        tb_reset;\n";
            for (const std::string& x : plan.states[static_cast<std::size_t>(c.state)].path) {
                text += "        tb_step";
                if (!io.inputs.empty()) text.append("(").append(Binary(x)).append(")");
                text += ";\n";
            }
        }
        std::vector<std::string> args;
        for (const std::string& bits : hdl_text::CheckVectors(start, design, plan, c)) args.push_back(Binary(bits));
        text += "        tb_check(";
        text += Joined(args, ", ");
        text += ");\n";
    }
    text += "        $display(\"PASS\");\n        $finish;\n    end\nendmodule\n";
    return text;
}

}  // namespace quorlet
