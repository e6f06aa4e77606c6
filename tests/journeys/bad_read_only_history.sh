#!/bin/sh
# The history file refuses writes (a read-only file; for root, a read-only
# bind mount of it). Quillet says so once, right after its start-up line, and
# sorts as ever; the file keeps its bytes.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

downloads="$work/Downloads"
history="$work/Quillet.History.Log"
mkdir -p "$downloads"
printf 'speccy' > "$downloads/Speccy_1.16.lks"
settings_with_folders LiberKey Move No "$(winpath "$downloads")\\" "$(winpath "$work/Sorted")\\" > "$work/Quillet.Ini"
printf 'kept as it is\r\n' > "$history"
if [ "$(id -u)" -eq 0 ]; then
    mount --bind "$history" "$history" 2>/dev/null || skip_journey "no bind mount here"
    at_end "umount -l '$history'"
    mount -o remount,bind,ro "$history" 2>/dev/null || skip_journey "no read-only bind mount here"
else
    chmod a-w "$history"
fi

(cd "$work" && exec wine "$build/Quillet.exe") >/dev/null 2>&1 &
quillet_pid=$!
probe waitlast "History not written" 0 || { echo "FAILED: no fault line"; failures=$((failures + 1)); }
expect_eq "one line, right after the start-up line" "$(status_lines_from 0 | tail -n 2 | sed 's/  [^ ].*$//')" "$(cat <<END
Startup | Quillet is up and waiting for your orders
History not written | $(winpath "$history")
END
)"
sort_and_wait
expect_file "$work/Sorted/_System utilities/_Information/_Inventory/Speccy_1.16.lks"
expect_eq "the sort goes on; the one line stays the only one" \
    "$(status_lines_from 0 | grep -c '^History not written')" 1
window_screenshot history-not-written
click_control ButtonQuit
expect_quillet_ends_with_zero
expect_eq "the history kept its bytes" "$(cat "$history")" "$(printf 'kept as it is\r')"
