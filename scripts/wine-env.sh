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

qorn_start_wine() {
  mkdir -p "$WINEPREFIX"
  if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "wine-env: creating the wine prefix $WINEPREFIX"
    timeout 300 wineboot -i >/dev/null 2>&1 || { echo "wine-env: wineboot failed or hung" >&2; return 1; }
    # No window manager runs on the private display: let wine draw the window
    # frames itself, so screenshots show captions and borders.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    # The server that set the prefix up keeps the service database locked until it
    # ends (a service started meanwhile is refused, or times out): let it end first.
    # Then the services the tests use are started once, in a session of their own:
    # a program ending while a service starts for the first time in a new prefix
    # was seen to hang in its exit.
    timeout 120 wineserver -w >/dev/null 2>&1
    timeout 60 wine net start Schedule >/dev/null 2>&1
    timeout 120 wineserver -w >/dev/null 2>&1
  fi
  wineserver -p >/dev/null 2>&1 &
  # Start-up check: a tiny program must run within a bound, or wine is broken.
  timeout 120 wine cmd /c exit 0 >/dev/null 2>&1 || { echo "wine-env: wine does not start programs" >&2; return 1; }
}
