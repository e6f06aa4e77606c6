#!/bin/sh
# The lists' context menu: a preview of a Move, which changes nothing, the
# sort itself, and its undo, which puts every package back where it was and
# takes away the folders the sort made. Undo is greyed before the sort and
# after the undo: picking it then does nothing.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

downloads="$work/Downloads"
sorted="$work/Sorted"
for package in Format_Factory_2.90 VLC_media_player_1.1.11 Unknown_1 Older/Speccy_1.16; do
    mkdir -p "$(dirname "$downloads/$package.lks")"
    printf 'package %s\n' "$package" > "$downloads/$package.lks"
done
# Its identical copy is already sorted: the sort removes it from the downloads.
mkdir -p "$sorted/_Audio/_Converter"
cp "$downloads/Format_Factory_2.90.lks" "$sorted/_Audio/_Converter/"
settings_with_folders LiberKey Move No "$(winpath "$downloads")\\" "$(winpath "$sorted")\\" > "$work/Quillet.Ini"
# Every file with its bytes, and every folder.
disk() {
    (cd "$work" && find Downloads Sorted -type d | sort && find Downloads Sorted -type f ! -name '~Quillet.lock' | sort | xargs md5sum)
}
disk_before=$(disk)

start_quillet "$work"
title_before=$(probe text MainWindow)
from=$(status_count)
context_menu_pick ListFiles 2 undo-greyed
context_menu_pick ListFiles 1
wait_for_last_status "Sort preview" "$from"
expect_eq "picking the greyed undo did nothing; the preview sums up" "$(status_lines_from "$from")" \
    "Sort preview | 3 packages would go to 3 folders, 1 would not"
expect_eq "the preview shows every placement by its package's name" "$(probe rows ListSorted)" "$(cat <<END
_System utilities\\_Information\\_Inventory | Speccy_1.16.lks | Move
_Office\\_Diagram_Editor | VLC_media_player_1.1.11.lks | Move
_Video\\_Player | VLC_media_player_1.1.11.lks | Fail
_Audio\\_Converter | Format_Factory_2.90.lks | Twin
END
)"
expect_eq "the preview changed nothing on disk" "$(disk)" "$disk_before"
expect_eq "nor the packages list" "$(probe count ListFiles)" 4
expect_eq "nor the window title" "$(probe text MainWindow)" "$title_before"
window_screenshot preview

sort_and_wait
expect_eq "the sort starts from an empty sorted list" "$(probe rows ListSorted)" "$(cat <<END
_System utilities\\_Information\\_Inventory | Speccy_ | Okay
_Office\\_Diagram_Editor | Dia_ | Okay
END
)"
expect_no_file "$downloads/Format_Factory_2.90.lks"
expect_eq "the sort made the folders of every match" "$([ -d "$sorted/_Video/_Player" ] && echo made)" made

from=$(status_count)
context_menu_pick ListSorted 2
wait_for_last_status "Finished fetching" "$from"
expect_eq "each placement is undone, last first, and the index loaded again" \
    "$(status_lines_from "$from" | undo_time | head -n 6)" "$(cat <<END
Undo started | LiberKey  (time)  3 placements
Undone | Format_Factory_2.90.lks  copied back to $(winpath "$downloads")\\
Undone | VLC_media_player_1.1.11.lks  moved back to $(winpath "$downloads")\\
Undone | Speccy_1.16.lks  moved back to $(winpath "$downloads/Older")\\
Undo finished | 3 of 3 placements undone
Index load | LiberKey file sort index list loaded
END
)"
expect_eq "the disk is as before the sort" "$(disk)" "$disk_before"
expect_eq "every package is listed again" "$(probe count ListFiles)" 4
window_screenshot undone

# Shift+F10 opens the menu too; nothing is left to undo.
from=$(status_count)
click_row ListFiles Unknown_1.lks
press shift+F10
press Down Down Return
press shift+F10
press Down Return
wait_for_last_status "Sort preview" "$from"
expect_eq "after the undo, undo does nothing" "$(status_lines_from "$from" | cut -d'|' -f1)" "Sort preview "

# The watch, off at start, is picked from the menu: a package that arrives is
# listed and sorted by itself, the packages listed before stay as they are.
from=$(status_count)
context_menu_pick ListFiles 4
mkdir -p "$downloads/New"
printf 'arrived\n' > "$downloads/New/Dia_2.0.lks"
wait_for_last_status "Sort summary" "$from"
expect_eq "the arrival alone is listed and sorted" "$(status_lines_from "$from")" "$(cat <<END
Package arrived | $(winpath "$downloads/New")\\Dia_2.0.lks
File moved okay | Dia_2.0.lks
Sort finished | All files specified in the index have been sorted
Sort summary | 1 placed, 0 already there, 0 older, 0 not placed (no row), 0 failed
END
)"
expect_file "$sorted/_Office/_Diagram_Editor/Dia_2.0.lks"
expect_eq "the packages listed before stay listed" "$(probe count ListFiles)" 4
context_menu_pick ListFiles 4 watch-checked

click_control ButtonQuit
expect_quillet_ends_with_zero
