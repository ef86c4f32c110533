#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANIC_TESTS=OFF
exec "$root/build/release/cli/trelvanic-cli" record "$@"
