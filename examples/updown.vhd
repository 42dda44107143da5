-- updown.vhd: the result of updown.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
-- State register: 2 JK flip-flops driven by the minimized excitation functions, on the rising edge of clk;
-- reset (asynchronous, active high) clears every state bit to 0.
-- Renamed names: a name that is not a legal identifier, is a reserved word or is already taken
-- becomes N_ and the name with each run of characters other than letters and digits written as
-- one _ (none at the end), then _2, _3, ... while that is still taken.
--     _J1 -> N_J1
--     _K1 -> N_K1
--     _J0 -> N_J0
--     _K0 -> N_K0
library ieee;
use ieee.std_logic_1164.all;

entity updown is
    port (
        clk : in std_logic;
        reset : in std_logic;
        UP : in std_logic;
        CY : out std_logic;
        Q1 : out std_logic;
        Q0 : out std_logic
    );
end entity updown;

architecture minimized of updown is
    signal N_J1, N_K1, N_J0, N_K0 : std_logic;
begin
    N_J1 <= (not Q1 and not Q0 and not UP) or (Q0 and UP);
    N_K1 <= (Q1 and Q0 and UP) or (not Q0 and not UP);
    N_J0 <= '1';
    N_K0 <= '1';
    CY <= (not Q1 and not Q0 and not UP) or (Q1 and Q0 and UP);

    -- JK flip-flops: asynchronous reset to 0, state taken on the rising edge of clk.
    process (clk, reset)
    begin
        if reset = '1' then
            Q1 <= '0';
            Q0 <= '0';
        elsif rising_edge(clk) then
            Q1 <= (N_J1 and not Q1) or (not N_K1 and Q1);
            Q0 <= (N_J0 and not Q0) or (not N_K0 and Q0);
        end if;
    end process;
end architecture minimized;
