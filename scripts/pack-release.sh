#!/bin/sh
# Packs a built Quillet.exe with the README and the licence into
# <out>/Quillet-<version>.zip and prints the zip's path.
# Usage: pack-release.sh QUILLET_EXE OUT_FOLDER
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
exe=$1
out=$2
version=$(sed -n 's/^#define QUILLET_VERSION_TEXT "\(.*\)"$/\1/p' "$top/resources/version.h")
package="Quillet-$version"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT INT TERM
mkdir -p "$stage/$package" "$out"
cp "$exe" "$stage/$package/Quillet.exe"
# Windows users read text files with CR LF line ends.
sed 's/$/\r/' "$top/README.md" > "$stage/$package/README.txt"
sed 's/$/\r/' "$top/LICENSE.txt" > "$stage/$package/LICENSE.txt"
out=$(cd "$out" && pwd)
rm -f "$out/$package.zip"
(cd "$stage" && zip -q -r -X "$out/$package.zip" "$package")
echo "$out/$package.zip"
