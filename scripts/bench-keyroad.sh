#!/usr/bin/env bash
# Benchmark, not a test: a passed key's SendInput-to-arrival time through another
# program's low-level hook, with Qorn's hook (255 global bindings, none on the key)
# and without it, side by side in one run under wine. scripts/bench-keyroad.sh [KEYS]
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
cd "$qorn_root"
cmake --build --preset windows -j4 --target bench_keyroad bare_hook Qorn Tenvora qorn_dist >/dev/null 2>&1 ||
  cmake --build --preset windows -j4 >/dev/null
qorn_start_display
qorn_start_wine
work="$(mktemp -d /tmp/qorn-bench.XXXXXX)"
trap 'rm -rf "$work"; qorn_stop_env' EXIT
bin="$qorn_root/build/windows/bin"
wine "$bin/bench_keyroad.exe" "Z:$qorn_root/build/windows/dist" "Z:$work" "${1:-400}"
