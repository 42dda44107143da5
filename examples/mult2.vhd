-- mult2.vhd: the result of mult2.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
library ieee;
use ieee.std_logic_1164.all;

entity mult2 is
    port (
        A1 : in std_logic;
        A0 : in std_logic;
        B1 : in std_logic;
        B0 : in std_logic;
        P3 : out std_logic;
        P2 : out std_logic;
        P1 : out std_logic;
        P0 : out std_logic
    );
end entity mult2;

architecture minimized of mult2 is
begin
    P3 <= A1 and A0 and B1 and B0;
    P2 <= (A1 and not A0 and B1) or (A1 and A0 and B1 and not B0);
    P1 <= (not A1 and A0 and B1) or (A1 and A0 and B1 and not B0) or (A1 and not B1 and B0)
        or (A1 and not A0 and B0);
    P0 <= A0 and B0;
end architecture minimized;
