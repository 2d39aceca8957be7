#!/usr/bin/env bash
# fuzz-run.sh TARGET CORPUS FINDS RUNS OPTIONS [INPUT-FOLDER...]: one reproducible run of a
# libFuzzer target (cmake/QornFuzz.cmake). The input folders that exist run first,
# every input once; then RUNS new inputs from a fixed seed, grown in CORPUS, which
# starts empty each time so that one run does not depend on the ones before it.
# OPTIONS, when that file exists, holds more libFuzzer flags, one a line.
# A crash, leak or timeout ends the run with a failure and lands in FINDS/.
set -euo pipefail
target=$1 corpus=$2 finds=$3 runs=$4 options_file=$5
shift 5
extra=()
if [ -f "$options_file" ]; then
  while read -r flag; do
    case "$flag" in -*) extra+=("$flag") ;; esac
  done <"$options_file"
fi
rm -rf "$corpus"
mkdir -p "$corpus" "$finds"
inputs=()
for d in "$@"; do
  [ -d "$d" ] && inputs+=("$d")
done
seed=${QORN_FUZZ_SEED:-1}
echo "fuzz-run: seed $seed, $runs runs, inputs: ${inputs[*]:-none}"
# The total time bound only keeps a very slow machine from running on; it is far
# above what the runs take here (a few seconds). The bound on one input finds hangs:
# the slowest inputs take about 2 s of CPU under the sanitizers, and a machine busy
# with a parallel build stretched that past 13 s, so it leaves room for more.
if "$target" -seed="$seed" -runs="$runs" -max_total_time=240 -timeout=60 -rss_limit_mb=1024 \
     -artifact_prefix="$finds/" ${extra[@]+"${extra[@]}"} "$corpus" "${inputs[@]}"; then
  exit 0
fi
echo "fuzz-run: a find is in $finds/; reproduce it with: $target <file>;" \
     "once mended, keep it in the target's NAME.finds/ folder beside its seeds"
exit 1
