-- adder.vhd: the result of adder.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
library ieee;
use ieee.std_logic_1164.all;

entity adder is
    port (
        A : in std_logic;
        B : in std_logic;
        CIN : in std_logic;
        SUM : out std_logic;
        COUT : out std_logic
    );
end entity adder;

architecture minimized of adder is
begin
    SUM <= (not A and not B and CIN) or (not A and B and not CIN) or (A and not B and not CIN)
        or (A and B and CIN);
    COUT <= (B and CIN) or (A and CIN) or (A and B);
end architecture minimized;
