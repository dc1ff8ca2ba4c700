#!/usr/bin/env bash
# Writes pictures of the Album Manager, and of the properties sheet of its first album (the
# General and the Images page), of the Options window, then of the Album Manager again at 150 %
# (the prefix's DPI set to 144): glimro.exe with a small demo album set, in a throw-away
# prefix, in a Wine virtual desktop under Xvfb.
# Usage: screenshot.sh <manager.png> <sheet.png> <images.png> <manager-150.png> <options.png>
#        [<feed.png> <tray-recent.png> <manager-de.png> <manager-ja.png>]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
out=$(realpath -m "${1:-$root/docs/album-manager.png}")
sheet_out=$(realpath -m "${2:-$root/docs/album-sheet.png}")
images_out=$(realpath -m "${3:-$root/docs/album-images.png}")
large_out=$(realpath -m "${4:-$root/docs/album-manager-150.png}")
options_out=$(realpath -m "${5:-$root/docs/options.png}")
feed_out=$(realpath -m "${6:-$root/docs/album-feed.png}")
recent_out=$(realpath -m "${7:-$root/docs/tray-recent.png}")
german_out=$(realpath -m "${8:-$root/docs/album-manager-de.png}")
japanese_out=$(realpath -m "${9:-$root/docs/album-manager-ja.png}")

if [ -z "${GLIMRO_IN_XVFB:-}" ]; then
    GLIMRO_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$out" "$sheet_out" "$images_out" \
        "$large_out" "$options_out" "$feed_out" "$recent_out" "$german_out" "$japanese_out"
fi

source "$here/wine-env.sh"
work=$(mktemp -d)
server=""
trap 'wineserver -k 2>/dev/null || true; [ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
prepare_prefix "$work/prefix"

app="$WINEPREFIX/drive_c/Glimro"
mkdir -p "$app" "$WINEPREFIX/drive_c/Pictures"
cp "$root/build/glimro.exe" "$app/"
for name in Harbour Dunes Lighthouse; do
    /usr/bin/convert -seed 7 -size 1280x800 "plasma:steelblue-sandybrown" \
        "BMP3:$WINEPREFIX/drive_c/Pictures/$name.bmp"
done
wine reg import "$here/demo-albums.reg" </dev/null >/dev/null 2>&1
for marker in "LastDay $(date +%-d)" "LastMonth $(date +%-m)"; do
    set -- $marker
    wine reg add 'HKCU\SOFTWARE\Fenwaldstone\Glimro' /v "$1" /t REG_DWORD /d "$2" /f \
        </dev/null >/dev/null 2>&1
done
wineserver -w

wine explorer /desktop=Glimro,1280x800 'C:\Glimro\glimro.exe' </dev/null >/dev/null 2>&1 &
sleep 12
mkdir -p "$(dirname "$out")"
/usr/bin/import -window root "$work/desktop.png"
# The Album Manager opens 640 x 480 in the middle of the 1280 x 800 desktop.
/usr/bin/convert "$work/desktop.png" -crop 700x540+290+120 +repage "$out"
echo "Wrote $out"

# Properties of the selected (first) album, as the Album menu opens them, then its Images
# page with the first picture's thumbnail. The helper must run on the same Wine desktop to
# find the windows.
cp "$root/build/glimro_post_message.exe" "$app/"
post() {
    wine explorer /desktop=Glimro,1280x800 'C:\Glimro\glimro_post_message.exe' "$@" \
        </dev/null >/dev/null 2>&1
}
# shoot <png> [crop]: the desktop after a while, cut to the Album Manager's place (or crop).
shoot() {
    sleep 4
    /usr/bin/import -window root "$work/shot.png"
    /usr/bin/convert "$work/shot.png" -crop "${2:-700x540+290+120}" +repage "$1"
    echo "Wrote $1"
}
# start_and_shoot <png> <crop>: Glimro started afresh on the desktop, and the desktop once it
# has shown, cut to crop.
start_and_shoot() {
    wine explorer /desktop=Glimro,1280x800 'C:\Glimro\glimro.exe' </dev/null >/dev/null 2>&1 &
    sleep 12
    /usr/bin/import -window root "$work/desktop.png"
    /usr/bin/convert "$work/desktop.png" -crop "$2" +repage "$1"
    echo "Wrote $1"
}
# restart_at <dpi> <value>...: a fresh wineserver at that scale, without these product values
# (the saved placement, so the frame opens at its default size; the day's markers).
restart_at() {
    wineserver -k 2>/dev/null || true
    wineserver -w
    for key in 'HKCU\Control Panel\Desktop' \
        'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
    done
    shift
    for value in "$@"; do
        wine reg delete 'HKCU\SOFTWARE\Fenwaldstone\Glimro' /v "$value" /f </dev/null >/dev/null 2>&1 || true
    done
}

post "Glimro - Album Manager" 273 32774 # WM_COMMAND, Properties
shoot "$sheet_out"
post "Glimro Album Properties" 1125 1 # PSM_SETCURSEL, the Images page
shoot "$images_out"
post "Glimro Album Properties" 1137 5 # PSM_PRESSBUTTON, Cancel
sleep 1
post "Glimro - Album Manager" 273 32784 # WM_COMMAND, Options...
shoot "$options_out" 700x660+290+120 # the Options window is taller than the frame
post "Glimro Options" 1137 5

# At 150 %: the same albums, the frame at its default size for that scale (960 x 720). The
# DPI takes effect for a fresh wineserver; the saved placement is removed so that the frame
# opens at its default size.
restart_at 144 Left Top Right Bottom Show
wineserver -w
start_and_shoot "$large_out" 980x740+150+38

# A feed album's Images page: a feed of three pictures served from the loopback, fetched by
# the pass at start, at 100 % again.
restart_at 96 Left Top Right Bottom Show LastDay LastMonth
wine reg delete 'HKCU\SOFTWARE\Fenwaldstone\Glimro\AlbumList' /f </dev/null >/dev/null 2>&1 || true
wine reg import "$here/feed-album.reg" </dev/null >/dev/null 2>&1
# Three pictures the demo album showed before, for the icon's Recent Pictures.
python3 - "$work/recent.reg" <<'PY'
import sys
lines = ["C:\\Pictures\\%s.bmp\tDemo\t\t\t" % name for name in ("Lighthouse", "Dunes", "Harbour")]
data = ("\0".join(lines) + "\0\0").encode("utf-16-le")
with open(sys.argv[1], "w", encoding="utf-16") as reg:
    reg.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Fenwaldstone\\Glimro]\r\n")
    reg.write('"Recent Pictures"=hex(7):' + ",".join("%02x" % b for b in data) + "\r\n")
PY
wine reg import "$work/recent.reg" </dev/null >/dev/null 2>&1
wineserver -w
site="$work/site"
mkdir -p "$site"
items=""
for name in Nebula Comet Aurora; do
    /usr/bin/convert -seed 11 -size 800x500 "plasma:midnightblue-orchid" "JPEG:$site/$name.jpg"
done
day=9
for name in Aurora Comet Nebula; do
    items="$items<item><title>$name</title><dc:creator>Observatory team</dc:creator><link>http://127.0.0.1:8471/$name.html</link><pubDate>Wed, 0$day Dec 2026 07:00:00 GMT</pubDate><enclosure url=\"$name.jpg\" type=\"image/jpeg\"/></item>"
    day=$((day - 1))
done
printf '<?xml version="1.0"?><rss version="2.0" xmlns:dc="http://purl.org/dc/elements/1.1/"><channel><title>Astronomy Picture of the Day</title>%s</channel></rss>' \
    "$items" >"$site/apod.xml"
python3 -m http.server 8471 --bind 127.0.0.1 --directory "$site" >/dev/null 2>&1 &
server=$!
sleep 1
wine explorer /desktop=Glimro,1280x800 'C:\Glimro\glimro.exe' </dev/null >/dev/null 2>&1 &
sleep 15
post "Glimro - Album Manager" 273 32774 # WM_COMMAND, Properties
sleep 2
post "Glimro Album Properties" 1125 1 # PSM_SETCURSEL, the Images page
shoot "$feed_out"

# The icon's menu with Recent Pictures open: the feed's picture the pass just showed, then
# the demo album's. The icon's right click and the submenu's mnemonic, as posted messages.
post "Glimro Album Properties" 1137 5 # PSM_PRESSBUTTON, Cancel
sleep 1
post "Glimro - Album Manager" 32769 0 517 # the icon's message, WM_RBUTTONUP
sleep 2
post "Glimro - Album Manager" 258 116 # WM_CHAR 't': Recent Pic&tures
shoot "$recent_out" 400x230+625+392 # the menu opens at the pointer, the middle of the screen

# The Album Manager in German and in Japanese, chosen as the Options window stores it, over
# the demo albums again.
wine reg delete 'HKCU\SOFTWARE\Fenwaldstone\Glimro\AlbumList' /f </dev/null >/dev/null 2>&1 || true
wine reg import "$here/demo-albums.reg" </dev/null >/dev/null 2>&1
# Japanese glyphs from Linux's WenQuanYi Micro Hei: linked behind Wine's Tahoma and standing in
# for Meiryo UI, as font linking does on Windows.
cjk='wqy-microhei.ttc,WenQuanYi Micro Hei'
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Meiryo UI' /t REG_SZ /d 'WenQuanYi Micro Hei' /f \
    </dev/null >/dev/null 2>&1
for face in Tahoma 'Microsoft Sans Serif' 'MS Shell Dlg'; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
        /t REG_MULTI_SZ /d "$cjk" /f </dev/null >/dev/null 2>&1
done
for shot in "de-DE $german_out" "ja-JP $japanese_out"; do
    set -- $shot
    restart_at 96 Left Top Right Bottom Show
    wine reg add 'HKCU\SOFTWARE\Fenwaldstone\Glimro' /v Language /t REG_SZ /d "$1" /f </dev/null >/dev/null 2>&1
    wineserver -w
    start_and_shoot "$2" 700x540+290+120
done
