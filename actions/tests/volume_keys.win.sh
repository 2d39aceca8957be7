#!/usr/bin/env bash
# Volume keys end to end: a real Qorn.exe (run by wine as Windows XP, so the winmm
# mixer of a private PulseAudio null sink is its mixer) takes volume keys injected
# by another process, changes the volume and shows the volume display at the new
# level, then the mute picture, without taking the focus. Screenshots of each go
# to build/windows/screenshots/actions_volume_keys_*.png.
# ctest-lock: main-window
# ctest-lock: keyboard
source "$(dirname "$0")/../../services/tests/sound-env.sh"
qorn_start_sound_server
shots="$QORN_BIN/../screenshots"
mkdir -p "$shots"
"$QORN_WINE_RUN" "$QORN_BIN/volume_qorn.exe" "Z:${sound_tmp//\//\\}" "Z:$(cd "$QORN_BIN/../dist" && pwd | tr / '\\')" &
qorn_pid=$!
# The Qorn side asks for a screenshot with a file "shot-NAME" and waits for "shot-NAME-taken".
while kill -0 "$qorn_pid" 2>/dev/null; do
  for request in "$sound_tmp"/shot-*; do
    case $request in *-taken | *"shot-*") continue ;; esac
    [ -e "$request-taken" ] && continue
    import -display "$DISPLAY" -window root "$shots/actions_volume_keys_${request##*/shot-}.png"
    : > "$request-taken"
  done
  sleep 0.1
done
wait "$qorn_pid"
