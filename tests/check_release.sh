#!/bin/sh
# Packs the built exe as a release into a fresh folder and checks the zip:
# one folder holding Quillet.exe, README.txt and LICENSE.txt, text with CR LF.
set -eu
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
zip=$("$here/../scripts/pack-release.sh" "$exe" "$work/out")
(cd "$work" && unzip -q "$zip")
folder=$(basename "$zip" .zip)
for name in Quillet.exe README.txt LICENSE.txt; do
    [ -f "$work/$folder/$name" ] || { echo "missing in the zip: $name"; exit 1; }
done
cmp -s "$exe" "$work/$folder/Quillet.exe" || { echo "the zipped exe differs from the built one"; exit 1; }
grep -q "$(printf 'Quillet\r')" "$work/$folder/README.txt" || { echo "README.txt lacks CR LF line ends"; exit 1; }
grep -q "unpack \`$folder.zip\`" "$here/../README.md" || { echo "the README's Windows section does not name $folder.zip"; exit 1; }
entries=$(unzip -Z1 "$zip" | grep -v '/$' | wc -l)
[ "$entries" -eq 3 ] || { echo "the zip holds $entries files, not 3"; exit 1; }
echo "ok: $zip"
