#!/usr/bin/env bash
# Cross-builds the libraries Qorn links (libpng, libjpeg-turbo, giflib, OpenSSL's
# libcrypto, TagLib, GoogleTest) as static mingw-w64 libraries from Debian's own
# sources. The result lands in a cache folder outside the checkout, keyed by the
# source versions, the toolchain and this script, so it is built once per machine.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
triple=x86_64-w64-mingw32
cc=$triple-gcc-posix
cxx=$triple-g++-posix
jobs=$(nproc)

# The binary -dev packages fix the source version we fetch, so the native and
# the Windows builds use the same releases.
declare -A dev=( [libpng1.6]=libpng-dev [libjpeg-turbo]=libjpeg62-turbo-dev [giflib]=libgif-dev
                 [openssl]=libssl-dev [taglib]=libtag1-dev )
srcver() { dpkg-query -W -f='${source:Version}' "$1"; }

# Source versions to try, best first: the installed one, then the others the
# index offers (a mirror may lack the newest security upload).
candidates() {
  { srcver "${dev[$1]}"; echo; apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -rV; } \
    | awk 'NF && !seen[$0]++'
}

key_input=$(
  for s in libpng1.6 libjpeg-turbo giflib openssl taglib; do echo "$s=$(candidates "$s" | tr '\n' ' ')"; done
  echo "googletest=$(srcver googletest)"
  echo "mingw=$(srcver mingw-w64-common) gcc=$($cc -dumpfullversion) gxx=$($cxx -dumpfullversion)"
  cat "$0" "$here/../cmake/mingw-w64-x86_64.cmake"
)
key=$(printf '%s' "$key_input" | sha256sum | cut -c1-16)
cache=${QORN_CACHE:-$HOME/.cache/qorn}
prefix=$cache/deps-$key
if [ -f "$prefix/.complete" ]; then
  echo "deps: cached in $prefix"
  ln -sfn "$prefix" "$cache/deps-current"
  exit 0
fi

echo "deps: building into $prefix"
rm -rf "$prefix"
mkdir -p "$prefix/lib" "$prefix/include"
work=$(mktemp -d "$cache/build-XXXXXX")
trap 'rm -rf "$work"' EXIT
toolchain=$(cd "$here/../cmake" && pwd)/mingw-w64-x86_64.cmake

fetch() {  # fetch SOURCE-PACKAGE -> prints the unpacked folder
  local pkg=$1 ver dir=$work/src-$1
  mkdir -p "$dir"
  for ver in $(candidates "$pkg"); do
    if ( cd "$dir" && apt-get source -qq --only-source "$pkg=$ver" >/dev/null 2>&1 ); then
      echo "deps: $pkg $ver" >&2
      find "$dir" -maxdepth 1 -mindepth 1 -type d | head -1
      return 0
    fi
    rm -rf "${dir:?}"/*
  done
  echo "deps: apt-get source $pkg failed (is a deb-src entry configured? run scripts/setup.sh)" >&2
  exit 1
}

cmake_build() {  # cmake_build SRC NAME [cmake args...]
  local src=$1 name=$2; shift 2
  cmake -S "$src" -B "$work/b-$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_POSITION_INDEPENDENT_CODE=OFF \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$work/$name.log" 2>&1 || { tail -40 "$work/$name.log"; exit 1; }
  cmake --build "$work/b-$name" -j "$jobs" >>"$work/$name.log" 2>&1 || { tail -40 "$work/$name.log"; exit 1; }
  cmake --install "$work/b-$name" >>"$work/$name.log" 2>&1
}

build_png() {
  local src; src=$(fetch libpng1.6)
  cmake_build "$src" png -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_BUILD_ZLIB=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
}
build_jpeg() {
  local src; src=$(fetch libjpeg-turbo)
  cmake_build "$src" jpeg -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_INSTALL_LIBDIR="$prefix/lib" -DCMAKE_INSTALL_BINDIR="$work/unused-bin"
}
build_gif() {
  local src; src=$(fetch giflib)
  local objs=()
  for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
    $cc -O2 -c "$src/$f.c" -I"$src" -o "$work/gif-$f.o"
    objs+=("$work/gif-$f.o")
  done
  $triple-ar rcs "$prefix/lib/libgif.a" "${objs[@]}"
  cp "$src/gif_lib.h" "$prefix/include/"
}
build_crypto() {
  local src; src=$(fetch openssl)
  # libcrypto alone, static, with no engines, modules or sockets: Qorn needs its digests.
  ( cd "$src" && ./Configure mingw64 no-shared no-asm no-tests no-module no-dso no-engine no-sock \
      no-async no-ui-console no-legacy no-ssl no-tls no-dtls no-comp no-srp no-ct no-ocsp no-cms \
      no-ts no-deprecated --cross-compile-prefix=$triple- CC=gcc-posix --prefix="$prefix" --libdir=lib \
      >"$work/crypto.log" 2>&1 \
    && make -j "$jobs" build_generated >>"$work/crypto.log" 2>&1 \
    && make -j "$jobs" libcrypto.a >>"$work/crypto.log" 2>&1 ) || { tail -40 "$work/crypto.log"; exit 1; }
  cp "$src/libcrypto.a" "$prefix/lib/"
  mkdir -p "$prefix/include/openssl"
  cp "$src"/include/openssl/*.h "$prefix/include/openssl/"
}
build_tag() {
  local src; src=$(fetch taglib)
  # TagLib's UTF-8 helpers come from the header-only utfcpp; copy them so no host
  # include folder enters the cross build.
  mkdir -p "$work/utfcpp"
  cp -r /usr/include/utf8cpp/. "$work/utfcpp/"
  cmake_build "$src" tag -DCMAKE_CXX_FLAGS="-isystem $work/utfcpp" -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_BINDINGS=OFF -DWITH_ZLIB=ON \
    -DZLIB_LIBRARY=/usr/$triple/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$triple/include -DCMAKE_INSTALL_LIBDIR=lib
}
build_gtest() {
  cmake_build /usr/src/googletest gtest -Dgtest_force_shared_crt=ON -DCMAKE_INSTALL_LIBDIR=lib
}

# The builds are independent: run them side by side.
pids=()
for step in build_png build_jpeg build_gif build_crypto build_tag build_gtest; do
  ( start=$SECONDS; $step; echo "deps: ${step#build_} built in $((SECONDS - start)) s" ) &
  pids+=($!)
done
fail=0
for p in "${pids[@]}"; do wait "$p" || fail=1; done
[ $fail -eq 0 ] || { echo "deps: a library failed to build" >&2; exit 1; }
printf '%s\n' "$key_input" > "$prefix/.complete"
ln -sfn "$prefix" "$cache/deps-current"
echo "deps: done"
