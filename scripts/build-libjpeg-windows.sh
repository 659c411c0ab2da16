#!/usr/bin/env bash
# Cross-builds static libjpeg-turbo (with its SIMD code) from Debian's source
# package for one Windows target. Cached: a second run with the library in
# place does nothing.
#   build-libjpeg-windows.sh TOOLCHAIN_FILE PREFIX
set -euo pipefail
toolchain=$1
prefix=$2
[ -f "$prefix/lib/libjpeg.a" ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get source -q libjpeg-turbo >/dev/null 2>&1 || {
    echo "build-libjpeg-windows: cannot fetch the libjpeg-turbo source package" >&2
    exit 1
}
src=$(find . -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
cmake -S "$src" -B build -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm >/dev/null
cmake --build build -j2 >/dev/null
cmake --install build >/dev/null
# libjpeg-turbo installs the static library as libjpeg.a under lib (or lib64).
[ -f "$prefix/lib/libjpeg.a" ] || { [ -f "$prefix/lib64/libjpeg.a" ] && ln -s lib64 "$prefix/lib"; } 2>/dev/null || true
[ -f "$prefix/lib/libjpeg.a" ]
