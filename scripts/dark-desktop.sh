#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command as on a desktop with a dark colour scheme: Qt's KDE platform theme reads the
# scheme in scripts/dark-desktop/kdeglobals and gives every Qt program a dark palette and the
# Fusion style. Nothing of the user's own settings is read or changed.
#
#   scripts/dark-desktop.sh COMMAND [ARGUMENT ...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
cp "$here/dark-desktop/kdeglobals" "$config/"
XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 XDG_CONFIG_HOME=$config "$@"
