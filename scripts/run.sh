#!/usr/bin/env bash
# Starts glimro.exe in a Wine virtual desktop of its own prefix (build/wineprefix-run), on
# the user's display, or under Xvfb when there is none. Arguments go to glimro.exe.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
source "$here/wine-env.sh"

start() {
    prepare_prefix "${GLIMRO_RUN_PREFIX:-$root/build/wineprefix-run}"
    exec wine explorer /desktop=Glimro,1280x800 "$root/build/glimro.exe" "$@"
}

if [ -n "${DISPLAY:-}" ]; then
    start "$@"
fi
echo "No display: running under Xvfb (stop with Ctrl+C)."
exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
