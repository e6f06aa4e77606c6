#!/bin/sh
# The history outlives the program: a Move sort, a quit and a new start, then
# undo from the lists' menu puts every package back. Two sorts in two
# sessions are taken back newest first, each by its own undo, the second one
# in a third session; then undo is greyed and "Open the history" opens the
# file or says why not.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

downloads="$work/Downloads"
sorted="$work/Sorted"
history="$work/Quillet.History.Log"
for package in Format_Factory_2.90 VLC_media_player_1.1.11 Unknown_1 Older/Speccy_1.16; do
    mkdir -p "$(dirname "$downloads/$package.lks")"
    printf 'package %s\n' "$package" > "$downloads/$package.lks"
done
settings_with_folders LiberKey Move No "$(winpath "$downloads")\\" "$(winpath "$sorted")\\" > "$work/Quillet.Ini"
# Every file with its bytes, and every folder, below the working folder or another.
disk() {
    (cd "${1:-$work}" && find Downloads Sorted -type d 2>/dev/null | sort
        find Downloads Sorted -type f ! -name '~Quillet.lock' -exec md5sum {} + 2>/dev/null | sort -k 2)
}
# At the end: the downloads as now and the package of the second session; the
# target folder the first start made, empty.
mkdir -p "$work/end/Sorted"
cp -r "$downloads" "$work/end/"
printf 'package CCleaner\n' > "$work/end/Downloads/CCleaner_3.10.lks"

start_quillet "$work"
sort_and_wait
expect_no_file "$downloads/Older/Speccy_1.16.lks"
click_control ButtonQuit
expect_quillet_ends_with_zero

# Each placement named with both paths in the line after its move.
placed=$(tr -d '\r' < "$history" | awk -F'\t' '$3 == "Placed" && $5 == "placed" { print $8 " > " $9 }' | sort)
expect_eq "the history names every placement with both paths" "$placed" "$(sort <<END
$(winpath "$downloads/Older/Speccy_1.16.lks") > $(winpath "$sorted/_System utilities/_Information/_Inventory/Speccy_1.16.lks")
$(winpath "$downloads/VLC_media_player_1.1.11.lks") > $(winpath "$sorted/_Office/_Diagram_Editor/VLC_media_player_1.1.11.lks")
$(winpath "$downloads/Format_Factory_2.90.lks") > $(winpath "$sorted/_Audio/_Converter/Format_Factory_2.90.lks")
END
)"

# The second session sorts one new package, then takes that sort back.
printf 'package CCleaner\n' > "$downloads/CCleaner_3.10.lks"
disk_second=$(disk)
start_quillet "$work"
sort_and_wait
expect_no_file "$downloads/CCleaner_3.10.lks"
from=$(status_count)
context_menu_pick ListSorted 2
wait_for_last_status "Finished fetching" "$from"
expect_eq "the first undo takes back the newer sort" "$(status_lines_from "$from" | undo_time | head -n 3)" "$(cat <<END
Undo started | LiberKey  (time)  1 placement
Undone | CCleaner_3.10.lks  moved back to $(winpath "$downloads")\\
Undo finished | 1 of 1 placement undone
END
)"
expect_eq "the disk is as before the newer sort" "$(disk)" "$disk_second"
click_control ButtonQuit
expect_quillet_ends_with_zero

# The third session takes back the sort of the first.
start_quillet "$work"
from=$(status_count)
context_menu_pick ListFiles 2 undo-after-restart
wait_for_last_status "Finished fetching" "$from"
expect_eq "the second undo takes back the older sort" "$(status_lines_from "$from" | undo_time | head -n 5)" "$(cat <<END
Undo started | LiberKey  (time)  3 placements
Undone | Format_Factory_2.90.lks  moved back to $(winpath "$downloads")\\
Undone | VLC_media_player_1.1.11.lks  moved back to $(winpath "$downloads")\\
Undone | Speccy_1.16.lks  moved back to $(winpath "$downloads/Older")\\
Undo finished | 3 of 3 placements undone
END
)"
expect_eq "every package is back, the sorts' folders gone" "$(disk)" "$(disk "$work/end")"
window_screenshot undone-after-restart

from=$(status_count)
context_menu_pick ListFiles 2
context_menu_pick ListFiles 3
sleep 2
expect_eq "undo is greyed now; the history opens or says why not" \
    "$(status_lines_from "$from" | cut -d'|' -f1 | grep -v '^History not opened $' | wc -l)" 0
click_control ButtonQuit
expect_quillet_ends_with_zero
