#!/usr/bin/env bash
# Runs the Windows tests (ctest arguments pass through) under a private display
# and wineserver: scripts/wine-test.sh -R core/
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
qorn_start_display
qorn_start_wine
cd "$qorn_root"
ctest --preset windows "$@"
