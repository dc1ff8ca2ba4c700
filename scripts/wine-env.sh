# Sourced by the Wine scripts: the environment every Wine run shares, and the one-time set-up
# of a prefix (never ~/.wine). Usage: prepare_prefix <prefix> [null], where null selects the
# null graphics driver so that windows work without any X display.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

prepare_prefix() {
    local prefix=$1 graphics=${2:-}
    export WINEPREFIX=$prefix
    mkdir -p "$prefix"
    exec 9>"$prefix.lock"
    flock 9
    if [ ! -f "$prefix/.glimro-ready" ]; then
        wineboot -i </dev/null >/dev/null 2>&1 || true
        wineserver -w
        mkdir -p "$prefix/drive_c/windows/Fonts"
        for dir in /usr/share/wine/fonts /usr/share/fonts/wine; do
            [ -d "$dir" ] && cp -n "$dir"/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
        done
        if [ "$graphics" = null ]; then
            wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
        fi
        wineserver -w
        touch "$prefix/.glimro-ready"
    fi
    flock -u 9
}

# The measuring prefix of `make bench` (null driver, no display), with the named programs of
# the build copied to C:\GlimroMemory; its wineserver ends with the script. Sets $app.
bench_prefix() {
    local build=$1
    shift
    unset DISPLAY WAYLAND_DISPLAY
    prepare_prefix "$build/wineprefix-memory" null
    trap 'wineserver -k 2>/dev/null || true' EXIT
    app="$WINEPREFIX/drive_c/GlimroMemory"
    mkdir -p "$app"
    local program
    for program in "$@"; do
        cp "$build/$program" "$app/"
    done
}
