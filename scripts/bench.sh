#!/bin/sh
# Builds and runs the benchmarks (all, or those named) under Wine on a private
# X display, in a Wine prefix of their own (build/wineprefix-bench). Each
# prints its own figures.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
session_prefix=${QUILLET_BUILD:-$top/build}/wineprefix-bench
. "$here/wine-session.sh"
"$here/install-deps.sh" || session_fail "installing the missing packages failed (see above)"
"$here/build.sh" || session_fail "the build failed (see the compiler's messages above)"
trap session_end EXIT
trap 'exit 130' INT TERM
session_start
cd "$build"
if [ $# -eq 0 ]; then
    set -- $(ls bench_*.exe 2>/dev/null | sed 's/\.exe$//')
fi
for name in "$@"; do
    echo "== $name"
    wine "./$name.exe"
done
