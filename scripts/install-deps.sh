#!/bin/sh
# Installs what building and running Quillet needs, on Debian as root, and
# only when something is missing: the MinGW-w64 cross compiler, zlib for it
# and for the host, Wine with its 32-bit part and fonts, Xvfb, ImageMagick
# and xdotool, CMake and GoogleTest, the locale sources for the double-byte
# text tests, clang for the fuzzers, and what makes the real packages the
# contents tests read (npm, Python, makensis, osslsigncode, openssl); then
# makes those packages (scripts/test-data.sh).
set -eu
here=$(cd "$(dirname "$0")" && pwd)

missing=""
have() { command -v "$1" >/dev/null 2>&1; }
package_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

have i686-w64-mingw32-g++-posix || missing="$missing g++-mingw-w64-i686-posix mingw-w64-i686-dev"
have i686-w64-mingw32-windres || missing="$missing binutils-mingw-w64-i686"
have wine || missing="$missing wine"
package_installed wine32:i386 || missing="$missing wine32:i386"
package_installed fonts-wine || missing="$missing fonts-wine"
have Xvfb || missing="$missing xvfb"
have xauth || missing="$missing xauth"
[ -x /usr/bin/import ] || missing="$missing imagemagick"
have xdotool || missing="$missing xdotool"
have cmake || missing="$missing cmake"
have make || missing="$missing make"
have file || missing="$missing file"
have zip || missing="$missing zip"
have unzip || missing="$missing unzip"
[ -f /usr/src/googletest/CMakeLists.txt ] || missing="$missing googletest"
# The Japanese locale's sources, from which the double-byte text tests build
# the locale that gives Wine code page 932.
[ -f /usr/share/i18n/locales/ja_JP ] || missing="$missing locales"
# zlib: linked statically into the exe, and into the native fuzzers.
[ -f /usr/i686-w64-mingw32/lib/libz.a ] || missing="$missing libz-mingw-w64-dev"
[ -f /usr/include/zlib.h ] || missing="$missing zlib1g-dev"
# The fuzzers: clang with libFuzzer and the sanitizers' run-time.
have clang++ || missing="$missing clang"
package_installed libclang-rt-14-dev || missing="$missing libclang-rt-14-dev"
# The real packages of the contents tests (scripts/test-data.sh).
have npm || missing="$missing npm"
have python3 || missing="$missing python3"
have makensis || missing="$missing nsis"
have osslsigncode || missing="$missing osslsigncode"
have openssl || missing="$missing openssl"

# File systems of USB sticks under FUSE, for the stick's tests (the kernel
# here has no FAT of its own).
have mount.exfat-fuse || missing="$missing exfat-fuse"
have mkfs.exfat || missing="$missing exfatprogs"
have fusefat || missing="$missing fusefat"
have mkfs.vfat || missing="$missing dosfstools"

if [ -z "$missing" ]; then
    exec "$here/test-data.sh"
fi

echo "Installing:$missing"
if [ "$(id -u)" -ne 0 ]; then
    echo "Installing packages needs root; run this script as root." >&2
    exit 1
fi
dpkg --add-architecture i386
apt-get update -q
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
"$here/test-data.sh"
