# Sourced by the sound tests: the sound environment of the wine programs they run,
# and nothing outside a private temporary folder is touched.
#   qorn_no_sound_server      no server can be reached (wine finds no output device)
#   qorn_start_sound_server   a private PulseAudio daemon with one null sink, its
#                             own runtime, state and configuration folders; stopped
#                             by its process id when the test exits
set -u
sound_tmp=$(mktemp -d /tmp/qorn-sound-XXXXXX)
pulse_pid=
qorn_sound_cleanup() {
  if [ -n "$pulse_pid" ]; then
    kill "$pulse_pid" 2>/dev/null
    wait "$pulse_pid" 2>/dev/null
  fi
  rm -rf "$sound_tmp"
}
trap qorn_sound_cleanup EXIT

# The client side of libpulse (in wine's driver, and pactl) is pointed at the
# private folder only: a server address, a cookie and a configuration of its own,
# and never a daemon started on demand.
qorn_pulse_client() {
  export PULSE_SERVER="unix:$sound_tmp/native"
  export PULSE_COOKIE="$sound_tmp/cookie"
  export PULSE_CLIENTCONFIG="$sound_tmp/client.conf"
  printf 'autospawn = no\n' > "$PULSE_CLIENTCONFIG"
}

qorn_no_sound_server() {
  qorn_pulse_client
}

qorn_start_sound_server() {
  command -v pulseaudio >/dev/null || { echo "pulseaudio is not installed (scripts/setup.sh installs it)"; exit 1; }
  mkdir -p "$sound_tmp/runtime" "$sound_tmp/state" "$sound_tmp/config"
  # A clean environment: no display or session bus for it to reach, so it starts
  # nothing else; no default configuration, only the two modules it needs.
  env -i PATH=/usr/bin:/bin HOME="$sound_tmp" XDG_CONFIG_HOME="$sound_tmp/config" \
    XDG_RUNTIME_DIR="$sound_tmp/runtime" PULSE_RUNTIME_PATH="$sound_tmp/runtime" PULSE_STATE_PATH="$sound_tmp/state" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --system=no \
    --log-target="file:$sound_tmp/pulse.log" \
    -L "module-native-protocol-unix socket=$sound_tmp/native auth-anonymous=1" \
    -L "module-null-sink sink_name=qorn_null" >/dev/null 2>&1 &
  pulse_pid=$!
  qorn_pulse_client
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null 2>&1 || { echo "pulseaudio did not start"; cat "$sound_tmp/pulse.log"; exit 1; }
}
