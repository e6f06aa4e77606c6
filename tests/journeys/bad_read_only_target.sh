#!/bin/sh
# The PortableApps target lies on a folder that refuses writes. It already
# holds the category folder of one package from an earlier sort: that move is
# denied, while the other package's category folder cannot be made, so its
# path is not found. Copying and then moving fail for each package with their
# status lines, the packages
# stay listed and untouched in the downloads, the leftover log names them,
# and the target is as it was.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

downloads="$work/Downloads"
target="$work/ReadOnly"
mkdir -p "$downloads" "$target/_Internet"
printf 'firefox' >"$downloads/FirefoxPortable_10.0.paf.exe"
printf '7-zip' >"$downloads/7-ZipPortable_9.20.paf.exe"
read_only_folder "$target" || skip_journey "no folder here refuses writes to $(id -un)"

settings() {
    settings_with_folders PortableApps "$1" Yes "$(winpath "$downloads")\\" "$(winpath "$target")\\"
}
settings Copy >"$work/Quillet.Ini"

start_quillet "$work"
expect_eq "both packages are listed" "$(probe count ListFiles)" 2

sort_and_wait
screenshot copy-refused
expect_eq "each copy fails" "$(status_lines_from "$from" | sort)" "$(sort <<END
Cannot copy file | FirefoxPortable_10.0.paf.exe
Cannot copy file | 7-ZipPortable_9.20.paf.exe
Sort finished | All files specified in the index have been sorted
Sort summary | 0 placed, 0 already there, 0 older, 0 not placed (no row), 2 failed
END
)"
expect_eq "both packages stay listed" "$(probe count ListFiles)" 2
expect_eq "nothing is sorted" "$(probe count ListSorted)" 0

click_item PanelTabs 1
click_control OptionMove
sort_and_wait
click_item PanelTabs 2
screenshot move-refused
expect_eq "each move fails with the system's reason" "$(status_lines_from "$from" | sort)" "$(sort <<END
Cannot move file | FirefoxPortable_10.0.paf.exe  Access denied.
Cannot move file | 7-ZipPortable_9.20.paf.exe  Path not found.
Sort finished | All files specified in the index have been sorted
Sort summary | 0 placed, 0 already there, 0 older, 0 not placed (no row), 2 failed
END
)"
expect_eq "both packages stay listed" "$(probe count ListFiles)" 2

click_control ButtonQuit
expect_quillet_ends_with_zero
expect_eq "the downloads are untouched" "$(cat "$downloads/FirefoxPortable_10.0.paf.exe") $(cat "$downloads/7-ZipPortable_9.20.paf.exe")" \
    "firefox 7-zip"
expect_eq "the target is as it was" "$(cd "$target" && find . ! -name "~Quillet.lock" | sort)" "$(printf '.\n./_Internet')"
expect_eq "the log names both packages" "$(sed -n '5,6p' "$work/Quillet.Log" | tr -d '\r' | sort)" "$(sort <<END
$(winpath "$downloads")\\FirefoxPortable_10.0.paf.exe
$(winpath "$downloads")\\7-ZipPortable_9.20.paf.exe
END
)"
expect_eq "the settings file holds the user's one change" "$(bytes "$work/Quillet.Ini")" "$(settings Move | bytes)"
