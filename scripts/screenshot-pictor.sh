#!/usr/bin/env bash
# Screenshot of Pictor under Xvfb and Wine (64-bit build): two 640 x 480
# pictures from the simulated camera's data source (through Wine's manager)
# that could not be saved, so they stay open as documents in the frame.
#   scripts/screenshot-pictor.sh [BUILD_DIR] [OUTPUT_FOLDER]
# BUILD_DIR defaults to build/win64 (configured), OUTPUT_FOLDER to out/screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
out=${2:-$root/out/screenshots}
env=$root/tests/win32/wine_env.sh
mkdir -p "$out"
cmake --build "$build" -j 2 --target Pictor pictor_test twain_source Vantage lexis Prism simcam >/dev/null

started=0
if [ ! -f "$build/wine-display" ]; then
    "$env" "$build" start
    started=1
fi
display=":$(cat "$build/wine-display")"
"$root/tests/win32/install_twain_source.sh" "$build" 64 "$build/companions/twain_source/SimSource.ds" \
    "$build/vantage/Vantage.dll" "$build/companions/Lexis.DLL" "$build/prism/Prism.dll" \
    "$build/companions/simcam/SimCam.dll" >/dev/null

"$env" "$build" run "$build/tests/pictor_test.exe" "$build/pictor/Pictor.exe" --through-manager --hold 15 &
for _ in $(seq 80); do
    xwininfo -display "$display" -root -tree 2>/dev/null | grep -q '"Pic2"' && break
    sleep 0.25
done
sleep 3
import -display "$display" -window root "$out/pictor-documents.png"
echo "$out/pictor-documents.png"
wait
[ $started -eq 1 ] && "$env" "$build" stop
true
