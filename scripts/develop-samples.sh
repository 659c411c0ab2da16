#!/usr/bin/env bash
# Generates the sample scenes at both camera sizes and develops them with the
# native prism tool into JPEG and BMP files (no Wine needed).
#   scripts/develop-samples.sh [OUTPUT_FOLDER]   (default: out/samples)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/out/samples}
"$root/scripts/setup.sh" "$root/build"
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/native" -j 2 --target prism_tool >/dev/null
prism=$root/build/native/tools/prism

mkdir -p "$out/raw"
for size in 640x480 320x240; do
    for scene in bars ramp wedge chart; do
        "$prism" scene "$scene" "$out/raw/${scene}-${size}.raw" --size "$size"
    done
done
# Settings folder: the defaults (an empty folder holds no settings files).
mkdir -p "$out/settings"
"$prism" develop --settings "$out/settings" "$out/raw"/*-640x480.raw -o "$out/jpeg"
"$prism" develop --settings "$out/settings" --size 320x240 "$out/raw"/*-320x240.raw -o "$out/jpeg"
"$prism" develop --settings "$out/settings" --format bmp "$out/raw"/*-640x480.raw -o "$out/bmp"
echo "Developed pictures:"
echo "  JPEG: $out/jpeg"
echo "  BMP:  $out/bmp"
echo "  raw frames: $out/raw"
