#!/usr/bin/env bash
# machine-lock.sh NAME COMMAND...: runs COMMAND holding the machine-wide lock NAME
# when the test run shares the machine's network (QORN_NET=shared, see
# scripts/private-net.sh), so two test runs take turns on a fixed port instead of
# failing on it. With the lock held it also waits for the port to be free of
# sockets still closing (or of a program that takes no lock). On a private
# network the command runs at once.
set -euo pipefail
name=$1
shift
if [ "${QORN_NET:-}" != shared ]; then
  exec "$@"
fi
declare -A ports=([lirc-port]=8765)
port=${ports[$name]:-}
exec 9>"/tmp/qorn-$name.lock"
flock 9
if [ -n "$port" ] && command -v ss >/dev/null; then
  for _ in $(seq 600); do
    [ -z "$(ss -Htan "( sport = :$port )" 2>/dev/null)" ] && break
    sleep 0.5
  done
fi
exec "$@"
