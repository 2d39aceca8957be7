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
exec wine "$@"
