#!/bin/sh
# A first run in a fresh folder: the default folders are shown, the user picks
# "Move" and closes the window; the next run shows "Move" again and the file
# holds what the user chose.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

ini="$work/Quillet.Ini"
rule="; $(printf '%087d' 0 | tr 0 -)"
# The settings file as a first run that picks "Move" leaves it.
expected_ini() {
    cat <<END
;  
$rule
[Program Options]
$rule
;  
Last Index = LiberKey
Copy Or Move = Move
Dump LeftOvers = Yes
;  
$rule
[File Sort Paths]
$rule
;  
Liberkey Source Path = C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\_Portable Software Collections\\Liberkey\\Files\\
Liberkey Target Path = C:\\Users\\Obrell\\Downloads\\Quillet\\LiberKey\\
PortableApps Source Path = C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\_Portable Software Collections\\PortableApps.com\\
PortableApps Target Path = C:\\Users\\Obrell\\Downloads\\Quillet\\PortableApps\\
Android Source Path = C:\\Users\\Obrell\\Downloads\\FlashGet Downloads\\Android\\Applications\\
Android Target Path = C:\\Users\\Obrell\\Downloads\\Quillet\\Android\\
END
}

start_quillet "$work"
expect_file "$ini"
click_item 2 1
screenshot first-run-paths-tab
expect_eq "PortableApps source shows its default" "$(probe text 21)" \
    'C:\Users\Obrell\Downloads\FlashGet Downloads\_Portable Software Collections\PortableApps.com\'
expect_eq "copy is chosen at first" "$(probe state 39)" 1
expect_eq "leftovers are reported at first" "$(probe state 40)" 1

click_control 38
screenshot move-chosen
expect_eq "move is chosen" "$(probe state 38)" 1
press alt+F4
expect_quillet_ends_with_zero
expect_eq "the settings file holds the choice" "$(unix_text "$ini")" "$(expected_ini)"

start_quillet "$work"
click_item 2 1
screenshot second-run-paths-tab
expect_eq "move is still chosen" "$(probe state 38)" 1
expect_eq "copy is not" "$(probe state 39)" 0
click_item 2 2
screenshot second-run-status-tab
expect_eq "no settings line failed" "$(probe rows 33 | grep -c '^Cannot open' || true)" 0
click_control 55
expect_quillet_ends_with_zero
expect_eq "an unchanged run saves the same file" "$(unix_text "$ini")" "$(expected_ini)"
