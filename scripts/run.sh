#!/usr/bin/env bash
# Installs what is missing, builds the program and opens its window. With no
# display to show it on, it runs on a virtual one (Xvfb).
# A tree of its own: built without tests, it must not switch them off in the
# release tree that scripts/test.sh runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" build/run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANIC_TESTS=OFF
program="$root/build/run/app/trelvanic"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$program" "$@"
fi
exec "$program" "$@"
