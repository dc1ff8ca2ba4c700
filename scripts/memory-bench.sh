#!/usr/bin/env bash
# The resident's memory for `make bench`: a bare message-loop program (the floor), then
# glimro.exe hidden (-s), shown, and hidden after a pass over a 24-megapixel JPEG, each alone
# in a prefix of its own, read from outside after a while (Linux RssAnon of the Wine process:
# its private memory). A shown window costs the surface the system keeps for it (1.2 MB at
# the Album Manager's first 640 x 480), whatever the program: the shown figure is against the
# bare program showing a window of that size, with the common controls loaded, as a window
# made of a list view and a toolbar must (1.7 MB under Wine, whatever the program).
# Usage: memory-bench.sh <build folder> [seconds to wait]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(realpath "${1:-$here/../build}")
wait_seconds=${2:-20}
source "$here/wine-env.sh"
bench_prefix "$build" glimro.exe glimro_message_loop.exe
GLIMRO_BENCH_WRITE_PHOTO='C:\GlimroMemory\photo.jpg' wine "$build/glimro_bench.exe" \
    </dev/null >/dev/null 2>&1

# The Linux process running the program, found by its Windows path.
process_of() {
    local exe=$1 pid
    for pid in $(pgrep -f "$exe" || true); do
        if grep -qi "glimromemory" "/proc/$pid/cmdline" 2>/dev/null; then
            echo "$pid"
            return
        fi
    done
}

# Private memory in MB of the program after the wait; the prefix is emptied afterwards.
measure() {
    local exe=$1
    shift
    wine reg delete 'HKCU\SOFTWARE\Fenwaldstone\Glimro' /f </dev/null >/dev/null 2>&1 || true
    if [ "${1:-}" = "--album" ]; then
        shift
        wine reg import "$app/album.reg" </dev/null >/dev/null 2>&1
    fi
    wine "C:\\GlimroMemory\\$exe" "$@" </dev/null >/dev/null 2>&1 &
    sleep "$wait_seconds"
    local pid kb
    pid=$(process_of "$exe")
    kb=$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    awk -v kb="${kb:-0}" 'BEGIN { printf "%.1f", kb / 1024 }'
}

cat > "$app/album.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\SOFTWARE\Fenwaldstone\Glimro\AlbumList\Photo]
"Enabled"=dword:00000001
"Frequency"=dword:00000002
"LastIndex"=dword:ffffffff

[HKEY_CURRENT_USER\SOFTWARE\Fenwaldstone\Glimro\AlbumList\Photo\FileList]
"ImageFile0"="C:\\GlimroMemory\\photo.jpg"
REG

floor=$(measure glimro_message_loop.exe)
floor_window=$(measure glimro_message_loop.exe 640 480)
floor_shown=$(measure glimro_message_loop.exe 640 480 controls)
hidden=$(measure glimro.exe -s)
shown=$(measure glimro.exe)
after=$(measure glimro.exe --album -s)
# A reading of nothing (the process was not found) or below the bare program's is no figure.
awk -v f="$floor" -v fw="$floor_window" -v fs="$floor_shown" -v h="$hidden" -v s="$shown" -v a="$after" '
function figure(label, value, floor, goal) {
    if (value <= 0 || floor <= 0 || value < floor)
        printf "%s not measured: read %.1f MB against %.1f MB%s\n", label, value, floor, goal
    else
        printf "%s %+.1f MB%s\n", label, value - floor, goal
}
BEGIN {
    printf "memory floor (a bare message loop): %.1f MB hidden, %.1f MB showing 640 x 480, %.1f MB with the common controls\n", f, fw, fs
    figure("idle hidden", h, f, " (goal <= +2.0)")
    figure("shown, against the plain window:", s, fw, "")
    figure("idle shown", s, fs, " (goal <= +2.0)")
    figure("hidden after a pass over a 24-megapixel JPEG", a, f, " (goal <= +2.0)")
}'
