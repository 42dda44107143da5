#!/usr/bin/env bash
# Exact-mode benchmark: runs quor_esp --exact --stats on the functions whose minimum cube count
# is known, verifies each result against the original table and prints cubes and seconds
# beside the target. Exits non-zero when a result is wrong, missing, or misses its target.
# usage: bench/minimizer/exact.sh [QUOR_ESP] [BENCH_DIR]   (default: build-exact/bin/quor_esp, ../shared/bench)
set -u
. "$(dirname "$0")/common.sh" build-exact "$@"
targets="5xp1:63 9sym:84 Z9sym:84 b12:41 clip:117 apex4:427 cps:157 bw:22 con1:9 duke2:86"
printf '%-8s %6s %6s %8s  %-7s %s\n' name cubes target seconds exact check
missed=0; total=0
for t in $targets; do
  name=${t%%:*}; target=${t#*:}
  f=$bench/pla/$name.pla
  if run_verified "$name" "$f" --exact --stats; then
    cubes=$(sed -n 's/^cubes \([0-9]*\) .*/\1/p' "$work/$name.err")
    if grep -q 'exact minimization gave up' "$work/$name.err"; then exact="gave-up"; else exact=proven; fi
  else
    secs=0; cubes=-; exact=-
  fi
  if [ "$cubes" = - ] || [ "$exact" != proven ] || [ "$cubes" -ne "$target" ]; then
    missed=$((missed+1)); check="$check (target missed)"
  fi
  total=$(echo "$total + $secs" | bc)
  printf '%-8s %6s %6s %8.2f  %-7s %s\n' "$name" "$cubes" "$target" "$secs" "$exact" "$check"
done
printf 'total seconds %.2f; wrong or failed: %d; target missed: %d\n' "$total" "$bad" "$missed"
[ "$bad" -eq 0 ] && [ "$missed" -eq 0 ]
