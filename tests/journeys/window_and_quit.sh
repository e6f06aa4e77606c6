#!/bin/sh
# The window as a user first meets it: the three tabs, then quitting with the
# close box, with Alt+F4 and with the quit button.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

start_quillet "$work"
screenshot window
expect_eq "title is empty at start" "$(probe text MainWindow)" ""

click_item PanelTabs 1
screenshot paths-tab
expect_eq "the paths tab shows the copy mode options" "$(probe text OptionMove)" "Move files to target path"

click_item PanelTabs 2
screenshot status-tab
expect_eq "the last status line is the start-up line" "$(probe rows ListStatus | tail -n 1 | cut -d'|' -f1)" "Startup "

press alt+F4
expect_quillet_ends_with_zero

start_quillet "$work"
click_control ButtonQuit
expect_quillet_ends_with_zero
