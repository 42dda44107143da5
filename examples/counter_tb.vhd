-- counter_tb.vhd: self-checking testbench of counter, the result of counter.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- Renamed names: a name that is not a legal identifier, is a reserved word or is already taken
-- becomes N_ and the name with each run of characters other than letters and digits written as
-- one _ (none at the end), then _2, _3, ... while that is still taken.
--     _T2 -> N_T2
--     _T1 -> N_T1
--     _T0 -> N_T0
-- Resets, reaches each present state by a shortest path from the reset state 000,
-- and drives every transition the table specifies there (16 checks): the outputs before the clock edge, the state bits after it.
-- Every present state of the table is reachable from reset.
-- Don't-care and unspecified values are not checked. Prints PASS at the end, or the first
-- mismatch with its point and ends the simulation with a failing status.
library ieee;
use ieee.std_logic_1164.all;
use std.textio.all;

entity counter_tb is
end entity counter_tb;

architecture test of counter_tb is
    signal clk, reset : std_logic := '0';
    signal EN, MAX, Q2, Q1, Q0 : std_logic;
begin
    dut: entity work.counter
        port map (
            clk => clk,
            reset => reset,
            EN => EN,
            MAX => MAX,
            Q2 => Q2,
            Q1 => Q1,
            Q0 => Q0
        );

    process
        subtype tb_states is std_logic_vector(1 to 3);
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
            if Q2 /= '0' or Q1 /= '0' or Q0 /= '0' then
                report "MISMATCH after reset: Q2 Q1 Q0 = " & tb_bit(Q2) & tb_bit(Q1) & tb_bit(Q0)
                    severity failure;
            end if;
        end procedure;

        -- One rising edge of clk under the inputs.
        procedure tb_step(tb_point : tb_inputs) is
        begin
            EN <= tb_point(1);
            wait for 1 ns;
            clk <= '1';
            wait for 1 ns;
            clk <= '0';
            wait for 1 ns;
        end procedure;

        -- tb_want: the outputs MAX, tb_next: the state after the clock edge; '-' is not checked.
        procedure tb_check(tb_state : tb_states; tb_point : tb_inputs; tb_want : tb_outputs; tb_next : tb_states) is
        begin
            if Q2 /= tb_state(1) or Q1 /= tb_state(2) or Q0 /= tb_state(3) then
                report "MISMATCH on the way from reset to Q2 Q1 Q0 = " & to_string(tb_state) & ": the state is " & tb_bit(Q2) & tb_bit(Q1) & tb_bit(Q0)
                    severity failure;
            end if;
            EN <= tb_point(1);
            wait for 1 ns;
            if tb_want(1) /= '-' and MAX /= tb_want(1) then
                report "MISMATCH at " & "Q2 Q1 Q0 = " & to_string(tb_state) & ", EN = " & to_string(tb_point) & ": MAX is " & tb_bit(MAX) & ", expected " & tb_bit(tb_want(1))
                    severity failure;
            end if;
            clk <= '1';
            wait for 1 ns;
            clk <= '0';
            wait for 1 ns;
            if tb_next(1) /= '-' and Q2 /= tb_next(1) then
                report "MISMATCH at " & "Q2 Q1 Q0 = " & to_string(tb_state) & ", EN = " & to_string(tb_point) & ": next Q2 is " & tb_bit(Q2) & ", expected " & tb_bit(tb_next(1))
                    severity failure;
            end if;
            if tb_next(2) /= '-' and Q1 /= tb_next(2) then
                report "MISMATCH at " & "Q2 Q1 Q0 = " & to_string(tb_state) & ", EN = " & to_string(tb_point) & ": next Q1 is " & tb_bit(Q1) & ", expected " & tb_bit(tb_next(2))
                    severity failure;
            end if;
            if tb_next(3) /= '-' and Q0 /= tb_next(3) then
                report "MISMATCH at " & "Q2 Q1 Q0 = " & to_string(tb_state) & ", EN = " & to_string(tb_point) & ": next Q0 is " & tb_bit(Q0) & ", expected " & tb_bit(tb_next(3))
                    severity failure;
            end if;
        end procedure;
    begin
        tb_reset;
        tb_check("000", "0", "0", "000");
        tb_reset;
        tb_check("000", "1", "0", "001");
        tb_reset;
        tb_step("1");
        tb_check("001", "0", "0", "001");
        tb_reset;
        tb_step("1");
        tb_check("001", "1", "0", "010");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_check("010", "0", "0", "010");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_check("010", "1", "0", "011");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("011", "0", "0", "011");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("011", "1", "0", "100");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("100", "0", "0", "100");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("100", "1", "0", "101");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("101", "0", "0", "101");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("101", "1", "0", "110");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("110", "0", "0", "110");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("110", "1", "0", "111");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("111", "0", "1", "111");
        tb_reset;
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_step("1");
        tb_check("111", "1", "1", "000");
        write(tb_line, string'("PASS"));
        writeline(output, tb_line);
        wait;
    end process;
end architecture test;
