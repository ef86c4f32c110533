#!/usr/bin/env bash
# Installs what is missing, builds the benchmark (Release) and runs our engine
# beside its peer library: medians and the peer/engine ratio per input, then
# instructions per encoding under callgrind, which are stable on a busy machine.
#   bash scripts/bench.sh [Google Benchmark flags]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTRELVANIC_BENCH=ON -DTRELVANIC_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target pdf417_bench
bench="$build/bench/pdf417_bench"

echo "== $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
"$bench" "$@"

loops=20
echo
echo "== instructions per encoding (callgrind, mean of $loops warm encodings)"
read -r -a encoders <<<"$("$bench" --list | sed -n 's/^encoders: //p')"
read -r -a inputs <<<"$("$bench" --list | sed -n 's/^inputs: //p')"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
printf '| input |'; printf ' %s |' "${encoders[@]}"; printf ' %s / %s |\n|---|' "${encoders[1]}" "${encoders[0]}"
printf -- '---|%.0s' "${encoders[@]}"; echo '---|'
for input in "${inputs[@]}"; do
  counts=()
  for encoder in "${encoders[@]}"; do
    valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/cg" \
      "$bench" --loop="$encoder:$input:$loops" >/dev/null 2>&1
    counts+=("$(( $(sed -n 's/^totals: //p' "$out/cg") / loops ))")
  done
  printf '| %s | %s | %s | %s |\n' "$input" "${counts[0]}" "${counts[1]}" \
    "$(awk -v a="${counts[1]}" -v b="${counts[0]}" 'BEGIN { printf "%.1f", a / b }')"
done
