#!/bin/sh
# SPDX-License-Identifier: MIT
# Opens the spin edit and gauge form of the Designer tests in Qt Designer on a virtual X server,
# selects the gauge, shows its ForeColor in the colour editor, lists the spin edit's signals in
# the signal/slot editor, and saves a picture of the screen.
#
#   scripts/screenshot-designer.sh [build folder] [picture]
#
# Defaults: build/ and docs/velquor-designer.png. Needs xvfb-run, xauth, xdotool and ImageMagick's
# import. Designer works on a copy of the form and with settings of its own, in a scratch folder
# that goes at the end. The clicks go to places on Designer's first-start layout at 1280 x 860.
set -eu

if [ "${1:-}" = "--inside" ]; then
    designer=$2 plugins=$3 form=$4 picture=$5 scratch=$6
    HOME=$scratch XDG_RUNTIME_DIR=$scratch QT_PLUGIN_PATH=$plugins "$designer" "$form" \
        >"$scratch/designer.log" 2>&1 &
    pid=$!
    trap 'kill $pid 2>/dev/null || true' EXIT
    window=
    for _ in $(seq 50); do
        window=$(xdotool search --name "Qt Designer" 2>/dev/null | head -n 1) && [ -n "$window" ] &&
            break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "Designer did not start" >&2; exit 1; }
    sleep 2
    step() { "$@"; sleep 0.7; }
    step xdotool windowsize "$window" 1280 860
    step xdotool mousemove 830 150 click 1                   # the gauge in the Object Inspector
    step xdotool mousemove 975 342 click 1 type --delay 50 Color # the property editor's filter
    step xdotool mousemove 831 823 click 1                   # the Signal/Slot Editor tab
    step xdotool mousemove 779 466 click 1                   # ForeColor opened ...
    step xdotool mousemove 1050 466 click 1                  # ... and in the colour editor
    step xdotool mousemove 249 67 click 1                    # the widget box closed
    # The form to the lower right, the signal/slot editor floating at the top left, so that the
    # list of signals has room below it.
    step xdotool mousemove 100 70 mousedown 1 sleep 0.2 mousemove 200 200 sleep 0.2 \
        mousemove 580 610 sleep 0.2 mouseup 1
    step xdotool mousemove 820 587 click --repeat 2 --delay 80 1
    dock=$(xdotool search --name "Signal/Slot Editor" | head -n 1)
    step xdotool windowmove "$dock" 0 62 windowsize "$dock" 760 190
    # A new connection from the spin edit, and the list of its signals.
    step xdotool mousemove 19 99 click 1
    step xdotool mousemove 30 158 click --repeat 2 --delay 80 1
    step xdotool key End Return
    step xdotool mousemove 199 128 mousedown 1 sleep 0.2 mousemove 260 128 sleep 0.2 \
        mousemove 345 128 sleep 0.2 mouseup 1
    step xdotool mousemove 150 158 click --repeat 2 --delay 80 1
    step xdotool mousemove 336 158 click 1
    import -window root "$picture"
    exit 0
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
picture=${2:-$root/docs/velquor-designer.png}
case $picture in /*) ;; *) picture=$(pwd)/$picture ;; esac
plugin=$build/plugins/designer/libvelquor_designer.so
[ -f "$plugin" ] || { echo "build the Designer plugin first: $plugin is missing" >&2; exit 1; }
designer=$(command -v designer || true)
[ -n "$designer" ] || designer=$(qtpaths6 --query QT_INSTALL_BINS)/designer
for tool in xvfb-run xdotool import; do
    command -v $tool >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 700 "$scratch"
cp "$root/tests/designer/SpinGaugeForm.ui" "$scratch/"
mkdir -p "$(dirname "$picture")"
xvfb-run -a -s "-screen 0 1280x860x24" sh "$0" --inside "$designer" "$build/plugins" \
    "$scratch/SpinGaugeForm.ui" "$picture" "$scratch"
echo "saved $picture"
