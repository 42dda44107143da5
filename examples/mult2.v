// mult2.v: the result of mult2.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
`timescale 1ns / 1ps

module mult2 (
    input  wire A1,
    input  wire A0,
    input  wire B1,
    input  wire B0,
    output wire P3,
    output wire P2,
    output wire P1,
    output wire P0
);

    assign P3 = A1 & A0 & B1 & B0;
    assign P2 = A1 & ~A0 & B1 | A1 & A0 & B1 & ~B0;
    assign P1 = ~A1 & A0 & B1 | A1 & A0 & B1 & ~B0 | A1 & ~B1 & B0 | A1 & ~A0 & B0;
    assign P0 = A0 & B0;
endmodule
