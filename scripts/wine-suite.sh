#!/usr/bin/env bash
# wine-suite.sh LOG: every Windows test, in QORN_TEST_SHARDS shards (default 2)
# side by side. Each shard is a wine-test.sh run of its own: its own prefix,
# wineserver, display and network, so a test that needs the whole session (real
# input, the foreground window) or a fixed port holds only its shard's. The
# shards' outputs end up in LOG, which is then checked whole (test-checks.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
log=$1
shards=${QORN_TEST_SHARDS:-2}
source "$here/wine-env.sh"
source "$here/test-checks.sh"
base=$WINEPREFIX

# The first prefix is set up once (on a display of its own); the others start as
# copies of it, which is much quicker than setting each up.
if [ ! -d "$base/drive_c" ]; then
  qorn_start_display
  qorn_make_prefix
  qorn_stop_env
fi
prefix_of() { if [ "$1" -eq 1 ]; then echo "$base"; else echo "$base-$1"; fi; }
for k in $(seq 2 "$shards"); do
  p=$(prefix_of "$k")
  if [ ! -d "$p/drive_c" ]; then
    rm -rf "$p"
    cp -a "$base" "$p"
  fi
done

# The cores are shared out between the shards.
jobs=$(( ($(nproc) + shards - 1) / shards ))
[ "$jobs" -ge 2 ] || jobs=2
declare -a pids
for k in $(seq 1 "$shards"); do
  WINEPREFIX=$(prefix_of "$k") "$here/wine-test.sh" -I "$k,,$shards" -j "$jobs" >"$log.$k" 2>&1 &
  pids[k]=$!
done
: >"$log"
status=0
for k in $(seq 1 "$shards"); do
  shard_status=0
  wait "${pids[k]}" || shard_status=$?
  [ "$shard_status" -eq 0 ] || status=1
  echo "== Windows tests, shard $k of $shards (exit $shard_status)" | tee -a "$log"
  tee -a "$log" <"$log.$k"
  rm -f "$log.$k"
done
qorn_check_run "$qorn_root" windows "$log" || status=1
exit $status
