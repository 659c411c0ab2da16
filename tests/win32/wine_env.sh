#!/usr/bin/env bash
# The Wine environment of one build folder: a private Xvfb display and wine
# prefix inside the folder, and a persistent wineserver so that each test
# program starts in well under a second.
#   wine_env.sh BUILD_DIR start | stop | run PROGRAM [ARGS...]
# The prefix is 64-bit with wine64 as the loader: 32-bit test programs (the
# product's own build) run in it as on 64-bit Windows, their 32-bit Wine
# under user-mode emulation (qemu-i386, registered by scripts/setup.sh). The
# loaders are the system's, copied into the build folder with the 32-bit
# preloader joined into one piece (make_wine_tree.py says why).
set -u
build=$1
command=$2
shift 2

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINELOADER="$build/wine-tree/lib/wine/wine64"
export WINESERVER=/usr/lib/wine/wineserver64
display_file="$build/wine-display"
xvfb_pid_file="$build/wine-xvfb.pid"

start_display() {
    local n
    for n in $(seq 91 160); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! > "$xvfb_pid_file"
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.05
    done
    echo "$n" > "$display_file"
}

case "$command" in
start)
    "$0" "$build" stop >/dev/null 2>&1
    python3 "$(dirname "$0")/make_wine_tree.py" "$build/wine-tree" || exit 1
    start_display
    export DISPLAY=":$(cat "$display_file")"
    # The server works inside the prefix, which a fresh build folder lacks.
    mkdir -p "$WINEPREFIX"
    # Detached from our output, or ctest would wait for the server to end.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1 || exit 1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$WINELOADER" wineboot -i >/dev/null 2>&1
    fi
    # Unmanaged windows: without a window manager every hidden window would
    # otherwise wait for one.
    "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    ;;
stop)
    "$WINESERVER" -k >/dev/null 2>&1
    if [ -f "$xvfb_pid_file" ]; then
        kill "$(cat "$xvfb_pid_file")" 2>/dev/null
        rm -f "$xvfb_pid_file"
    fi
    rm -f "$display_file"
    true
    ;;
run)
    [ -f "$display_file" ] || { echo "wine_env: no display; start the fixture first" >&2; exit 1; }
    export DISPLAY=":$(cat "$display_file")"
    # Why a build leaves some checks out (set by the test's definition).
    [ -n "${WINE_TEST_NOTE:-}" ] && echo "note: $WINE_TEST_NOTE"
    exec "$WINELOADER" "$@"
    ;;
*)
    echo "usage: wine_env.sh BUILD_DIR start|stop|run PROGRAM [ARGS...]" >&2
    exit 2
    ;;
esac
