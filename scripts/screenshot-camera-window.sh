#!/usr/bin/env bash
# Screenshots of the camera window under Xvfb and Wine (64-bit build), opened
# by a stand-in data source with the simulated camera: one with the camera
# answering and its view filled with thumbnails (stills and clips, 640 x 480
# and 320 x 240), one scrolled to its end, one without (taken while the "No Camera." message is up, and
# once it is gone), and the options and information dialogs over it.
#   scripts/screenshot-camera-window.sh [BUILD_DIR] [OUTPUT_FOLDER]
# BUILD_DIR defaults to build/win64 (configured), OUTPUT_FOLDER to out/screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
out=${2:-$root/out/screenshots}
env=$root/tests/win32/wine_env.sh
mkdir -p "$out"
cmake --build "$build" -j 2 --target camera_window_host Vantage lexis Prism simcam >/dev/null

# shellcheck source=camera-window-lib.sh
. "$root/scripts/camera-window-lib.sh"
# Vantage with its companions in a folder of its own; default settings.
stage=$build/screenshot-stage
stage_camera_window "$build" "$stage" $'[Setting]\r\nPath=C:\\users\\Public\\Pictures\r\n'
host=$build/tests/camera_window_host.exe
simcam=$build/companions/simcam/SimCam.dll

started=0
if [ ! -f "$build/wine-display" ]; then
    "$env" "$build" start
    started=1
fi
display=":$(cat "$build/wine-display")"
"$env" "$build" run "$host" "$stage/Vantage.dll" "$simcam" 14 full &
shoot Camera 1 camera-window.png 6
# The host scrolls the view to its end after eight seconds.
sleep 3
import -display "$display" -window root "$out/camera-window-scrolled.png"
echo "$out/camera-window-scrolled.png"
wait

"$env" "$build" run "$host" "$stage/Vantage.dll" "$simcam" 8 nocamera &
shoot Camera 2 camera-window-no-camera-message.png
sleep 2
shoot Camera 1 camera-window-no-camera.png
wait

"$env" "$build" run "$host" "$stage/Vantage.dll" "$simcam" 6 options &
shoot Options 1 options-dialog.png
wait

"$env" "$build" run "$host" "$stage/Vantage.dll" "$simcam" 6 about &
shoot "About Camera" 1 about-dialog.png
wait

[ "$started" = 1 ] && "$env" "$build" stop
true
