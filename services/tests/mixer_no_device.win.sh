#!/usr/bin/env bash
# No sound server: neither the winmm mixer nor the endpoint volume has a device,
# and no call fails or crashes; volume keys change and show nothing.
source "$(dirname "$0")/sound-env.sh"
qorn_no_sound_server
"$QORN_WINE_RUN" "$QORN_BIN/soundcheck.exe" none
