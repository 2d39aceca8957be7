# Sourced by the LIRC tests: a real LIRC server (lircd, no hardware, simulation
# allowed) on 127.0.0.1:8765 in a private temporary folder, and the test host
# program (lirchost.exe) under wine, which loads the plug-in in a window of Qorn's
# class and caption. Both are stopped by process id when the test exits.
#   qorn_lirc_start PREFIX [HOST-ARGS...]   sets $tmp; fails the test if either does not start
#   press CODE-LINE                         one simulated event
#   qorn_lirc_finish                        tells the host it may check, returns its result
set -u
tmp=
lircd_pid=
host_pid=
qorn_lirc_cleanup() {
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
  [ -n "$lircd_pid" ] && kill "$lircd_pid" 2>/dev/null && wait "$lircd_pid" 2>/dev/null
  [ -n "$tmp" ] && rm -rf "$tmp"
}
trap qorn_lirc_cleanup EXIT

qorn_lirc_start() {
  local prefix=$1
  shift
  command -v lircd >/dev/null || { echo "lircd is not installed (scripts/setup.sh installs lirc)"; exit 1; }
  tmp=$(mktemp -d "/tmp/$prefix-XXXXXX")
  : > "$tmp/empty.conf"
  lircd --nodaemon --driver=file --listen=127.0.0.1:8765 --allow-simulate \
    --output="$tmp/lircd" --pidfile="$tmp/lircd.pid" --logfile="$tmp/lircd.log" "$tmp/empty.conf" &
  lircd_pid=$!
  for _ in $(seq 100); do [ -S "$tmp/lircd" ] && break; sleep 0.1; done
  [ -S "$tmp/lircd" ] || { echo "lircd did not start"; cat "$tmp/lircd.log"; exit 1; }

  "$QORN_WINE_RUN" "$QORN_BIN/lirchost.exe" "Z:${tmp//\//\\}" "$@" &
  host_pid=$!
  # wine can take long to start a program on a loaded machine.
  for _ in $(seq 1200); do grep -q "accepted new client from 127.0.0.1" "$tmp/lircd.log" 2>/dev/null && break; sleep 0.1; done
  grep -q "accepted new client from 127.0.0.1" "$tmp/lircd.log" || { echo "the plug-in never connected"; exit 1; }
}

press() { irsend -d "$tmp/lircd" SIMULATE "$1" || echo "irsend failed: $1"; }

qorn_lirc_finish() {
  : > "$tmp/done"
  local rc=0
  wait "$host_pid" || rc=$?
  host_pid=
  return $rc
}
