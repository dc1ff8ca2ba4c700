#!/usr/bin/env bash
# The start-up figure for `make bench`: milliseconds from CreateProcess until the window is
# visible (tools/start_time.cpp), for glimro.exe with 10 albums and with 1000 albums of 100
# entries against a bare top-level window of the Album Manager's first size, all in one
# private prefix with the null display driver. The two programs start in turn, round after
# round, after one uncounted start each; the ratio is the median of each round's ratio, so
# what else the machine does falls on both alike.
# Usage: startup-bench.sh <build folder> [rounds]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(realpath "${1:-$here/../build}")
rounds=${2:-11}
source "$here/wine-env.sh"
bench_prefix "$build" glimro.exe glimro_message_loop.exe glimro_start_time.exe

# "<glimro's median ms> <the bare window's> <the median ratio>" with this many albums.
against_bare() {
    GLIMRO_BENCH_WRITE_ALBUMS=$1 wine "$build/glimro_bench.exe" </dev/null >/dev/null 2>&1
    # Until the server has written the registry out and gone: saving 100,000 values would
    # otherwise fall on the first rounds.
    wineserver -w
    wine "C:\\GlimroMemory\\glimro_start_time.exe" "$rounds" \
        'C:\GlimroMemory\glimro_message_loop.exe' 640 480 '|' 'C:\GlimroMemory\glimro.exe' \
        </dev/null 2>/dev/null | tr -d '\r' | awk 'NR == 1 { bare = $1 } NR == 2 { print $1, bare, $2 }'
}

read -r ten ten_bare ten_ratio <<<"$(against_bare 10)"
read -r thousand thousand_bare thousand_ratio <<<"$(against_bare 1000)"
wine reg delete 'HKCU\SOFTWARE\Fenwaldstone\Glimro' /f </dev/null >/dev/null 2>&1 || true
printf "start-up 10 albums: %d ms against a bare 640 x 480 window's %d ms, ratio %s (goal <= 2.0) (median of %d rounds)\n" \
    "$ten" "$ten_bare" "$ten_ratio" "$rounds"
printf "start-up 1000 albums x 100: %d ms against a bare 640 x 480 window's %d ms, ratio %s (goal <= 2.0) (median of %d rounds)\n" \
    "$thousand" "$thousand_bare" "$thousand_ratio" "$rounds"
