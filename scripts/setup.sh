#!/usr/bin/env bash
# Installs what building and testing Qorn needs on a Debian machine, then the
# cross-built libraries. Idempotent: a second run installs nothing and reuses
# the dependency cache.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo

packages=(
  cmake ninja-build pkg-config dpkg-dev file ccache
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  libz-mingw-w64-dev googletest
  wine wine64 fonts-wine fonts-liberation2 fonts-dejavu-core xvfb xauth x11-utils x11-apps imagemagick
  libpng-dev libjpeg62-turbo-dev libgif-dev libssl-dev libtag1-dev libutfcpp-dev zlib1g-dev clang libclang-rt-14-dev
  lirc iproute2 util-linux pulseaudio pulseaudio-utils
)

# deb-src entries mirrored from the machine's own binary sources, so
# 'apt-get source' works without naming any host here.
add_deb_src() {
  local changed=0
  if [ -f /etc/apt/sources.list.d/debian.sources ] && [ ! -f /etc/apt/sources.list.d/qorn-src.sources ]; then
    sed -e 's/^Types:.*deb\b.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      | $SUDO tee /etc/apt/sources.list.d/qorn-src.sources >/dev/null
    changed=1
  fi
  if [ -f /etc/apt/sources.list ] && [ ! -f /etc/apt/sources.list.d/qorn-src.list ]; then
    if grep -qE '^deb ' /etc/apt/sources.list; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
        | $SUDO tee /etc/apt/sources.list.d/qorn-src.list >/dev/null
      changed=1
    fi
  fi
  return $((1 - changed))
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
need_update=0
add_deb_src && need_update=1
[ ${#missing[@]} -gt 0 ] && need_update=1
if [ $need_update -eq 1 ]; then
  echo "setup: apt-get update"
  $SUDO apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# lircd is started by our tests only, never as a service.
if command -v systemctl >/dev/null 2>&1; then
  $SUDO systemctl disable --now lircd.socket lircd.service >/dev/null 2>&1 || true
fi

# Two checkouts set up at once build the shared library cache one after the other.
mkdir -p "${QORN_CACHE:-$HOME/.cache/qorn}"
flock "${QORN_CACHE:-$HOME/.cache/qorn}/.build-deps.lock" "$here/build-deps.sh"
# The picture libraries again, natively and instrumented, for the fuzz targets only.
flock "${QORN_CACHE:-$HOME/.cache/qorn}/.build-fuzz-deps.lock" "$here/build-fuzz-deps.sh"
