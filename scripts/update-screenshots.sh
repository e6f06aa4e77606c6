#!/bin/sh
# Plays the README tour (a real sort under Wine) and copies its pictures of
# the three tabs into docs/.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
"$here/test.sh" -R '^Journey.readme_tour$'
shots="${QUILLET_BUILD:-$top/build}/journeys/readme_tour"
cp "$shots/01-packages-tab.png" "$top/docs/tab-packages.png"
cp "$shots/02-paths-tab.png" "$top/docs/tab-paths.png"
cp "$shots/03-status-tab.png" "$top/docs/tab-status.png"
echo "Updated docs/tab-packages.png, docs/tab-paths.png and docs/tab-status.png"
