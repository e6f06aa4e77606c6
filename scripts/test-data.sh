#!/bin/sh
# Makes the real packages the contents tests and fuzzers read, in
# build/test-data (or $QUILLET_BUILD/test-data), once: Android builds of the
# npm package io.appium.settings at three versions (checked against the sums
# below), ZIP archives made with Python's zipfile, NSIS installers built with
# makensis with and without a CRC, signed with osslsigncode under a test
# certificate made here with openssl, and a tiny program with a version
# resource built with windres. Quick when the folder is already up to date.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sources="$top/tests/contents/data"
data=${QUILLET_BUILD:-$top/build}/test-data
stamp="$data/.made-by"
made_by=$(cat "$0" "$sources"/* | sha256sum | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$made_by" ]; then
    exit 0
fi
rm -rf "$data"
mkdir -p "$data/apk" "$data/nsis" "$data/version" "$data/work"
work="$data/work"

# The Android builds, and the sums of their apks/settings_apk-debug.apk.
for pair in \
    5.14.15:955ba0c8b4a887c1eb9f48b7a7f7dbec18bedd41f673ee34a9e521884cd51e9b \
    7.0.22:c9cdc385d6b02c1d5c141c821ecc1ef6d4b1441a48564ce7338213901ae4d28a \
    8.0.10:4c5d60ab5ae56502857dc625e1dde2996fa6d9e64c479bbce59214774e2129dd; do
    version=${pair%%:*}
    sum=${pair#*:}
    (cd "$work" && npm pack --silent "io.appium.settings@$version" >/dev/null)
    tar -xzf "$work/io.appium.settings-$version.tgz" -C "$work" package/apks/settings_apk-debug.apk
    apk="$data/apk/io.appium.settings-$version.apk"
    mv "$work/package/apks/settings_apk-debug.apk" "$apk"
    echo "$sum  $apk" | sha256sum -c --quiet - || { echo "test-data: $apk is not the package expected" >&2; exit 1; }
done

python3 "$sources/make_test_apks.py" "$data/apk/io.appium.settings-8.0.10.apk" "$data/apk"

# Installers: random bytes (the same on every run) that do not compress, so
# that a hole of a megabyte fits in the middle of the installer's data.
python3 -c "import random, sys; sys.stdout.buffer.write(random.Random(7).randbytes(2621440))" >"$work/payload.bin"
printf 'a small payload\n' >"$work/small.txt"
build_installer() {
    makensis -V1 "-DOUTFILE=$data/nsis/$1" "-DPAYLOAD=$2" $3 "$sources/installer.nsi"
}
build_installer crc.paf.exe "$work/payload.bin" ""
build_installer nocrc.paf.exe "$work/payload.bin" "-DNO_CRC"
build_installer small.paf.exe "$work/small.txt" ""
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 3650 \
    -subj "/CN=Quillet Test Signer" 2>/dev/null
for name in crc nocrc; do
    osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -n "Quillet Test Portable" \
        -in "$data/nsis/$name.paf.exe" -out "$data/nsis/$name-signed.paf.exe" >/dev/null
done

i686-w64-mingw32-windres "$sources/version.rc" -O coff -o "$work/version.o"
i686-w64-mingw32-gcc-posix -Os -s "$sources/tiny.c" "$work/version.o" -o "$data/version/probe.exe"

rm -rf "$work"
echo "$made_by" >"$stamp"
