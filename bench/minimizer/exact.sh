#!/usr/bin/env bash
# Exact-mode benchmark: runs quor_esp --exact --stats on the functions whose minimum cube count
# is known, verifies each result against the original table and prints cubes and seconds
# beside the target. Exits non-zero when a result is wrong, missing, or misses its target.
# usage: bench/minimizer/exact.sh [QUOR_ESP] [BENCH_DIR]   (default: build-exact/bin/quor_esp, ../shared/bench)
set -u
. "$(dirname "$0")/common.sh" build-exact "$@"
# Every function of the folder whose minimum is proven, with that minimum.
targets="5xp1:63 9sym:84 Z5xp1:63 Z9sym:84 alu4:575 apex1:206 apex2:1035 apex3:280 apex4:427 b12:41 bw:22
clip:117 con1:9 cordic:914 cps:157 duke2:86 e64:65 ex4:279 inc:29 misex1:12 misex2:28 o64:65 pdc:96 rd53:31 rd73:127
rd84:255 sao2:58 seq:334 spla:248 squar5:25 t481:481 table3:175 table5:158 vg2:110 xor5:16"
printf '%-8s %6s %6s %8s %8s  %-7s %s\n' name cubes target seconds user exact check
missed=0; total=0; utotal=0
for t in $targets; do
  name=${t%%:*}; target=${t#*:}
  f=$bench/pla/$name.pla
  if run_verified "$name" "$f" --exact --stats; then
    cubes=$(sed -n 's/^cubes \([0-9]*\) .*/\1/p' "$work/$name.err")
    if grep -q 'exact minimization gave up' "$work/$name.err"; then exact="gave-up"; else exact=proven; fi
  else
    secs=0; usecs=0; cubes=-; exact=-
  fi
  if [ "$cubes" = - ] || [ "$exact" != proven ] || [ "$cubes" -ne "$target" ]; then
    missed=$((missed+1)); check="$check (target missed)"
  fi
  total=$(echo "$total + $secs" | bc); utotal=$(echo "$utotal + $usecs" | bc)
  printf '%-8s %6s %6s %8.2f %8.2f  %-7s %s\n' "$name" "$cubes" "$target" "$secs" "$usecs" "$exact" "$check"
done
printf 'total seconds %.2f (user %.2f); proven at target: %d of %d; wrong or failed: %d; target missed: %d\n' \
  "$total" "$utotal" $(( $(echo $targets | wc -w) - missed )) "$(echo $targets | wc -w)" "$bad" "$missed"
[ "$bad" -eq 0 ] && [ "$missed" -eq 0 ]
