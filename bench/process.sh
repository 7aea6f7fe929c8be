#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Prints the conversion's speed and memory figures in one run: the whole velquor-convert process
# against an empty C++ program built and linked the same way and against GPSBabel reading the
# same file, the worst case of the ambiguity check against the ordinary file, peak memory on
# ordinary and hostile inputs, the in-process conversion time for growing files, and, with the
# desktop program built, the window's start to its first painted frame against a bare Qt window.
# Every process ratio comes from both programs run alternately in one loop (bench_alternate),
# medians of RUNS runs each, with the file cache warm.
# Usage: bench/process.sh [BUILD_DIR]
#   BUILD_DIR configured with -DVELQUOR_BENCH=ON (Release for honest figures); needs gpsbabel
#   for its ratio. RUNS (default 200) sets the runs per command, BIG=0 skips the 1 GB file,
#   BASELINE=DIR compares the in-process conversion with another build's (an earlier commit),
#   WINDOW_RUNS (default 40) the runs of the two windows (bench/window.sh, offscreen and, with
#   xvfb-run, on a virtual X server).
set -euo pipefail
build=${1:-build}
runs=${RUNS:-200}
convert=$build/cli/velquor-convert
alternate=$build/bench/bench_alternate
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A CAI file of N points; SAME=1 gives every point the same name (the ambiguity check's worst case).
points() {
    local n=$1 same=${2:-0}
    printf '**  ------------ Benchmark Site ------------\r\n**  ------ Timezone: 1 ------\r\n'
    awk -v n="$n" -v same="$same" 'BEGIN {
        for (i = 1; i <= n; i++) {
            type = i == 1 ? "HAT" : (i % 3 ? "T" : "AT")
            name = same ? "SAME FIELD" : sprintf("TP%04d FIELD", i)
            id = same ? 1000 + i : i
            printf "%d,%d:%02d.123N,0%d:%02d.456E,%dM,%s,%s,Comment for point %d\r\n",
                id, 40 + i % 20, i % 60, 10 + i % 80, i % 60, 100 + i, type, name, i
        }
    }'
}
# The same points as a SeeYou CUP file.
cup_points() {
    local n=$1
    printf 'name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n'
    awk -v n="$n" 'BEGIN {
        for (i = 1; i <= n; i++) {
            style = i == 1 || i % 3 == 0 ? 5 : 1
            printf "\"TP%04d FIELD\",TP%04d,DE,%02d%02d.123N,%03d%02d.456E,%dm,%d,,,,\"Comment for point %d\"\r\n",
                i, i, 40 + i % 20, i % 60, 10 + i % 80, i % 60, 100 + i, style, i
        }
    }'
}
# A CUP file whose every field is as long as a field can be.
cup_longest() {
    printf 'name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n'
    awk 'BEGIN {
        name = sprintf("%0199d", 0); digits = sprintf("%0190d", 0)
        for (i = 1; i <= 1799; i++)
            printf "\"%s\",C%d,DE,4500.%sN,00700.%sE,123456789.%sm,5,,,%s,\"%s\"\r\n",
                name, i, digits, digits, digits, name, name
    }'
}
points 1799 >"$work/points.dat"
cup_points 1799 >"$work/points.cup"
cup_longest >"$work/longest.cup"
points 1799 1 >"$work/same.dat"
head -c 3000000 /dev/urandom >"$work/random.dat"
head -c 3000000 /dev/zero | tr '\0' 'x' >"$work/longline.dat"
# N bytes of comment lines (yes ends by a broken pipe, which is no failure here).
comments() { yes '* a comment line of a CAI file, as long as many of them are' | head -c "$1" || true; }
comments 1000000 >"$work/comments-1M.dat"

echo "== $(date -u '+%Y-%m-%d %H:%M UTC'), load:$(uptime | sed 's/.*load average://')"
echo
echo "== whole velquor-convert process, 1799-point file, against an empty C++ program"
echo "-- replacing an existing SN10 file (as converting again does)"
"$alternate" "$runs" velquor-convert "$convert" -f -v 2 "$work/points.dat" "$work/out.ndb" \
    -- empty-program "$build/bench/bench_empty_program"
echo "-- writing a new SN10 file (as the first conversion of a file does)"
mkdir "$work/new"
"$alternate" "$runs" velquor-convert "$convert" -v 2 "$work/points.dat" "$work/new/{n}.ndb" \
    -- empty-program "$build/bench/bench_empty_program"
rm -rf "$work/new"
echo "-- the file system's part: a program that only writes as many bytes to a new file and renames"
echo "   it over the SN10 file, against the empty program, and velquor-convert against it"
size=$(wc -c <"$work/out.ndb")
"$alternate" "$runs" replace-floor "$build/bench/bench_replace_floor" "$work/floor.ndb" "$size" \
    -- empty-program "$build/bench/bench_empty_program"
"$alternate" "$runs" velquor-convert "$convert" -f -v 2 "$work/points.dat" "$work/out.ndb" \
    -- replace-floor "$build/bench/bench_replace_floor" "$work/floor.ndb" "$size"
echo
if command -v gpsbabel >/dev/null; then
    echo "== the same against GPSBabel reading the same file"
    "$alternate" "$((runs / 4))" velquor-convert "$convert" -f -v 2 "$work/points.dat" "$work/out.ndb" \
        -- gpsbabel gpsbabel -i cambridge -f "$work/points.dat" -o unicsv -F "$work/out.csv"
else
    echo "== (gpsbabel is not installed: no ratio against it)"
fi
echo
echo "== the same 1799 points as a SeeYou CUP file against the CAI file"
"$alternate" "$runs" cup "$convert" -f -v 2 "$work/points.cup" "$work/out-cup.ndb" \
    -- cai "$convert" -f -v 2 "$work/points.dat" "$work/out.ndb"
echo
echo "== worst case of the ambiguity check (1799 equal names, 1798 warnings) against the ordinary file"
"$alternate" "$runs" same-names "$convert" -f -v 2 "$work/same.dat" "$work/out2.ndb" \
    -- ordinary "$convert" -f -v 2 "$work/points.dat" "$work/out.ndb"
echo
echo "== peak resident memory of velquor-convert"
peak() {
    /usr/bin/time -f '%M' "$convert" -f "$1" "$work/out.ndb" 2>&1 >/dev/null | tail -n 1
}
for input in points.dat same.dat random.dat longline.dat comments-1M.dat points.cup longest.cup \
    random.cup; do
    [ -e "$work/$input" ] || cp "$work/${input%.cup}.dat" "$work/$input"
    printf '%-14s %6s kB\n' "$input" "$(peak "$work/$input")"
done
if [ "${BIG:-1}" != 0 ]; then
    comments 1000000000 >"$work/comments-1G.dat"
    printf '%-14s %6s kB\n' comments-1G "$(peak "$work/comments-1G.dat")"
    rm -f "$work/comments-1G.dat"
fi
echo
echo "== in-process conversion (Google Benchmark, medians): onto an existing SN10 file, and the"
echo "   1799-point file into a new one"
"$build/bench/bench_engine_conversion" --benchmark_filter='BM_Conversion' \
    --benchmark_report_aggregates_only=true 2>/dev/null | awk '/_median/ {print}'
if [ -n "${BASELINE:-}" ]; then
    # Another build of the benchmarks (an earlier commit) against this one, alternately.
    echo "-- the 1799-point file onto an existing SN10 file, against $BASELINE (medians of medians)"
    for round in 1 2 3 4 5 6 7 8; do
        for b in "$build" "$BASELINE"; do
            "$b/bench/bench_engine_conversion" --benchmark_filter='^BM_Conversion/1799/' \
                --benchmark_format=csv 2>/dev/null | awk -F, -v b="$b" '/_median/ {print b, $3, $4, $5}'
        done
    done | awk -v this="$build" '
        { wall[$1] = wall[$1] " " $2; cpu[$1] = cpu[$1] " " $3; unit = $4 }
        function median(list,   v, n, i, j, t) {
            n = split(list, v, " ")
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
            return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
        }
        END {
            for (b in wall) if (b != this) other = b
            printf "this build   %.3f %s wall, %.3f %s CPU\n", median(wall[this]), unit, median(cpu[this]), unit
            printf "baseline     %.3f %s wall, %.3f %s CPU\n", median(wall[other]), unit, median(cpu[other]), unit
            printf "ratio        %.3fx wall, %.3fx CPU\n", median(wall[this]) / median(wall[other]),
                median(cpu[this]) / median(cpu[other])
        }'
fi
echo
if [ -x "$build/bench/bench_window_velquor" ]; then
    echo "== the window's start to its first painted frame, against a bare one-label Qt window"
    QT_QPA_PLATFORM=offscreen "$(dirname "$0")/window.sh" "$build"
    if command -v xvfb-run >/dev/null; then
        QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1024x768x24' "$(dirname "$0")/window.sh" "$build"
    fi
fi
