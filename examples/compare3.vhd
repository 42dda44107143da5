-- compare3.vhd: the result of compare3.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
library ieee;
use ieee.std_logic_1164.all;

entity compare3 is
    port (
        A2 : in std_logic;
        A1 : in std_logic;
        A0 : in std_logic;
        B2 : in std_logic;
        B1 : in std_logic;
        B0 : in std_logic;
        GT : out std_logic
    );
end entity compare3;

architecture minimized of compare3 is
begin
    GT <= (A0 and not B2 and not B1 and not B0) or (A1 and A0 and not B2 and not B0)
        or (A2 and A0 and not B1 and not B0) or (A2 and A1 and A0 and not B0)
        or (A1 and not B2 and not B1) or (A2 and A1 and not B1) or (A2 and not B2);
end architecture minimized;
