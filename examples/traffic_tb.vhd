-- traffic_tb.vhd: self-checking testbench of traffic, the result of traffic.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- Renamed names: a name that is not a legal identifier, is a reserved word or is already taken
-- becomes N_ and the name with each run of characters other than letters and digits written as
-- one _ (none at the end), then _2, _3, ... while that is still taken.
--     _D1 -> N_D1
--     _D0 -> N_D0
-- Resets, reaches each present state by a shortest path from the reset state 00,
-- and drives every transition the table specifies there (16 checks): the outputs before the clock edge, the state bits after it.
-- Every present state of the table is reachable from reset.
-- Don't-care and unspecified values are not checked. Prints PASS at the end, or the first
-- mismatch with its point and ends the simulation with a failing status.
library ieee;
use ieee.std_logic_1164.all;
use std.textio.all;

entity traffic_tb is
end entity traffic_tb;

architecture test of traffic_tb is
    signal clk, reset : std_logic := '0';
    signal CAR, TMR, MRED, MYEL, MGRN, SRED, SYEL, SGRN, Q1, Q0 : std_logic;
begin
    dut: entity work.traffic
        port map (
            clk => clk,
            reset => reset,
            CAR => CAR,
            TMR => TMR,
            MRED => MRED,
            MYEL => MYEL,
            MGRN => MGRN,
            SRED => SRED,
            SYEL => SYEL,
            SGRN => SGRN,
            Q1 => Q1,
            Q0 => Q0
        );

    process
        subtype tb_states is std_logic_vector(1 to 2);
        subtype tb_inputs is std_logic_vector(1 to 2);
        subtype tb_outputs is std_logic_vector(1 to 6);
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
            CAR <= tb_point(1);
            TMR <= tb_point(2);
            wait for 1 ns;
            clk <= '1';
            wait for 1 ns;
            clk <= '0';
            wait for 1 ns;
        end procedure;

        -- tb_want: the outputs MRED MYEL MGRN SRED SYEL SGRN, tb_next: the state after the clock edge; '-' is not checked.
        procedure tb_check(tb_state : tb_states; tb_point : tb_inputs; tb_want : tb_outputs; tb_next : tb_states) is
        begin
            if Q1 /= tb_state(1) or Q0 /= tb_state(2) then
                report "MISMATCH on the way from reset to Q1 Q0 = " & to_string(tb_state) & ": the state is " & tb_bit(Q1) & tb_bit(Q0)
                    severity failure;
            end if;
            CAR <= tb_point(1);
            TMR <= tb_point(2);
            wait for 1 ns;
            if tb_want(1) /= '-' and MRED /= tb_want(1) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", CAR TMR = " & to_string(tb_point) & ": MRED is " & tb_bit(MRED) & ", expected " & tb_bit(tb_want(1))
                    severity failure;
            end if;
            if tb_want(2) /= '-' and MYEL /= tb_want(2) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", CAR TMR = " & to_string(tb_point) & ": MYEL is " & tb_bit(MYEL) & ", expected " & tb_bit(tb_want(2))
                    severity failure;
            end if;
            if tb_want(3) /= '-' and MGRN /= tb_want(3) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", CAR TMR = " & to_string(tb_point) & ": MGRN is " & tb_bit(MGRN) & ", expected " & tb_bit(tb_want(3))
                    severity failure;
            end if;
            if tb_want(4) /= '-' and SRED /= tb_want(4) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", CAR TMR = " & to_string(tb_point) & ": SRED is " & tb_bit(SRED) & ", expected " & tb_bit(tb_want(4))
                    severity failure;
            end if;
            if tb_want(5) /= '-' and SYEL /= tb_want(5) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", CAR TMR = " & to_string(tb_point) & ": SYEL is " & tb_bit(SYEL) & ", expected " & tb_bit(tb_want(5))
                    severity failure;
            end if;
            if tb_want(6) /= '-' and SGRN /= tb_want(6) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", CAR TMR = " & to_string(tb_point) & ": SGRN is " & tb_bit(SGRN) & ", expected " & tb_bit(tb_want(6))
                    severity failure;
            end if;
            clk <= '1';
            wait for 1 ns;
            clk <= '0';
            wait for 1 ns;
            if tb_next(1) /= '-' and Q1 /= tb_next(1) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", CAR TMR = " & to_string(tb_point) & ": next Q1 is " & tb_bit(Q1) & ", expected " & tb_bit(tb_next(1))
                    severity failure;
            end if;
            if tb_next(2) /= '-' and Q0 /= tb_next(2) then
                report "MISMATCH at " & "Q1 Q0 = " & to_string(tb_state) & ", CAR TMR = " & to_string(tb_point) & ": next Q0 is " & tb_bit(Q0) & ", expected " & tb_bit(tb_next(2))
                    severity failure;
            end if;
        end procedure;
    begin
        tb_reset;
        tb_check("00", "00", "001100", "00");
        tb_reset;
        tb_check("00", "01", "001100", "00");
        tb_reset;
        tb_check("00", "10", "001100", "00");
        tb_reset;
        tb_check("00", "11", "001100", "01");
        tb_reset;
        tb_step("11");
        tb_check("01", "00", "010100", "11");
        tb_reset;
        tb_step("11");
        tb_check("01", "01", "010100", "11");
        tb_reset;
        tb_step("11");
        tb_check("01", "10", "010100", "11");
        tb_reset;
        tb_step("11");
        tb_check("01", "11", "010100", "11");
        tb_reset;
        tb_step("11");
        tb_step("00");
        tb_check("11", "00", "100001", "11");
        tb_reset;
        tb_step("11");
        tb_step("00");
        tb_check("11", "01", "100001", "10");
        tb_reset;
        tb_step("11");
        tb_step("00");
        tb_check("11", "10", "100001", "11");
        tb_reset;
        tb_step("11");
        tb_step("00");
        tb_check("11", "11", "100001", "10");
        tb_reset;
        tb_step("11");
        tb_step("00");
        tb_step("01");
        tb_check("10", "00", "100010", "00");
        tb_reset;
        tb_step("11");
        tb_step("00");
        tb_step("01");
        tb_check("10", "01", "100010", "00");
        tb_reset;
        tb_step("11");
        tb_step("00");
        tb_step("01");
        tb_check("10", "10", "100010", "00");
        tb_reset;
        tb_step("11");
        tb_step("00");
        tb_step("01");
        tb_check("10", "11", "100010", "00");
        write(tb_line, string'("PASS"));
        writeline(output, tb_line);
        wait;
    end process;
end architecture test;
