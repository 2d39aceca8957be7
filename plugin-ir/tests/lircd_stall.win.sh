#!/usr/bin/env bash
# A real lircd sends 100 button presses while the host's main window takes no
# messages: once it takes them again, every name must arrive whole and in order
# (the plug-in may never reuse the memory of a name the window has not read yet).
# ctest-lock: main-window
# ctest-lock: lirc-port
source "$(dirname "$0")/lircd-host.sh"
qorn_lirc_start qorn-lircd-stall stall

: > "$tmp/expected.txt"
for i in $(seq 1 100); do
  code=$(printf '%016x' "$i")
  press "$code 00 KEY_$i qorn_remote"
  echo "$code" >> "$tmp/expected.txt"
done
# Time for the reader to take in every line while the window still stalls (what
# could overrun the names happens now; the result must not depend on it).
sleep 3
: > "$tmp/stall-over"
qorn_lirc_finish
