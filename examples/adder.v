// adder.v: the result of adder.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
`timescale 1ns / 1ps

module adder (
    input  wire A,
    input  wire B,
    input  wire CIN,
    output wire SUM,
    output wire COUT
);

    assign SUM = ~A & ~B & CIN | ~A & B & ~CIN | A & ~B & ~CIN | A & B & CIN;
    assign COUT = B & CIN | A & CIN | A & B;
endmodule
