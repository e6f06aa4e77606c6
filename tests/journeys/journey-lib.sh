# Sourced by the journey scripts. A journey plays a user at the real
# Quillet.exe under Wine: it clicks and types with xdotool on the session's X
# display, looks at the window through quillet_probe.exe, saves screenshots of
# its main steps, and checks what is left on disk.
#
# The test session (scripts/test.sh) has set DISPLAY and WINEPREFIX.
# Arguments of every journey: the build folder, the journey's name.
set -eu

build=$1
journey=$2
shots="$build/journeys/$journey"
rm -rf "$shots"
mkdir -p "$shots"
work=$(mktemp -d "/tmp/quillet-journey-$journey.XXXXXX")
failures=0
step=0
quillet_pid=""

journey_end() {
    if [ -n "$quillet_pid" ] && kill -0 "$quillet_pid" 2>/dev/null; then
        kill "$quillet_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
    if [ "$failures" -ne 0 ]; then
        echo "$journey: $failures check(s) failed; screenshots in $shots"
        exit 1
    fi
    echo "$journey: all checks passed; screenshots in $shots"
}
trap journey_end EXIT

# The Windows path of a Linux path (drive Z: is the Linux root).
winpath() {
    printf 'Z:%s' "$1" | tr '/' '\\'
}

probe() {
    wine "$build/quillet_probe.exe" "$@" | tr -d '\r'
}

# Starts Quillet with the folder as its working directory and waits until it
# has finished starting (its last status line is the start-up line).
start_quillet() {
    (cd "$1" && exec wine "$build/Quillet.exe") >/dev/null 2>&1 &
    quillet_pid=$!
    probe ready || { echo "Quillet did not finish starting"; failures=$((failures + 1)); }
}

# Waits for Quillet to end and checks its exit code.
expect_quillet_ends_with_zero() {
    code=0
    wait "$quillet_pid" || code=$?
    quillet_pid=""
    expect_eq "exit code" "$code" 0
}

click_at() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.3
}

click_control() {
    # shellcheck disable=SC2046
    click_at $(probe point "$1")
}

click_item() {
    # shellcheck disable=SC2046
    click_at $(probe item "$1" "$2")
}

# Clicks the close box in the window's title bar.
click_close_box() {
    # shellcheck disable=SC2046
    click_at $(probe closebox)
}

press() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}

# The number of lines in the status list.
status_count() {
    probe count 33
}

# Waits until the status list has more than <count> lines, the last of them
# titled <title>: the end of a fetch or a sort started after line <count>.
wait_for_last_status() {
    probe waitlast "$1" "$2" || { echo "FAILED: no last status line \"$1\" after line $2"; failures=$((failures + 1)); }
}

# The status lines from line <n> on (the first line is 0), as "title | explanation"
# with the activity marker and the blanks after it taken out.
status_lines_from() {
    probe rows 33 | tail -n +"$(($1 + 1))" | LC_ALL=C sed 's/<\xb0)))o><\xb2\xb3 *//'
}

# Saves what the user sees now as <number>-<name>.png.
screenshot() {
    step=$((step + 1))
    import -window root "$shots/$(printf '%02d' "$step")-$1.png"
}

expect_eq() {
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
    else
        # printf, not echo: the shell's echo would turn the "\t" of Z:\tmp into a tab.
        printf 'FAILED: %s\n  got:      %s\n  expected: %s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}

expect_file() {
    if [ -f "$1" ]; then echo "ok: file $1"; else echo "FAILED: missing file $1"; failures=$((failures + 1)); fi
}

expect_no_file() {
    if [ -e "$1" ]; then echo "FAILED: unexpected $1"; failures=$((failures + 1)); else echo "ok: no $1"; fi
}

# A file's bytes with CR LF turned into LF, for comparing with here-documents.
unix_text() {
    tr -d '\r' < "$1"
}
