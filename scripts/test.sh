#!/usr/bin/env bash
# Set-up, both builds, every test: the native tests (sanitizers, fuzz runs) and
# beside them the Windows tests under wine, in shards on displays, wineservers
# and networks of their own.
# Fails when a test fails, when a run is not the whole suite or skipped a test,
# and when the builds or tests left the checkout changed (build/ aside).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source "$root/scripts/test-checks.sh"
phase_start=$SECONDS
phase() { echo "== $1: $((SECONDS - phase_start)) s"; phase_start=$SECONDS; }
tree_before=$(qorn_tree_state "$root")

"$root/scripts/setup.sh"
phase "setup"

cmake --preset windows >/dev/null
cmake --build --preset windows
phase "windows build"

cmake --preset native >/dev/null
cmake --build --preset native
phase "native build"

logs=$root/build/test-logs
rm -rf "$logs"
mkdir -p "$logs"
status=0
# The native tests (sanitizers, fuzz runs: busy cores) and the Windows tests
# (mostly waiting on windows and timers) run side by side; each one's output is
# shown whole when it ends, the native first.
qorn_run_preset "$root" native "$logs/native.log" >"$logs/native.out" 2>&1 &
native_pid=$!
"$root/scripts/wine-test.sh" --suite "$logs/windows.log" >"$logs/windows.out" 2>&1 &
windows_pid=$!
wait $native_pid || status=1
cat "$logs/native.out"
wait $windows_pid || status=1
cat "$logs/windows.out"
phase "native and windows tests"

tree_after=$(qorn_tree_state "$root")
if [ "$tree_before" != "$tree_after" ]; then
  echo "!! the build or the tests changed the checkout (build/ aside):"
  diff <(echo "$tree_before") <(echo "$tree_after") | sed -n 's/^[<>] /   /p' || true
  status=1
fi
echo "== total: $SECONDS s"

# Both summaries last: native, then the Windows one closes the output.
for f in native windows; do
  echo "-- $f tests:"
  grep -E '^[0-9]+% tests passed|^!! ' "$logs/$f.log" || echo "no ctest summary in $logs/$f.log"
done
[ $status -eq 0 ] && echo "== all passed" || echo "== FAILED"
exit $status
