#!/usr/bin/env bash
# Installs what is missing, builds the program and opens its window. With no
# display to show it on, it runs on a virtual one (Xvfb).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANIC_TESTS=OFF
program="$root/build/release/app/trelvanic"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$program" "$@"
fi
exec "$program" "$@"
