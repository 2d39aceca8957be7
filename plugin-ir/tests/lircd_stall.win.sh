#!/usr/bin/env bash
# A real lircd sends 100 button presses while the host's main window takes no
# messages: once it takes them again, every name must arrive whole and in order
# (the plug-in may never reuse the memory of a name the window has not read yet).
# ctest-lock: main-window
# ctest-lock: lirc-port
set -u
tmp=$(mktemp -d /tmp/qorn-lircd-stall-XXXXXX)
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

"$QORN_WINE_RUN" "$QORN_BIN/lirchost.exe" "Z:${tmp//\//\\}" stall &
host_pid=$!
# wine can take long to start a program on a loaded machine.
for _ in $(seq 1200); do grep -q "accepted new client from 127.0.0.1" "$tmp/lircd.log" 2>/dev/null && break; sleep 0.1; done
grep -q "accepted new client from 127.0.0.1" "$tmp/lircd.log" || { echo "the plug-in never connected"; exit 1; }

: > "$tmp/expected.txt"
for i in $(seq 1 100); do
  code=$(printf '%016x' "$i")
  irsend -d "$tmp/lircd" SIMULATE "$code 00 KEY_$i qorn_remote" || echo "irsend failed: $i"
  echo "$code" >> "$tmp/expected.txt"
done
# Time for the reader to take in every line while the window still stalls (what
# could overrun the names happens now; the result must not depend on it).
sleep 3
: > "$tmp/stall-over"
: > "$tmp/done"
wait "$host_pid"
rc=$?
host_pid=
exit $rc
