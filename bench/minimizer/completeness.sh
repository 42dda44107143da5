#!/usr/bin/env bash
# Completeness check benchmark: wide tables of scattered minterms (40 inputs, 40 outputs, fixed
# seeds), each output 0 or 1 or left open ("."), run whole through `quorlet --cover=dc`, whose
# check step minimizes the complement of the rows (quor_esp -pos). Each table's check table is
# also given to quor_esp -pos alone and the missing cover verified. Per class it prints the
# count of tables, the missing cubes, and the processor time of the whole runs (total, worst).
# usage: bench/minimizer/completeness.sh [BUILD_DIR]   (default: build-min)
set -u
export LC_ALL=C
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build-min}
[ -d "$build" ] && build=$(cd "$build" && pwd)  # the runs happen in a scratch folder
quorlet=$build/bin/quorlet
esp=$build/bin/quor_esp
[ -x "$quorlet" ] && [ -x "$esp" ] || { echo "no quorlet or quor_esp in $build/bin (build them first)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bad=0

# table SEED ROWS OPEN_PERCENT: writes $work/t.tbl and its check table $work/chk.pla.
table() {
  RANDOM=$1
  local rows=$2 open=$3 k i j in out chk
  {
    echo "TABLE WIDE"
    printf 'INPUT'; for ((i = 0; i < 40; i++)); do printf ' I%d' "$i"; done; echo
    printf 'OUTPUT'; for ((j = 0; j < 40; j++)); do printf ' O%d' "$j"; done; echo
  } > "$work/t.tbl"
  printf '.i 40\n.o 40\n.type f\n.p %d\n' "$rows" > "$work/chk.pla"
  for ((k = 0; k < rows; k++)); do
    in=; out=; chk=
    for ((i = 0; i < 40; i++)); do in+=$((RANDOM % 2)); done
    for ((j = 0; j < 40; j++)); do
      if ((RANDOM % 100 < open)); then out+=.; chk+='~'; else out+=$((RANDOM % 2)); chk+=1; fi
    done
    echo "$in $out" >> "$work/t.tbl"
    echo "$in $chk" >> "$work/chk.pla"
  done
  echo END >> "$work/t.tbl"
  echo .e >> "$work/chk.pla"
}

printf '%-24s %5s %8s %9s %9s\n' class count missing "cpu s" worst
for class in "30 0" "30 30" "10 0" "60 0" "30 70"; do
  set -- $class
  rows=$1 open=$2 n=0 missing=0 total=0 worst=0
  for seed in 1 2 3; do
    table "$((seed * 1000 + rows * 10 + open))" "$rows" "$open"
    # Processor time of the whole run, children included (quor_esp runs as a child).
    (cd "$work" && /usr/bin/time -o cpu.txt -f '%U %S' "$quorlet" --cover=dc t.tbl > run.txt 2>&1)
    secs=$(awk 'END {print $1 + $2}' "$work/cpu.txt")
    if ! grep -q "MINIMIZATION RESULT STATISTICS" "$work/t.min" 2>/dev/null; then
      echo "FAILED rows $rows open $open seed $seed: $(tail -2 "$work/run.txt")"; bad=$((bad + 1))
    fi
    if "$esp" -o "$work/chk.out" -pos "$work/chk.pla" 2>"$work/err" &&
       "$esp" --verify "$work/chk.pla" "$work/chk.out" -pos 2>"$work/ver"; then
      missing=$((missing + $(grep -c '^[-01]' "$work/chk.out")))
    else
      echo "WRONG rows $rows open $open seed $seed: $(cat "$work/err" "$work/ver")"; bad=$((bad + 1))
    fi
    n=$((n + 1)); total=$(echo "$total + $secs" | bc)
    if [ "$(echo "$secs > $worst" | bc)" = 1 ]; then worst=$secs; fi
  done
  printf '%-24s %5d %8d %9.2f %9.2f\n' "rows $rows, ${open}% open" "$n" "$missing" "$total" "$worst"
done
echo "wrong or failed: $bad"
[ "$bad" -eq 0 ]
