#!/bin/sh
# Configures and builds Quillet.exe and its tests into build/ (or $QUILLET_BUILD).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD:-$top/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
