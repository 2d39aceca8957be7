#!/usr/bin/env bash
# A private PulseAudio daemon with a null sink gives wine a real default output
# device: the winmm mixer sets and reads back its line's volume and mute, the
# endpoint volume is found and its calls run (how far wine carries them is printed).
source "$(dirname "$0")/sound-env.sh"
qorn_start_sound_server
rc=0
"$QORN_WINE_RUN" "$QORN_BIN/soundcheck.exe" device || rc=$?
echo "info: the null sink as the sound server has it: $(pactl get-sink-volume qorn_null | head -1 | tr -s ' '), $(pactl get-sink-mute qorn_null)"
exit $rc
