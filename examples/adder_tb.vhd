-- adder_tb.vhd: self-checking testbench of adder, the result of adder.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- Applies every point the table specifies (8) and checks every output value it gives there.
-- Don't-care and unspecified values are not checked. Prints PASS at the end, or the first
-- mismatch with its point and ends the simulation with a failing status.
library ieee;
use ieee.std_logic_1164.all;
use std.textio.all;

entity adder_tb is
end entity adder_tb;

architecture test of adder_tb is
    signal A, B, CIN, SUM, COUT : std_logic;
begin
    dut: entity work.adder
        port map (
            A => A,
            B => B,
            CIN => CIN,
            SUM => SUM,
            COUT => COUT
        );

    process
        subtype tb_inputs is std_logic_vector(1 to 3);
        subtype tb_outputs is std_logic_vector(1 to 2);
        variable tb_line : line;

        function tb_bit(b : std_logic) return character is
        begin
            return std_logic'image(b)(2);
        end function;

        -- tb_want: the outputs SUM COUT; '-' is not checked.
        procedure tb_check(tb_point : tb_inputs; tb_want : tb_outputs) is
        begin
            A <= tb_point(1);
            B <= tb_point(2);
            CIN <= tb_point(3);
            wait for 1 ns;
            if tb_want(1) /= '-' and SUM /= tb_want(1) then
                report "MISMATCH at " & "A B CIN = " & to_string(tb_point) & ": SUM is " & tb_bit(SUM) & ", expected " & tb_bit(tb_want(1))
                    severity failure;
            end if;
            if tb_want(2) /= '-' and COUT /= tb_want(2) then
                report "MISMATCH at " & "A B CIN = " & to_string(tb_point) & ": COUT is " & tb_bit(COUT) & ", expected " & tb_bit(tb_want(2))
                    severity failure;
            end if;
        end procedure;
    begin
        tb_check("000", "00");
        tb_check("001", "10");
        tb_check("010", "10");
        tb_check("011", "01");
        tb_check("100", "10");
        tb_check("101", "01");
        tb_check("110", "01");
        tb_check("111", "11");
        write(tb_line, string'("PASS"));
        writeline(output, tb_line);
        wait;
    end process;
end architecture test;
