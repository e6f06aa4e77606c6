#!/bin/sh
# Builds and runs the benchmarks (all, or those named) under Wine on a private
# X display. Each prints its own figures.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
"$here/install-deps.sh"
"$here/build.sh"
. "$here/wine-session.sh"
trap session_end EXIT INT TERM
session_start
cd "$build"
if [ $# -eq 0 ]; then
    set -- $(ls bench_*.exe 2>/dev/null | sed 's/\.exe$//')
fi
for name in "$@"; do
    echo "== $name"
    wine "./$name.exe"
done
