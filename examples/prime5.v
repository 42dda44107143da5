// prime5.v: the result of prime5.tbl as Quorlet minimized it.
// One continuous assignment per output: a sum of products.
`timescale 1ns / 1ps

module prime5 (
    input  wire N4,
    input  wire N3,
    input  wire N2,
    input  wire N1,
    input  wire N0,
    output wire P
);

    assign P = N4 & N3 & N2 & N0 | N4 & ~N3 & ~N2 & N0 | ~N3 & N1 & N0 | ~N4 & ~N2 & N1 & N0
        | ~N4 & ~N3 & ~N2 & N1 | ~N4 & N2 & ~N1 & N0;
endmodule
