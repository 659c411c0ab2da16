#!/usr/bin/env bash
# Builds both builds and runs every test: the native unit and library tests,
# the Windows-side tests of the 32-bit product (under Wine and user-mode
# emulation) with the static checks of its export tables, and the same
# Windows-side tests of the 64-bit build (each on a private display and
# prefix in its build folder);
# then the sanitizer build of the unit tests and the fuzzers (scripts/sanitize.sh).
#   scripts/test.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/setup.sh" "$build"

jobs=2
configure() {  # folder, extra cmake arguments...
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure "$build/native"
configure "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DJPEG_WINDOWS_PREFIX="$build/jpeg-i686" -DNATIVE_BUILD_DIR="$build/native"
configure "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DJPEG_WINDOWS_PREFIX="$build/jpeg-x86_64" -DNATIVE_BUILD_DIR="$build/native"

status=0
for b in native win32 win64; do
    echo "== build $b"
    log="$build/$b/build.log"
    if ! cmake --build "$build/$b" -j "$jobs" >"$log" 2>&1; then
        grep -E 'error|Error' -A3 "$log" | head -n 60
        echo "build $b failed (full log: $log)" >&2
        exit 1
    fi
    grep -E 'warning:' "$log" || true
done
for b in native win32 win64; do
    echo "== test $b"
    (cd "$build/$b" && ctest --output-on-failure) || status=1
done
echo "== sanitize"
bash "$root/scripts/sanitize.sh" || status=1
exit $status
