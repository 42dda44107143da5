// updown.v: the result of updown.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
// State register: 2 JK flip-flops driven by the minimized excitation functions, on the rising edge of clk;
// reset (asynchronous, active high) clears every state bit to 0.
`timescale 1ns / 1ps

module updown (
    input  wire clk,
    input  wire reset,
    input  wire UP,
    output wire CY,
    output reg  Q1,
    output reg  Q0
);
    wire _J1, _K1, _J0, _K0;

    assign _J1 = ~Q1 & ~Q0 & ~UP | Q0 & UP;
    assign _K1 = Q1 & Q0 & UP | ~Q0 & ~UP;
    assign _J0 = 1'b1;
    assign _K0 = 1'b1;
    assign CY = ~Q1 & ~Q0 & ~UP | Q1 & Q0 & UP;

    // JK flip-flops: asynchronous reset to 0, state taken on the rising edge of clk.
    always @(posedge clk or posedge reset) begin
        if (reset) begin
            Q1 <= 1'b0;
            Q0 <= 1'b0;
        end else begin
            Q1 <= _J1 & ~Q1 | ~_K1 & Q1;
            Q0 <= _J0 & ~Q0 | ~_K0 & Q0;
        end
    end
endmodule
