#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine lacks to build and test both
# builds, and cross-builds libjpeg-turbo for Windows (32-bit for the product,
# 64-bit for the Wine tests: our machines run no 32-bit user code, so 32-bit
# Wine cannot start here). Safe to run again: it
# installs only what is missing and reuses the cached libraries.
#   setup.sh [BUILD_ROOT]   (default: build/ beside this script's folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${1:-$root/build}

packages=(cmake g++ make ccache libgtest-dev googletest libbenchmark-dev libjpeg-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 nasm dpkg-dev
          wine wine64 xvfb x11-utils imagemagick
          clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# deb-src entries for the libjpeg-turbo source package, where the machine has none.
need_src=0
for arch in i686 x86_64; do
    [ -f "$build_root/jpeg-$arch/lib/libjpeg.a" ] || need_src=1
done
src_list=/etc/apt/sources.list.d/debian-src.sources
if [ "$need_src" = 1 ] && ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$suite" "$suite" > "$src_list"
    updated=0
else
    updated=1
fi

if [ ${#missing[@]} -gt 0 ] || [ "$updated" = 0 ]; then
    echo "setup: installing ${missing[*]:-source lists}" >&2
    apt-get update -q >/dev/null
    [ ${#missing[@]} -gt 0 ] && DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" >/dev/null
fi

mkdir -p "$build_root"
"$root/scripts/build-libjpeg-windows.sh" "$root/cmake/mingw-i686.cmake" "$build_root/jpeg-i686"
"$root/scripts/build-libjpeg-windows.sh" "$root/cmake/mingw-x86_64.cmake" "$build_root/jpeg-x86_64"
