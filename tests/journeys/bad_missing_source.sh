#!/bin/sh
# The Android download folder named in the settings does not exist: the fetch
# reports it looked and found nothing, the sort has nothing to do, nothing is
# made where the folder should be, and the settings file is written back as
# the user had it. Once the folder is there, loading the index finds its
# package.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

gone="$work/Gone"
sorted="$work/Sorted"
settings() {
    settings_with_folders Android Copy Yes "$(winpath "$gone")\\" "$(winpath "$sorted")\\"
}
settings >"$work/Quillet.Ini"

start_quillet "$work"
click_item PanelTabs 2
screenshot status-tab-at-start
expect_eq "the fetch reports the missing folder as searched" "$(status_lines_from 0)" "$(
    settings_status_lines "$work"
    cat <<END
Index load | AndroidApps file sort index list loaded
Fetching files | Retrieving files from $(winpath "$gone")\\
Finished fetching | Found all files for Android
Startup | Quillet is up and waiting for your orders
END
)"
expect_eq "no package is listed" "$(probe count ListFiles)" 0
expect_eq "the title stays empty" "$(probe text MainWindow)" ""
expect_eq "the target folder is made" "$(test -d "$sorted" && echo made)" made

sort_and_wait
expect_eq "the sort has nothing to do" "$(status_lines_from "$from")" \
    "$(printf '%s\n' "Sort finished | All files specified in the index have been sorted" \
        "Sort summary | 0 placed, 0 already there, 0 older, 0 not placed (no row), 0 failed")"
expect_no_file "$gone"
expect_no_file "$work/Quillet.Log"
expect_eq "the target stays empty" "$(ls -A "$sorted" | grep -v "^~Quillet.lock$" || true)" ""

# The user makes the folder and puts a download there.
mkdir -p "$gone"
printf 'marvel' >"$gone/Marvel_Comics_3.0.apk"
from=$(status_count)
click_control ButtonLoadIndex
wait_for_last_status "Finished fetching" "$from"
click_item PanelTabs 0
screenshot package-found-later
expect_eq "the package is found on the next load" "$(probe rows ListFiles)" "$(winpath "$gone")\\ | Marvel_Comics_3.0.apk"

click_control ButtonQuit
expect_quillet_ends_with_zero
expect_eq "the settings file is as the user had it" "$(bytes "$work/Quillet.Ini")" "$(settings | bytes)"
expect_eq "the package is where the user put it" "$(cat "$gone/Marvel_Comics_3.0.apk")" marvel
