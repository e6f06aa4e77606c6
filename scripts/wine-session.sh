# Sourced by the other scripts: a private X display and a Wine prefix for one
# session, and their clean end.
#
#   session_start [use-display]  starts Xvfb (unless told to use $DISPLAY) and
#                                the prefix's wineserver
#   session_end                  stops what session_start started, nothing else
#   session_fail <why>           says on stderr why the session cannot begin,
#                                and exits with code 1
#
# The caller sets $top (the project's folder) and $session_prefix, the Wine
# prefix it works in. Each script has its own (run.sh, test.sh, bench.sh), so
# that a test run started while Quillet is open beside it neither shares its
# Wine programs nor ends them. Ending a session stops the wineserver only when
# this session started it: a prefix whose server already runs is another
# session's, and a session that may not join it says so and stops.
#
# Wine's helper processes are started here with their output sent away, so
# that a test runner waiting on a test's output never waits on them.

build=${QUILLET_BUILD:-$top/build}
export WINEPREFIX="$session_prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
session_name=$(basename "$0")
xvfb_pid=""
server_started=""

session_fail() {
    echo "$session_name: cannot begin: $1" >&2
    exit 1
}

# Xvfb picks a free display number itself and writes it to fd 3, so sessions
# started side by side never share or steal a display.
session_start_xvfb() {
    command -v Xvfb >/dev/null 2>&1 || session_fail "Xvfb is not installed (scripts/install-deps.sh installs it)"
    number_file=$(mktemp) || session_fail "cannot make a temporary file for Xvfb's display number"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    tries=0
    while [ ! -s "$number_file" ] && [ $tries -lt 100 ] && kill -0 "$xvfb_pid" 2>/dev/null; do
        sleep 0.1
        tries=$((tries + 1))
    done
    number=$(head -n 1 "$number_file")
    rm -f "$number_file"
    [ -n "$number" ] || session_fail "Xvfb gave no display (it ended, or said no display number within 10 seconds)"
    export DISPLAY=":$number"
}

# Starts the prefix's wineserver. With "join", a server that already runs
# there is used and left running at the end.
session_start_server() {
    command -v wineserver >/dev/null 2>&1 || session_fail "wineserver is not installed (scripts/install-deps.sh installs Wine)"
    mkdir -p "$WINEPREFIX" || session_fail "cannot make the Wine prefix $WINEPREFIX"
    if wineserver -p </dev/null >/dev/null 2>&1; then
        server_started=yes
        return
    fi
    [ "${1:-}" = join ] && return
    session_fail "a wineserver already runs in the Wine prefix $WINEPREFIX, so another session uses it; \
wait for that session to end, or, if nothing of yours runs there, stop it with: WINEPREFIX=$WINEPREFIX wineserver -k"
}

session_boot() {
    wine wineboot </dev/null >/dev/null 2>&1 || session_fail "wineboot failed in the Wine prefix $WINEPREFIX"
}

# Every program of the session runs in one Wine desktop of the screen's size:
# windows get frames and title bars, and closing a window never waits for a
# window manager that Xvfb does not have. Wine's own fonts (Marlett draws the
# caption buttons) are not found where the packages put them; the prefix's
# Fonts folder is searched. The desktop is made when the session's first
# program starts, so the server is started again.
session_set_up_prefix() {
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1 \
        || session_fail "cannot set the Wine desktop in $WINEPREFIX"
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null >/dev/null 2>&1 \
        || session_fail "cannot set the Wine desktop's size in $WINEPREFIX"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1 || session_fail "the wineserver of $WINEPREFIX did not start again"
    session_boot
}

session_start() {
    fresh=""
    [ -f "$WINEPREFIX/system.reg" ] || fresh=1
    if [ "${1:-}" != "use-display" ] || [ -z "${DISPLAY:-}" ]; then
        session_start_xvfb
        session_start_server
    else
        session_start_server join
    fi
    session_boot
    if [ -n "$fresh" ] && [ -n "$server_started" ]; then
        session_set_up_prefix
    fi
}

session_end() {
    if [ -n "$server_started" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
