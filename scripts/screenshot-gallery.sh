#!/bin/sh
# SPDX-License-Identifier: MIT
# Shows the widget gallery under a virtual X server for a few seconds (so the performance graph
# has data) and saves a picture of its window.
#
#   scripts/screenshot-gallery.sh [--dark] [build folder] [picture]
#
# Defaults: build/ and docs/velquor-gallery.png (docs/velquor-gallery-dark.png with --dark, which
# shows the gallery on a desktop with a dark colour scheme). Needs xvfb-run and xauth.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
theme= suffix=
if [ "${1:-}" = "--dark" ]; then
    theme=$root/scripts/dark-desktop.sh suffix=-dark
    shift
fi
build=$(cd "${1:-$root/build}" && pwd)
picture=${2:-$root/docs/velquor-gallery$suffix.png}
case $picture in /*) ;; *) picture=$(pwd)/$picture ;; esac
gallery=$build/app/gallery/velquor-gallery
[ -x "$gallery" ] || { echo "build the gallery first: $gallery is missing" >&2; exit 1; }
mkdir -p "$(dirname "$picture")"
$theme xvfb-run -a -s "-screen 0 1024x768x24" "$gallery" --screenshot "$picture" --delay 4000
echo "saved $picture"
