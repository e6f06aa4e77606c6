#!/bin/sh
# Runs the tests of double-byte text under the Japanese ANSI code page (932).
# Wine takes its code page from the Linux locale of the process it starts, so
# the locale is built here, into the build folder, when the machine lacks it;
# a process started from inside Wine keeps its parent's code page, so this
# has to happen outside it.
#   code_page_932.sh <wine wrapper> <test exe> <locale folder>
set -eu
wrapper=$1
tests=$2
locales=$3
if [ ! -d "$locales/ja_JP.UTF-8" ]; then
    mkdir -p "$locales"
    if ! localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" >/dev/null 2>&1; then
        echo "cannot build the ja_JP.UTF-8 locale here" >&2
        exit 77
    fi
fi
LOCPATH=$locales LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 QUILLET_CODE_PAGE=932 \
    exec "$wrapper" "$tests" --gtest_filter='*CodePage932*'
