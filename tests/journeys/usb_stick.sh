#!/bin/sh
# A collection on a USB stick: the target on an exFAT volume, then on a FAT32
# one, each a file system under FUSE on a loop device or an image file (the
# machine's kernel has no FAT of its own). Where the machine cannot mount
# them (no root, no FUSE), the journey is skipped and says why.
#
# exFAT keeps times coarser than NTFS (this FUSE driver to whole seconds):
# copies put on the stick before (by cp -p, which keeps their times to the
# second) are found identical and left as they are; this FUSE driver keeps
# no time set through an open file (Windows' exFAT does), so the copies
# Quillet makes stand with the time of their making, each with a line that
# says so; the undo takes its own copies back and leaves the others. FAT32 takes no file of 4 GB or more: such a
# package fails before a byte is written, with a line that says why, and
# nothing is left; this FUSE driver refuses times and attributes set through
# an open file, so copies stand without them, each with one more line.
. "$(dirname "$0")/journey-lib.sh"

[ "$(id -u)" -eq 0 ] || skip_journey "mounting a stick needs root"
[ -e /dev/fuse ] || skip_journey "no FUSE here"
command -v mount.exfat-fuse >/dev/null 2>&1 && command -v fusefat >/dev/null 2>&1 \
    || skip_journey "exfat-fuse or fusefat is not installed"

stick="$work/stick"
mkdir -p "$stick"
truncate -s 64M "$work/exfat.img"
mkfs.exfat "$work/exfat.img" >/dev/null 2>&1 || skip_journey "mkfs.exfat failed"
loop=$(losetup -f --show "$work/exfat.img" 2>/dev/null) || skip_journey "no loop device may be set up here"
at_end "losetup -d '$loop'"
mount.exfat-fuse "$loop" "$stick" >/dev/null 2>&1 || skip_journey "the exFAT volume cannot be mounted here"
at_end "umount '$stick'"

downloads="$work/Downloads"
mkdir -p "$downloads" "$stick/Sorted"
for package in Format_Factory_2.90 Speccy_1.16 VLC_media_player_1.1.11; do
    printf 'package %s\n' "$package" > "$downloads/$package.lks"
    touch -d '2020-05-01 10:00:00.123456789' "$downloads/$package.lks"
done
settings_with_folders LiberKey Copy No "$(winpath "$downloads")\\" "$(winpath "$stick/Sorted")\\" > "$work/Quillet.Ini"
mkdir -p "$stick/Sorted/_Audio/_Converter" "$stick/Sorted/_System utilities/_Information/_Inventory"
cp -p "$downloads/Format_Factory_2.90.lks" "$stick/Sorted/_Audio/_Converter/"
cp -p "$downloads/Speccy_1.16.lks" "$stick/Sorted/_System utilities/_Information/_Inventory/"

start_quillet "$work"
sort_and_wait
placed_lines() {
    grep -a "	Placed	" "$work/Quillet.History.Log" | cut -f 5 | sort | uniq -c | sed 's/^ *//'
}
expect_eq "the copies already there are found identical within exFAT's times" "$(placed_lines)" \
    "$(printf '2 identical\n2 placed')"
expect_eq "each copy made says its time was not kept" \
    "$(status_lines_from "$from" | grep '^Attributes not kept' | sed 's/  .*//' | sort)" "$(cat <<END
Attributes not kept | VLC_media_player_1.1.11.lks
Attributes not kept | VLC_media_player_1.1.11.lks
END
)"
from=$(status_count)
context_menu_pick ListSorted 2
wait_for_last_status "Finished fetching" "$from"
expect_eq "the undo takes its own copies back and leaves the others" \
    "$(cd "$stick/Sorted" && find . -type f ! -name '~Quillet.lock' | sort)" \
    "$(printf './_Audio/_Converter/Format_Factory_2.90.lks\n./_System utilities/_Information/_Inventory/Speccy_1.16.lks')"
click_control ButtonQuit
expect_quillet_ends_with_zero

# FAT32, in an image file.
fat="$work/fat"
mkdir -p "$fat"
truncate -s 64M "$work/fat.img"
mkfs.vfat -F 32 "$work/fat.img" >/dev/null 2>&1 || skip_journey "mkfs.vfat failed"
fusefat -o rw+ "$work/fat.img" "$fat" >/dev/null 2>&1 || skip_journey "the FAT volume cannot be mounted here"
at_end "umount '$fat'"
mkdir -p "$fat/Sorted"
truncate -s 4G "$downloads/Speccy_2.0.lks"
settings_with_folders LiberKey Copy No "$(winpath "$downloads")\\" "$(winpath "$fat/Sorted")\\" > "$work/Quillet.Ini"
start_quillet "$work"
sort_and_wait
expect_eq "a 4 GB package is refused before a byte is written" \
    "$(status_lines_from "$from" | grep 'Speccy_2.0' | sed 's/  .*//')" "$(cat <<END
Cannot copy file | Speccy_2.0.lks
Copy refused | Speccy_2.0.lks
END
)"
expect_eq "the copies stand without their time and attributes, each with its line" \
    "$(status_lines_from "$from" | grep -c '^Attributes not kept |')" 4
expect_eq "the refusal says why" "$(status_lines_from "$from" | grep 'Copy refused')" \
    "Copy refused | Speccy_2.0.lks  the target's file system (FAT) takes no file of 4 GB or more"
expect_eq "nothing of it is left on the stick" "$(find "$fat/Sorted" -name 'Speccy_2.0*' -o -name '*.tmp')" ""
expect_eq "the other packages stand there" "$(find "$fat/Sorted" -type f -name '*.lks' | wc -l)" 4
click_control ButtonQuit
expect_quillet_ends_with_zero
