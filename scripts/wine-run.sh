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
# The program writes to a file of its own that this runner streams as it grows, and
# the runner ends when the program does. Wine starts some of its own processes on
# demand (the desktop's explorer.exe when the first window of a session is made,
# a service) from whichever program needs them first, and they inherit its output:
# written straight into ctest's pipe, that program would count as running for as
# long as they live (seen: a test that passed and was stopped 300 s later).
out=$(mktemp /tmp/qorn-wine-run-XXXXXX)

# Shortly before ctest would stop a program, the runner says which processes of
# this prefix are still there and which hold the program's output open.
stuck_report() {
  local pid held line
  held="$(readlink /proc/$$/fd/1)|$out"
  echo "wine-run: ${1##*/} still running after ${QORN_STUCK_AFTER:-270} s; the processes of this prefix:"
  for pid in $(grep -lzx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    line=$(ps -o pid=,stat=,etime=,args= -p "$pid") || continue
    if ls -l /proc/$pid/fd 2>/dev/null | grep -qE -- "-> (${held//[][]/.})\$"; then
      echo "  $line (holds the output)"
    else
      echo "  $line"
    fi
  done
}
( trap 'kill $! 2>/dev/null; exit' TERM
  sleep "${QORN_STUCK_AFTER:-270}" >/dev/null &
  wait $! && stuck_report "$1" ) 2>/dev/null &
watchdog=$!
program=
trap 'kill $watchdog $program $(jobs -p) 2>/dev/null; rm -f "$out"' EXIT
trap 'exit 143' TERM INT

# On a busy machine wine was seen, about once in a few hundred starts, to end a
# program with exit code 1 before it ran a line of it (no output at all). Such a
# program is started once more, and says so; a program that printed anything is
# never started again.
for attempt in 1 2; do
  : >"$out"
  wine "$@" >"$out" 2>&1 &
  program=$!
  # In the background, so that a stop from ctest is handled at once (and stops the
  # program too) rather than when the output ends.
  tail -s 0.1 -n +1 --pid=$program -f "$out" &
  wait $!
  status=0
  wait $program || status=$?
  [ $status -ne 0 ] || exit 0
  if [ $attempt -eq 1 ] && [ ! -s "$out" ]; then
    echo "wine-run: ${1##*/} ended with exit code $status before it printed anything: started once more"
    continue
  fi
  break
done
echo "wine-run: ${1##*/} ended with exit code $status"
exit $status
