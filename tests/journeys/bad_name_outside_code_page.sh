#!/bin/sh
# Downloads whose names hold characters that code page 1252 lacks: Cyrillic
# letters, and an O with a macron beside a package whose name differs only by
# a plain O. The list shows each such character as "?", a name no file can
# have, so copying and moving those packages fail with their status lines
# while the plain-O package is copied once; a folder with a Cyrillic name
# cannot be listed and is passed over. Every file stays as it was.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

downloads="$work/Downloads"
sorted="$work/Sorted"
mkdir -p "$downloads/Папка"
printf 'cyrillic' >"$downloads/Аудио_Format_Factory_2.80.lks"
printf 'macron' >"$downloads/Ōkami_Format_1.0.lks"
printf 'plain' >"$downloads/Okami_Format_1.0.lks"
printf 'vlc' >"$downloads/Папка/VLC_media_player_1.1.11.lks"
downloads_as_they_were=$(cd "$downloads" && find . -type f -exec sh -c 'printf "%s %s\n" "$1" "$(cat "$1")"' _ {} \; | sort)
settings() {
    settings_with_folders LiberKey "$1" Yes "$(winpath "$downloads")\\" "$(winpath "$sorted")\\"
}
settings Copy >"$work/Quillet.Ini"
folder="$(winpath "$downloads")\\"

start_quillet "$work"
screenshot listed-with-question-marks
expect_eq "the names show \"?\" for what the code page lacks" "$(probe rows ListFiles | sort)" "$(sort <<END
$folder | ?????_Format_Factory_2.80.lks
$folder | ?kami_Format_1.0.lks
$folder | Okami_Format_1.0.lks
END
)"

sort_and_wait
screenshot after-copy
expect_eq "only the plain-O package is copied" "$(status_lines_from "$from" | sort)" "$(sort <<END
Cannot copy file | ?????_Format_Factory_2.80.lks
Cannot copy file | ?kami_Format_1.0.lks
File copied okay | Okami_Format_1.0.lks
Sort finished | All files specified in the index have been sorted
Sort summary | 1 placed, 0 already there, 0 older, 0 not placed (no row), 2 failed
END
)"
expect_eq "the two others stay listed" "$(probe rows ListFiles | sort)" "$(sort <<END
$folder | ?????_Format_Factory_2.80.lks
$folder | ?kami_Format_1.0.lks
END
)"
expect_eq "the category holds the plain-O package alone" "$(cd "$sorted/_Audio/_Converter" && ls && cat Okami_Format_1.0.lks)" \
    "$(printf 'Okami_Format_1.0.lks\nplain')"
expect_eq "the log names the two others" "$(sed -n '5,6p' "$work/Quillet.Log" | tr -d '\r' | sort)" "$(sort <<END
${folder}?????_Format_Factory_2.80.lks
${folder}?kami_Format_1.0.lks
END
)"

click_item PanelTabs 1
click_control OptionMove
sort_and_wait
click_item PanelTabs 2
screenshot after-move
expect_eq "moving them fails with the system's reason" "$(status_lines_from "$from" | sort)" "$(sort <<END
Cannot move file | ?????_Format_Factory_2.80.lks  Invalid name.
Cannot move file | ?kami_Format_1.0.lks  Invalid name.
Sort finished | All files specified in the index have been sorted
Sort summary | 0 placed, 0 already there, 0 older, 0 not placed (no row), 2 failed
END
)"
expect_eq "both stay listed" "$(probe count ListFiles)" 2

click_control ButtonQuit
expect_quillet_ends_with_zero
expect_eq "every download is as it was" \
    "$(cd "$downloads" && find . -type f -exec sh -c 'printf "%s %s\n" "$1" "$(cat "$1")"' _ {} \; | sort)" \
    "$downloads_as_they_were"
expect_eq "the target holds the one copy" "$(cd "$sorted" && find . -type f ! -name "~Quillet.lock")" "./_Audio/_Converter/Okami_Format_1.0.lks"
expect_eq "the settings file holds the user's one change" "$(bytes "$work/Quillet.Ini")" "$(settings Move | bytes)"
