#!/usr/bin/env bash
# Builds a static libjpeg (libjpeg-turbo from Debian's source package) for one
# Windows architecture with the mingw-w64 cross compilers, once, into
# build-deps/libjpeg-ARCH/ (include/, lib/libjpeg.a). The Windows build finds
# it there; a cache that is already complete is left as it is.
# Usage: scripts/build-libjpeg.sh i686|x86_64
set -euo pipefail
cd "$(dirname "$0")/.."

arch="${1:-}"
case "$arch" in
  i686|x86_64) ;;
  *) echo "usage: scripts/build-libjpeg.sh i686|x86_64" >&2; exit 2 ;;
esac

deps="$PWD/build-deps"
prefix="$deps/libjpeg-$arch"
if [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ]; then
  exit 0
fi

# The source package, fetched and unpacked once for both architectures.
srcroot="$deps/src"
mkdir -p "$srcroot"
src="$(find "$srcroot" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | tail -1)"
if [ -z "$src" ]; then
  echo "build-libjpeg: fetching Debian's libjpeg-turbo source package"
  if ! (cd "$srcroot" && apt-get source -q libjpeg-turbo); then
    # An old package index: refresh it once and try again.
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -q
    (cd "$srcroot" && apt-get source -q libjpeg-turbo)
  fi
  src="$(find "$srcroot" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | tail -1)"
  [ -n "$src" ] || { echo "build-libjpeg: no source folder after apt-get source" >&2; exit 1; }
fi

work="$deps/libjpeg-$arch-build"
rm -rf "$work" "$prefix"
toolchain="$PWD/cmake/mingw-$arch.cmake"
echo "build-libjpeg: building static libjpeg for $arch"
cmake -S "$src" -B "$work" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
      -DREQUIRE_SIMD=OFF -DWITH_CRT_DLL=OFF >"$deps/libjpeg-$arch.log" 2>&1 \
  || { tail -30 "$deps/libjpeg-$arch.log"; exit 1; }
cmake --build "$work" -j "${JOBS:-2}" --target jpeg-static >>"$deps/libjpeg-$arch.log" 2>&1 \
  || { tail -30 "$deps/libjpeg-$arch.log"; exit 1; }

# Only the library and its headers are needed: install them by hand rather
# than through the package's install target (which also wants the tools).
mkdir -p "$prefix/include" "$prefix/lib"
cp "$work/libjpeg.a" "$prefix/lib/libjpeg.a"
cp "$work/jconfig.h" "$src/jerror.h" "$src/jmorecfg.h" "$src/jpeglib.h" "$prefix/include/"
rm -rf "$work"
echo "build-libjpeg: $prefix ready"
