#!/usr/bin/env bash
# Minimizer benchmark: runs quor_esp on every benchmark function, verifies each result and
# prints cubes, literals and seconds beside the reference figures.
# usage: bench/minimizer/run.sh [QUOR_ESP] [BENCH_DIR]   (default: build-min/bin/quor_esp, ../shared/bench)
set -u
export LC_ALL=C  # a decimal point in $EPOCHREALTIME, whatever the user's locale
here=$(cd "$(dirname "$0")/../.." && pwd)
esp=${1:-$here/build-min/bin/quor_esp}
bench=${2:-$here/../shared/bench}
[ -x "$esp" ] || { echo "no quor_esp at $esp (build it first)" >&2; exit 2; }
[ -d "$bench/pla" ] || { echo "no benchmark folder $bench/pla" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%-8s %6s %7s %8s   %6s %8s  %s\n' name cubes lits seconds refcub refsec check
tc=0; tl=0; ts=0; trc=0; trs=0; bad=0; over=0; done_=0
for f in "$bench"/pla/*.pla; do
  name=$(basename "$f" .pla)
  ref=$(awk -F'\t' -v n="$name" '$1==n {print $5" "$6}' "$bench/reference.tsv")
  rc=${ref% *}; rs=${ref#* }
  # The shell's own clock: a `date` process on each side would add its start-up to the time.
  start=$EPOCHREALTIME
  if "$esp" -o "$work/$name.out" --stats "$f" 2>"$work/$name.err"; then
    end=$EPOCHREALTIME
    secs=$(echo "$end - $start" | bc)
    cubes=$(sed -n 's/^cubes \([0-9]*\) literals \([0-9]*\).*/\1/p' "$work/$name.err")
    lits=$(sed -n 's/^cubes \([0-9]*\) literals \([0-9]*\).*/\2/p' "$work/$name.err")
    if "$esp" --verify "$f" "$work/$name.out" 2>"$work/$name.ver"; then check=ok; else check="WRONG: $(cat "$work/$name.ver")"; bad=$((bad+1)); fi
    done_=$((done_+1))
  else
    secs=-; cubes=-; lits=-; check="FAILED: $(cat "$work/$name.err")"; bad=$((bad+1))
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
