-- seq101.vhd: the result of seq101.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
-- State register: 2 SR flip-flops driven by the minimized excitation functions, on the rising edge of clk;
-- reset (asynchronous, active high) clears every state bit to 0.
-- Renamed names: a name that is not a legal identifier, is a reserved word or is already taken
-- becomes N_ and the name with each run of characters other than letters and digits written as
-- one _ (none at the end), then _2, _3, ... while that is still taken.
--     _S1 -> N_S1
--     _R1 -> N_R1
--     _S0 -> N_S0
--     _R0 -> N_R0
library ieee;
use ieee.std_logic_1164.all;

entity seq101 is
    port (
        clk : in std_logic;
        reset : in std_logic;
        X : in std_logic;
        Z : out std_logic;
        Q1 : out std_logic;
        Q0 : out std_logic
    );
end entity seq101;

architecture minimized of seq101 is
    signal N_S1, N_R1, N_S0, N_R0 : std_logic;
begin
    N_S1 <= not Q1 and Q0 and not X;
    N_R1 <= (Q1 and X) or (Q1 and not X);
    N_S0 <= not Q1 and X;
    N_R0 <= Q1 and not X;
    Z <= Q1 and X;

    -- SR flip-flops: asynchronous reset to 0, state taken on the rising edge of clk.
    process (clk, reset)
    begin
        if reset = '1' then
            Q1 <= '0';
            Q0 <= '0';
        elsif rising_edge(clk) then
            Q1 <= N_S1 or (not N_R1 and Q1);
            Q0 <= N_S0 or (not N_R0 and Q0);
        end if;
    end process;
end architecture minimized;
