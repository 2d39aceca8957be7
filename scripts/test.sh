#!/usr/bin/env bash
# Set-up, both builds, every test: the Windows tests under wine on a private
# display, then the native tests (sanitizers, short fuzz runs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
phase_start=$SECONDS
phase() { echo "== $1: $((SECONDS - phase_start)) s"; phase_start=$SECONDS; }

"$root/scripts/setup.sh"
phase "setup"

cmake --preset windows >/dev/null
cmake --build --preset windows
phase "windows build"

cmake --preset native >/dev/null
cmake --build --preset native
phase "native build"

logs=$root/build/test-logs
mkdir -p "$logs"
status=0
ctest --preset native 2>&1 | tee "$logs/native.log" || status=1
phase "native tests"

source "$root/scripts/wine-env.sh"
qorn_start_display
qorn_start_wine
phase "wine start"
ctest --preset windows 2>&1 | tee "$logs/windows.log" || status=1
phase "windows tests"
echo "== total: $SECONDS s"

# Both summaries last: native, then the Windows one closes the output.
for f in native windows; do
  echo "-- $f tests:"
  grep -E '^[0-9]+% tests passed' "$logs/$f.log" || echo "no ctest summary in $logs/$f.log"
done
exit $status
