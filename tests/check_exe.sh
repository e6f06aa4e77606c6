#!/bin/sh
# Checks the shipped exe from the outside: a 32-bit Windows GUI program that
# imports only system DLLs, so it runs without anything beside it.
set -eu
exe=$1
kind=$(file -b "$exe")
case "$kind" in
    "PE32 executable (GUI) Intel 80386"*) ;;
    *) echo "not a 32-bit GUI exe: $kind"; exit 1 ;;
esac
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports:" $dlls
for dll in $dlls; do
    case "$dll" in
        kernel32.dll|ntdll.dll|user32.dll|gdi32.dll|comctl32.dll|shell32.dll|ole32.dll|advapi32.dll|msvcrt.dll) ;;
        *) echo "unexpected DLL: $dll"; exit 1 ;;
    esac
done
