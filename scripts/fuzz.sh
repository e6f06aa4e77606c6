#!/bin/sh
# Builds the native fuzzers of the contents room (fuzz/) with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer into build/fuzz (or
# $QUILLET_BUILD/fuzz), and runs each for the given number of inputs
# (100,000 by default), seeded with the real packages of scripts/test-data.sh.
#
#   ./scripts/fuzz.sh [runs [fuzzer...]]    e.g. ./scripts/fuzz.sh 1000000 apk_facts
#
# Ends with code 1 when a fuzzer finds a fault; the input that shows it is
# kept as build/fuzz/faults/<fuzzer>-crash-... (run the fuzzer on it alone to
# see it again; once mended, keep it in fuzz/regressions/<fuzzer>/, whose
# inputs every run starts from).
set -eu
runs=${1:-100000}
[ $# -gt 0 ] && shift
fuzzers=${*:-package_whole apk_facts resource_table version_resource}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD:-$top/build}
out="$build/fuzz"
data="$build/test-data"
"$top/scripts/test-data.sh"
cmake -S "$top/fuzz" -B "$out" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$out" -j 2 >"$out/build.log" 2>&1 || { cat "$out/build.log" >&2; exit 1; }

# Seeds: each fuzzer's inputs, from the real packages.
seeds="$out/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/package_whole" "$seeds/apk_facts" "$seeds/resource_table" "$seeds/version_resource" "$out/faults"
seed_kind() { { printf "$1"; cat "$2"; } >"$seeds/package_whole/$3"; }
for apk in mini mini-deflated mini-descriptor; do
    seed_kind '\000' "$data/apk/$apk.apk" "$apk.apk"
    cp "$data/apk/$apk.apk" "$seeds/apk_facts/"
done
seed_kind '\001' "$data/nsis/small.paf.exe" small.paf.exe
seed_kind '\001' "$data/version/probe.exe" probe.exe
seed_kind '\002' "$data/apk/AndroidManifest.xml" other
cp "$data/apk/AndroidManifest.xml" "$seeds/apk_facts/"
cp "$data/apk/resources.arsc" "$seeds/resource_table/"
cp "$data/nsis/small.paf.exe" "$data/version/probe.exe" "$seeds/version_resource/"
# Inputs that once showed a fault, kept so that each run tries them again.
for found in "$top"/fuzz/regressions/*/*; do
    [ -f "$found" ] && cp "$found" "$seeds/$(basename "$(dirname "$found")")/"
done

failed=0
for name in $fuzzers; do
    corpus=$(mktemp -d)
    start=$(date +%s)
    if "$out/fuzz_$name" -runs="$runs" -max_len=262144 -rss_limit_mb=2560 -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$out/faults/$name-" "$corpus" "$seeds/$name" >"$out/$name.log" 2>&1; then
        verdict=passed
    else
        verdict=FAILED
        failed=1
        tail -n 40 "$out/$name.log" >&2
    fi
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$name.log")
    echo "fuzz_$name: $verdict, ${executed:-?} inputs in $(($(date +%s) - start)) s"
    rm -rf "$corpus"
done
exit $failed
