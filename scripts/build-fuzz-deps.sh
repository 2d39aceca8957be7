#!/usr/bin/env bash
# Builds the picture libraries (zlib, libpng, libjpeg-turbo, giflib) natively with
# clang, instrumented for libFuzzer and the sanitizers, from Debian's own sources of
# the installed -dev versions. Only the native fuzz targets link them
# (cmake/QornDeps.cmake), so a fuzz run measures and steers by the coverage inside
# the decoders and the sanitizers see their memory. Static libraries only, no tools
# or documents, so the build stays short. The result lands in a cache folder outside
# the checkout, keyed by the source versions, the compiler and this script.
set -euo pipefail
jobs=$(nproc)
cc=clang
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"

declare -A dev=( [zlib]=zlib1g-dev [libpng1.6]=libpng-dev [libjpeg-turbo]=libjpeg62-turbo-dev [giflib]=libgif-dev )
srcver() { dpkg-query -W -f='${source:Version}' "$1"; }
# Source versions to try, best first: the installed one, then the others of the
# same upstream release the index offers (a mirror may lack the newest security
# upload; those differ in fixes only, never in the interface of the headers).
candidates() {
  local installed; installed=$(srcver "${dev[$1]}")
  local upstream=${installed%-*}
  { echo "$installed"; apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -rV; } \
    | awk -v u="$upstream" 'NF && index($0, u "-") == 1 && !seen[$0]++'
}

key_input=$(
  for s in zlib libpng1.6 libjpeg-turbo giflib; do echo "$s=$(candidates "$s" | tr '\n' ' ')"; done
  echo "cc=$($cc --version | head -1)"
  cat "$0"
)
key=$(printf '%s' "$key_input" | sha256sum | cut -c1-16)
cache=${QORN_CACHE:-$HOME/.cache/qorn}
prefix=$cache/fuzzdeps-$key
if [ -f "$prefix/.complete" ]; then
  echo "fuzz deps: cached in $prefix"
  ln -sfn "$prefix" "$cache/fuzzdeps-current"
  exit 0
fi

echo "fuzz deps: building into $prefix"
rm -rf "$prefix"
mkdir -p "$prefix/lib"
work=$(mktemp -d "$cache/fuzzbuild-XXXXXX")
trap 'rm -rf "$work"' EXIT

# The source of the release the installed headers came from: the objects must
# match the headers the rest of the native build compiles against.
fetch() {  # fetch SOURCE-PACKAGE -> prints the unpacked folder
  local pkg=$1 ver dir=$work/src-$1
  mkdir -p "$dir"
  for ver in $(candidates "$pkg"); do
    if ( cd "$dir" && apt-get source -qq --only-source "$pkg=$ver" >/dev/null 2>&1 ); then
      echo "fuzz deps: $pkg $ver" >&2
      find "$dir" -maxdepth 1 -mindepth 1 -type d | head -1
      return 0
    fi
    rm -rf "${dir:?}"/*
  done
  echo "fuzz deps: apt-get source $pkg failed (is a deb-src entry configured? run scripts/setup.sh)" >&2
  exit 1
}

# compile_archive LIB SRC-DIR FILE... [-- EXTRA-FLAGS...]: the C files straight into
# one static archive, no configure step.
compile_archive() {
  local lib=$1 src=$2; shift 2
  local files=() extra=() objs=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do files+=("$1"); shift; done
  [ $# -gt 0 ] && shift && extra=("$@")
  for f in "${files[@]}"; do
    # shellcheck disable=SC2086
    $cc $flags -c "$src/$f.c" -I"$src" ${extra[@]+"${extra[@]}"} -o "$work/$lib-$f.o" &
    objs+=("$work/$lib-$f.o")
  done
  wait
  for o in "${objs[@]}"; do [ -f "$o" ] || { echo "fuzz deps: $lib failed to compile" >&2; exit 1; }; done
  llvm-ar rcs "$prefix/lib/lib$lib.a" "${objs[@]}" 2>/dev/null || ar rcs "$prefix/lib/lib$lib.a" "${objs[@]}"
}

build_zlib() {
  local src; src=$(fetch zlib)
  compile_archive z "$src" adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
    inflate inftrees trees uncompr zutil -- -DHAVE_UNISTD_H -DHAVE_STDARG_H -D_LARGEFILE64_SOURCE=1
}
build_png() {
  local src; src=$(fetch libpng1.6)
  # The configuration libpng ships for builds without its configure step, the
  # default one its own build generates.
  cp "$src/scripts/pnglibconf.h.prebuilt" "$src/pnglibconf.h"
  compile_archive png16 "$src" png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil \
    pngset pngtrans pngwio pngwrite pngwtran pngwutil -- -DPNG_ARM_NEON_OPT=0 -DPNG_POWERPC_VSX_OPT=0 \
    -DPNG_INTEL_SSE_OPT=0 -DPNG_MIPS_MSA_OPT=0
}
build_jpeg() {
  local src; src=$(fetch libjpeg-turbo)
  # Its cmake step writes jconfig.h from the same options Debian's build uses
  # (libjpeg 6.2 interface, arithmetic coding both ways); only the static library is built.
  cmake -S "$src" -B "$work/b-jpeg" -G Ninja -DCMAKE_C_COMPILER=$cc -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_C_FLAGS="$flags" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DWITH_ARITH_ENC=ON -DWITH_ARITH_DEC=ON -DREQUIRE_SIMD=OFF >"$work/jpeg.log" 2>&1 \
    || { tail -40 "$work/jpeg.log"; exit 1; }
  cmake --build "$work/b-jpeg" -j "$jobs" --target jpeg-static >>"$work/jpeg.log" 2>&1 \
    || { tail -40 "$work/jpeg.log"; exit 1; }
  cp "$work/b-jpeg/libjpeg.a" "$prefix/lib/"
}
build_gif() {
  local src; src=$(fetch giflib)
  compile_archive gif "$src" dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize
}

pids=()
for step in build_zlib build_png build_jpeg build_gif; do
  ( start=$SECONDS; $step; echo "fuzz deps: ${step#build_} built in $((SECONDS - start)) s" ) &
  pids+=($!)
done
fail=0
for p in "${pids[@]}"; do wait "$p" || fail=1; done
[ $fail -eq 0 ] || { echo "fuzz deps: a library failed to build" >&2; exit 1; }
printf '%s\n' "$key_input" > "$prefix/.complete"
ln -sfn "$prefix" "$cache/fuzzdeps-current"
echo "fuzz deps: done"
