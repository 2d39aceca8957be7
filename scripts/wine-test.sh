#!/usr/bin/env bash
# Runs the Windows tests (ctest arguments pass through) under a display, a
# wineserver and a network of this run's own: scripts/wine-test.sh -R core/
# With --suite LOG (the test command) it runs all of them in shards side by side
# and checks the run is whole (scripts/wine-suite.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" = --suite ]; then
  exec "$here/wine-suite.sh" "$2"
fi
[ -n "${QORN_NET:-}" ] || exec "$here/private-net.sh" "$0" "$@"
source "$here/wine-env.sh"
qorn_start_display
qorn_start_wine
cd "$qorn_root"
# Wine closes the session's desktop a second after its last program ends; a test
# starting then could make no window. One program holds it open for the whole run
# (it ends with the wineserver).
keeper=$qorn_root/build/windows/bin/desktop_keeper.exe
[ -f "$keeper" ] && { wine "$keeper" >/dev/null 2>&1 & }
ctest --preset windows "$@"
