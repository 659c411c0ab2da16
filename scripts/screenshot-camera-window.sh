#!/usr/bin/env bash
# Screenshots of the camera window under Xvfb and Wine (64-bit build), opened
# by a stand-in data source with the simulated camera: one with the camera
# answering and its view filled with thumbnails (stills and clips, 640 x 480
# and 320 x 240), one scrolled to its end, one without (taken while the "No Camera." message is up, and
# once it is gone), the options and information dialogs over it, the video
# window at both video sizes and the enlarged view of a still and of a clip.
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

# The host opens the video window after two seconds and switches it to
# 640 x 480 three seconds later.
"$env" "$build" run "$host" "$stage/Vantage.dll" "$simcam" 9 video &
shoot Camera 1 video-window-320.png 3.5
sleep 2.5
import -display "$display" -window root "$out/video-window-640.png"
echo "$out/video-window-640.png"
wait

# The enlarged view of the first still has the camera window's title too.
"$env" "$build" run "$host" "$stage/Vantage.dll" "$simcam" 8 enlarge &
shoot Camera 2 enlarged-view.png 2
wait
"$env" "$build" run "$host" "$stage/Vantage.dll" "$simcam" 8 clip &
shoot Camera 2 enlarged-clip.png 2
wait

[ "$started" = 1 ] && "$env" "$build" stop
true
