#!/bin/sh
# SPDX-License-Identifier: MIT
# Shows the Velquor window under a virtual X server, sets the variation to 2 and converts the
# example CAI file with the mouse, and saves a picture of the window.
#
#   scripts/screenshot-window.sh [--dark] [build folder] [picture]
#
# Defaults: build/ and docs/velquor-window.png (docs/velquor-window-dark.png with --dark, which
# shows the window on a desktop with a dark colour scheme). Needs xvfb-run, ImageMagick's import,
# xwininfo (x11-utils), python3 and the XTest library (libxtst6), which does the clicking.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--inside" ]; then
    velquor=$2
    work=$3
    picture=$4
    cd "$work"
    "$velquor" &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    geometry=
    for _ in $(seq 1 100); do
        if geometry=$(xwininfo -name "Velquor 1.0" 2>/dev/null); then
            break
        fi
        sleep 0.1
    done
    [ -n "$geometry" ] || { echo "the window did not appear" >&2; exit 1; }
    x=$(echo "$geometry" | sed -n 's/.*Absolute upper-left X: *//p')
    y=$(echo "$geometry" | sed -n 's/.*Absolute upper-left Y: *//p')
    width=$(echo "$geometry" | sed -n 's/.*Width: *//p')
    height=$(echo "$geometry" | sed -n 's/.*Height: *//p')
    sleep 1
    # Positions in the client area, which starts below the menu bar: the variation's up arrow
    # at (79..93, 48..55), the convert button at (109..349, 48..72).
    top=$((y + height - 370))
    python3 - "$((x + 86))" "$((top + 51))" "$((x + 86))" "$((top + 51))" \
        "$((x + 229))" "$((top + 60))" <<'PY'
import ctypes, sys, time
x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
points = list(map(int, sys.argv[1:]))
for x, y in zip(points[0::2], points[1::2]):  # a click on each point in turn
    xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
    x11.XFlush(display)
    time.sleep(0.3)
    for press in (1, 0):
        xtst.XTestFakeButtonEvent(display, 1, press, 0)
        x11.XFlush(display)
        time.sleep(0.15)
    time.sleep(0.3)
x11.XCloseDisplay(display)
PY
    sleep 2
    import -window root -crop "${width}x${height}+${x}+${y}" +repage "$picture"
    exit 0
fi

theme= suffix=
if [ "${1:-}" = "--dark" ]; then
    theme=$root/scripts/dark-desktop.sh suffix=-dark
    shift
fi
build=$(cd "${1:-$root/build}" && pwd)
picture=${2:-$root/docs/velquor-window$suffix.png}
case $picture in /*) ;; *) picture=$(pwd)/$picture ;; esac
velquor=$build/app/velquor
[ -x "$velquor" ] || { echo "build the program first: $velquor is missing" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
work=$scratch/nav
mkdir "$work"
cp "$root"/examples/*.dat "$work"/
mkdir -p "$(dirname "$picture")"
$theme xvfb-run -a -s "-screen 0 1024x640x24" sh "$0" --inside "$velquor" "$work" "$picture"
echo "saved $picture"
