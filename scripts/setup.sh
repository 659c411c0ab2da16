#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine lacks to build and test both
# builds, and cross-builds libjpeg-turbo for Windows (32-bit for the product,
# 64-bit for the Wine tests). Our machines run no 32-bit user code natively:
# the 32-bit product's tests run under user-mode emulation (qemu-i386 through
# binfmt_misc, with Debian's 32-bit Wine), which this script also registers.
# Safe to run again: it installs only what is missing, re-registers the
# emulator when a reboot dropped it, and reuses the cached libraries.
#   setup.sh [BUILD_ROOT]   (default: build/ beside this script's folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${1:-$root/build}

packages=(cmake g++ make ccache libgtest-dev googletest libbenchmark-dev libjpeg-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 nasm dpkg-dev
          wine wine64 libwine-dev xvfb x11-utils imagemagick
          clang libclang-rt-14-dev
          qemu-user wine32:i386 wine32-preloader:i386 python3)

# The 32-bit Wine comes from the i386 architecture's packages.
updated=1
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    updated=0
fi

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
fi

if [ ${#missing[@]} -gt 0 ] || [ "$updated" = 0 ]; then
    echo "setup: installing ${missing[*]:-source lists}" >&2
    apt-get update -q >/dev/null
    [ ${#missing[@]} -gt 0 ] && DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" >/dev/null
fi

# i386 ELF files (the 32-bit Wine loader) go to qemu-i386. The F flag opens
# the emulator at registration, so it is found inside any mount namespace.
# The registration does not survive a reboot: checked on every run.
binfmt=/proc/sys/fs/binfmt_misc
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
[ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
if [ -e "$binfmt/qemu-i386" ] && ! grep -qx 'flags: F' "$binfmt/qemu-i386"; then
    echo -1 > "$binfmt/qemu-i386"  # registered elsewhere without F: replace it
fi
if [ ! -e "$binfmt/qemu-i386" ]; then
    echo ":qemu-i386:M::$i386_magic:$i386_mask:/usr/bin/qemu-i386:F" > "$binfmt/register"
fi

mkdir -p "$build_root"
"$root/scripts/build-libjpeg-windows.sh" "$root/cmake/mingw-i686.cmake" "$build_root/jpeg-i686"
"$root/scripts/build-libjpeg-windows.sh" "$root/cmake/mingw-x86_64.cmake" "$build_root/jpeg-x86_64"
