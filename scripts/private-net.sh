#!/usr/bin/env bash
# Runs a command on a network of its own: a new network namespace whose loopback
# only this command and its children see, so tests may listen on fixed ports
# (LIRC's 127.0.0.1:8765) while another test run on the machine does the same.
# Where the machine allows no namespace, the command runs on the shared network
# with QORN_NET=shared, and tests of a fixed port take a machine-wide lock
# (scripts/machine-lock.sh) so that a second run waits rather than fails.
set -euo pipefail
if [ -n "${QORN_NET:-}" ]; then
  exec "$@"
fi
for opts in "--net" "--net --map-root-user"; do
  # shellcheck disable=SC2086
  if unshare $opts -- sh -c 'ip link set lo up' >/dev/null 2>&1; then
    # shellcheck disable=SC2086
    exec unshare $opts -- env QORN_NET=private bash -c 'ip link set lo up && exec "$@"' private-net "$@"
  fi
done
echo "private-net: no network namespace here; ports are locked across test runs instead" >&2
QORN_NET=shared exec "$@"
