// counter.v: the result of counter.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
// State register: 3 T flip-flops driven by the minimized excitation functions, on the rising edge of clk;
// reset (asynchronous, active high) clears every state bit to 0.
`timescale 1ns / 1ps

module counter (
    input  wire clk,
    input  wire reset,
    input  wire EN,
    output wire MAX,
    output reg  Q2,
    output reg  Q1,
    output reg  Q0
);
    wire _T2, _T1, _T0;

    assign _T2 = Q1 & Q0 & EN;
    assign _T1 = Q0 & EN;
    assign _T0 = EN;
    assign MAX = Q2 & Q1 & Q0;

    // T flip-flops: asynchronous reset to 0, state taken on the rising edge of clk.
    always @(posedge clk or posedge reset) begin
        if (reset) begin
            Q2 <= 1'b0;
            Q1 <= 1'b0;
            Q0 <= 1'b0;
        end else begin
            Q2 <= Q2 ^ _T2;
            Q1 <= Q1 ^ _T1;
            Q0 <= Q0 ^ _T0;
        end
    end
endmodule
