# Sourced by scripts/test.sh: runs the tests of one preset and fails when the run
# proves less than it seems to. A green run must have run every test the sources
# hold (a broken glob, a folder missing from the build or a preset that finds
# nothing would otherwise pass), skipped none, and the slowest tests are shown so
# the run time stays in sight.

# Test programs the sources hold for a preset, counted from the files themselves
# rather than from what the build registered, so the two can be compared.
qorn_tests_in_sources() {  # windows|native
  local root=$1 preset=$2
  local dirs
  dirs=$(find "$root" \( -path "$root/build" -o -path "$root/.git" \) -prune -o -type d -name tests -print)
  # The hook library's folder builds for Windows only, its plain tests too.
  [ "$preset" = windows ] || dirs=$(echo "$dirs" | grep -v "^$root/tenvora/")
  if [ "$preset" = windows ]; then
    for d in $dirs; do find "$d" -maxdepth 1 -type f \( -name '*.cpp' -o -name '*.win.sh' \); done | wc -l
  else
    {
      for d in $dirs; do find "$d" -maxdepth 1 -type f -name '*.cpp' ! -name '*.win.cpp'; done
      find "$root" \( -path "$root/build" -o -path "$root/.git" \) -prune -o -path '*/fuzz/*.cpp' -type f -print
    } | wc -l
  fi
}

# Runs ctest for a preset into LOG; returns non-zero when a test failed, or the
# run is not the whole suite, or something was skipped.
qorn_run_preset() {  # ROOT PRESET LOG [ctest args...]
  local root=$1 preset=$2 log=$3
  shift 3
  local status=0
  ctest --preset "$preset" "$@" 2>&1 | tee "$log" || status=1
  qorn_check_run "$root" "$preset" "$log" || status=1
  return $status
}

# Checks the ctest output LOG of a whole preset (one run, or the shards of one one
# after the other): every test ran, none skipped; prints the slowest.
qorn_check_run() {  # ROOT PRESET LOG
  local root=$1 preset=$2 log=$3
  local status=0
  local expected registered ran
  expected=$(qorn_tests_in_sources "$root" "$preset")
  registered=$(ctest --preset "$preset" -N 2>/dev/null | sed -n 's/^Total Tests: //p')
  ran=$(sed -n 's/.*tests passed, [0-9]* tests\{0,1\} failed out of \([0-9]*\).*/\1/p' "$log" \
    | awk '{ n += $1 } END { print n + 0 }')
  if [ -z "$ran" ] || [ "$ran" -eq 0 ]; then
    echo "!! $preset: no test ran" | tee -a "$log"
    status=1
  elif [ "$ran" != "${registered:-0}" ] || [ "$ran" != "$expected" ]; then
    echo "!! $preset: $ran tests ran, the build registered ${registered:-none}, the sources hold $expected" | tee -a "$log"
    status=1
  fi

  # GoogleTest reports a skip as a pass; the tests are registered to fail on one,
  # and every skip is named here whatever the outcome.
  local skips
  skips=$(awk '
    match($0, /Test +#[0-9]+: [^ ]+/) { split(substr($0, RSTART, RLENGTH), w, ": "); test = w[2] }
    /^\[  SKIPPED \] [A-Za-z_].* \([0-9]+ ms\)$/ { print "!!   " test ": " $4 }
    /\((Skipped|Not Run|Disabled)\)$/ { print "!!   " $0 }' "$log")
  if [ -n "$skips" ]; then
    echo "!! $preset: skipped tests:" | tee -a "$log"
    echo "$skips" | tee -a "$log"
    status=1
  fi

  echo "-- $preset: slowest tests"
  sed -n -E 's/.*Test +#[0-9]+: ([^ ]+) .* ([0-9]+\.[0-9]+) sec.*/\2 \1/p' "$log" | sort -rn | head -8 \
    | awk '{ printf "   %7.2f s  %s\n", $1, $2 }'
  return $status
}

# The checkout as git sees it, build/ aside: tracked changes with a digest of
# their content, and every untracked or ignored file.
qorn_tree_state() {  # ROOT
  local root=$1
  git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "not a git checkout"; return; }
  git -C "$root" status --porcelain=v1 --untracked-files=all --ignored -- . ':(exclude)build' ':(exclude)build/**'
  git -C "$root" diff HEAD --binary 2>/dev/null | sha256sum
}
