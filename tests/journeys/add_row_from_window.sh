#!/bin/sh
# A row of your own from the window: a leftover's context menu opens the
# dialog with a fragment of its name; a category that leaves the target is
# refused in the dialog; a good one is appended to Quillet.Catalogue.Ini
# (here a link to the user's file) after the user's own bytes, and the index
# loaded again, so a preview places the package at once. The user's "-" and
# "^" rows keep VLC out of the Diagram Editor folder.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

downloads="$work/Downloads"
mkdir -p "$downloads" "$work/Mine"
for package in Brave_1.2.3 VLC_media_player_3.0 Dia_0.97.2; do
    printf 'package %s\n' "$package" > "$downloads/$package.lks"
done
# Another collection's kind in the same downloads folder.
printf 'package\n' > "$downloads/VLC_media_player_3.0.apk"
# A real Android build that nobody named: its label stands beside its name.
real_apk="${QUILLET_TEST_DATA:-$build/test-data}/apk/io.appium.settings-8.0.10.apk"
cp "$real_apk" "$downloads/base.apk"
settings_with_folders LiberKey Copy No "$(winpath "$downloads")\\" "$(winpath "$work/Sorted")\\" > "$work/Quillet.Ini"
# The user's own bytes, without a line end at their end.
printf '; mine\r\n[LiberKey]\r\nDia_ = -\r\n^Dia_ = _Office\\_Diagram_Editor\r\n[Notes]\r\nkeep this' > "$work/Mine/rows.ini"
ln -s "$work/Mine/rows.ini" "$work/Quillet.Catalogue.Ini"
own_bytes=$(bytes "$work/Mine/rows.ini")
own_size=$(wc -c < "$work/Mine/rows.ini")
rows_file="$(winpath "$work")\\Quillet.Catalogue.Ini"

start_quillet "$work"
expect_eq "the own rows switch one compiled-in row off" "$(status_lines_from 0 | grep 'User rows')" \
    "User rows loaded | 1 row for LiberKey from $rows_file, 1 compiled-in row switched off"

# The leftover after Brave's row, which is selected once the row is added.
after_brave=$(probe rows ListFiles | sed -n '/| Brave_1.2.3.lks$/{n;p;}')
[ -n "$after_brave" ] || after_brave=$(probe row ListFiles -1)

# Right-click the leftover's row; the fifth item adds a row for it.
# shellcheck disable=SC2046
xdotool mousemove $(probe rowpoint ListFiles Brave_1.2.3.lks) click 3
sleep 0.5
press Down Down Down Down Down
window_screenshot menu
press Return
tries=0
until probe dialog >/dev/null || [ "$tries" -ge 40 ]; do tries=$((tries + 1)); sleep 0.25; done
expect_eq "the fragment is the name up to the \"_\" before a digit" "$(probe dialogfield)" "Brave_"

press Tab
xdotool type --delay 50 'C:\x'
press Return
expect_eq "a category outside the target is refused in the dialog" \
    "$(probe dialog | grep 'Not added')" "Not added: category leaves the target folder"
screenshot refused
expect_eq "and nothing is written" "$(bytes "$work/Mine/rows.ini")" "$own_bytes"

from=$(status_count)
press End shift+Home
xdotool type --delay 50 '_Internet\_Browser'
press Return
wait_for_last_status "Finished fetching" "$from"
wait_for_no_dialog
expect_eq "the dialog closed" "$(probe dialog || echo none)" none
expect_eq "the user's bytes are kept as they were" "$(head -c "$own_size" "$work/Mine/rows.ini" | bytes)" "$own_bytes"
expect_eq "one group line and one row line follow them" "$(tail -c +$((own_size + 1)) "$work/Mine/rows.ini" | od -c -An | tr -s ' ')" \
    "$(printf '\r\n[LiberKey]\r\nBrave_ = _Internet\\_Browser\r\n' | od -c -An | tr -s ' ')"
expect_eq "the rows file is still a link" "$([ -L "$work/Quillet.Catalogue.Ini" ] && echo link)" link
expect_eq "the index is loaded again with the new row" "$(status_lines_from "$from" | head -n 2)" "$(cat <<END
Index load | LiberKey file sort index list loaded
User rows loaded | 2 rows for LiberKey from $rows_file, 1 compiled-in row switched off
END
)"

expect_eq "the leftover that followed is selected" "$(probe selected ListFiles)" "$after_brave"

# Each collection keeps to its own kind: the .apk package stays out.
context_menu_pick ListFiles 7 own-kind
from=$(status_count)
context_menu_pick ListFiles 1
wait_for_last_status "Sort preview" "$from"
expect_eq "the preview places the package by the new row, and VLC only as a video player" \
    "$(probe rows ListSorted | sort)" "$(cat <<END
_Internet\\_Browser | Brave_1.2.3.lks | Copy
_Office\\_Diagram_Editor | Dia_0.97.2.lks | Copy
_Video\\_Player | VLC_media_player_3.0.lks | Copy
END
)"
window_screenshot preview

# Resting on the Android build's row shows its label.
# shellcheck disable=SC2046
xdotool mousemove $(probe rowpoint ListFiles base.apk)
sleep 1
expect_eq "the leftover Android build's tooltip is its label" "$(probe tooltip)" "Appium Settings"
screenshot tooltip

# The dialog for the Android build shows its label beside its name.
# shellcheck disable=SC2046
xdotool mousemove $(probe rowpoint ListFiles base.apk) click 3
sleep 0.5
press Down Down Down Down Down
press Return
tries=0
until probe dialog >/dev/null || [ "$tries" -ge 40 ]; do tries=$((tries + 1)); sleep 0.25; done
expect_eq "the dialog names the package and its label" "$(probe dialog | grep 'Package:')" \
    "Package: base.apk   Label: Appium Settings"
screenshot label
press Escape
wait_for_no_dialog

click_control ButtonQuit
expect_quillet_ends_with_zero
expect_eq "the ticked option is kept" "$(unix_text "$work/Quillet.Ini" | grep 'Own Kind')" "Own Kind Only = Yes"
