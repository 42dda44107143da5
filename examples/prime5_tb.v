// prime5_tb.v: self-checking testbench of prime5, the result of prime5.tbl as Quorlet minimized it.
// Applies every point the table specifies (32) and checks every output value it gives there.
// Don't-care and unspecified values are not checked. Prints PASS at the end, or the first
// mismatch with its point and ends the simulation with a failing status.
`timescale 1ns / 1ps

module prime5_tb;
    reg N4, N3, N2, N1, N0;
    wire P;

    prime5 dut (
        .N4(N4),
        .N3(N3),
        .N2(N2),
        .N1(N1),
        .N0(N0),
        .P(P)
    );

    // tb_want: the outputs P; x is not checked.
    task tb_check(input [4:0] tb_point, input [0:0] tb_want);
        begin
            {N4, N3, N2, N1, N0} = tb_point;
            #1;
            if (tb_want[0] !== 1'bx && P !== tb_want[0]) begin
                $display("MISMATCH at N4 N3 N2 N1 N0 = %b: P is %b, expected %b", tb_point, P, tb_want[0]);
                $fatal(1);
            end
        end
    endtask

    initial begin
        tb_check(5'b00000, 1'b0);
        tb_check(5'b00001, 1'b0);
        tb_check(5'b00010, 1'b1);
        tb_check(5'b00011, 1'b1);
        tb_check(5'b00100, 1'b0);
        tb_check(5'b00101, 1'b1);
        tb_check(5'b00110, 1'b0);
        tb_check(5'b00111, 1'b1);
        tb_check(5'b01000, 1'b0);
        tb_check(5'b01001, 1'b0);
        tb_check(5'b01010, 1'b0);
        tb_check(5'b01011, 1'b1);
        tb_check(5'b01100, 1'b0);
        tb_check(5'b01101, 1'b1);
        tb_check(5'b01110, 1'b0);
        tb_check(5'b01111, 1'b0);
        tb_check(5'b10000, 1'b0);
        tb_check(5'b10001, 1'b1);
        tb_check(5'b10010, 1'b0);
        tb_check(5'b10011, 1'b1);
        tb_check(5'b10100, 1'b0);
        tb_check(5'b10101, 1'b0);
        tb_check(5'b10110, 1'b0);
        tb_check(5'b10111, 1'b1);
        tb_check(5'b11000, 1'b0);
        tb_check(5'b11001, 1'b0);
        tb_check(5'b11010, 1'b0);
        tb_check(5'b11011, 1'b0);
        tb_check(5'b11100, 1'b0);
        tb_check(5'b11101, 1'b1);
        tb_check(5'b11110, 1'b0);
        tb_check(5'b11111, 1'b1);
        $display("PASS");
        $finish;
    end
endmodule
