#!/bin/sh
# Installs what is missing, builds, and starts Quillet under Wine in the
# working folder run/ (its settings and log files are written there).
# Without a display it runs on Xvfb, saves a screenshot, says where, and quits.
# Quillet runs in the Wine prefix build/wineprefix-run (or $WINEPREFIX), apart
# from the tests' own, so that a test run never touches it.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
session_prefix=${WINEPREFIX:-${QUILLET_BUILD:-$top/build}/wineprefix-run}
. "$here/wine-session.sh"
"$here/install-deps.sh" || session_fail "installing the missing packages failed (see above)"
"$here/build.sh" || session_fail "the build failed (see the compiler's messages above)"
work=${QUILLET_WORK:-$top/run}
mkdir -p "$work"
cd "$work"

if [ -n "${DISPLAY:-}" ]; then
    trap session_end EXIT
    trap 'exit 130' INT TERM
    session_start use-display
    wine "$build/Quillet.exe"
    exit 0
fi

trap session_end EXIT
trap 'exit 130' INT TERM
session_start
shot="$work/quillet-screenshot.png"
wine "$build/Quillet.exe" >/dev/null 2>&1 &
wine_pid=$!
# Waits until start-up has finished: the last status line is the start-up line.
wine "$build/quillet_probe.exe" ready >/dev/null 2>&1 || sleep 5
sleep 0.5
import -window root "$shot"
echo "No display here: Quillet ran on Xvfb. Screenshot saved to $shot"
# Quit the way a user does, with Alt+F4, so that the settings are saved.
xdotool key alt+F4 >/dev/null 2>&1 || true
tries=0
while kill -0 "$wine_pid" 2>/dev/null && [ $tries -lt 50 ]; do
    sleep 0.2
    tries=$((tries + 1))
done
echo "Quillet has quit; its settings file is $work/Quillet.Ini"
