#!/bin/sh
# Runs a Windows program under Wine with the project's quiet defaults.
# The prefix defaults to one beside the build, so test runs never share Wine state.
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEDEBUG WINEDLLOVERRIDES
if [ -z "${WINEPREFIX:-}" ]; then
    WINEPREFIX="$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix"
    export WINEPREFIX
fi
exec wine "$@"
