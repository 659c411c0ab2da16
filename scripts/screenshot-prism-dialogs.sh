#!/usr/bin/env bash
# Screenshots of Prism.dll's dialogs under Xvfb and Wine (64-bit build): the
# tuning dialog narrow and wide (built-in mode, set 1, default settings) and
# the JPEG-quality dialog (delegated mode, beside the test converter).
#   scripts/screenshot-prism-dialogs.sh [BUILD_DIR] [OUTPUT_FOLDER]
# BUILD_DIR defaults to build/win64 (configured), OUTPUT_FOLDER to out/screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
out=${2:-$root/out/screenshots}
env=$root/tests/win32/wine_env.sh
mkdir -p "$out"
cmake --build "$build" -j 2 --target prism_dialog_host Prism kiln >/dev/null

builtin=$build/screenshot-prism-builtin
delegated=$build/screenshot-prism-delegated
rm -rf "$builtin" "$delegated"
mkdir -p "$builtin" "$delegated"
cp "$build/prism/Prism.dll" "$builtin/"
cp "$build/prism/Prism.dll" "$build/companions/Kiln.DLL" "$delegated/"
host=$build/tests/prism_dialog_host.exe

started=0
if [ ! -f "$build/wine-display" ]; then
    "$env" "$build" start
    started=1
fi
display=":$(cat "$build/wine-display")"
# Waits for a viewable window of that title, lets it draw, and takes the shot.
shoot() {  # title, file name
    local ids found=0
    for _ in $(seq 120); do
        ids=$(xwininfo -display "$display" -root -tree 2>/dev/null | awk -v t=" \"$1\": " 'index($0, t) {print $1}')
        for id in $ids; do
            xwininfo -display "$display" -id "$id" 2>/dev/null | grep -q IsViewable && found=1
        done
        [ "$found" = 1 ] && break
        sleep 0.25
    done
    sleep 1
    import -display "$display" -window root "$out/$2"
    echo "$out/$2"
}

"$env" "$build" run "$host" "$builtin/Prism.dll" tuning 4 &
shoot "Color Processing Parameters" tuning-dialog-narrow.png
sleep 3
shoot "Color Processing Parameters" tuning-dialog-wide.png
wait

"$env" "$build" run "$host" "$delegated/Prism.dll" quality 4 &
shoot "IP Setting" jpeg-quality-dialog.png
wait

[ "$started" = 1 ] && "$env" "$build" stop
true
