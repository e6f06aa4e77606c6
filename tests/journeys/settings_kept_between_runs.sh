#!/bin/sh
# A first run in a fresh folder: the default settings file is made and its
# values are shown; quitting without a change writes the file back with the
# selector's spelling of the index, and nothing else changed. The next run
# picks "Move" and quits; the run after shows "Move" again and the file holds
# what the user chose.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

ini="$work/Quillet.Ini"

start_quillet "$work"
screenshot first-run
expect_eq "the first run writes the default settings file" "$(bytes "$ini")" "$(default_settings_text Liberkey Copy | bytes)"
expect_eq "the selector shows LiberKey" "$(probe text ComboIndex)" LiberKey
expect_eq "the active source is LiberKey's" "$(probe text FieldActiveSource)" "$default_liberkey_source"
expect_eq "the active target is LiberKey's" "$(probe text FieldActiveTarget)" "$default_liberkey_target"
expect_eq "the start reports its nine lines" "$(status_lines_from 0)" "$(
    settings_status_lines "$work"
    cat <<END
Index load | LiberKey file sort index list loaded
Fetching files | Retrieving files from $default_liberkey_source
Finished fetching | Found all files for LiberKey
Startup | Quillet is up and waiting for your orders
END
)"
click_item PanelTabs 1
screenshot first-run-paths-tab
expect_eq "LiberKey source shows its default" "$(probe text FieldLiberkeySource)" "$default_liberkey_source"
expect_eq "LiberKey target shows its default" "$(probe text FieldLiberkeyTarget)" "$default_liberkey_target"
expect_eq "PortableApps source shows its default" "$(probe text FieldPortableAppsSource)" "$default_portableapps_source"
expect_eq "PortableApps target shows its default" "$(probe text FieldPortableAppsTarget)" "$default_portableapps_target"
expect_eq "Android source shows its default" "$(probe text FieldAndroidSource)" "$default_android_source"
expect_eq "Android target shows its default" "$(probe text FieldAndroidTarget)" "$default_android_target"
expect_eq "copy is chosen at first" "$(probe state OptionCopy)" 1
expect_eq "move is not" "$(probe state OptionMove)" 0
expect_eq "leftovers are reported at first" "$(probe state CheckDumpLeftovers)" 1
press alt+F4
expect_quillet_ends_with_zero
expect_eq "quitting without a change writes the index as the selector spells it" "$(bytes "$ini")" \
    "$(default_settings_text LiberKey Copy | bytes)"

start_quillet "$work"
click_item PanelTabs 1
click_control OptionMove
screenshot move-chosen
expect_eq "move is chosen" "$(probe state OptionMove)" 1
press alt+F4
expect_quillet_ends_with_zero
expect_eq "the settings file holds the choice" "$(bytes "$ini")" "$(default_settings_text LiberKey Move | bytes)"

start_quillet "$work"
click_item PanelTabs 1
screenshot third-run-paths-tab
expect_eq "move is still chosen" "$(probe state OptionMove)" 1
expect_eq "copy is not" "$(probe state OptionCopy)" 0
click_item PanelTabs 2
screenshot third-run-status-tab
expect_eq "no settings line failed" "$(probe rows ListStatus | grep -c '^Cannot open' || true)" 0
click_control ButtonQuit
expect_quillet_ends_with_zero
expect_eq "an unchanged run saves the same file" "$(bytes "$ini")" "$(default_settings_text LiberKey Move | bytes)"
