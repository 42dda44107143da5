#!/usr/bin/env bash
# Writes the Verilog and VHDL designs of every table in examples/ with the built program, using
# the flip-flop type that each state table names in its first comment line. The testbenches are
# program output that anyone can make again, so they are kept only when a folder is given for them.
# Usage: hdl/regenerate-examples.sh [BUILD_DIR [TESTBENCH_DIR]]   (default: build, no testbenches)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
quorlet=$(cd "${1:-$root/build}" && pwd)/bin/quorlet
testbenches=""
if [ $# -ge 2 ]; then mkdir -p "$2" && testbenches=$(cd "$2" && pwd); fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for table in "$root"/examples/*.tbl; do
  name=$(basename "$table" .tbl)
  flipflops=$(head -1 "$table" | sed -n "s/.*quorlet $name\.tbl \([A-Z]*\).*/\1/p")
  cp "$table" "$work/"
  (cd "$work" && "$quorlet" --cover=dc --verilog --vhdl "$name.tbl" $flipflops >/dev/null)
  for ext in .v .vhd; do cp "$work/$name$ext" "$root/examples/"; done
  if [ -n "$testbenches" ]; then
    for ext in _tb.v _tb.vhd; do cp "$work/$name$ext" "$testbenches/"; done
  fi
done
