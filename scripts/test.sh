#!/usr/bin/env bash
# Installs what is missing, builds the release and the sanitizer trees and runs every test,
# then runs each fuzz target for a minute.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Tests on explicitly: a tree configured without them keeps that in its cache.
"$root/scripts/build.sh" build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANIC_TESTS=ON
"$root/scripts/build.sh" build/asan -DCMAKE_BUILD_TYPE=Debug -DTRELVANIC_SANITIZE=ON -DTRELVANIC_TESTS=ON
export QT_QPA_PLATFORM=offscreen
echo "== release tests"
ctest --test-dir "$root/build/release" -j"$(nproc)" --output-on-failure --no-tests=error
echo "== AddressSanitizer + UndefinedBehaviorSanitizer tests"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build/asan" -j"$(nproc)" --output-on-failure --no-tests=error
echo "== fuzz targets (clang, libFuzzer)"
"$root/scripts/fuzz.sh"
