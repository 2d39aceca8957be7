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
# On a busy machine wine was seen, about once in a few hundred starts, to end a
# program with exit code 1 before it ran a line of it (no output at all). Such a
# program is started once more, and says so; a program that printed anything is
# never started again. The output goes on as it comes (a test stopped for taking
# too long keeps what it printed).
set -o pipefail
out=$(mktemp /tmp/qorn-wine-run-XXXXXX)

# A program that ran its tests and then never ended was seen a few times on a busy
# machine. Shortly before ctest stops it, the runner says which processes of this
# prefix are still there and which of them hold the program's output open (ctest
# waits for that pipe to close, not only for the program).
stuck_report() {
  local pid tee pipes=""
  pipes=$(readlink /proc/$$/fd/1)
  for tee in $(pgrep -P $$ -x tee); do pipes="$pipes|$(readlink /proc/$tee/fd/0)"; done
  echo "wine-run: ${1##*/} still running after ${QORN_STUCK_AFTER:-270} s; the processes of this prefix:"
  for pid in $(grep -lzx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    if ls -l /proc/$pid/fd 2>/dev/null | grep -qE -- "-> (${pipes//[][]/.})\$"; then
      echo "  $(ps -o pid=,stat=,etime=,args= -p "$pid") (holds the output)"
    else
      echo "  $(ps -o pid=,stat=,etime=,args= -p "$pid")"
    fi
  done
}
( sleep "${QORN_STUCK_AFTER:-270}" >/dev/null 2>&1 && stuck_report "$1" ) &
watchdog=$!
trap 'pkill -P $watchdog; kill $watchdog 2>/dev/null; rm -f "$out"' EXIT
for attempt in 1 2; do
  status=0
  wine "$@" 2>&1 | tee "$out" || status=$?
  [ $status -ne 0 ] || exit 0
  if [ $attempt -eq 1 ] && [ ! -s "$out" ]; then
    echo "wine-run: ${1##*/} ended with exit code $status before it printed anything: started once more"
    continue
  fi
  break
done
echo "wine-run: ${1##*/} ended with exit code $status"
exit $status
