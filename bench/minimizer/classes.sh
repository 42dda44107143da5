#!/usr/bin/env bash
# Minimizer benchmark by class: the generated random functions (quor_gen_functions, fixed
# seeds), ../shared/bench/pla and ../shared/bench/wide. Every result is verified; per class it
# prints the count of functions, the cubes, the total and the worst time (and which function).
# With -v it also prints a line per function.
# usage: bench/minimizer/classes.sh [-v] [BUILD_DIR] [BENCH_DIR]   (default: build-min, ../shared/bench)
set -u
export LC_ALL=C  # a decimal point in $EPOCHREALTIME, whatever the user's locale
verbose=0
[ "${1:-}" = -v ] && { verbose=1; shift; }
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build-min}
bench=${2:-$here/../shared/bench}
esp=$build/bin/quor_esp
gen=$build/bin/quor_gen_functions
[ -x "$esp" ] || { echo "no quor_esp at $esp (build it first)" >&2; exit 2; }
[ -x "$gen" ] || { echo "no quor_gen_functions at $gen (build it first)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$gen" "$work/gen" || exit 2
bad=0

# One class: the files given, each minimized, verified and timed.
run_class() {
  local class=$1; shift
  local n=0 cubes=0 total=0 worst=0 worstName=-
  for f in "$@"; do
    local name start end secs c
    name=$(basename "$f" .pla)
    start=$EPOCHREALTIME
    if "$esp" -o "$work/out.pla" --stats "$f" 2>"$work/err"; then
      end=$EPOCHREALTIME
      secs=$(echo "$end - $start" | bc)
      c=$(sed -n 's/^cubes \([0-9]*\) .*/\1/p' "$work/err")
      if ! "$esp" --verify "$f" "$work/out.pla" 2>"$work/ver"; then
        echo "WRONG $name: $(cat "$work/ver")"; bad=$((bad+1))
      fi
    else
      secs=0; c=0; echo "FAILED $name: $(cat "$work/err")"; bad=$((bad+1))
    fi
    [ "$verbose" = 1 ] && printf '  %-22s %6s cubes %8.3f s\n' "$name" "$c" "$secs"
    n=$((n+1)); cubes=$((cubes+c)); total=$(echo "$total + $secs" | bc)
    if [ "$(echo "$secs > $worst" | bc)" = 1 ]; then worst=$secs; worstName=$name; fi
  done
  printf '%-16s %5d %8d %9.3f %9.3f  %s\n' "$class" "$n" "$cubes" "$total" "$worst" "$worstName"
}

printf '%-16s %5s %8s %9s %9s  %s\n' class count cubes seconds worst "worst function"
while IFS=$'\t' read -r class count what; do
  run_class "$class" "$work"/gen/"$class"-*.pla
done < <("$gen" --list)
run_class shared-wide "$bench"/wide/*.pla
run_class shared-pla "$bench"/pla/*.pla
echo "wrong or failed: $bad"
[ "$bad" -eq 0 ]
