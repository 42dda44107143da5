// incomplete.v: the result of incomplete.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
`timescale 1ns / 1ps

module incomplete (
    input  wire A,
    input  wire B,
    input  wire C,
    output wire F,
    output wire G
);

    assign F = C | B;
    assign G = A;
endmodule
