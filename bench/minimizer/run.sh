#!/usr/bin/env bash
# Minimizer benchmark: runs quor_esp on every benchmark function, verifies each result and
# prints cubes, literals and seconds beside the reference figures.
# usage: bench/minimizer/run.sh [QUOR_ESP] [BENCH_DIR]   (default: build-min/bin/quor_esp, ../shared/bench)
set -u
. "$(dirname "$0")/common.sh" build-min "$@"
printf '%-8s %6s %7s %8s   %6s %8s  %s\n' name cubes lits seconds refcub refsec check
tc=0; tl=0; ts=0; trc=0; trs=0; over=0; done_=0
for f in "$bench"/pla/*.pla; do
  name=$(basename "$f" .pla)
  ref=$(awk -F'\t' -v n="$name" '$1==n {print $5" "$6}' "$bench/reference.tsv")
  rc=${ref% *}; rs=${ref#* }
  if run_verified "$name" "$f" --stats; then
    cubes=$(sed -n 's/^cubes \([0-9]*\) literals \([0-9]*\).*/\1/p' "$work/$name.err")
    lits=$(sed -n 's/^cubes \([0-9]*\) literals \([0-9]*\).*/\2/p' "$work/$name.err")
    done_=$((done_+1))
  else
    cubes=-; lits=-
  fi
  flag=""
  if [ "$rc" != none ] && [ "$cubes" != - ]; then
    tc=$((tc+cubes)); tl=$((tl+lits)); ts=$(echo "$ts + $secs" | bc); trc=$((trc+rc)); trs=$(echo "$trs + $rs" | bc)
    if [ $((cubes*100)) -gt $((rc*101)) ]; then flag=" (>1% over)"; over=$((over+1)); fi
  fi
  printf '%-8s %6s %7s %8.3f   %6s %8s  %s%s\n' "$name" "$cubes" "$lits" "${secs/-/0}" "$rc" "$rs" "$check" "$flag"
done
printf 'total over the functions with a reference: cubes %d (reference %d), literals %d, seconds %.3f (reference %.3f)\n' "$tc" "$trc" "$tl" "$ts" "$trs"
printf 'finished and verified: %d of %d; wrong or failed: %d; over 1%%: %d\n' "$done_" "$(ls "$bench"/pla/*.pla | wc -l)" "$bad" "$over"
[ "$bad" -eq 0 ]
