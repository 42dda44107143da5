# What the minimizer benchmarks share, read by each with `. common.sh DEFAULT_BUILD "$@"`: the
# program and the benchmark folder from the command line (defaults: DEFAULT_BUILD/bin/quor_esp,
# ../shared/bench), a scratch folder removed on exit, and one timed, verified run.
export LC_ALL=C  # a decimal point in $EPOCHREALTIME, whatever the user's locale
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
esp=${2:-$here/$1/bin/quor_esp}
bench=${3:-$here/../shared/bench}
[ -x "$esp" ] || { echo "no quor_esp at $esp (build it first)" >&2; exit 2; }
[ -d "$bench/pla" ] || { echo "no benchmark folder $bench/pla" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bad=0

# Sets cu to the processor time (user) of the shell's finished children so far, in seconds.
# Called in the shell itself, not in $(...): a subshell would count its own children.
children_user() {
  local line m s
  times >"$work/.times"
  line=$(tail -n 1 "$work/.times"); line=${line%% *}
  m=${line%%m*}; s=${line#*m}; s=${s%s}
  cu=$(echo "$m * 60 + $s" | bc)
}

# run_verified NAME PLA OPTION...: minimizes PLA into $work/NAME.out (messages in $work/NAME.err)
# and checks the result against it. Sets secs (the shell's own clock: a `date` process on each
# side would add its start-up), usecs (processor time of the minimizing run: on a busy machine
# the one to compare) and check; a wrong or failed run counts in bad and returns 1.
run_verified() {
  local name=$1 pla=$2 start end ustart
  shift 2
  children_user; ustart=$cu
  start=$EPOCHREALTIME
  if ! "$esp" "$@" -o "$work/$name.out" "$pla" 2>"$work/$name.err"; then
    secs=-; usecs=-; check="FAILED: $(cat "$work/$name.err")"; bad=$((bad+1))
    return 1
  fi
  end=$EPOCHREALTIME
  secs=$(echo "$end - $start" | bc)
  children_user; usecs=$(echo "$cu - $ustart" | bc)
  if "$esp" --verify "$pla" "$work/$name.out" 2>"$work/$name.ver"; then check=ok; else check="WRONG: $(cat "$work/$name.ver")"; bad=$((bad+1)); fi
}
