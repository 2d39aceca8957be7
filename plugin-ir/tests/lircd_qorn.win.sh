#!/usr/bin/env bash
# A remote button all the way into Qorn: a real lircd on 127.0.0.1:8765, the real
# Qorn.exe under wine with plugins\Ranlowe.dll enabled and the buttons bound to
# start a program; irsend SIMULATE presses them and the bound programs must run,
# none while the session is locked, and again once it is unlocked.
# ctest-lock: main-window
# ctest-lock: lirc-port
# The console windows of the programs it starts take the activation:
# ctest-lock: desktop_input
set -u
tmp=$(mktemp -d /tmp/qorn-lircqorn-XXXXXX)
lircd_pid=
qorn_pid=
cleanup() {
  if [ -n "$qorn_pid" ]; then
    # The tool closes its Qorn when told; a Qorn left behind would hold the one
    # main window (and its mutex) from every later test.
    : > "$tmp/abort"
    for _ in $(seq 300); do kill -0 "$qorn_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$qorn_pid" 2>/dev/null
  fi
  [ -n "$lircd_pid" ] && kill "$lircd_pid" 2>/dev/null && wait "$lircd_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
command -v lircd >/dev/null || { echo "lircd is not installed (scripts/setup.sh installs lirc)"; exit 1; }
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

: > "$tmp/empty.conf"
lircd --nodaemon --driver=file --listen=127.0.0.1:8765 --allow-simulate \
  --output="$tmp/lircd" --pidfile="$tmp/lircd.pid" --logfile="$tmp/lircd.log" "$tmp/empty.conf" &
lircd_pid=$!
for _ in $(seq 100); do [ -S "$tmp/lircd" ] && break; sleep 0.1; done
[ -S "$tmp/lircd" ] || { echo "lircd did not start"; cat "$tmp/lircd.log"; exit 1; }

dist=$(cd "$QORN_BIN/../dist" && pwd)
"$QORN_WINE_RUN" "$QORN_BIN/lirc_qorn.exe" "$(winpath "$tmp")" "$(winpath "$dist")" \
  "$(winpath "$QORN_BIN/programs_marker.exe")" &
qorn_pid=$!
# Qorn enables the plug-in while it starts; wine can take long on a loaded machine.
for _ in $(seq 1200); do grep -q "accepted new client from 127.0.0.1" "$tmp/lircd.log" 2>/dev/null && break; sleep 0.1; done
grep -q "accepted new client from 127.0.0.1" "$tmp/lircd.log" || {
  echo "the plug-in in Qorn never connected"; [ -e "$tmp/started" ] || echo "(Qorn's window never came)"; exit 1; }

press() { irsend -d "$tmp/lircd" SIMULATE "$1" || echo "irsend failed: $1"; }
clients() { grep -c "accepted new client from 127.0.0.1" "$tmp/lircd.log" 2>/dev/null; }
await() {  # a file the Qorn side writes
  for _ in $(seq 600); do [ -e "$tmp/$1" ] && return 0; sleep 0.1; done
  echo "the Qorn side never wrote $1"; exit 1
}
for r in 00 01 02; do press "0000000000f40bf0 $r KEY_1 qorn_remote"; done
press "0000000000f40bf3 00 KEY_4 qorn_remote"  # bound to nothing
# Locked: the plug-in is off, so a bound button starts nothing.
: > "$tmp/lock"
await locked
press "0000000000f40bf2 00 KEY_3 qorn_remote"
: > "$tmp/unlock"
await unlocked
for _ in $(seq 300); do [ "$(clients)" -ge 2 ] && break; sleep 0.1; done
[ "$(clients)" -ge 2 ] || { echo "the plug-in did not connect again after the unlock"; exit 1; }
# KEY_2 held: its first event and the repeats from the sixth on (06, 07) come through.
for r in 00 01 02 03 04 05 06 07; do press "0000000000f40bf1 $r KEY_2 qorn_remote"; done
: > "$tmp/done"
wait "$qorn_pid"
rc=$?
qorn_pid=
exit $rc
