-- bcd7seg.vhd: the result of bcd7seg.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
library ieee;
use ieee.std_logic_1164.all;

entity bcd7seg is
    port (
        B3 : in std_logic;
        B2 : in std_logic;
        B1 : in std_logic;
        B0 : in std_logic;
        SA : out std_logic;
        SB : out std_logic;
        SC : out std_logic;
        SD : out std_logic;
        SE : out std_logic;
        SF : out std_logic;
        SG : out std_logic
    );
end entity bcd7seg;

architecture minimized of bcd7seg is
begin
    SA <= (B1 and B0) or (B1 and not B0) or (B2 and not B1 and B0) or (not B2 and not B0) or B3;
    SB <= (not B2 and not B1) or (not B1 and not B0) or (B1 and B0) or (not B2 and not B0);
    SC <= (not B2 and not B1) or (B1 and B0) or (B2 and not B0) or (B2 and not B1 and B0);
    SD <= (not B2 and B1) or (B1 and not B0) or (B2 and not B1 and B0) or (not B2 and not B0) or B3;
    SE <= (B1 and not B0) or (not B2 and not B0);
    SF <= (not B1 and not B0) or (B2 and not B0) or (B2 and not B1 and B0) or B3;
    SG <= (not B2 and B1) or (B2 and not B0) or (B2 and not B1 and B0) or B3;
end architecture minimized;
