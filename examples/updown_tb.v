// updown_tb.v: self-checking testbench of updown, the result of updown.tbl as Quorlet minimized it.
// Resets, reaches each present state by a shortest path from the reset state 00,
// and drives every transition the table specifies there (8 checks): the outputs before the clock edge, the state bits after it.
// Every present state of the table is reachable from reset.
// Don't-care and unspecified values are not checked. Prints PASS at the end, or the first
// mismatch with its point and ends the simulation with a failing status.
`timescale 1ns / 1ps

module updown_tb;
    reg clk = 1'b0, reset = 1'b0;
    reg UP;
    wire CY, Q1, Q0;

    updown dut (
        .clk(clk),
        .reset(reset),
        .UP(UP),
        .CY(CY),
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
            if ({Q1, Q0} !== 2'b00) begin
                $display("MISMATCH after reset: Q1 Q0 = %b", {Q1, Q0});
                $fatal(1);
            end
        end
    endtask

    // One rising edge of clk under the inputs.
    task tb_step(input [0:0] tb_point);
        begin
            UP = tb_point;
            #1;
            clk = 1'b1;
            #1;
            clk = 1'b0;
            #1;
        end
    endtask

    // tb_want: the outputs CY, tb_next: the state after the clock edge; x is not checked.
    task tb_check(input [1:0] tb_state, input [0:0] tb_point, input [0:0] tb_want, input [1:0] tb_next);
        begin
            if ({Q1, Q0} !== tb_state) begin
                $display("MISMATCH on the way from reset to Q1 Q0 = %b: the state is %b", tb_state, {Q1, Q0});
                $fatal(1);
            end
            UP = tb_point;
            #1;
            if (tb_want[0] !== 1'bx && CY !== tb_want[0]) begin
                $display("MISMATCH at Q1 Q0 = %b, UP = %b: CY is %b, expected %b", tb_state, tb_point, CY, tb_want[0]);
                $fatal(1);
            end
            clk = 1'b1;
            #1;
            clk = 1'b0;
            #1;
            if (tb_next[1] !== 1'bx && Q1 !== tb_next[1]) begin
                $display("MISMATCH at Q1 Q0 = %b, UP = %b: next Q1 is %b, expected %b", tb_state, tb_point, Q1, tb_next[1]);
                $fatal(1);
            end
            if (tb_next[0] !== 1'bx && Q0 !== tb_next[0]) begin
                $display("MISMATCH at Q1 Q0 = %b, UP = %b: next Q0 is %b, expected %b", tb_state, tb_point, Q0, tb_next[0]);
                $fatal(1);
            end
        end
    endtask

    initial begin
        tb_reset;
        tb_check(2'b00, 1'b0, 1'b1, 2'b11);
        tb_reset;
        tb_check(2'b00, 1'b1, 1'b0, 2'b01);
        tb_reset;
        tb_step(1'b0);
        tb_check(2'b11, 1'b0, 1'b0, 2'b10);
        tb_reset;
        tb_step(1'b0);
        tb_check(2'b11, 1'b1, 1'b1, 2'b00);
        tb_reset;
        tb_step(1'b1);
        tb_check(2'b01, 1'b0, 1'b0, 2'b00);
        tb_reset;
        tb_step(1'b1);
        tb_check(2'b01, 1'b1, 1'b0, 2'b10);
        tb_reset;
        tb_step(1'b0);
        tb_step(1'b0);
        tb_check(2'b10, 1'b0, 1'b0, 2'b01);
        tb_reset;
        tb_step(1'b0);
        tb_step(1'b0);
        tb_check(2'b10, 1'b1, 1'b0, 2'b11);
        $display("PASS");
        $finish;
    end
endmodule
