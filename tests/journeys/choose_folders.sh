#!/bin/sh
# A new user sets up LiberKey: on a first run, the "..." buttons and the
# folder dialog choose the download folder and a target folder; a dialog
# left with Cancel changes nothing. The chosen folders take effect when the
# index is loaded again; the sort then copies into the chosen target, and
# both folders are kept in the settings file.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

downloads="$work/Downloads"
sorted="$work/Sorted"
mkdir -p "$downloads/Sub" "$sorted"
printf 'format factory' >"$downloads/Format_Factory_2.80.lks"
printf 'vlc' >"$downloads/VLC_media_player_1.1.11.lks"
printf 'audacity' >"$downloads/Sub/Audacity_2.0.lks"
printf 'unknown' >"$downloads/Unknown_Tool_1.0.lks"


start_quillet "$work"
click_item PanelTabs 1
screenshot paths-tab-first-run
expect_eq "the LiberKey source starts as its default" "$(probe text FieldLiberkeySource)" "$default_liberkey_source"

# The source: typed through the tree with the keyboard, taken with Enter.
click_control ButtonLiberkeySource
select_in_folder_dialog "$downloads"
screenshot dialog-source-selected
expect_eq "the dialog asks for the LiberKey source" "$(probe dialog | sed -n 2p)" "Where to gather LiberKey files from?"
press Return
wait_for_text FieldLiberkeySource "$(winpath "$downloads")\\"
expect_eq "the LiberKey source shows the chosen folder" "$(probe text FieldLiberkeySource)" "$(winpath "$downloads")\\"

# The target: taken with a click on OK.
click_control ButtonLiberkeyTarget
select_in_folder_dialog "$sorted"
expect_eq "the dialog asks for the LiberKey target" "$(probe dialog | sed -n 2p)" "Where to sort Liberkey files to?"
click_dialog_button OK
wait_for_text FieldLiberkeyTarget "$(winpath "$sorted")\\"
expect_eq "the LiberKey target shows the chosen folder" "$(probe text FieldLiberkeyTarget)" "$(winpath "$sorted")\\"

# A dialog left with Cancel changes nothing.
click_control ButtonAndroidSource
select_in_folder_dialog "$work"
click_dialog_button Cancel
wait_for_no_dialog
expect_eq "the Android source is unchanged after Cancel" "$(probe text FieldAndroidSource)" "$default_android_source"
screenshot paths-tab-folders-chosen

expect_eq "the active source waits for the next load" "$(probe text FieldActiveSource)" "$default_liberkey_source"
expect_eq "the active target waits for the next load" "$(probe text FieldActiveTarget)" "$default_liberkey_target"

from=$(status_count)
click_control ButtonLoadIndex
wait_for_last_status "Finished fetching" "$from"
click_item PanelTabs 0
screenshot packages-listed
expect_eq "the active source is the chosen folder" "$(probe text FieldActiveSource)" "$(winpath "$downloads")\\"
expect_eq "the active target is the chosen folder" "$(probe text FieldActiveTarget)" "$(winpath "$sorted")\\"
expect_eq "the four packages are listed" "$(probe count ListFiles)" 4
expect_eq "loading reports the chosen source" "$(status_lines_from "$from")" "$(cat <<END
Index load | LiberKey file sort index list loaded
Fetching files | Retrieving files from $(winpath "$downloads")\\
Finished fetching | Found all files for LiberKey
END
)"

sort_and_wait
screenshot sorted
expect_eq "the unknown package is left in the list" "$(probe rows ListFiles)" \
    "$(winpath "$downloads")\\ | Unknown_Tool_1.0.lks"
expect_eq "four copies are made" "$(probe rows ListSorted | sort)" "$(sort <<END
_Audio\\_Converter | Format_ | Okay
_Office\\_Diagram_Editor | Dia_ | Okay
_Video\\_Player | VLC_media_player_ | Okay
_Audio\\_Editor | Audacity_ | Okay
END
)"
expect_eq "the sort reports each copy" "$(status_lines_from "$from" | sort)" "$(sort <<END
File copied okay | Format_Factory_2.80.lks
File copied okay | VLC_media_player_1.1.11.lks
File copied okay | VLC_media_player_1.1.11.lks
File copied okay | Audacity_2.0.lks
Sort finished | All files specified in the index have been sorted
Sort summary | 4 placed, 0 already there, 0 older, 1 not placed (no row), 0 failed
END
)"
expect_eq "Format Factory is in its category" "$(cat "$sorted/_Audio/_Converter/Format_Factory_2.80.lks")" "format factory"
expect_eq "VLC is in the diagram editors" "$(cat "$sorted/_Office/_Diagram_Editor/VLC_media_player_1.1.11.lks")" "vlc"
expect_eq "VLC is in the video players" "$(cat "$sorted/_Video/_Player/VLC_media_player_1.1.11.lks")" "vlc"
expect_eq "Audacity from the sub-folder is in its category" "$(cat "$sorted/_Audio/_Editor/Audacity_2.0.lks")" "audacity"
expect_eq "copying leaves the downloads as they were" "$(cd "$downloads" && find . -type f | sort)" "$(sort <<END
./Format_Factory_2.80.lks
./Sub/Audacity_2.0.lks
./Unknown_Tool_1.0.lks
./VLC_media_player_1.1.11.lks
END
)"
click_item PanelTabs 2
screenshot status-tab
expect_eq "the log lists the package left over" "$(sed -n 5p "$work/Quillet.Log" | tr -d '\r')" \
    "$(winpath "$downloads")\\Unknown_Tool_1.0.lks"

click_control ButtonQuit
expect_quillet_ends_with_zero
expect_eq "the settings file keeps the chosen folders" "$(bytes "$work/Quillet.Ini")" "$(settings_with_folders LiberKey Copy Yes "$(winpath "$downloads")\\" "$(winpath "$sorted")\\" | bytes)"
