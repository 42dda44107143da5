-- compare3_tb.vhd: self-checking testbench of compare3, the result of compare3.tbl as Quorlet minimized it.
-- VHDL-2008 (analyse with ghdl -a --std=08).
-- Applies every point the table specifies (64) and checks every output value it gives there.
-- Don't-care and unspecified values are not checked. Prints PASS at the end, or the first
-- mismatch with its point and ends the simulation with a failing status.
library ieee;
use ieee.std_logic_1164.all;
use std.textio.all;

entity compare3_tb is
end entity compare3_tb;

architecture test of compare3_tb is
    signal A2, A1, A0, B2, B1, B0, GT : std_logic;
begin
    dut: entity work.compare3
        port map (
            A2 => A2,
            A1 => A1,
            A0 => A0,
            B2 => B2,
            B1 => B1,
            B0 => B0,
            GT => GT
        );

    process
        subtype tb_inputs is std_logic_vector(1 to 6);
        subtype tb_outputs is std_logic_vector(1 to 1);
        variable tb_line : line;

        function tb_bit(b : std_logic) return character is
        begin
            return std_logic'image(b)(2);
        end function;

        -- tb_want: the outputs GT; '-' is not checked.
        procedure tb_check(tb_point : tb_inputs; tb_want : tb_outputs) is
        begin
            A2 <= tb_point(1);
            A1 <= tb_point(2);
            A0 <= tb_point(3);
            B2 <= tb_point(4);
            B1 <= tb_point(5);
            B0 <= tb_point(6);
            wait for 1 ns;
            if tb_want(1) /= '-' and GT /= tb_want(1) then
                report "MISMATCH at " & "A2 A1 A0 B2 B1 B0 = " & to_string(tb_point) & ": GT is " & tb_bit(GT) & ", expected " & tb_bit(tb_want(1))
                    severity failure;
            end if;
        end procedure;
    begin
        tb_check("000000", "0");
        tb_check("000001", "0");
        tb_check("000010", "0");
        tb_check("000011", "0");
        tb_check("000100", "0");
        tb_check("000101", "0");
        tb_check("000110", "0");
        tb_check("000111", "0");
        tb_check("001000", "1");
        tb_check("001001", "0");
        tb_check("001010", "0");
        tb_check("001011", "0");
        tb_check("001100", "0");
        tb_check("001101", "0");
        tb_check("001110", "0");
        tb_check("001111", "0");
        tb_check("010000", "1");
        tb_check("010001", "1");
        tb_check("010010", "0");
        tb_check("010011", "0");
        tb_check("010100", "0");
        tb_check("010101", "0");
        tb_check("010110", "0");
        tb_check("010111", "0");
        tb_check("011000", "1");
        tb_check("011001", "1");
        tb_check("011010", "1");
        tb_check("011011", "0");
        tb_check("011100", "0");
        tb_check("011101", "0");
        tb_check("011110", "0");
        tb_check("011111", "0");
        tb_check("100000", "1");
        tb_check("100001", "1");
        tb_check("100010", "1");
        tb_check("100011", "1");
        tb_check("100100", "0");
        tb_check("100101", "0");
        tb_check("100110", "0");
        tb_check("100111", "0");
        tb_check("101000", "1");
        tb_check("101001", "1");
        tb_check("101010", "1");
        tb_check("101011", "1");
        tb_check("101100", "1");
        tb_check("101101", "0");
        tb_check("101110", "0");
        tb_check("101111", "0");
        tb_check("110000", "1");
        tb_check("110001", "1");
        tb_check("110010", "1");
        tb_check("110011", "1");
        tb_check("110100", "1");
        tb_check("110101", "1");
        tb_check("110110", "0");
        tb_check("110111", "0");
        tb_check("111000", "1");
        tb_check("111001", "1");
        tb_check("111010", "1");
        tb_check("111011", "1");
        tb_check("111100", "1");
        tb_check("111101", "1");
        tb_check("111110", "1");
        tb_check("111111", "0");
        write(tb_line, string'("PASS"));
        writeline(output, tb_line);
        wait;
    end process;
end architecture test;
