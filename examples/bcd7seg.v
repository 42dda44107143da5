// bcd7seg.v: the result of bcd7seg.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
`timescale 1ns / 1ps

module bcd7seg (
    input  wire B3,
    input  wire B2,
    input  wire B1,
    input  wire B0,
    output wire SA,
    output wire SB,
    output wire SC,
    output wire SD,
    output wire SE,
    output wire SF,
    output wire SG
);

    assign SA = B1 & B0 | B1 & ~B0 | B2 & ~B1 & B0 | ~B2 & ~B0 | B3;
    assign SB = ~B2 & ~B1 | ~B1 & ~B0 | B1 & B0 | ~B2 & ~B0;
    assign SC = ~B2 & ~B1 | B1 & B0 | B2 & ~B0 | B2 & ~B1 & B0;
    assign SD = ~B2 & B1 | B1 & ~B0 | B2 & ~B1 & B0 | ~B2 & ~B0 | B3;
    assign SE = B1 & ~B0 | ~B2 & ~B0;
    assign SF = ~B1 & ~B0 | B2 & ~B0 | B2 & ~B1 & B0 | B3;
    assign SG = ~B2 & B1 | B2 & ~B0 | B2 & ~B1 & B0 | B3;
endmodule
