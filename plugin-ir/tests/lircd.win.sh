#!/usr/bin/env bash
# A real LIRC server (lircd, no hardware, simulation allowed) on 127.0.0.1:8765;
# irsend SIMULATE presses and holds buttons; the plug-in, loaded under wine by a
# host window of Qorn's class and caption, must deliver exactly the expected names.
# ctest-lock: main-window
# ctest-lock: lirc-port
source "$(dirname "$0")/lircd-host.sh"
qorn_lirc_start qorn-lircd

# A press of KEY_1, held: the server counts repeats in hex (00..0b); the plug-in
# passes the first event and the repeats from the sixth on.
for r in 00 01 02 03 04 05 06 07 08 09 0a 0b; do press "0000000000f40bf0 $r KEY_1 qorn_remote"; done
press "0000000000f40bf1 00 KEY_2 qorn_remote"
press "0000000000f40bf1 01 KEY_2 qorn_remote"
printf '%s\n' 0000000000f40bf0 0000000000f40bf0 0000000000f40bf0 0000000000f40bf0 0000000000f40bf0 \
  0000000000f40bf0 0000000000f40bf0 0000000000f40bf1 > "$tmp/expected.txt"
qorn_lirc_finish
