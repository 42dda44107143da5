-- updown_tb.vhd: self-checking testbench of updown, the result of updown.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- Renamed names: a name that is not a legal identifier, is a reserved word or is already taken
-- becomes N_ and the name with each run of characters other than letters and digits written as
-- one _ (none at the end), then _2, _3, ... while that is still taken.
--     _J1 -> N_J1
--     _K1 -> N_K1
--     _J0 -> N_J0
--     _K0 -> N_K0
-- Resets, reaches each present state by a shortest path from the reset state 00,
-- and drives every transition the table specifies there (8 checks): the outputs before the clock edge, the state bits after it.
-- Every present state of the table is reachable from reset.
-- Don't-care and unspecified values are not checked. Prints PASS at the end, or the first
-- mismatch with its point and ends the simulation with a failing status.
library ieee;
use ieee.std_logic_1164.all;
use std.textio.all;

entity updown_tb is
end entity updown_tb;

architecture test of updown_tb is
    signal clk, reset : std_logic := '0';
    signal UP, CY, Q1, Q0 : std_logic;
begin
    dut: entity work.updown
        port map (
            clk => clk,
            reset => reset,
            UP => UP,
            CY => CY,
            Q1 => Q1,
            Q0 => Q0
        );

    process
        subtype tb_states is std_logic_vector(1 to 2);
        subtype tb_inputs is std_logic_vector(1 to 1);
        subtype tb_outputs is std_logic_vector(1 to 1);
        variable tb_line : line;

        function tb_bit(b : std_logic) return character is
        begin
            return std_logic'image(b)(2);
        end function;

        -- Asynchronous reset; every state bit must be 0 after it.
        procedure tb_reset is
        begin
            reset <= '1';
            wait for 1 ns;
            reset <= '0';
            wait for 1 ns;
            if Q1 /= '0' or Q0 /= '0' then
                report "MISMATCH after reset: Q1 Q0 = " & tb_bit(Q1) & tb_bit(Q0)
                    severity failure;
            end if;
        end procedure;

        -- One rising edge of clk under the inputs.
        procedure tb_step(tb_point : tb_inputs) is
        begin
            UP <= tb_point(1);
            wait for 1 ns;
            clk <= '1';
            wait for 1 ns;
            clk <= '0';
            wait for 1 ns;
        end procedure;

        -- tb_want: the outputs CY, tb_next: the state after the clock edge; '-' is not checked.
        procedure tb_check(tb_state : tb_states; tb_point : tb_inputs; tb_want : tb_outputs; tb_next : tb_states) is
        begin
            if Q1 /= tb_state(1) or Q0 /= tb_state(2) then
                report "MISMATCH on the way from reset to Q1 Q0 = " & to_string(tb_state) & ": the state is " & tb_bit(Q1) & tb_bit(Q0)
                    severity failure;
            end if;
            UP <= tb_point(1);
            wait for 1 ns;
            if tb_want(1) /= '-' and CY /= tb_want(1) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", UP = " & to_string(tb_point) & ": CY is " & tb_bit(CY) & ", expected " & tb_bit(tb_want(1))
                    severity failure;
            end if;
            clk <= '1';
            wait for 1 ns;
            clk <= '0';
            wait for 1 ns;
            if tb_next(1) /= '-' and Q1 /= tb_next(1) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", UP = " & to_string(tb_point) & ": next Q1 is " & tb_bit(Q1) & ", expected " & tb_bit(tb_next(1))
                    severity failure;
            end if;
            if tb_next(2) /= '-' and Q0 /= tb_next(2) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", UP = " & to_string(tb_point) & ": next Q0 is " & tb_bit(Q0) & ", expected " & tb_bit(tb_next(2))
                    severity failure;
            end if;
        end procedure;
    begin
        tb_reset;
        tb_check("00", "0", "1", "11");
        tb_reset;
        tb_check("00", "1", "0", "01");
        tb_reset;
        tb_step("0");
        tb_check("11", "0", "0", "10");
        tb_reset;
        tb_step("0");
        tb_check("11", "1", "1", "00");
        tb_reset;
        tb_step("1");
        tb_check("01", "0", "0", "00");
        tb_reset;
        tb_step("1");
        tb_check("01", "1", "0", "10");
        tb_reset;
        tb_step("0");
        tb_step("0");
        tb_check("10", "0", "0", "01");
        tb_reset;
        tb_step("0");
        tb_step("0");
        tb_check("10", "1", "0", "11");
        write(tb_line, string'("PASS"));
        writeline(output, tb_line);
        wait;
    end process;
end architecture test;
