#!/bin/sh
# Counts the Wine server requests of a benchmark instead of timing it: runs the
# benchmark named (with its arguments) under a wineserver that traces every
# request (wineserver -d1), then, for each stretch between two of the
# benchmark's marks (BenchMark in bench/bench_window.h), prints how many
# requests the marking thread made, per item of the stretch, and of which
# kinds. Under Wine a request is a round trip to the server, which is what
# a small file's operation costs, so the counts say where time goes even on a
# machine too busy to time anything.
#
#   scripts/bench-requests.sh bench_sort_run 500 1000 rounds:1 disk
#
# The trace is kept in build/bench-requests.trace (large: delete it after).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BENCHMARK [ARGUMENTS]" >&2; exit 2; }
session_prefix=${QUILLET_BUILD:-$top/build}/wineprefix-requests
. "$here/wine-session.sh"
"$here/build.sh" || session_fail "the build failed (see the compiler's messages above)"
trap session_end EXIT
trap 'exit 130' INT TERM
session_start
trace="$build/bench-requests.trace"
# The session's server again, now tracing its requests.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -f -d1 -p 2>"$trace" </dev/null >/dev/null &
sleep 1
session_boot
cd "$build"
name=$1
shift
wine "./$name.exe" "$@"
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
server_started=""
# A request line is "tid: name( fields )"; its reply is "tid: name() = ...".
awk '
function flush(t,   key, n, line, kinds) {
    if (!(t in stretch)) return
    n = items[t] > 0 ? items[t] : 1
    printf "%-48s %9d requests  %8.2f per item\n", stretch[t], total[t], total[t] / n
    kinds = ""
    for (key in kind) {
        split(key, part, SUBSEP)
        if (part[1] == t && kind[key] / n >= 0.05)
            kinds = kinds sprintf("    %-28s %8.2f\n", part[2], kind[key] / n)
    }
    printf "%s", kinds | "sort -k2 -n -r"
    close("sort -k2 -n -r")
    for (key in kind) {
        split(key, part, SUBSEP)
        if (part[1] == t) delete kind[key]
    }
    delete stretch[t]
}
match($0, /^[0-9a-f]+: create_event\( .*name=L"QuilletBench:[^"]*"/) {
    t = substr($0, 1, index($0, ":") - 1)
    flush(t)
    what = $0
    sub(/.*name=L"QuilletBench:/, "", what)
    sub(/".*/, "", what)
    if (what == "end") next
    stretch[t] = what
    total[t] = -1   # the mark itself
    items[t] = what ~ /\/[0-9]+$/ ? substr(what, match(what, /\/[0-9]+$/) + 1) + 0 : 1
    next
}
match($0, /^[0-9a-f]+: [a-z_0-9]+\( /) {
    t = substr($0, 1, index($0, ":") - 1)
    if (!(t in stretch)) next
    name = $2
    sub(/\(.*/, "", name)
    total[t]++
    kind[t, name]++
}
END { for (t in stretch) flush(t) }
' "$trace"
