-- counter.vhd: the result of counter.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
-- State register: 3 T flip-flops driven by the minimized excitation functions, on the rising edge of clk;
-- reset (asynchronous, active high) clears every state bit to 0.
-- Renamed names: a name that is not a legal identifier, is a reserved word or is already taken
-- becomes N_ and the name with each run of characters other than letters and digits written as
-- one _ (none at the end), then _2, _3, ... while that is still taken.
--     _T2 -> N_T2
--     _T1 -> N_T1
--     _T0 -> N_T0
library ieee;
use ieee.std_logic_1164.all;

entity counter is
    port (
        clk : in std_logic;
        reset : in std_logic;
        EN : in std_logic;
        MAX : out std_logic;
        Q2 : out std_logic;
        Q1 : out std_logic;
        Q0 : out std_logic
    );
end entity counter;

architecture minimized of counter is
    signal N_T2, N_T1, N_T0 : std_logic;
begin
    N_T2 <= Q1 and Q0 and EN;
    N_T1 <= Q0 and EN;
    N_T0 <= EN;
    MAX <= Q2 and Q1 and Q0;

    -- T flip-flops: asynchronous reset to 0, state taken on the rising edge of clk.
    process (clk, reset)
    begin
        if reset = '1' then
            Q2 <= '0';
            Q1 <= '0';
            Q0 <= '0';
        elsif rising_edge(clk) then
            Q2 <= Q2 xor N_T2;
            Q1 <= Q1 xor N_T1;
            Q0 <= Q0 xor N_T0;
        end if;
    end process;
end architecture minimized;
