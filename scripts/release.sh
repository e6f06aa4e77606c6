#!/bin/sh
# Builds Quillet.exe and packs it with the README and the licence into
# dist/Quillet-<version>.zip: unpack anywhere on Windows and run Quillet.exe.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
"$here/install-deps.sh"
"$here/build.sh"
build=${QUILLET_BUILD:-$top/build}
zip=$("$here/pack-release.sh" "$build/Quillet.exe" "$top/dist")
echo "Release: $zip"
