#!/bin/sh
# SPDX-License-Identifier: MIT
# The program's window and the widget gallery started on a virtual X server, as a person sees
# them: first with the default light palette, then on a desktop with a dark colour scheme. Both
# run together for a few seconds (the gallery takes its screenshot, which paints it once more);
# anything either prints on its standard error fails the test, apart from the few notes the
# platform prints by itself (below).
#
#   start-without-warnings.sh VELQUOR GALLERY EXAMPLES-FOLDER SCRATCH-FOLDER
set -eu
absolute() { case $1 in /*) echo "$1" ;; *) echo "$(pwd)/$1" ;; esac; }
velquor=$(absolute "$1") gallery=$(absolute "$2") examples=$3 scratch=$(absolute "$4")
root=$(cd "$(dirname "$0")/../.." && pwd)
export QT_QPA_PLATFORM=xcb # the X server, whatever the caller's environment says
if ! command -v xvfb-run >/dev/null; then
    echo "xvfb-run is missing (Debian package xvfb): skipped"
    exit 77
fi
rm -rf "$scratch"
mkdir -p "$scratch/nav"
cp "$examples"/*.dat "$scratch/nav/"

# Both programs at once; the window is closed when the gallery has taken its picture.
run() { # light|dark
    out=$scratch/$1
    mkdir -p "$out"
    wrap=
    [ "$1" = dark ] && wrap=$root/scripts/dark-desktop.sh
    status=0
    $wrap xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
        cd "$1"
        "$2" 2>"$4/window.err" &
        window=$!
        "$3" --screenshot "$4/gallery.png" --delay 3000 2>"$4/gallery.err"
        status=$?
        kill "$window"
        wait "$window" 2>/dev/null || true
        exit $status' sh "$scratch/nav" "$velquor" "$gallery" "$out" || status=$?
    [ "$status" -eq 0 ] || { echo "$1: the gallery did not take its picture (status $status)"; return 1; }
    [ -s "$out/gallery.png" ] || { echo "$1: no picture"; return 1; }
    for program in window gallery; do
        # Notes of the platform, not of the programs: a session without a runtime folder (root
        # on a CI machine), and the KDE theme finding no session bus to hear of later changes.
        grep -v -e '^QStandardPaths: XDG_RUNTIME_DIR not set' \
            -e '^QStandardPaths: runtime directory' \
            -e '^qt\.qpa\.theme\.dbus: ' -e '^ Check your DBus installation\.$' \
            "$out/$program.err" >"$out/$program.unexpected" || true
        if [ -s "$out/$program.unexpected" ]; then
            echo "$1: the $program printed:"
            cat "$out/$program.unexpected"
            failed=1
        fi
    done
    return 0
}

failed=0
run light || failed=1
run dark || failed=1
[ "$failed" -eq 0 ] && echo "window and gallery started without warnings, light and dark"
exit "$failed"
