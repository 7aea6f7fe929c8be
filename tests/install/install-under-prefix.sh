#!/bin/sh
# SPDX-License-Identifier: MIT
# cmake --install of the build, as a user installs into ~/.local, here into a scratch root
# (DESTDIR) so that a destination outside the prefix shows instead of writing there: every file
# lands under the prefix unless the build was told otherwise, each expected file is there, and
# (with --references) every manual page names in SEE ALSO only pages installed beside it.
#
#   install-under-prefix.sh [--references] CMAKE BUILD SCRATCH FILE...
#     FILE: a file the install must put in place, relative to the prefix (or absolute, when the
#     build was configured to install it outside the prefix)
set -eu
references=false
if [ "$1" = --references ]; then
    references=true
    shift
fi
cmake=$1 build=$2 scratch=$3
shift 3
root=$scratch/root prefix=/opt/velquor
rm -rf "$scratch"
mkdir -p "$root"
if ! DESTDIR=$root "$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log"
    echo "cmake --install failed"
    exit 1
fi
status=0

allowed=$scratch/allowed
: >"$allowed"
for file in "$@"; do
    case $file in
    /*) path=$file ;;
    *) path=$prefix/$file ;;
    esac
    echo "$root$path" >>"$allowed"
    if [ ! -f "$root$path" ]; then
        echo "not installed: $path"
        status=1
    fi
done
find "$root" -type f ! -path "$root$prefix/*" | sort | while read -r path; do
    grep -qxF "$path" "$allowed" || echo "installed outside the prefix: ${path#"$root"}"
done >"$scratch/outside"
if [ -s "$scratch/outside" ]; then
    cat "$scratch/outside"
    status=1
fi

# ".BR name (section)" lines after ".SH SEE ALSO" name the pages a reader is sent to.
$references || exit $status
for page in "$root$prefix"/share/man/man*/*; do
    [ -f "$page" ] || continue
    sed -n '/^\.SH SEE ALSO/,/^\.SH/s/^\.BR \([^ ]*\) (\([0-9]\)).*/\1 \2/p' "$page" |
        sed 's/\\-/-/g' |
        while read -r name section; do
            [ -f "$root$prefix/share/man/man$section/$name.$section" ] ||
                echo "${page#"$root"} refers to $name($section), which is not installed"
        done
done >"$scratch/references"
if [ -s "$scratch/references" ]; then
    cat "$scratch/references"
    status=1
fi
exit $status
