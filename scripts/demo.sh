#!/usr/bin/env bash
# The main job: the camera window (Vantage.dll, 64-bit build) opened under
# Wine on the simulated camera (SimCam.dll, ten stills and clips), the way
# the camera's data source opens it; downloads go to OUTPUT_FOLDER/pictures.
# - With a usable X display (DISPLAY set and reachable) the window opens
#   there for you to work in; closing it ends the demo.
# - Without one, on a private Xvfb display: the window refreshes, every
#   picture is downloaded, and a screenshot of the window with its
#   thumbnails is saved as OUTPUT_FOLDER/camera-window.png.
#   scripts/demo.sh [OUTPUT_FOLDER]   (default: out/demo)
# Developing sample frames with the native prism tool: scripts/develop-samples.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/out/demo}
"$root/scripts/setup.sh" "$root/build"
build=$root/build/win64
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DJPEG_WINDOWS_PREFIX="$root/build/jpeg-x86_64" >/dev/null
echo "Building the camera window and the simulated camera (64-bit) ..."
cmake --build "$build" -j 2 --target camera_window_host Vantage lexis Prism simcam >/dev/null
# shellcheck source=camera-window-lib.sh
. "$root/scripts/camera-window-lib.sh"

mkdir -p "$out"
out=$(cd "$out" && pwd)
pictures=$out/pictures
rm -rf "$pictures"
mkdir -p "$pictures"
# Wine sees the Linux file system as drive Z:.
stage_camera_window "$build" "$out/stage" \
    "$(printf '[Setting]\r\nPath=Z:%s\r\nNext=1\r\n[ENG]\r\n34=Downloading\r\n' "${pictures//\//\\}")"
host=$build/tests/camera_window_host.exe
simcam=$build/companions/simcam/SimCam.dll

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "The camera window opens on $DISPLAY; pictures you download go to $pictures"
    export WINEPREFIX="$build/demo-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # A new prefix is made without a display, so that nothing of its set-up shows.
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        env -u DISPLAY /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
        /usr/lib/wine/wineserver64 -w
    fi
    /usr/lib/wine/wine64 "$host" "$out/stage/Vantage.dll" "$simcam" 0 2>/dev/null || true
    echo "Downloaded pictures: $pictures"
    ls "$pictures"
    exit 0
fi

env=$root/tests/win32/wine_env.sh
"$env" "$build" start
trap '"$env" "$build" stop' EXIT
display=":$(cat "$build/wine-display")"
log=$out/camera-window.log
"$env" "$build" run "$host" "$out/stage/Vantage.dll" "$simcam" 20 download >"$log" 2>&1 &
host_pid=$!
for _ in $(seq 600); do
    grep -q '^ready' "$log" 2>/dev/null && break
    kill -0 "$host_pid" 2>/dev/null || break
    sleep 0.2
done
grep '^download:' "$log" || echo "the camera window did not finish its download (see $log)"
shoot Camera 1 camera-window.png 1 >/dev/null
wait "$host_pid" || true
echo "Downloaded pictures ($(ls "$pictures" | wc -l) files): $pictures"
ls "$pictures" | sed 's/^/  /'
echo "Screenshot of the camera window: $out/camera-window.png"
