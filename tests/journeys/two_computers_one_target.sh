#!/bin/sh
# Two computers sorting into one shared target, played with two Wine prefixes
# (two wineservers, so no mutex of one is seen by the other), the second
# started under `unshare -u` with a host name of its own, which Wine takes as
# the computer's name. Both work in one folder (settings and history on the
# share). While the first sorts 3000 packages into the target, the second
# starts again and again: a start must settle nothing of the first's (its
# history lines name another computer), and every package ends up placed
# once, with no staging folder left. The packages are large enough that a
# copy is seen on its way in the first one's staging folder.
. "$(dirname "$0")/journey-lib.sh"

command -v unshare >/dev/null 2>&1 || skip_journey "no unshare here"
unshare -u true 2>/dev/null || skip_journey "no UTS namespace may be made here"
second="$build/wineprefix-second"
at_end "WINEPREFIX='$second' wineserver -k >/dev/null 2>&1"

# Starts Quillet of the second computer in the shared folder with the
# arguments given, and waits for it to end.
second_quillet() {
    unshare -u sh -c "hostname quillet-second && cd '$work' && WINEPREFIX='$second' wine '$build/Quillet.exe' $*" \
        >/dev/null 2>&1
}
mkdir -p "$second"
unshare -u sh -c "hostname quillet-second && WINEPREFIX='$second' wineserver -p && WINEPREFIX='$second' wine wineboot" \
    </dev/null >/dev/null 2>&1 || skip_journey "the second prefix cannot be made"

mkdir -p "$work/Downloads" "$work/Sorted"
i=0
head -c 262144 /dev/urandom > "$work/bytes"
while [ $i -lt 3000 ]; do
    { printf 'package %d' $i; cat "$work/bytes"; } > "$work/Downloads/Speccy_$i.lks"
    i=$((i + 1))
done
rm "$work/bytes"
settings_with_folders LiberKey Copy No "$(winpath "$work/Downloads")\\" "$(winpath "$work/Sorted")\\" \
    > "$work/Quillet.Ini"

(cd "$work" && exec wine "$build/Quillet.exe" /sort) >/dev/null 2>&1 &
first=$!
# The second starts once the first's sort has made its staging folder.
tries=0
while [ -z "$(find "$work/Sorted" -maxdepth 1 -name '~Quillet-*')" ] && [ $tries -lt 600 ]; do
    sleep 0.1
    tries=$((tries + 1))
done
starts=0
while kill -0 "$first" 2>/dev/null || [ $starts -eq 0 ]; do
    second_quillet /preview || true
    starts=$((starts + 1))
done
code=0
wait "$first" || code=$?
expect_eq "the first computer's sort ends well" "$code" 0
placed=$(find "$work/Sorted" -type f -name 'Speccy_*.lks' | wc -l)
expect_eq "packages placed once each" "$placed" 3000
expect_eq "staging folders left" "$(find "$work/Sorted" -maxdepth 1 -name '~Quillet-*' | wc -l)" 0
expect_eq "pieces the second computer removed" "$(grep -c 'Piece removed' "$work/Quillet.History.Log" || true)" 0
echo "the second computer started $starts times during the first one's sort"

# Both computers sort new downloads into the target at once, each from its
# own working folder (its settings and its history, as each computer keeps
# Quillet where it is installed): the target's lock file keeps them apart.
# Each package is placed once (the later sort finds it there, identical),
# every line of both histories is whole, and the one that waited says which
# computer it waited for. (One history written by both at once is not tried
# here: across two Wine servers an append is not one step, as it is on
# Windows, locally and over SMB.)
rm -rf "$work/Downloads"
mkdir -p "$work/Downloads"
head -c 65536 /dev/urandom > "$work/bytes"
i=0
while [ $i -lt 1000 ]; do
    { printf 'again %d' $i; cat "$work/bytes"; } > "$work/Downloads/Format_Factory_$i.lks"
    i=$((i + 1))
done
rm "$work/bytes"
mkdir -p "$work/First" "$work/Second"
cp "$work/Quillet.Ini" "$work/First/"
cp "$work/Quillet.Ini" "$work/Second/"
(cd "$work/First" && exec wine "$build/Quillet.exe" /sort) >/dev/null 2>&1 &
first=$!
unshare -u sh -c "hostname quillet-second && cd '$work/Second' && WINEPREFIX='$second' wine '$build/Quillet.exe' /sort" \
    >/dev/null 2>&1 &
second=$!
code_first=0
code_second=0
wait "$first" || code_first=$?
wait "$second" || code_second=$?
expect_eq "both sorts end well" "$code_first $code_second" "0 0"
expect_eq "each package placed once" \
    "$(find "$work/Sorted/_Audio" -type f -name 'Format_Factory_*.lks' | wc -l)" 1000
new_lines() { cat "$work/First/Quillet.History.Log" "$work/Second/Quillet.History.Log"; }
expect_eq "one copy made of each, the other sort found it there" \
    "$(new_lines | grep -a '	Placed	' | cut -f 5 | sort | uniq -c | sed 's/^ *//')" \
    "$(printf '1000 identical\n1000 placed')"
expect_eq "every line of both histories is whole" \
    "$(new_lines | grep -a -c -v -E '	[0-9A-F]{8}'"$(printf '\r')"'$' || true)" 0
expect_eq "the sort that waited names the computer it waited for" \
    "$(new_lines | grep -a 'Another Quillet is busy' | grep -a -c -E '(VM|QUILLET-SECOND) is sorting into it')" 1
cp "$work/Quillet.History.Log" "$shots/" 2>/dev/null || true
