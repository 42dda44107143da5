-- incomplete.vhd: the result of incomplete.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
library ieee;
use ieee.std_logic_1164.all;

entity incomplete is
    port (
        A : in std_logic;
        B : in std_logic;
        C : in std_logic;
        F : out std_logic;
        G : out std_logic
    );
end entity incomplete;

architecture minimized of incomplete is
begin
    F <= C or B;
    G <= A;
end architecture minimized;
