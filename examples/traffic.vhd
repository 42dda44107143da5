-- traffic.vhd: the result of traffic.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- One concurrent signal assignment per output: a sum of products.
-- State register: 2 D flip-flops driven by the minimized excitation functions, on the rising edge of clk;
-- reset (asynchronous, active high) clears every state bit to 0.
-- Renamed names: a name that is not a legal identifier, is a reserved word or is already taken
-- becomes N_ and the name with each run of characters other than letters and digits written as
-- one _ (none at the end), then _2, _3, ... while that is still taken.
--     _D1 -> N_D1
--     _D0 -> N_D0
library ieee;
use ieee.std_logic_1164.all;

entity traffic is
    port (
        clk : in std_logic;
        reset : in std_logic;
        CAR : in std_logic;
        TMR : in std_logic;
        MRED : out std_logic;
        MYEL : out std_logic;
        MGRN : out std_logic;
        SRED : out std_logic;
        SYEL : out std_logic;
        SGRN : out std_logic;
        Q1 : out std_logic;
        Q0 : out std_logic
    );
end entity traffic;

architecture minimized of traffic is
    signal N_D1, N_D0 : std_logic;
begin
    N_D1 <= (Q1 and Q0) or (not Q1 and Q0);
    N_D0 <= (not Q1 and CAR and TMR) or (Q0 and not TMR) or (not Q1 and Q0);
    MRED <= (Q1 and not Q0) or (Q1 and Q0);
    MYEL <= not Q1 and Q0;
    MGRN <= not Q1 and not Q0;
    SRED <= (not Q1 and not Q0) or (not Q1 and Q0);
    SYEL <= Q1 and not Q0;
    SGRN <= Q1 and Q0;

    -- D flip-flops: asynchronous reset to 0, state taken on the rising edge of clk.
    process (clk, reset)
    begin
        if reset = '1' then
            Q1 <= '0';
            Q0 <= '0';
        elsif rising_edge(clk) then
            Q1 <= N_D1;
            Q0 <= N_D0;
        end if;
    end process;
end architecture minimized;
