#!/usr/bin/env bash
# Runs a Windows executable under Wine in the build's private prefix, headless: the prefix
# uses the null graphics driver, so windows and dialogs work without any X display.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
unset DISPLAY WAYLAND_DISPLAY
prepare_prefix "${GLIMRO_WINEPREFIX:-$here/../build/wineprefix}" null
# Start Wine's background services detached from the caller's pipes; otherwise ctest
# waits for them to let go of its output after every test.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

exec wine "$@"
