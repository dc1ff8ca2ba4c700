#!/usr/bin/env bash
# The start-up figure for `make bench`: milliseconds from CreateProcess until the window is
# visible (median of 5, tools/start_time.cpp), for a bare top-level window of the Album
# Manager's first size and for glimro.exe with 10 albums and with 1000 albums of 100 entries,
# all in one private prefix with the null display driver.
# Usage: startup-bench.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(realpath "${1:-$here/../build}")
source "$here/wine-env.sh"
bench_prefix "$build" glimro.exe glimro_message_loop.exe glimro_start_time.exe

median() {
    wine "C:\\GlimroMemory\\glimro_start_time.exe" 5 "$@" </dev/null 2>/dev/null | tr -d '\r'
}
with_albums() {
    GLIMRO_BENCH_WRITE_ALBUMS=$1 wine "$build/glimro_bench.exe" </dev/null >/dev/null 2>&1
    median 'C:\GlimroMemory\glimro.exe'
}

bare=$(median 'C:\GlimroMemory\glimro_message_loop.exe' 640 480)
ten=$(with_albums 10)
thousand=$(with_albums 1000)
wine reg delete 'HKCU\SOFTWARE\Fenwaldstone\Glimro' /f </dev/null >/dev/null 2>&1 || true
awk -v b="$bare" -v t="$ten" -v k="$thousand" 'BEGIN {
    printf "start-up, a bare 640 x 480 window: %d ms (median of 5)\n", b
    printf "start-up 10 albums: %d ms, ratio %.2f (goal <= 2.0)\n", t, t / b
    printf "start-up 1000 albums x 100: %d ms, ratio %.2f (goal <= 2.0)\n", k, k / b
}'
