// counter_tb.v: self-checking testbench of counter, the result of counter.tbl as Quorlet minimized it.
// Resets, reaches each present state by a shortest path from the reset state 000,
// and drives every transition the table specifies there (16 checks): the outputs before the clock edge, the state bits after it.
// Every present state of the table is reachable from reset.
// Don't-care and unspecified values are not checked. Prints PASS at the end, or the first
// mismatch with its point and ends the simulation with a failing status.
`timescale 1ns / 1ps

module counter_tb;
    reg clk = 1'b0, reset = 1'b0;
    reg EN;
    wire MAX, Q2, Q1, Q0;

    counter dut (
        .clk(clk),
        .reset(reset),
        .EN(EN),
        .MAX(MAX),
        .Q2(Q2),
        .Q1(Q1),
        .Q0(Q0)
    );

    // Asynchronous reset; every state bit must be 0 after it.
    task tb_reset;
        begin
            reset = 1'b1;
            #1;
            reset = 1'b0;
            #1;
            if ({Q2, Q1, Q0} !== 3'b000) begin
                $display("MISMATCH after reset: Q2 Q1 Q0 = %b", {Q2, Q1, Q0});
                $fatal(1);
            end
        end
    endtask

    // One rising edge of clk under the inputs.
    task tb_step(input [0:0] tb_point);
        begin
            EN = tb_point;
            #1;
            clk = 1'b1;
            #1;
            clk = 1'b0;
            #1;
        end
    endtask

    // tb_want: the outputs MAX, tb_next: the state after the clock edge; x is not checked.
    task tb_check(input [2:0] tb_state, input [0:0] tb_point, input [0:0] tb_want, input [2:0] tb_next);
        begin
            if ({Q2, Q1, Q0} !== tb_state) begin
                $display("MISMATCH on the way from reset to Q2 Q1 Q0 = %b: the state is %b", tb_state, {Q2, Q1, Q0});
                $fatal(1);
            end
            EN = tb_point;
            #1;
            if (tb_want[0] !== 1'bx && MAX !== tb_want[0]) begin
                $display("MISMATCH at Q2 Q1 Q0 = %b, EN = %b: MAX is %b, expected %b", tb_state, tb_point, MAX, tb_want[0]);
                $fatal(1);
            end
            clk = 1'b1;
            #1;
            clk = 1'b0;
            #1;
            if (tb_next[2] !== 1'bx && Q2 !== tb_next[2]) begin
                $display("MISMATCH at Q2 Q1 Q0 = %b, EN = %b: next Q2 is %b, expected %b", tb_state, tb_point, Q2, tb_next[2]);
                $fatal(1);
            end
            if (tb_next[1] !== 1'bx && Q1 !== tb_next[1]) begin
                $display("MISMATCH at Q2 Q1 Q0 = %b, EN = %b: next Q1 is %b, expected %b", tb_state, tb_point, Q1, tb_next[1]);
                $fatal(1);
            end
            if (tb_next[0] !== 1'bx && Q0 !== tb_next[0]) begin
                $display("MISMATCH at Q2 Q1 Q0 = %b, EN = %b: next Q0 is %b, expected %b", tb_state, tb_point, Q0, tb_next[0]);
                $fatal(1);
            end
        end
    endtask

    initial begin
        tb_reset;
        tb_check(3'b000, 1'b0, 1'b0, 3'b000);
        tb_reset;
        tb_check(3'b000, 1'b1, 1'b0, 3'b001);
        tb_reset;
        tb_step(1'b1);
        tb_check(3'b001, 1'b0, 1'b0, 3'b001);
        tb_reset;
        tb_step(1'b1);
        tb_check(3'b001, 1'b1, 1'b0, 3'b010);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b010, 1'b0, 1'b0, 3'b010);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b010, 1'b1, 1'b0, 3'b011);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b011, 1'b0, 1'b0, 3'b011);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b011, 1'b1, 1'b0, 3'b100);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b100, 1'b0, 1'b0, 3'b100);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b100, 1'b1, 1'b0, 3'b101);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b101, 1'b0, 1'b0, 3'b101);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b101, 1'b1, 1'b0, 3'b110);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b110, 1'b0, 1'b0, 3'b110);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b110, 1'b1, 1'b0, 3'b111);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b111, 1'b0, 1'b1, 3'b111);
        tb_reset;
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_step(1'b1);
        tb_check(3'b111, 1'b1, 1'b1, 3'b000);
        $display("PASS");
        $finish;
    end
endmodule
