#!/bin/sh
# Shows the widget gallery under a virtual X server for a few seconds (so the performance graph
# has data) and saves a picture of its window.
#
#   scripts/screenshot-gallery.sh [build folder] [picture]
#
# Defaults: build/ and docs/velquor-gallery.png. Needs xvfb-run and xauth.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
picture=${2:-$root/docs/velquor-gallery.png}
case $picture in /*) ;; *) picture=$(pwd)/$picture ;; esac
gallery=$build/app/gallery/velquor-gallery
[ -x "$gallery" ] || { echo "build the gallery first: $gallery is missing" >&2; exit 1; }
mkdir -p "$(dirname "$picture")"
xvfb-run -a -s "-screen 0 1280x800x24" "$gallery" --screenshot "$picture" --delay 4000
echo "saved $picture"
