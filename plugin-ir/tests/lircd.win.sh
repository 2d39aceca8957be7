#!/usr/bin/env bash
# A real LIRC server (lircd, no hardware, simulation allowed) on 127.0.0.1:8765;
# irsend SIMULATE presses and holds buttons; the plug-in, loaded under wine by a
# host window of Qorn's class and caption, must deliver exactly the expected names.
# ctest-lock: main-window
# ctest-lock: lirc-port
set -u
tmp=$(mktemp -d /tmp/qorn-lircd-XXXXXX)
lircd_pid=
host_pid=
cleanup() {
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
  [ -n "$lircd_pid" ] && kill "$lircd_pid" 2>/dev/null && wait "$lircd_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
command -v lircd >/dev/null || { echo "lircd is not installed (scripts/setup.sh installs lirc)"; exit 1; }

: > "$tmp/empty.conf"
lircd --nodaemon --driver=file --listen=127.0.0.1:8765 --allow-simulate \
  --output="$tmp/lircd" --pidfile="$tmp/lircd.pid" --logfile="$tmp/lircd.log" "$tmp/empty.conf" &
lircd_pid=$!
for _ in $(seq 100); do [ -S "$tmp/lircd" ] && break; sleep 0.1; done
[ -S "$tmp/lircd" ] || { echo "lircd did not start"; cat "$tmp/lircd.log"; exit 1; }

"$QORN_WINE_RUN" "$QORN_BIN/lirchost.exe" "Z:${tmp//\//\\}" &
host_pid=$!
# wine can take long to start a program on a loaded machine.
for _ in $(seq 1200); do grep -q "accepted new client from 127.0.0.1" "$tmp/lircd.log" 2>/dev/null && break; sleep 0.1; done
grep -q "accepted new client from 127.0.0.1" "$tmp/lircd.log" || { echo "the plug-in never connected"; exit 1; }

press() { irsend -d "$tmp/lircd" SIMULATE "$1" || echo "irsend failed: $1"; }
# A press of KEY_1, held: the server counts repeats in hex (00..0b); the plug-in
# passes the first event and the repeats from the sixth on.
for r in 00 01 02 03 04 05 06 07 08 09 0a 0b; do press "0000000000f40bf0 $r KEY_1 qorn_remote"; done
press "0000000000f40bf1 00 KEY_2 qorn_remote"
press "0000000000f40bf1 01 KEY_2 qorn_remote"
printf '%s\n' 0000000000f40bf0 0000000000f40bf0 0000000000f40bf0 0000000000f40bf0 0000000000f40bf0 \
  0000000000f40bf0 0000000000f40bf0 0000000000f40bf1 > "$tmp/expected.txt"
: > "$tmp/done"
wait "$host_pid"
rc=$?
host_pid=
exit $rc
