#!/usr/bin/env bash
# machine-lock.sh NAME COMMAND...: runs COMMAND holding the machine-wide lock NAME
# when the test run shares the machine's network (QORN_NET=shared, see
# scripts/private-net.sh), so two test runs take turns on a fixed port instead of
# failing on it. On a private network the command runs at once.
set -euo pipefail
name=$1
shift
if [ "${QORN_NET:-}" = shared ]; then
  exec flock "/tmp/qorn-$name.lock" "$@"
fi
exec "$@"
