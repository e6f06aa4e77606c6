#!/bin/sh
# Installs what is missing, builds, and runs every test under Wine on a private
# X display, ending with the test runner's summary. The tests have a Wine
# prefix of their own (build/wineprefix, or $QUILLET_TEST_PREFIX), apart from
# the one run.sh starts Quillet in. When the run cannot begin, it says why on
# standard error and ends with code 1.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
session_prefix=${QUILLET_TEST_PREFIX:-${QUILLET_BUILD:-$top/build}/wineprefix}
. "$here/wine-session.sh"
"$here/install-deps.sh" || session_fail "installing the missing packages failed (see above)"
"$here/build.sh" || session_fail "the build failed (see the compiler's messages above)"
trap session_end EXIT
trap 'exit 130' INT TERM
session_start
cd "$build"
ctest --output-on-failure --timeout 300 "$@"
