# Sourced by the other scripts: a private X display and a private Wine prefix
# for one session, and their clean end.
#
#   session_start   starts Xvfb (unless told to use $DISPLAY) and the wineserver
#   session_end     stops both again
#
# Wine's helper processes are started here with their output sent away, so
# that a test runner waiting on a test's output never waits on them.

# The caller sets $top, the project's folder.
build=${QUILLET_BUILD:-$top/build}
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
xvfb_pid=""

session_start() {
    if [ "${1:-}" != "use-display" ] || [ -z "${DISPLAY:-}" ]; then
        # Xvfb picks a free display number itself and writes it to fd 3, so
        # sessions started side by side never share or steal a display.
        number_file=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
        xvfb_pid=$!
        tries=0
        while [ ! -s "$number_file" ] && [ $tries -lt 100 ]; do
            sleep 0.1
            tries=$((tries + 1))
        done
        export DISPLAY=":$(head -n 1 "$number_file")"
        rm -f "$number_file"
    fi
    fresh=""
    [ -f "$WINEPREFIX/system.reg" ] || fresh=1
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
    if [ -n "$fresh" ]; then
        # Every program of the session runs in one Wine desktop of the screen's
        # size: windows get frames and title bars, and closing a window never
        # waits for a window manager that Xvfb does not have.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null >/dev/null 2>&1
        # Wine's own fonts (Marlett draws the caption buttons) are not found
        # where the packages put them; the prefix's Fonts folder is searched.
        cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        # The desktop is made when the session's first program starts.
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        wineserver -p </dev/null >/dev/null 2>&1
        wine wineboot </dev/null >/dev/null 2>&1
    fi
}

session_end() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
