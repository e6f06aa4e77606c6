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
end_steps=""

# Runs the command when the journey ends, before the working folder goes
# (the newest first); a failing one does not keep the others from running.
at_end() {
    end_steps="{ $1; } || true; $end_steps"
}

journey_end() {
    if [ -n "$quillet_pid" ] && kill -0 "$quillet_pid" 2>/dev/null; then
        kill "$quillet_pid" 2>/dev/null || true
    fi
    eval "$end_steps"
    rm -rf "$work"
    if [ "$failures" -ne 0 ]; then
        echo "$journey: $failures check(s) failed; screenshots in $shots"
        exit 1
    fi
    [ -n "${journey_skipped:-}" ] || echo "$journey: all checks passed; screenshots in $shots"
}
trap journey_end EXIT

# The Windows path of a Linux path (drive Z: is the Linux root).
winpath() {
    printf 'Z:%s' "$1" | tr '/' '\\'
}

# Asks quillet_probe.exe; its exit code is the answer's (0: found, done).
probe() {
    probe_code=0
    probe_answer=$(wine "$build/quillet_probe.exe" "$@") || probe_code=$?
    [ -z "$probe_answer" ] || printf '%s\n' "$probe_answer" | tr -d '\r'
    return $probe_code
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
    point=$(probe item "$1" "$2") || { echo "FAILED: no item $2 of control $1"; failures=$((failures + 1)); return 1; }
    # shellcheck disable=SC2086
    click_at $point
}

# Clicks the row of list <id> that has a cell with the text.
click_row() {
    point=$(probe rowpoint "$1" "$2") || { echo "FAILED: no row \"$2\" in $1"; failures=$((failures + 1)); return 1; }
    # shellcheck disable=SC2086
    click_at $point
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
    probe count ListStatus
}

# Waits until the status list has more than <count> lines, the last of them
# titled <title>: the end of a fetch or a sort started after line <count>.
wait_for_last_status() {
    probe waitlast "$1" "$2" || { echo "FAILED: no last status line \"$1\" after line $2"; failures=$((failures + 1)); }
}

# The status lines from line <n> on (the first line is 0), as "title | explanation"
# with the activity marker and the blanks after it taken out.
status_lines_from() {
    probe rows ListStatus | tail -n +"$(($1 + 1))" | LC_ALL=C sed 's/<\xb0)))o><\xb2\xb3 *//'
}

# Status lines with the sort's time in "Undo started" lines as "(time)".
undo_time() {
    sed -E 's/^(Undo started \| .*)[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}/\1(time)/'
}

# Presses the sort button and waits for the end of the run. Sets $from to the
# number of status lines before it, for status_lines_from.
sort_and_wait() {
    from=$(status_count)
    click_control ButtonSort
    wait_for_last_status "Sort summary" "$from"
}

# Opens the context menu of list <id> with the right mouse button and picks
# its item <n> (1 is the first) with the keyboard; with a third argument, the
# window with the item highlighted is saved under that name first.
context_menu_pick() {
    # shellcheck disable=SC2046
    xdotool mousemove $(probe point "$1") click 3
    sleep 0.5
    n=0
    while [ "$n" -lt "$2" ]; do press Down; n=$((n + 1)); done
    [ -z "${3:-}" ] || window_screenshot "$3"
    press Return
}

# Saves what the user sees now as <number>-<name>.png.
screenshot() {
    step=$((step + 1))
    import -window root "$shots/$(printf '%02d' "$step")-$1.png"
}

# Saves the program's window alone, as <number>-<name>.png.
window_screenshot() {
    step=$((step + 1))
    import -window root -crop "$(probe frame MainWindow)" +repage "$shots/$(printf '%02d' "$step")-$1.png"
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

# A file's bytes as hexadecimal pairs, for exact comparisons with expect_eq.
bytes() {
    od -An -tx1 -v "$@"
}

# The folders a first run's settings file holds.
default_liberkey_source='C:\Users\Obrell\Downloads\FlashGet Downloads\_Portable Software Collections\Liberkey\Files\'
default_liberkey_target='C:\Users\Obrell\Downloads\Quillet\LiberKey\'
default_portableapps_source='C:\Users\Obrell\Downloads\FlashGet Downloads\_Portable Software Collections\PortableApps.com\'
default_portableapps_target='C:\Users\Obrell\Downloads\Quillet\PortableApps\'
default_android_source='C:\Users\Obrell\Downloads\FlashGet Downloads\Android\Applications\'
default_android_target='C:\Users\Obrell\Downloads\Quillet\Android\'

# A settings file as Quillet writes it. Arguments: Last Index, Copy Or Move,
# Dump LeftOvers, then source and target folder of LiberKey, PortableApps and
# Android.
settings_text() {
    rule="; $(printf '%087d' 0 | tr 0 -)"
    printf ';  \r\n%s\r\n[Program Options]\r\n%s\r\n;  \r\n' "$rule" "$rule"
    printf 'Last Index = %s\r\nCopy Or Move = %s\r\nDump LeftOvers = %s\r\n' "$1" "$2" "$3"
    printf ';  \r\n%s\r\n[File Sort Paths]\r\n%s\r\n;  \r\n' "$rule" "$rule"
    printf 'Liberkey Source Path = %s\r\nLiberkey Target Path = %s\r\n' "$4" "$5"
    printf 'PortableApps Source Path = %s\r\nPortableApps Target Path = %s\r\n' "$6" "$7"
    printf 'Android Source Path = %s\r\nAndroid Target Path = %s\r\n' "$8" "$9"
}

# A settings file with the default folders. Arguments: Last Index, Copy Or Move.
default_settings_text() {
    settings_text "$1" "$2" Yes "$default_liberkey_source" "$default_liberkey_target" \
        "$default_portableapps_source" "$default_portableapps_target" \
        "$default_android_source" "$default_android_target"
}

# A settings file in which one index has the given folders and the others
# their defaults. Arguments: the index (LiberKey, PortableApps or Android),
# Copy Or Move, Dump LeftOvers, its source folder, its target folder.
settings_with_folders() {
    set -- "$1" "$2" "$3" "$4" "$5" "$default_liberkey_source" "$default_liberkey_target" \
        "$default_portableapps_source" "$default_portableapps_target" \
        "$default_android_source" "$default_android_target"
    case "$1" in
        LiberKey) settings_text "$1" "$2" "$3" "$4" "$5" "$8" "$9" "${10}" "${11}" ;;
        PortableApps) settings_text "$1" "$2" "$3" "$6" "$7" "$4" "$5" "${10}" "${11}" ;;
        Android) settings_text "$1" "$2" "$3" "$6" "$7" "$8" "$9" "$4" "$5" ;;
    esac
}

# Waits until the open folder dialog's field shows the text (the name of the
# folder selected in its tree).
wait_for_dialog_field() {
    tries=0
    while [ "$(probe dialogfield || true)" != "$1" ]; do
        tries=$((tries + 1))
        if [ "$tries" -ge 60 ]; then
            echo "FAILED: the folder dialog does not show \"$1\""
            failures=$((failures + 1))
            return 1
        fi
        sleep 0.25
    done
}

# Types a name into the dialog's folder tree, which selects the next item
# starting with it. Letters typed after a pause of about half a second start
# a new search instead of lengthening the last one.
type_in_tree() {
    sleep 0.6
    xdotool type --delay 50 "$1"
    wait_for_dialog_field "$1"
}

# Selects a Linux folder (a path without blanks) in Quillet's open folder
# dialog as a user does with the keyboard: the tree's "/" item first, then
# each folder by typing its name, opening the one before with Right. Pressing
# OK is left to the caller.
select_in_folder_dialog() {
    tries=0
    until probe dialogfield >/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -lt 60 ] || { echo "FAILED: no folder dialog"; failures=$((failures + 1)); return 1; }
        sleep 0.25
    done
    type_in_tree / || return 1
    for name in $(printf '%s' "${1#/}" | tr '/' ' '); do
        press Right
        type_in_tree "$name" || return 1
    done
}

# Clicks a button of the open folder dialog: OK or Cancel.
click_dialog_button() {
    case "$1" in
        OK) button=1 ;;
        Cancel) button=2 ;;
    esac
    # shellcheck disable=SC2046
    click_at $(probe dialogpoint "$button")
}

# Makes the folder refuse every write, root's too: a read-only bind mount of
# itself, or, for a user other than root, the write permission taken away.
# Fails when neither holds here.
read_only_folder() {
    if [ "$(id -u)" -eq 0 ]; then
        mount --bind "$1" "$1" 2>/dev/null || return 1
        at_end "umount -l '$1'"
        mount -o remount,bind,ro "$1" 2>/dev/null || return 1
    else
        chmod -R a-w "$1"
        at_end "chmod -R u+w '$1'"
    fi
    ! touch "$1/.write-test" 2>/dev/null
}

# Another program opens the file and shares it with nobody until
# release_file.
hold_file() {
    rm -f "$work.held"
    wine "$build/quillet_probe.exe" hold "$(winpath "$1")" >"$work.held" 2>/dev/null &
    holder_pid=$!
    at_end "kill $holder_pid 2>/dev/null || true; rm -f '$work.held'"
    tries=0
    until grep -q held "$work.held" 2>/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -lt 100 ] || { echo "FAILED: could not hold $1"; failures=$((failures + 1)); return 1; }
        sleep 0.1
    done
}

# The other program ends, and its hold on the file with it.
release_file() {
    kill "$holder_pid" 2>/dev/null || true
    wait "$holder_pid" 2>/dev/null || true
}

# Ends the journey as passed over when this machine cannot set up what it
# needs.
skip_journey() {
    echo "$journey: skipped: $1"
    journey_skipped=yes
    exit 77
}

# Waits a while for control <id> to show the text; the check that follows
# tells whether it came.
wait_for_text() {
    tries=0
    while [ "$(probe text "$1" || true)" != "$2" ] && [ "$tries" -lt 60 ]; do
        tries=$((tries + 1))
        sleep 0.25
    done
}

# Waits a while for Quillet's dialog to close.
wait_for_no_dialog() {
    tries=0
    while probe dialog >/dev/null && [ "$tries" -lt 60 ]; do
        tries=$((tries + 1))
        sleep 0.25
    done
}

# The five status lines with which every start in the folder reads its
# settings, as status_lines_from gives them.
settings_status_lines() {
    for title in "Read config file" "Last index used loaded" "Last index source and target set" \
        "Config screen paths loaded" "File copy mode set"; do
        printf '%s | %s\\Quillet.Ini\n' "$title" "$(winpath "$1")"
    done
}
