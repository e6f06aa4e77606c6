#!/bin/sh
# The three indexes one after the other, each with its own download folder
# and target named in the settings file. For each the user picks the index in
# the selector, sorts in Copy, switches to Move, loads the index again once a
# late download has arrived and sorts again; then quits. What lies on disk is
# checked after every sort and at the end.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

ini="$work/Quillet.Ini"
log="$work/Quillet.Log"
rule="; $(printf '%087d' 0 | tr 0 -)"
log_rule=$(printf '%083d' 0 | tr 0 -)

# The settings file in the program's own layout, with each index's folders
# below the working folder.
settings_file() {
    cat <<END
;  
$rule
[Program Options]
$rule
;  
Last Index = $1
Copy Or Move = $2
Dump LeftOvers = Yes
;  
$rule
[File Sort Paths]
$rule
;  
Liberkey Source Path = $(winpath "$work/Downloads/LiberKey/")
Liberkey Target Path = $(winpath "$work/Sorted/LiberKey/")
PortableApps Source Path = $(winpath "$work/Downloads/PortableApps/")
PortableApps Target Path = $(winpath "$work/Sorted/PortableApps/")
Android Source Path = $(winpath "$work/Downloads/Android/")
Android Target Path = $(winpath "$work/Sorted/Android/")
END
}

# The category folders' parents, as the "Twin removed" lines name them.
lk_sorted=$(winpath "$work/Sorted/LiberKey/")
pa_sorted=$(winpath "$work/Sorted/PortableApps/")
an_sorted=$(winpath "$work/Sorted/Android/")

# A file whose bytes are its own name, so that every copy can be told apart.
download() {
    mkdir -p "$(dirname "$1")"
    printf '%s\n' "$(basename "$1")" >"$1"
}

for file in Format_Factory_2.90.lks Archivers/7-Zip_9.20.lks VLC_media_player_1.1.11.lks \
    Unknown_Tool_1.0.lks readme.txt; do
    download "$work/Downloads/LiberKey/$file"
done
for file in FirefoxPortable_10.0_English.paf.exe Games/AssaultCubePortable_1.1.paf.exe \
    SomethingUnknown_1.0.paf.exe notes.txt; do
    download "$work/Downloads/PortableApps/$file"
done
for file in "Barcode Scanner 4.0.apk" "New/Level_1.2.apk" "Mystery App 1.0.apk" list.txt; do
    download "$work/Downloads/Android/$file"
done
settings_file PortableApps Copy | sed 's/$/\r/' >"$ini"

# Files below a folder, one relative path a line, sorted.
tree_of() {
    (cd "$1" && find . -type f ! -name '~Quillet.lock' | sed 's|^\./||' | LC_ALL=C sort)
}

# The file names of the file list, sorted.
listed_files() {
    probe rows ListFiles | sed 's/.* | //' | LC_ALL=C sort
}

# The rows of the sorted list, sorted.
sorted_rows() {
    probe rows ListSorted | LC_ALL=C sort
}

# The status lines from line <n> on, sorted, with "Sort finished" and "Sort
# summary" last and the system's reason of a failed move (worded by the
# system) left out.
run_lines() {
    lines=$(status_lines_from "$1" | sed -E 's/^(Cannot move file \| .*\.(lks|exe|apk))  .+$/\1  (reason)/')
    printf '%s\n' "$lines" | grep -v '^Sort finished \|^Sort summary ' | LC_ALL=C sort
    printf '%s\n' "$lines" | grep '^Sort finished \|^Sort summary '
}

# The log file holds the orphan listing of the index: the rows of the file list
# as full paths, in their order. Every line ends with CR LF.
expect_orphan_listing() {
    expected=$(
        printf '%s\n' "$log_rule" "Start of [$1] orphan files listing." "$log_rule" ""
        probe rows ListFiles | sed 's/ | //'
        printf '%s\n' "$log_rule" "End of [$1] orphan files listing." "$log_rule"
    )
    expect_eq "the log holds the $1 orphan listing" "$(unix_text "$log")" "$expected"
    expect_eq "every log line ends with CR LF, the last one empty" \
        "$(tr -cd '\r' <"$log" | wc -c) $(tail -c 4 "$log" | od -An -tx1 | tr -d ' ')" \
        "$(tr -cd '\n' <"$log" | wc -c) 0d0a0d0a"
}

pick_index() {
    before=$(status_count)
    click_control ComboIndex
    click_item ComboIndex "$1"
    wait_for_last_status "Finished fetching" "$before"
}

sort_now() {
    before=$(status_count)
    click_control ButtonSort
    wait_for_last_status "Sort summary" "$before"
}

# Picks the index (item <n> of the selector) and checks that its packages
# are listed, with the sub-folder's package under its own folder.
pick_and_check() {
    name=$1 item=$2 packages=$3 nested_folder=$4 nested_file=$5
    pick_index "$item"
    screenshot "$name-listed"
    expect_eq "$name is selected" "$(probe text ComboIndex)" "$name"
    expect_eq "$name: its source is active" "$(probe text FieldActiveSource)" "$(winpath "$work/Downloads/$name/")"
    expect_eq "$name: its target is active" "$(probe text FieldActiveTarget)" "$(winpath "$work/Sorted/$name/")"
    expect_eq "$name: its target folder is made" "$([ -d "$work/Sorted/$name" ] && echo made)" made
    expect_eq "$name: the packages are listed" "$(listed_files)" "$packages"
    expect_eq "$name: the nested package is listed with its folder" \
        "$(probe rows ListFiles | grep -F "| $nested_file")" \
        "$(winpath "$work/Downloads/$name/$nested_folder/") | $nested_file"
}

# Switches to Move on the paths tab, then back on the main tab loads the
# index again, after a late download has arrived in the source folder.
switch_to_move_and_reload() {
    name=$1 late=$2
    click_item PanelTabs 1
    click_control OptionMove
    screenshot "$name-move-chosen"
    expect_eq "$name: move is chosen" "$(probe state OptionMove)" 1
    download "$work/Downloads/$name/$late"
    click_item PanelTabs 0
    before=$(status_count)
    click_control ButtonLoadIndex
    wait_for_last_status "Finished fetching" "$before"
    expect_eq "$name: the load empties the sorted list" "$(probe count ListSorted)" 0
}

switch_to_copy() {
    click_item PanelTabs 1
    click_control OptionCopy
    expect_eq "copy is chosen again" "$(probe state OptionCopy)" 1
    click_item PanelTabs 0
}

start_quillet "$work"
screenshot started-with-portableapps
expect_eq "the stored index is selected at start" "$(probe text ComboIndex)" PortableApps
expect_eq "copy is chosen at start" "$(probe state OptionCopy)" 1

# LiberKey: the VLC package matches two catalogue rows and is copied twice.
pick_and_check LiberKey 0 "$(printf '%s\n' 7-Zip_9.20.lks Format_Factory_2.90.lks Unknown_Tool_1.0.lks \
    VLC_media_player_1.1.11.lks)" Archivers 7-Zip_9.20.lks
sort_now
screenshot LiberKey-copied
expect_eq "LiberKey copy: the sorted list" "$(sorted_rows)" '_Audio\_Converter | Format_ | Okay
_File manager\_Compression | 7-Zip_ | Okay
_Office\_Diagram_Editor | Dia_ | Okay
_Video\_Player | VLC_media_player_ | Okay'
expect_eq "LiberKey copy: the status lines" "$(run_lines "$before")" 'File copied okay | 7-Zip_9.20.lks
File copied okay | Format_Factory_2.90.lks
File copied okay | VLC_media_player_1.1.11.lks
File copied okay | VLC_media_player_1.1.11.lks
Sort finished | All files specified in the index have been sorted
Sort summary | 4 placed, 0 already there, 0 older, 1 not placed (no row), 0 failed'
expect_eq "LiberKey copy: the title counts four placements" "$(probe text MainWindow | cut -d' ' -f1-3)" "Quillet - 4"
expect_eq "LiberKey copy: the orphan stays listed" "$(listed_files)" Unknown_Tool_1.0.lks
expect_eq "LiberKey copy: the target tree" "$(tree_of "$work/Sorted/LiberKey")" '_Audio/_Converter/Format_Factory_2.90.lks
_File manager/_Compression/7-Zip_9.20.lks
_Office/_Diagram_Editor/VLC_media_player_1.1.11.lks
_Video/_Player/VLC_media_player_1.1.11.lks'
expect_eq "LiberKey copy: the copies hold the packages" \
    "$(cat "$work/Sorted/LiberKey/_File manager/_Compression/7-Zip_9.20.lks")" 7-Zip_9.20.lks
expect_eq "LiberKey copy: the sources stay" "$(tree_of "$work/Downloads/LiberKey")" 'Archivers/7-Zip_9.20.lks
Format_Factory_2.90.lks
Unknown_Tool_1.0.lks
VLC_media_player_1.1.11.lks
readme.txt'
expect_orphan_listing LiberKey

# Move: the packages already copied are refused by the system, and since
# identical copies lie at their destinations their sources go; the late
# download is moved.
switch_to_move_and_reload LiberKey Audacity_2.0.3.lks
expect_eq "LiberKey: the sources are listed again" "$(listed_files)" "$(printf '%s\n' 7-Zip_9.20.lks \
    Audacity_2.0.3.lks Format_Factory_2.90.lks Unknown_Tool_1.0.lks VLC_media_player_1.1.11.lks)"
sort_now
screenshot LiberKey-moved
expect_eq "LiberKey move: the sorted list" "$(sorted_rows)" '_Audio\_Editor | Audacity_ | Okay'
expect_eq "LiberKey move: the status lines" "$(run_lines "$before")" 'Cannot move file | 7-Zip_9.20.lks  (reason)
Cannot move file | Format_Factory_2.90.lks  (reason)
Cannot move file | VLC_media_player_1.1.11.lks  (reason)
Cannot move file | VLC_media_player_1.1.11.lks  (reason)
File moved okay | Audacity_2.0.3.lks
Twin removed | 7-Zip_9.20.lks  its identical copy is in '"$lk_sorted"'_File manager\_Compression\
Twin removed | Format_Factory_2.90.lks  its identical copy is in '"$lk_sorted"'_Audio\_Converter\
Twin removed | VLC_media_player_1.1.11.lks  its identical copy is in '"$lk_sorted"'_Office\_Diagram_Editor\
Sort finished | All files specified in the index have been sorted
Sort summary | 1 placed, 3 already there, 0 older, 1 not placed (no row), 0 failed'
expect_eq "LiberKey move: the title" "$(probe text MainWindow)" "Quillet - 1 Audacity_2.0.3.lks"
expect_eq "LiberKey move: the orphan stays listed" "$(listed_files)" Unknown_Tool_1.0.lks
expect_eq "LiberKey move: the target tree" "$(tree_of "$work/Sorted/LiberKey")" '_Audio/_Converter/Format_Factory_2.90.lks
_Audio/_Editor/Audacity_2.0.3.lks
_File manager/_Compression/7-Zip_9.20.lks
_Office/_Diagram_Editor/VLC_media_player_1.1.11.lks
_Video/_Player/VLC_media_player_1.1.11.lks'
expect_eq "LiberKey move: the moved package is whole" \
    "$(cat "$work/Sorted/LiberKey/_Audio/_Editor/Audacity_2.0.3.lks")" Audacity_2.0.3.lks
expect_eq "LiberKey move: the copies made before are untouched" \
    "$(cat "$work/Sorted/LiberKey/_File manager/_Compression/7-Zip_9.20.lks")" 7-Zip_9.20.lks
expect_eq "LiberKey move: only the orphan and the other file stay" \
    "$(tree_of "$work/Downloads/LiberKey")" 'Unknown_Tool_1.0.lks
readme.txt'
expect_orphan_listing LiberKey

# PortableApps: the Assault Cube package matches two rows of one category.
switch_to_copy
pick_and_check PortableApps 1 "$(printf '%s\n' AssaultCubePortable_1.1.paf.exe \
    FirefoxPortable_10.0_English.paf.exe SomethingUnknown_1.0.paf.exe)" Games AssaultCubePortable_1.1.paf.exe
sort_now
screenshot PortableApps-copied
expect_eq "PortableApps copy: the sorted list" "$(sorted_rows)" '_Games | AssaultCubePortable_ | Okay
_Games | CubePortable_ | Okay
_Internet | FirefoxPortable_ | Okay'
expect_eq "PortableApps copy: the status lines" "$(run_lines "$before")" 'File copied okay | AssaultCubePortable_1.1.paf.exe
File copied okay | AssaultCubePortable_1.1.paf.exe
File copied okay | FirefoxPortable_10.0_English.paf.exe
Sort finished | All files specified in the index have been sorted
Sort summary | 2 placed, 1 already there, 0 older, 1 not placed (no row), 0 failed'
expect_eq "PortableApps copy: the orphan stays listed" "$(listed_files)" SomethingUnknown_1.0.paf.exe
expect_eq "PortableApps copy: the target tree" "$(tree_of "$work/Sorted/PortableApps")" '_Games/AssaultCubePortable_1.1.paf.exe
_Internet/FirefoxPortable_10.0_English.paf.exe'
expect_eq "PortableApps copy: the sources stay" "$(tree_of "$work/Downloads/PortableApps")" 'FirefoxPortable_10.0_English.paf.exe
Games/AssaultCubePortable_1.1.paf.exe
SomethingUnknown_1.0.paf.exe
notes.txt'
expect_orphan_listing PortableApps

switch_to_move_and_reload PortableApps GIMPPortable_2.8.paf.exe
expect_eq "PortableApps: the sources are listed again" "$(listed_files)" "$(printf '%s\n' \
    AssaultCubePortable_1.1.paf.exe FirefoxPortable_10.0_English.paf.exe GIMPPortable_2.8.paf.exe \
    SomethingUnknown_1.0.paf.exe)"
sort_now
screenshot PortableApps-moved
expect_eq "PortableApps move: the sorted list" "$(sorted_rows)" '_Graphics And Pictures | GIMPPortable_ | Okay'
expect_eq "PortableApps move: the status lines" "$(run_lines "$before")" 'Cannot move file | AssaultCubePortable_1.1.paf.exe  (reason)
Cannot move file | AssaultCubePortable_1.1.paf.exe  (reason)
Cannot move file | FirefoxPortable_10.0_English.paf.exe  (reason)
File moved okay | GIMPPortable_2.8.paf.exe
Twin removed | AssaultCubePortable_1.1.paf.exe  its identical copy is in '"$pa_sorted"'_Games\
Twin removed | FirefoxPortable_10.0_English.paf.exe  its identical copy is in '"$pa_sorted"'_Internet\
Sort finished | All files specified in the index have been sorted
Sort summary | 1 placed, 2 already there, 0 older, 1 not placed (no row), 0 failed'
expect_eq "PortableApps move: the orphan stays listed" "$(listed_files)" SomethingUnknown_1.0.paf.exe
expect_eq "PortableApps move: the target tree" "$(tree_of "$work/Sorted/PortableApps")" '_Games/AssaultCubePortable_1.1.paf.exe
_Graphics And Pictures/GIMPPortable_2.8.paf.exe
_Internet/FirefoxPortable_10.0_English.paf.exe'
expect_eq "PortableApps move: only the orphan and the other file stay" \
    "$(tree_of "$work/Downloads/PortableApps")" 'SomethingUnknown_1.0.paf.exe
notes.txt'
expect_orphan_listing PortableApps

# Android: names with blanks, categories without the underscore.
switch_to_copy
pick_and_check Android 2 "$(printf '%s\n' "Barcode Scanner 4.0.apk" Level_1.2.apk "Mystery App 1.0.apk")" \
    New Level_1.2.apk
sort_now
screenshot Android-copied
expect_eq "Android copy: the sorted list" "$(sorted_rows)" 'Shopping | Barcode Scanner | Okay
Tools | Level_ | Okay'
expect_eq "Android copy: the status lines" "$(run_lines "$before")" 'File copied okay | Barcode Scanner 4.0.apk
File copied okay | Level_1.2.apk
Sort finished | All files specified in the index have been sorted
Sort summary | 2 placed, 0 already there, 0 older, 1 not placed (no row), 0 failed'
expect_eq "Android copy: the orphan stays listed" "$(listed_files)" "Mystery App 1.0.apk"
expect_eq "Android copy: the target tree" "$(tree_of "$work/Sorted/Android")" 'Shopping/Barcode Scanner 4.0.apk
Tools/Level_1.2.apk'
expect_orphan_listing Android

switch_to_move_and_reload Android "Sound Meter_1.5.apk"
sort_now
screenshot Android-moved
expect_eq "Android move: the sorted list" "$(sorted_rows)" 'Tools | Sound Meter_ | Okay'
expect_eq "Android move: the status lines" "$(run_lines "$before")" 'Cannot move file | Barcode Scanner 4.0.apk  (reason)
Cannot move file | Level_1.2.apk  (reason)
File moved okay | Sound Meter_1.5.apk
Twin removed | Barcode Scanner 4.0.apk  its identical copy is in '"$an_sorted"'Shopping\
Twin removed | Level_1.2.apk  its identical copy is in '"$an_sorted"'Tools\
Sort finished | All files specified in the index have been sorted
Sort summary | 1 placed, 2 already there, 0 older, 1 not placed (no row), 0 failed'
expect_eq "Android move: the orphan stays listed" "$(listed_files)" "Mystery App 1.0.apk"
expect_orphan_listing Android

click_item PanelTabs 2
screenshot status-tab
click_control ButtonQuit
expect_quillet_ends_with_zero

expect_eq "the Android target tree" "$(tree_of "$work/Sorted/Android")" 'Shopping/Barcode Scanner 4.0.apk
Tools/Level_1.2.apk
Tools/Sound Meter_1.5.apk'
expect_eq "the Android sources left" "$(tree_of "$work/Downloads/Android")" 'Mystery App 1.0.apk
list.txt'
expect_eq "the three target trees hold eleven files in all" "$(tree_of "$work/Sorted" | wc -l)" 11
expect_eq "the log keeps the last listing, Android's" "$(unix_text "$log" | sed -n 2p)" \
    "Start of [Android] orphan files listing."
expect_eq "the log names the Android orphan" "$(unix_text "$log" | sed -n 5p)" \
    "$(winpath "$work/Downloads/Android/Mystery App 1.0.apk")"
expect_eq "the settings file keeps Android and Move" "$(unix_text "$ini")" "$(settings_file Android Move)"
