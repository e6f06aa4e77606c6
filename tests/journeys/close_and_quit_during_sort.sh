#!/bin/sh
# A long sort is under way when the user clicks the close box and then the
# quit button. Neither stops it: the sort places every package, the program
# keeps running, and only a close request after the sort ends it.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

# 15,000 packages: the sort lasts about five seconds here, and the two clicks
# are in after about one. The journey checks that they came while it ran.
per_name=500
names="Format_ Audacity_ MP3Gain_ AIMP_ Mp3tag_ ImgBurn_ Celestia_ Stellarium_ TuxPaint_ TeraCopy_
KDiff3_ WinMerge_ PeaZip_ Recuva_ Everything_ GSplit_ Neverball_ PokerTH_ Blender_ GIMP_
Inkscape_ IcoFX_ PicPick_ XnView_ IrfanView_ Greenshot_ FreeFileSync_ DupKiller_ CdCat_ Abakt_"

downloads="$work/Downloads"
sorted="$work/Sorted"
mkdir -p "$downloads"
total=0
for name in $names; do
    n=1
    while [ "$n" -le "$per_name" ]; do
        printf 'package %s%s\n' "$name" "$n" >"$downloads/${name}1.$n.lks"
        n=$((n + 1))
    done
    total=$((total + per_name))
done

# Written with other spacing than the program's, so that any save shows on disk.
ini="$work/Quillet.Ini"
cat >"$ini" <<END
[Program Options]
Last Index=LiberKey
Copy Or Move=Copy
Dump LeftOvers=Yes
[File Sort Paths]
Liberkey Source Path=$(winpath "$downloads/")
Liberkey Target Path=$(winpath "$sorted/")
PortableApps Source Path=$(winpath "$work/PortableApps/")
PortableApps Target Path=$(winpath "$work/PortableApps sorted/")
Android Source Path=$(winpath "$work/Android/")
Android Target Path=$(winpath "$work/Android sorted/")
END
ini_before=$(cat "$ini")

start_quillet "$work"
expect_eq "every package is listed" "$(probe count ListFiles)" "$total"
# Where the user will click, found while the program answers at once.
close_box=$(probe closebox)
quit_button=$(probe point ButtonQuit)
screenshot packages-listed

before=$(status_count)
# Milliseconds since the sort was clicked, for the log of the run.
since_sort() {
    echo $((($(date +%s%N) - sort_clicked) / 1000000))
}
sort_clicked=$(date +%s%N)
click_control ButtonSort
wait_for_last_status "File copied okay" "$before"

# The close box first, then the quit button. The quit click is pressed and
# released in two steps: the button shows itself pushed, and then released,
# only once the program has taken the press and the release in, and input
# reaches it in the order it was given.
# shellcheck disable=SC2086
click_at $close_box
# shellcheck disable=SC2086
xdotool mousemove $quit_button mousedown 1
tries=0
until [ "$(probe pushed ButtonQuit)" = 1 ] || [ $tries -ge 100 ]; do tries=$((tries + 1)); done
expect_eq "the quit button shows the press during the sort" "$(probe pushed ButtonQuit)" 1
xdotool mouseup 1
tries=0
until [ "$(probe pushed ButtonQuit)" = 0 ] || [ $tries -ge 100 ]; do tries=$((tries + 1)); done
expect_eq "the quit button is released" "$(probe pushed ButtonQuit)" 0
inputs_done=$(since_sort)
last=$(probe row ListStatus -1 | cut -d'|' -f1)
expect_eq "the sort was still running when both clicks were in" "$last" "File copied okay "
copied_then=$(($(status_count) - before))
screenshot clicked-during-sort

wait_for_last_status "Sort summary" "$before"
echo "both clicks were in $inputs_done ms after the sort was clicked, with $copied_then of" \
    "$total packages copied; the sort finished after $(since_sort) ms"
sleep 1
screenshot sort-finished

expect_eq "the program keeps running" "$(kill -0 "$quillet_pid" 2>/dev/null && echo running)" running
expect_eq "its window is still shown" "$(probe wait && echo shown)" shown
expect_eq "nothing saved the settings" "$(cat "$ini")" "$ini_before"
expect_eq "every package left the file list" "$(probe count ListFiles)" 0
expect_eq "every package is in the sorted list" "$(probe count ListSorted)" "$total"
lines=$(status_lines_from "$before")
expect_eq "one copy line per package" "$(printf '%s\n' "$lines" | grep -c '^File copied okay | ')" "$total"
expect_eq "then the sort's last lines" "$(printf '%s\n' "$lines" | tail -n 2)" \
    "$(printf '%s\n' "Sort finished | All files specified in the index have been sorted" \
        "Sort summary | $total placed, 0 already there, 0 older, 0 not placed (no row), 0 failed")"
expect_eq "and no other line" "$(printf '%s\n' "$lines" | grep -vc '^File copied okay | ')" 2
expect_eq "every package is in its category folder" "$(find "$sorted" -type f ! -name "~Quillet.lock" | wc -l)" "$total"
expect_eq "the copies are whole" "$(cat "$sorted/_Audio/_Converter/Format_1.$per_name.lks")" \
    "package Format_$per_name"
expect_eq "every source is still there" "$(find "$downloads" -type f | wc -l)" "$total"
expect_no_file "$work/Quillet.Log"

click_item PanelTabs 2
screenshot status-tab
click_close_box
expect_quillet_ends_with_zero
expect_eq "the settings were saved at the end" "$(unix_text "$ini")" "$(printf '%s\n' "$ini_before" | sed 's/=/ = /')"
