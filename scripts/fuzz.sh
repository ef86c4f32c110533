#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a fixed time, starting from its
# committed seeds (tests/fuzz/corpus). New inputs are kept only for the run;
# a failing input is saved under build/fuzz and fails the script.
#   scripts/fuzz.sh [SECONDS per target]   (default: $TRELVANIC_FUZZ_SECONDS or 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${TRELVANIC_FUZZ_SECONDS:-60}}
dir=$root/build/fuzz
targets=(engine_fuzz record_fuzz document_server_fuzz)

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRELVANIC_FUZZ=ON -DTRELVANIC_SANITIZE=ON >/dev/null
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in "${targets[@]}"; do
  mkdir -p "$work/$target"
  # -max_len above the engine's 5420-byte limit, so that too long inputs are tried too.
  if ! "$dir/tests/fuzz/$target" -max_total_time="$seconds" -max_len=6000 -print_final_stats=1 \
      -artifact_prefix="$dir/$target-" "$work/$target" "$root/tests/fuzz/corpus/$target" \
      >"$work/$target.log" 2>&1; then
    status=1
    grep -v '^INFO:\|^#[0-9]' "$work/$target.log" | tail -60
    echo "$target: FAILED, the input is saved as $dir/$target-*"
    continue
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log")
  added=$(sed -n 's/^stat::new_units_added: *//p' "$work/$target.log")
  echo "$target: $executions executions in ${seconds}s, $added new inputs, no failure"
done
exit $status
