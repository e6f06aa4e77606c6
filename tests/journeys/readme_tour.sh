#!/bin/sh
# A short tour for the README: a LiberKey download folder is sorted by
# copying, and each of the three tabs is photographed afterwards.
# scripts/update-screenshots.sh copies these pictures into docs/.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

downloads="$work/Downloads/LiberKey"
for package in Format_Factory_2.90 XMedia_Recode_3.1.2 Audacity_2.0.3 AIMP_3.20 7-Zip_9.20 Everything_1.2.1 \
    FileZilla_3.5.3 Firefox_10.0.2 Thunderbird_10.0 KeePass_Classic_Edition_1.24 VLC_media_player_1.1.11 \
    GIMP_2.8.2 Notepad++_6.1.8 MyOwnTool_1.0 Older/CCleaner_3.14 Older/Speccy_1.16 Older/Unknown_Game_2; do
    mkdir -p "$(dirname "$downloads/$package.lks")"
    printf 'package %s\n' "$package" > "$downloads/$package.lks"
done
printf 'not a package\n' > "$downloads/notes.txt"

cat > "$work/Quillet.Ini" <<END
[Program Options]
Last Index = LiberKey
Copy Or Move = Copy
Dump LeftOvers = Yes
[File Sort Paths]
Liberkey Source Path = $(winpath "$downloads")\\
Liberkey Target Path = $(winpath "$work/Sorted/LiberKey")\\
END

start_quillet "$work"
expect_eq "every package is listed" "$(probe count ListFiles)" 17
sort_and_wait
# Dia_ places the VLC package and the XMedia package a second time.
expect_eq "placements" "$(probe count ListSorted)" 17
expect_eq "leftovers" "$(probe rows ListFiles | cut -d'|' -f2 | sort | tr -d ' ' | tr '\n' ' ')" \
    "MyOwnTool_1.0.lks Unknown_Game_2.lks "
expect_file "$work/Sorted/LiberKey/_Office/_Diagram_Editor/VLC_media_player_1.1.11.lks"
expect_file "$work/Quillet.Log"
window_screenshot packages-tab

click_item PanelTabs 1
window_screenshot paths-tab
click_item PanelTabs 2
window_screenshot status-tab

click_control ButtonQuit
expect_quillet_ends_with_zero
