// incomplete_tb.v: self-checking testbench of incomplete, the result of incomplete.tbl as Quorlet minimized it.
// Applies every point the table specifies (6) and checks every output value it gives there.
// Don't-care and unspecified values are not checked. Prints PASS at the end, or the first
// mismatch with its point and ends the simulation with a failing status.
`timescale 1ns / 1ps

module incomplete_tb;
    reg A, B, C;
    wire F, G;

    incomplete dut (
        .A(A),
        .B(B),
        .C(C),
        .F(F),
        .G(G)
    );

    // tb_want: the outputs F G; x is not checked.
    task tb_check(input [2:0] tb_point, input [1:0] tb_want);
        begin
            {A, B, C} = tb_point;
            #1;
            if (tb_want[1] !== 1'bx && F !== tb_want[1]) begin
                $display("MISMATCH at A B C = %b: F is %b, expected %b", tb_point, F, tb_want[1]);
                $fatal(1);
            end
            if (tb_want[0] !== 1'bx && G !== tb_want[0]) begin
                $display("MISMATCH at A B C = %b: G is %b, expected %b", tb_point, G, tb_want[0]);
                $fatal(1);
            end
        end
    endtask

    initial begin
        tb_check(3'b000, 2'b0x);
        tb_check(3'b001, 2'b1x);
        tb_check(3'b010, 2'b10);
        tb_check(3'b011, 2'b10);
        tb_check(3'b110, 2'bx1);
        tb_check(3'b111, 2'b11);
        $display("PASS");
        $finish;
    end
endmodule
