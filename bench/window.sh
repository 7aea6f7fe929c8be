#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times the desktop program's start to its first painted frame against a bare one-label Qt window
# from the same build, on the platform QT_QPA_PLATFORM names (offscreen when unset; xcb under
# xvfb-run for a real X server). Both start in a folder of CAI files, as a pilot starts the
# program, and run alternately (bench_alternate, medians of WINDOW_RUNS runs, default 40); with
# valgrind installed, the instructions each executes up to its first frame are counted as well, a
# figure the machine's load does not move.
# Usage: bench/window.sh [BUILD_DIR]   (configured with -DVELQUOR_BENCH=ON)
set -euo pipefail
build=$(realpath "${1:-build}")
window=$build/bench/bench_window_velquor
bare=$build/bench/bench_window_bare
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
nav=$(mktemp -d)
trap 'rm -rf "$nav"' EXIT
cp "$(dirname "$0")"/../examples/*.dat "$nav"/
cd "$nav"

echo "-- on Qt's $QT_QPA_PLATFORM platform"
"$build/bench/bench_alternate" "${WINDOW_RUNS:-40}" window "$window" -- bare-window "$bare"
if command -v valgrind >/dev/null; then
    # A child the program forks (a D-Bus autolaunch under X11) reports its own count; the
    # program's is the one under the process id valgrind names first.
    instructions() {
        valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" 2>&1 |
            awk '!pid && match($0, /^==[0-9]+==/) { pid = substr($0, 1, RLENGTH) }
                 pid && index($0, pid " Collected :") == 1 { print $NF; exit }'
    }
    awk -v a="$(instructions "$window")" -v b="$(instructions "$bare")" 'BEGIN {
        printf "instructions: window %.1f M, bare-window %.1f M, ratio %.2fx\n", a / 1e6, b / 1e6, a / b
    }'
fi
