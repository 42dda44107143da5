#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a short time from its seeds, after
# replaying the inputs of earlier findings. Fails on any crash, leak, timeout or sanitizer report.
#   fuzz/run.sh [BUILD_DIR]      (FUZZ_SECONDS per target, default 60)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build-fuzz}")"
seconds="${FUZZ_SECONDS:-60}"
cxx="${FUZZ_CXX:-$(command -v clang++-14 || command -v clang++)}"

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" -j2

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"

failed=0
for target in table pla gate_library config answer run; do
  program="$build/bin/fuzz_$target"
  work="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$work" "$artifacts"
  seeds=("$root/fuzz/corpus/$target")
  # The bench tables lie beside the clone; the target skips those too large for one execution.
  if [ "$target" = pla ] && [ -d "$root/../shared/bench/pla" ]; then seeds+=("$root/../shared/bench/pla"); fi

  if [ -d "$root/fuzz/regressions/$target" ] && [ -n "$(ls -A "$root/fuzz/regressions/$target")" ]; then
    echo "== fuzz_$target: replaying earlier findings"
    if ! "$program" -runs=1 "$root/fuzz/regressions/$target"/*; then failed=1; fi
  fi

  echo "== fuzz_$target: ${seconds}s"
  log="$build/fuzz_$target.log"
  if "$program" "$work" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len=16384 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+.*DONE' "$log" | sed "s/^/fuzz_$target: /"
  else
    failed=1
    tail -60 "$log"
    echo "fuzz_$target FAILED; the input is in $artifacts (keep it under fuzz/regressions/$target)"
  fi
done
exit $failed
