// kmap4.v: the result of kmap4.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
`timescale 1ns / 1ps

module kmap4 (
    input  wire A,
    input  wire B,
    input  wire C,
    input  wire D,
    output wire F,
    output wire G
);

    assign F = B & D | ~B & ~D;
    assign G = B & ~D | ~B & D;
endmodule
