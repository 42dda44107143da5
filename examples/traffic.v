// traffic.v: the result of traffic.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
// State register: 2 D flip-flops driven by the minimized excitation functions, on the rising edge of clk;
// reset (asynchronous, active high) clears every state bit to 0.
`timescale 1ns / 1ps

module traffic (
    input  wire clk,
    input  wire reset,
    input  wire CAR,
    input  wire TMR,
    output wire MRED,
    output wire MYEL,
    output wire MGRN,
    output wire SRED,
    output wire SYEL,
    output wire SGRN,
    output reg  Q1,
    output reg  Q0
);
    wire _D1, _D0;

    assign _D1 = Q1 & Q0 | ~Q1 & Q0;
    assign _D0 = ~Q1 & CAR & TMR | Q0 & ~TMR | ~Q1 & Q0;
    assign MRED = Q1 & ~Q0 | Q1 & Q0;
    assign MYEL = ~Q1 & Q0;
    assign MGRN = ~Q1 & ~Q0;
    assign SRED = ~Q1 & ~Q0 | ~Q1 & Q0;
    assign SYEL = Q1 & ~Q0;
    assign SGRN = Q1 & Q0;

    // D flip-flops: asynchronous reset to 0, state taken on the rising edge of clk.
    always @(posedge clk or posedge reset) begin
        if (reset) begin
            Q1 <= 1'b0;
            Q0 <= 1'b0;
        end else begin
            Q1 <= _D1;
            Q0 <= _D0;
        end
    end
endmodule
