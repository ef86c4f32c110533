#!/usr/bin/env bash
# Installs what is missing, builds the release and the sanitizer trees and runs every test,
# then runs each fuzz target for a minute.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
"$root/scripts/build.sh" build/asan -DCMAKE_BUILD_TYPE=Debug -DTRELVANIC_SANITIZE=ON
export QT_QPA_PLATFORM=offscreen
echo "== release tests"
ctest --test-dir "$root/build/release" -j"$(nproc)" --output-on-failure
echo "== AddressSanitizer + UndefinedBehaviorSanitizer tests"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build/asan" -j"$(nproc)" --output-on-failure
echo "== fuzz targets (clang, libFuzzer)"
"$root/scripts/fuzz.sh"
