#!/bin/sh
# A settings file of garbage bytes: the program starts with every setting
# empty and reports no failure, the user can still pick an index and press
# sort (each refused with its status line), and at quit every garbage line is
# still in the file, in the program's line format, with the nine settings
# added below.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/journey-lib.sh"

# Every byte but the line ends on one line, an "=" in its middle; blank
# lines; text that looks like UTF-16; a group header without its "]"; a
# comment without its blank; a value without a key; brackets the wrong way
# round; and an end without a line end.
all_bytes() {
    i=0
    while [ $i -le 255 ]; do
        [ $i -eq 10 ] || [ $i -eq 13 ] || printf "\\$(printf '%o' $i)"
        i=$((i + 1))
    done
}
{
    all_bytes
    printf '\n\r\r\n\n \t \n'
    printf '\377\376G\000a\000r\000b\000\r\n'
    printf '[\200\201 unfinished\r'
    printf ';comment\001\n'
    printf '  \t= lonely value\t \n'
    printf ']][[\n'
    printf '\032\032'
} >"$work/Quillet.Ini"

# The same lines as the program writes them back: a key and its value around
# " = ", headers closed, one blank after ";", no blank lines, CR LF.
bytes_before_equals() {
    all_bytes | head -c 59
}
bytes_after_equals() {
    all_bytes | tail -c +61
}
expected_settings() {
    bytes_before_equals
    printf ' = '
    bytes_after_equals
    printf '\r\n'
    printf '\377\376G\000a\000r\000b\000 = \r\n'
    printf '[\200\201 unfinished]\r\n'
    printf '; comment\001\r\n'
    printf ' = lonely value\t \r\n'
    printf ']][[ = \r\n'
    printf '\032\032 = \r\n'
    printf '[Program Options]\r\nLast Index = PortableApps\r\nCopy Or Move = \r\nDump LeftOvers = \r\n'
    printf '[File Sort Paths]\r\nLiberkey Source Path = \r\nLiberkey Target Path = \r\n'
    printf 'PortableApps Source Path = \r\nPortableApps Target Path = \r\n'
    printf 'Android Source Path = \r\nAndroid Target Path = \r\n'
}

start_quillet "$work"
screenshot started-on-garbage
expect_eq "start-up reads the settings without a failure" "$(status_lines_from 0)" "$(
    settings_status_lines "$work"
    echo 'Startup | Quillet is up and waiting for your orders')"
expect_eq "no index is selected" "$(probe text ComboIndex)" ""
expect_eq "no active source" "$(probe text FieldActiveSource)" ""
expect_eq "no active target" "$(probe text FieldActiveTarget)" ""
click_item PanelTabs 1
screenshot paths-tab-empty
expect_eq "the LiberKey source is empty" "$(probe text FieldLiberkeySource)" ""
expect_eq "move is not chosen" "$(probe state OptionMove)" 0
expect_eq "copy is not chosen" "$(probe state OptionCopy)" 0
expect_eq "leftovers are not reported" "$(probe state CheckDumpLeftovers)" 0

from=$(status_count)
click_control ComboIndex
click_item ComboIndex 1
wait_for_last_status "Source abort" "$from"
expect_eq "PortableApps is selected" "$(probe text ComboIndex)" "PortableApps"
click_control ButtonSort
wait_for_last_status "Sort aborted" "$from"
click_item PanelTabs 2
screenshot status-tab
expect_eq "picking an index and sorting are refused" "$(status_lines_from "$from")" "$(cat <<END
Index load | PortableApps file sort index list loaded
Source abort | The selected directory to search is empty
Sort aborted | Target and Source sort directory were not specified
END
)"

click_control ButtonQuit
expect_quillet_ends_with_zero
expect_eq "the garbage lines are kept and the settings added" "$(bytes "$work/Quillet.Ini")" "$(expected_settings | bytes)"
