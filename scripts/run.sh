#!/usr/bin/env bash
# Set-up, the Windows build, then Qorn under wine: on $DISPLAY when set, else on
# a private Xvfb display, where a screenshot is saved after start-up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target dist
dist=$root/build/windows/dist

source "$root/scripts/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  qorn_start_display
  qorn_start_wine
  wine "$dist/Qorn.exe" &
  qorn_pid=$!
  sleep 8
  shot=$root/build/windows/screenshots/qorn-run.png
  mkdir -p "$(dirname "$shot")"
  import -display "$DISPLAY" -window root "$shot" && echo "Qorn runs on the private display $DISPLAY; screenshot: $shot"
  echo "Press Enter to stop Qorn."
  read -r _ || true
  kill "$qorn_pid" 2>/dev/null || true
else
  qorn_start_wine
  echo "Qorn starts on $DISPLAY; close it from its window or tray menu."
  wine "$dist/Qorn.exe"
fi
