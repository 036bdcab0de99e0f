#!/usr/bin/env bash
# Sets the machine up, builds KORUMIX and shows the saver running.
#   tools/run.sh [--headless] [--seconds N]
# Builds korumix.scr itself (the windows preset: i686, PE32, checked as a
# file) and the build this machine can run: the same windows build where
# 32-bit Wine runs here, otherwise the x86_64 build of the same sources
# (windows64) under 64-bit Wine. Then it runs the saver full screen (/s) in a
# Wine prefix of its own, build/run-prefix-<arch>:
#   - on your X display when $DISPLAY is set and reachable: move the mouse
#     or press a key to end it, as with any screen saver;
#   - otherwise (or with --headless) in an Xvfb of its own, 1280x1024: the
#     saver runs N seconds (default 4), a screenshot is saved and its path
#     printed, and everything is ended.
# KORUMIX.ini in the prefix's Windows directory (drive_c/windows) holds the
# settings; without it the saver runs with its defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

headless=0
seconds=4
while [ $# -gt 0 ]; do
    case "$1" in
    --headless) headless=1 ;;
    --seconds) seconds=$2; shift ;;
    *) echo "usage: $0 [--headless] [--seconds N]" >&2; exit 2 ;;
    esac
    shift
done

bash tools/setup.sh

echo "== build: korumix.scr (windows, i686)"
cmake --preset windows >/dev/null
cmake --build --preset windows --target korumix
bash tools/check-product.sh build/windows/src/korumix.scr

if tools/can-run-wine32.sh; then
    scr=$root/build/windows/src/korumix.scr
    export WINEARCH=win32 KORUMIX_WINE=$(command -v wine)
else
    echo "== build: this machine runs no 32-bit processes; the same sources for x86_64 (windows64)"
    cmake --preset windows64 >/dev/null
    cmake --build --preset windows64 --target korumix
    scr=$root/build/windows64/src/korumix.scr
    export WINEARCH=win64 KORUMIX_WINE=/usr/lib/wine/wine64
fi
export WINEPREFIX=$root/build/run-prefix-$WINEARCH WINEDEBUG=-all

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== making the Wine prefix $WINEPREFIX (once; it takes a few seconds)"
    bash tools/wine-prefix.sh create "$WINEPREFIX" >/dev/null
fi
# Wine's desktop belongs to the display its server started on: begin afresh.
wineserver -k 2>/dev/null || true

display_reachable() {
    [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

# Ends the prefix's Wine processes (the saver among them) however we leave.
trap 'wineserver -k 2>/dev/null || true' EXIT

if [ "$headless" = 0 ] && display_reachable; then
    echo "== KORUMIX runs full screen on $DISPLAY: move the mouse or press a key to end it"
    set +e
    "$KORUMIX_WINE" "$scr" /s </dev/null >/dev/null 2>&1
    code=$?
    set -e
    echo "== the saver ended (exit code $code)"
    exit 0
fi

shot=$root/build/run-screenshot.png
rm -f "$shot"
echo "== no X display to use: running the saver in an Xvfb for $seconds s"
export KORUMIX_SCR=$scr KORUMIX_SHOT=$shot KORUMIX_SECONDS=$seconds
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -euo pipefail
    # The server and the services of the prefix outlive single Wine
    # processes; start them apart from this script (when the prefix was
    # just made, its server already runs).
    wineserver -p </dev/null >/dev/null 2>&1 || true
    "$KORUMIX_WINE" "$KORUMIX_SCR" /s </dev/null >/dev/null 2>&1 &
    saver=$!
    for _ in $(seq 300); do
        xdotool search --onlyvisible --name "^Screen Saver\$" >/dev/null 2>&1 && break
        kill -0 $saver 2>/dev/null || { echo "run: the saver ended before showing" >&2; exit 1; }
        sleep 0.05
    done
    sleep "$KORUMIX_SECONDS"  # the animation is the point: let it run
    import -window root "$KORUMIX_SHOT"
    xdotool key space  # a key ends a screen saver
    for _ in $(seq 100); do
        kill -0 $saver 2>/dev/null || break
        sleep 0.05
    done
    kill $saver 2>/dev/null || true
    wait $saver 2>/dev/null || true
    wineserver -k 2>/dev/null || true
'
echo "== screenshot of the running saver: $shot"
