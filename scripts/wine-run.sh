#!/usr/bin/env bash
# Runs a Windows executable under Wine in the build's private prefix (never ~/.wine).
# The prefix is made on first use, under a lock: booted, given the Wine fonts and the
# null graphics driver, so windows and dialogs work without any X display.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${GLIMRO_WINEPREFIX:-$here/../build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY

mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.glimro-ready" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    for dir in /usr/share/wine/fonts /usr/share/fonts/wine; do
        [ -d "$dir" ] && cp -n "$dir"/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    done
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.glimro-ready"
fi
# Start Wine's background services detached from the caller's pipes; otherwise ctest
# waits for them to let go of its output after every test.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
flock -u 9

exec wine "$@"
