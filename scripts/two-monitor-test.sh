#!/usr/bin/env bash
# End to end on two screens: Xvfb with two screens joined by Xinerama, and Wine's X11 driver
# with XRandR off, which then reports two monitors. A resident glimro.exe whose active album
# has a picture for each monitor composes one picture of the virtual screen. Xvfb puts both
# screens at 0,0, so this checks the monitors' count and sizes (the virtual screen is
# 1600 x 1024); placement is tested through the monitor seam. Without Xvfb it fails: make
# deps installs it.
# Usage: two-monitor-test.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(realpath "${1:-$here/../build}")
if ! command -v Xvfb >/dev/null; then
    echo "FAILED: Xvfb is not installed (make deps installs it)"
    exit 1
fi
source "$here/wine-env.sh"

display=":$((200 + $$ % 100))"
Xvfb "$display" -screen 0 1600x900x24 -screen 1 1280x1024x24 +xinerama -nolisten tcp \
    >/dev/null 2>&1 &
xvfb=$!
prepare_prefix "$build/wineprefix-monitors"
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

app="$WINEPREFIX/drive_c/GlimroMonitors"
rm -rf "$app" && mkdir -p "$app"
cp "$build/glimro.exe" "$app/"
python3 - "$app" <<'PY'
import struct, sys
for name, colour in (("a.bmp", (200, 30, 30)), ("b.bmp", (30, 200, 30))):
    width, height = 64, 48
    row = bytes(reversed(colour)) * width
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    open(f"{sys.argv[1]}/{name}", "wb").write(header + info + pixels)
PY
cat > "$app/twins.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\SOFTWARE\Fenwaldstone\Glimro\AlbumList\Twins]
"Enabled"=dword:00000001
"Frequency"=dword:00000002
"Monitors"=dword:00000001
"Position"=dword:00000004
"LastIndex"=dword:ffffffff

[HKEY_CURRENT_USER\SOFTWARE\Fenwaldstone\Glimro\AlbumList\Twins\FileList]
"ImageFile0"="C:\\GlimroMonitors\\a.bmp"
"ImageFile1"="C:\\GlimroMonitors\\b.bmp"
REG
wine reg delete 'HKCU\SOFTWARE\Fenwaldstone\Glimro' /f </dev/null >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f </dev/null >/dev/null 2>&1
wine reg import "$app/twins.reg" </dev/null >/dev/null 2>&1
wineserver -w # the driver setting takes effect for a fresh wineserver

wine 'C:\GlimroMonitors\glimro.exe' -e </dev/null >/dev/null 2>&1 &
for _ in $(seq 60); do
    [ -f "$app/pod-all.jpg" ] && break
    sleep 1
done
wine 'C:\GlimroMonitors\glimro.exe' -d </dev/null >/dev/null 2>&1 || true
if [ ! -f "$app/pod-all.jpg" ]; then
    echo "FAILED: no composed picture; the log says:"
    cat "$app/glimrolog.txt" 2>/dev/null || true
    exit 1
fi
size=$(python3 - "$app/pod-all.jpg" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = 2
while at < len(data):
    marker, length = data[at + 1], struct.unpack(">H", data[at + 2:at + 4])[0]
    if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
        height, width = struct.unpack(">HH", data[at + 5:at + 9])
        print(f"{width}x{height}")
        break
    at += 2 + length
PY
)
if [ "$size" != "1600x1024" ]; then
    echo "FAILED: the composed picture is $size, not 1600x1024 (two monitors)"
    exit 1
fi
echo "Two monitors: the composed picture is $size"
