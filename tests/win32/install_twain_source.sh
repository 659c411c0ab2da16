#!/usr/bin/env bash
# Installs the simulated camera's data source into the build folder's wine
# prefix, where Wine's data source manager looks: it loads exactly
# C:\windows\twain_64\sane.ds (64-bit programs) or C:\windows\twain_32\sane.ds
# (32-bit ones), so the source goes in under that name, with the libraries it
# loads from its own folder and a TWain.ini. Any SimSource.ini of an earlier
# test is removed: every test starts from the source's defaults.
#   install_twain_source.sh BUILD_DIR 32|64 SimSource.ds Vantage.dll Lexis.DLL Prism.dll SimCam.dll
set -eu
build=$1
bits=$2
source_ds=$3
shift 3
folder="$build/wineprefix/drive_c/windows/twain_$bits"
[ -d "$build/wineprefix/drive_c/windows" ] || { echo "no wine prefix in $build: start the fixture first" >&2; exit 1; }
mkdir -p "$folder"
cp "$source_ds" "$folder/sane.ds"
for file in "$@"; do cp "$file" "$folder/"; done
rm -f "$folder/SimSource.ini"
printf '[Setting]\r\nShowThumbnailNumber=1\r\nHideByOtherAP=0\r\n[IP]\r\nJPEG=85\r\n' > "$folder/TWain.ini"
echo "installed $(basename "$source_ds") as $folder/sane.ds"
