#!/usr/bin/env bash
# Answer-check benchmark: 200 answer files graded against one table in one `quorlet --check`
# call; prints the processor and wall time and the grading tally. The table (8 inputs, 4
# outputs, with don't-cares and open points) and the answers are generated afresh each time:
# a quarter are the run's own equations files, a quarter the same equations with signal names,
# the rest random sums of products of several kinds (mostly wrong).
# usage: bench/check/run.sh [QUORLET] [ANSWERS]   (default: build/bin/quorlet, 200)
set -u
export LC_ALL=C
here=$(cd "$(dirname "$0")/../.." && pwd)
quorlet=${1:-$here/build/bin/quorlet}
count=${2:-200}
[ -x "$quorlet" ] || { echo "no quorlet at $quorlet (build it first)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2

awk -v seed=20 'BEGIN {
  srand(seed); n = 8
  print "TABLE BENCH"; print "INPUT A B C D E F G H"; print "OUTPUT W X Y Z"
  for (p = 0; p < 2^n; p++) {
    v = ""; for (i = n - 1; i >= 0; i--) v = v (int(p / 2^i) % 2)
    o = ""; for (j = 0; j < 4; j++) { r = rand(); o = o (r < .4 ? "1" : r < .8 ? "0" : r < .9 ? "-" : ".") }
    if (o != "....") print v, o
  }
  print "END" }' > bench.tbl
"$quorlet" --cover=dc /E bench.tbl > /dev/null || { echo "the table did not minimize" >&2; exit 1; }
sed -n '/MINIMIZED EQUATIONS/,$p' bench.equ | sed '1d' |
  sed 's/\([A-H]\)/ \1/g; s/^W/W/' > named.txt   # letters are the names here; blanks between them

answers=()
for ((k = 0; k < count; k++)); do
  f=answer$k.txt
  case $((k % 4)) in
    0) cp bench.equ "$f" ;;
    1) cp named.txt "$f" ;;
    *) awk -v seed=$k 'BEGIN {
         srand(seed); split("A B C D E F G H", in_, " "); split("W X Y Z", out, " ")
         for (j = 1; j <= 4; j++) {
           line = out[j] " ="; t = 3 + int(rand() * 10)
           for (k = 0; k < t; k++) {
             term = ""
             for (i = 1; i <= 8; i++) { r = rand(); if (r < .25) term = term " " in_[i]; else if (r < .5) term = term " " in_[i] "'"'"'" }
             if (term == "") term = " 1"
             line = line (k ? " +" : "") term
             if (k % 4 == 3) { print line; line = "   " }
           }
           print line
         } }' > "$f" ;;
  esac
  answers+=("$f")
done

TIMEFORMAT='%U %S %R'
{ time "$quorlet" --check "${answers[@]}" --csv grades.csv -- bench.tbl > verdicts.txt; } 2> times.txt
status=$?
read -r user sys real < times.txt
correct=$(grep -c ',CORRECT,' grades.csv)
wrong=$(grep -c ',WRONG,' grades.csv)
missing=$(grep -c ',MISSING,' grades.csv)
printf 'answers %d, functions graded %d: correct %d, wrong %d, missing %d (exit status %d)\n' \
  "$count" $((correct + wrong + missing)) "$correct" "$wrong" "$missing" "$status"
printf 'processor time %.3f s (user %.3f, system %.3f), wall time %.3f s\n' "$(echo "$user + $sys" | bc)" "$user" "$sys" "$real"
# Every answer of the run's own equations must be correct.
own=$(awk -F, '$1 ~ /^answer[0-9]+\.txt$/ { split($1, a, /answer|\.txt/); if (a[2] % 4 < 2 && $3 != "CORRECT") bad++ } END { print bad + 0 }' grades.csv)
[ "$own" -eq 0 ] || { echo "the run's own equations were not all correct ($own functions)" >&2; exit 1; }
