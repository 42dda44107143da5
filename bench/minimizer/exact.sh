#!/usr/bin/env bash
# Exact-mode benchmark: runs quor_esp --exact --stats on the functions whose minimum cube count
# is known, verifies each result against the original table and prints cubes and seconds
# beside the target. Exits non-zero when a result is wrong, missing, or misses its target.
# usage: bench/minimizer/exact.sh [QUOR_ESP] [BENCH_DIR]   (default: build-exact/bin/quor_esp, ../shared/bench)
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
esp=${1:-$here/build-exact/bin/quor_esp}
bench=${2:-$here/../shared/bench}
[ -x "$esp" ] || { echo "no quor_esp at $esp (build it first)" >&2; exit 2; }
[ -d "$bench/pla" ] || { echo "no benchmark folder $bench/pla" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
targets="5xp1:63 9sym:84 Z9sym:84 b12:41 clip:117 apex4:427 cps:157 bw:22 con1:9 duke2:86"
printf '%-8s %6s %6s %8s  %-7s %s\n' name cubes target seconds exact check
bad=0; missed=0; total=0
for t in $targets; do
  name=${t%%:*}; target=${t#*:}
  f=$bench/pla/$name.pla
  start=$(date +%s.%N)
  if "$esp" --exact --stats -o "$work/$name.out" "$f" 2>"$work/$name.err"; then
    end=$(date +%s.%N)
    secs=$(echo "$end - $start" | bc)
    cubes=$(sed -n 's/^cubes \([0-9]*\) .*/\1/p' "$work/$name.err")
    if grep -q 'exact minimization gave up' "$work/$name.err"; then exact="gave-up"; else exact=proven; fi
    if "$esp" --verify "$f" "$work/$name.out" 2>"$work/$name.ver"; then check=ok; else check="WRONG: $(cat "$work/$name.ver")"; bad=$((bad+1)); fi
  else
    secs=0; cubes=-; exact=-; check="FAILED: $(cat "$work/$name.err")"; bad=$((bad+1))
  fi
  if [ "$cubes" = - ] || [ "$exact" != proven ] || [ "$cubes" -ne "$target" ]; then
    missed=$((missed+1)); check="$check (target missed)"
  fi
  total=$(echo "$total + $secs" | bc)
  printf '%-8s %6s %6s %8.2f  %-7s %s\n' "$name" "$cubes" "$target" "$secs" "$exact" "$check"
done
printf 'total seconds %.2f; wrong or failed: %d; target missed: %d\n' "$total" "$bad" "$missed"
[ "$bad" -eq 0 ] && [ "$missed" -eq 0 ]
