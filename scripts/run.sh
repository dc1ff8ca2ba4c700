#!/usr/bin/env bash
# Starts glimro.exe in a Wine virtual desktop of its own prefix (build/wineprefix-run), on
# the user's display, or under Xvfb when there is none. Arguments go to glimro.exe.
# A new prefix starts with the demo album set (scripts/run-demo.reg) unless GLIMRO_NO_DEMO=1;
# later runs never touch the albums.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
source "$here/wine-env.sh"

# Once per prefix: three pictures (the virtual desktop shows .bmp wallpapers only) and the
# album "Demo" over them, and four more for "Day and night", which follows the sun.
add_demo_albums() {
    local marker="$WINEPREFIX/.glimro-demo"
    [ -e "$marker" ] && return
    touch "$marker"
    [ "${GLIMRO_NO_DEMO:-}" = 1 ] && return
    local pictures="$WINEPREFIX/drive_c/Glimro Demo"
    mkdir -p "$pictures"
    local seed=1
    for picture in Harbour:steelblue-sandybrown Meadow:seagreen-khaki Sunset:indianred-gold; do
        /usr/bin/convert -seed $seed -size 1280x800 "plasma:${picture#*:}" \
            "BMP3:$pictures/${picture%%:*}.bmp"
        seed=$((seed + 1))
    done
    local day_and_night="$WINEPREFIX/drive_c/Glimro Day and Night"
    mkdir -p "$day_and_night"
    for picture in 1-Dawn:lightsalmon-mediumpurple 2-Noon:lightskyblue-white \
        3-Dusk:darkorange-darkslateblue 4-Night:midnightblue-black; do
        /usr/bin/convert -size 1280x800 "gradient:${picture#*:}" \
            "BMP3:$day_and_night/${picture%%:*}.bmp"
    done
    wine reg import "$here/run-demo.reg" </dev/null >/dev/null 2>&1
    wineserver -w
}

start() {
    prepare_prefix "${GLIMRO_RUN_PREFIX:-$root/build/wineprefix-run}"
    add_demo_albums
    exec wine explorer /desktop=Glimro,1280x800 "$root/build/glimro.exe" "$@"
}

if [ -n "${DISPLAY:-}" ]; then
    start "$@"
fi
echo "No display: running under Xvfb (stop with Ctrl+C)."
exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
