#!/usr/bin/env bash
# Runs one Windows program under wine in Qorn's private prefix and display
# (the ctest emulator). scripts/wine-env.sh starts the display and the
# persistent wineserver; without them this fails at once rather than hang.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=$here/../build/windows/wineprefix}"
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${DISPLAY:-}" ] || [ ! -d "$WINEPREFIX/drive_c" ]; then
  echo "wine-run: no display or wine prefix: run through scripts/wine-test.sh or scripts/test.sh" >&2
  exit 125
fi
# A program that ends badly before it printed anything (seen once on a busy
# machine) leaves an empty test log: its exit code says at least how it ended.
# A stop (ctest's time-out) is passed on to the program.
wine "$@" &
child=$!
trap 'kill -TERM "$child" 2>/dev/null' TERM INT HUP
status=0
wait "$child" || status=$?
[ $status -eq 0 ] || echo "wine-run: ${1##*/} ended with exit code $status" >&2
exit $status
