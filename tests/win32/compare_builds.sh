#!/usr/bin/env bash
# Develops the same frames with the native prism tool and with prism.exe under
# Wine, with default settings and with settings that run every stage, and
# requires identical files.
#   compare_builds.sh BUILD_DIR NATIVE_PRISM PRISM_EXE
set -u
build=$1
native=$2
windows=$3
env_script=$(dirname "$0")/wine_env.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir -p defaults every native-out windows-out
cat > every/TWain01.ini <<'INI'
[IPBefore]
OPBefore=1234561
[IPAfter]
OPAfter=123
[IPVEXA]
OPVEXA=CABDEFHIJKLM
Interpolation=1
INI
printf '[IPVEXA]\r\nOPVEXA=cKN\r\nInterpolation=3\r\n' > every/TWain02.ini

frames=()
for scene in bars ramp wedge chart; do
    "$native" scene "$scene" "$scene-640.raw" || exit 1
    "$native" scene "$scene" "$scene-320.raw" --size 320x240 || exit 1
    frames+=("$scene-640.raw" "$scene-320.raw")
done

develop() {  # output folder, settings folder, set, extra...
    local out=$1 settings=$2 set=$3
    shift 3
    "$native" develop --settings "$settings" --set "$set" "$@" "${frames[@]}" -o "native-out/$out" || return 1
    "$env_script" "$build" run "$windows" develop --settings "$settings" --set "$set" "$@" "${frames[@]}" \
        -o "windows-out/$out" || return 1
}

status=0
develop default-jpg defaults 0 || status=1
develop default-bmp defaults 0 --format bmp || status=1
develop every-bmp every 0 --format bmp --flip 3 || status=1
develop expand-bmp every 1 --format bmp --enlarge || status=1
develop every-jpg every 0 || status=1
count=$(find native-out -type f | wc -l)
if ! diff -r native-out windows-out >/dev/null; then
    diff -r native-out windows-out | head -n 10
    echo "the builds differ"
    exit 1
fi
[ "$count" -eq 40 ] || { echo "expected 40 files from each build, got $count"; exit 1; }
[ $status = 0 ] || { echo "a development failed"; exit 1; }
echo "$count files identical from both builds"
