#!/usr/bin/env bash
# Writes the Verilog and VHDL (with testbenches) of every table in examples/ with the built
# program, using the flip-flop type that each state table names in its first comment line.
# Usage: hdl/regenerate-examples.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
quorlet=$(cd "${1:-$root/build}" && pwd)/bin/quorlet
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for table in "$root"/examples/*.tbl; do
  name=$(basename "$table" .tbl)
  flipflops=$(head -1 "$table" | sed -n "s/.*quorlet $name\.tbl \([A-Z]*\).*/\1/p")
  cp "$table" "$work/"
  (cd "$work" && "$quorlet" --cover=dc --verilog --vhdl "$name.tbl" $flipflops >/dev/null)
  for ext in .v _tb.v .vhd _tb.vhd; do cp "$work/$name$ext" "$root/examples/"; done
done
