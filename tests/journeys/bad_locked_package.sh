#!/bin/sh
# Another program holds a LiberKey package open and shares it with nobody.
# Copying it fails while the other package is copied; moving it fails with the
# system's reason; the package stays listed and whole in the downloads. Once
# the other program lets go, the next sort moves it.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

downloads="$work/Downloads"
sorted="$work/Sorted"
mkdir -p "$downloads"
printf 'format factory' >"$downloads/Format_Factory_2.80.lks"
printf 'audacity' >"$downloads/Audacity_2.0.lks"
settings() {
    settings_with_folders LiberKey "$1" Yes "$(winpath "$downloads")\\" "$(winpath "$sorted")\\"
}
settings Copy >"$work/Quillet.Ini"

hold_file "$downloads/Format_Factory_2.80.lks"
start_quillet "$work"
expect_eq "both packages are listed" "$(probe count ListFiles)" 2

sort_and_wait
screenshot copy-of-held-package-fails
expect_eq "the held package is not copied, the other one is" "$(status_lines_from "$from" | sort)" "$(sort <<END
Cannot copy file | Format_Factory_2.80.lks
File copied okay | Audacity_2.0.lks
Sort finished | All files specified in the index have been sorted
Sort summary | 1 placed, 0 already there, 0 older, 0 not placed (no row), 1 failed
END
)"
expect_eq "the held package stays listed" "$(probe rows ListFiles)" "$(winpath "$downloads")\\ | Format_Factory_2.80.lks"
expect_eq "the log names it" "$(sed -n 5p "$work/Quillet.Log" | tr -d '\r')" "$(winpath "$downloads")\\Format_Factory_2.80.lks"
expect_no_file "$sorted/_Audio/_Converter/Format_Factory_2.80.lks"

click_item PanelTabs 1
click_control OptionMove
sort_and_wait
click_item PanelTabs 2
screenshot move-of-held-package-fails
expect_eq "the held package is not moved" "$(status_lines_from "$from")" "$(cat <<END
Cannot move file | Format_Factory_2.80.lks  Sharing violation.
Sort finished | All files specified in the index have been sorted
Sort summary | 0 placed, 0 already there, 0 older, 0 not placed (no row), 1 failed
END
)"
expect_eq "the held package stays listed" "$(probe count ListFiles)" 1
expect_eq "the held package is whole" "$(cat "$downloads/Format_Factory_2.80.lks")" "format factory"
expect_no_file "$sorted/_Audio/_Converter/Format_Factory_2.80.lks"

release_file
sort_and_wait
click_item PanelTabs 0
screenshot moved-once-released
expect_eq "the released package is moved" "$(status_lines_from "$from")" "$(cat <<END
File moved okay | Format_Factory_2.80.lks
Sort finished | All files specified in the index have been sorted
Sort summary | 1 placed, 0 already there, 0 older, 0 not placed (no row), 0 failed
END
)"
expect_eq "no package is left listed" "$(probe count ListFiles)" 0

click_control ButtonQuit
expect_quillet_ends_with_zero
expect_eq "the moved package is whole" "$(cat "$sorted/_Audio/_Converter/Format_Factory_2.80.lks")" "format factory"
expect_no_file "$downloads/Format_Factory_2.80.lks"
expect_eq "the copied package is whole" "$(cat "$sorted/_Audio/_Editor/Audacity_2.0.lks")" audacity
expect_eq "the copied package stays in the downloads" "$(cat "$downloads/Audacity_2.0.lks")" audacity
expect_eq "the settings file holds the user's one change" "$(bytes "$work/Quillet.Ini")" "$(settings Move | bytes)"
