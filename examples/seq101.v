// seq101.v: the result of seq101.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
// State register: 2 SR flip-flops driven by the minimized excitation functions, on the rising edge of clk;
// reset (asynchronous, active high) clears every state bit to 0.
`timescale 1ns / 1ps

module seq101 (
    input  wire clk,
    input  wire reset,
    input  wire X,
    output wire Z,
    output reg  Q1,
    output reg  Q0
);
    wire _S1, _R1, _S0, _R0;

    assign _S1 = ~Q1 & Q0 & ~X;
    assign _R1 = Q1 & X | Q1 & ~X;
    assign _S0 = ~Q1 & X;
    assign _R0 = Q1 & ~X;
    assign Z = Q1 & X;

    // SR flip-flops: asynchronous reset to 0, state taken on the rising edge of clk.
    always @(posedge clk or posedge reset) begin
        if (reset) begin
            Q1 <= 1'b0;
            Q0 <= 1'b0;
        end else begin
            Q1 <= _S1 | ~_R1 & Q1;
            Q0 <= _S0 | ~_R0 & Q0;
        end
    end
endmodule
