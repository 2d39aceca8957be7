# Sourced: starts a private Xvfb display and one persistent wineserver for the
# prefix build/windows/wineprefix, and stops both when the shell exits (also on
# failure and Ctrl-C). Only what this shell started is stopped: the Xvfb by its
# process id, the wineserver by its private prefix.
qorn_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$qorn_root/build/windows/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
qorn_xvfb_pid=
qorn_stop_env() {
  WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  [ -n "$qorn_xvfb_pid" ] && kill "$qorn_xvfb_pid" >/dev/null 2>&1
  qorn_xvfb_pid=
}
trap qorn_stop_env EXIT
trap 'exit 130' INT TERM

qorn_start_display() {
  # Xvfb picks a free display number itself and writes it to the pipe.
  local fifo n
  fifo=$(mktemp -u /tmp/qorn-xvfb-XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  qorn_xvfb_pid=$!
  n=$(timeout 20 head -n1 "$fifo" || true)
  rm -f "$fifo"
  if [ -z "$n" ]; then
    echo "wine-env: could not start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

# Runs a step of the set-up within a bound a machine ten times slower still meets, and
# says which step failed: a silent end would leave a run with no Windows test and no
# reason.
qorn_bounded() {  # SECONDS WHAT COMMAND...
  local limit=$1 what=$2
  shift 2
  timeout "$limit" "$@" >/dev/null 2>&1 && return 0
  echo "wine-env: $what failed or took over $limit s" >&2
  return 1
}

# Waits for the prefix's server to end. One that outlives its programs (seen once: a
# service kept it up) is stopped with what it still runs, so that the tests start on
# a fresh server; left running, every window a test made failed to be created.
qorn_end_server() {  # WHAT
  qorn_bounded 300 "$1" wineserver -w && return 0
  wineserver -k >/dev/null 2>&1 || true
  qorn_bounded 60 "$1 (stopped)" wineserver -w || true
}

# Creates and sets up the prefix when it is missing; leaves no server running.
qorn_make_prefix() {
  mkdir -p "$WINEPREFIX"
  [ -d "$WINEPREFIX/drive_c" ] && return 0
  echo "wine-env: creating the wine prefix $WINEPREFIX"
  qorn_bounded 1500 "wineboot" wineboot -i || return 1
  # No window manager runs on the private display: let wine draw the window
  # frames itself, so screenshots show captions and borders.
  qorn_bounded 300 "the window frame setting" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || true
  qorn_bounded 300 "the window frame setting" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f || true
  # The server that set the prefix up keeps the service database locked until it
  # ends (a service started meanwhile is refused, or times out): let it end first.
  # Then the services the tests use are started once, in a session of their own:
  # a program ending while a service starts for the first time in a new prefix
  # was seen to hang in its exit. A step that fails leaves its tests to say so.
  qorn_end_server "the end of the set-up server"
  qorn_bounded 600 "starting the task scheduler" wine net start Schedule || true
  qorn_end_server "the end of the scheduler's server"
}

qorn_start_wine() {
  qorn_make_prefix || return 1
  wineserver -p >/dev/null 2>&1 &
  # Start-up check: a tiny program must run within a bound, or wine is broken.
  qorn_bounded 600 "starting a program" wine cmd /c exit 0 || return 1
}
