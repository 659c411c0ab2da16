# Shared by the scripts that open the camera window under Wine with the
# simulated camera (screenshot-camera-window.sh, demo.sh); sourced, not run.

# Vantage with its companions in a folder of its own, with the settings text
# given (the strings file and [Setting]) in its TWain.ini.
#   stage_camera_window BUILD_DIR STAGE_DIR INI_TEXT
stage_camera_window() {
    local build=$1 stage=$2
    rm -rf "$stage"
    mkdir -p "$stage"
    cp "$build/vantage/Vantage.dll" "$build/companions/Lexis.DLL" "$build/prism/Prism.dll" "$stage/"
    printf '%s' "$3" > "$stage/TWain.ini"
}

# Waits until `count` viewable windows on $display have that title, lets
# them draw (and settle `seconds` more), and saves the screen as $out/FILE.
#   shoot TITLE COUNT FILE [SECONDS]
shoot() {
    local ids n=0
    for _ in $(seq 120); do
        ids=$(xwininfo -display "$display" -root -tree 2>/dev/null | awk -v t=" \"$1\": " 'index($0, t) {print $1}')
        n=0
        for id in $ids; do
            xwininfo -display "$display" -id "$id" 2>/dev/null | grep -q IsViewable && n=$((n + 1))
        done
        [ "$n" -ge "$2" ] && break
        sleep 0.25
    done
    sleep "${4:-1}"
    import -display "$display" -window root "$out/$3"
    echo "$out/$3 ($n windows called \"$1\")"
}
