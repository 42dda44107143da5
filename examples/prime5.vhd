-- prime5.vhd: the result of prime5.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
library ieee;
use ieee.std_logic_1164.all;

entity prime5 is
    port (
        N4 : in std_logic;
        N3 : in std_logic;
        N2 : in std_logic;
        N1 : in std_logic;
        N0 : in std_logic;
        P : out std_logic
    );
end entity prime5;

architecture minimized of prime5 is
begin
    P <= (N4 and N3 and N2 and N0) or (N4 and not N3 and not N2 and N0) or (not N3 and N1 and N0)
        or (not N4 and not N2 and N1 and N0) or (not N4 and not N3 and not N2 and N1)
        or (not N4 and N2 and not N1 and N0);
end architecture minimized;
