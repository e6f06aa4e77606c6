#!/bin/sh
# Installs what is missing, builds, and runs every test under Wine on a private
# X display, ending with the test runner's summary.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
"$here/install-deps.sh"
"$here/build.sh"
. "$here/wine-session.sh"
trap session_end EXIT INT TERM
session_start
cd "$build"
ctest --output-on-failure --timeout 300 "$@"
