#!/usr/bin/env bash
# Times the whole velquor-convert process on a 1799-point file against an empty program built
# and linked the same way, and reports its peak memory on that file and on hostile inputs.
# Usage: bench/process.sh [BUILD_DIR]   (configure with -DVELQUOR_BENCH=ON; needs hyperfine)
set -euo pipefail
build=${1:-build}
convert=$build/cli/velquor-convert
empty=$build/bench/bench_empty_program
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
    printf '**  ------------ Benchmark Site ------------\r\n**  ------ Timezone: 1 ------\r\n'
    for i in $(seq 1 1799); do
        type=T
        [ "$i" -eq 1 ] && type=HAT
        printf '%d,%d:%02d.123N,0%d:%02d.456E,%dM,%s,TP%04d FIELD,Comment for point %d\r\n' \
            "$i" $((40 + i % 20)) $((i % 60)) $((10 + i % 80)) $((i % 60)) $((100 + i)) "$type" "$i" "$i"
    done
} >"$work/points.dat"
head -c 3000000 /dev/urandom >"$work/random.dat"
head -c 3000000 /dev/zero | tr '\0' 'x' >"$work/longline.dat"

hyperfine -N --warmup 20 --runs 300 \
    "$empty" \
    "$convert -f -v 2 $work/points.dat $work/out.ndb"

for input in points random longline; do
    /usr/bin/time -v "$convert" -f "$work/$input.dat" "$work/out.ndb" 2>"$work/time.txt" >/dev/null || true
    printf '%-9s peak memory: %s kB\n' "$input" \
        "$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")"
done
