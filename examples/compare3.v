// compare3.v: the result of compare3.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
`timescale 1ns / 1ps

module compare3 (
    input  wire A2,
    input  wire A1,
    input  wire A0,
    input  wire B2,
    input  wire B1,
    input  wire B0,
    output wire GT
);

    assign GT = A0 & ~B2 & ~B1 & ~B0 | A1 & A0 & ~B2 & ~B0 | A2 & A0 & ~B1 & ~B0
        | A2 & A1 & A0 & ~B0 | A1 & ~B2 & ~B1 | A2 & A1 & ~B1 | A2 & ~B2;
endmodule
