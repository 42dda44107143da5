-- kmap4.vhd: the result of kmap4.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
library ieee;
use ieee.std_logic_1164.all;

entity kmap4 is
    port (
        A : in std_logic;
        B : in std_logic;
        C : in std_logic;
        D : in std_logic;
        F : out std_logic;
        G : out std_logic
    );
end entity kmap4;

architecture minimized of kmap4 is
begin
    F <= (B and D) or (not B and not D);
    G <= (B and not D) or (not B and D);
end architecture minimized;
