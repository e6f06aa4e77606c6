#!/bin/sh
# The check of file acts by path fails on each kind of planted call in the
# program's code, and passes the same calls in the room and in comments.
set -u
check=$1
tree=$(mktemp -d) || exit 1
trap 'rm -rf "$tree"' EXIT
fail=0
plant() {
    rm -rf "$tree/place" "$tree/file_acts"
    mkdir -p "$tree/$1"
    printf '%s\n' "$2" > "$tree/$1/planted.cpp"
    sh "$check" "$tree" >/dev/null 2>&1
}
expect_fault() {
    if plant place "$1"; then echo "not caught: $1"; fail=1; fi
}
expect_fault 'void F() { DeleteFileA(path.c_str()); }'
expect_fault 'void F() { MoveFileExA(a, b, 0); }'
expect_fault 'void F() { CopyFileA(a, b, TRUE); }'
expect_fault 'void F() { RemoveDirectoryA(a); }'
expect_fault 'void F() { SHCreateDirectory(nullptr, w); }'
expect_fault 'void F() { SetFileInformationByHandle(h, FileRenameInfo, i, n); }'
expect_fault 'void F() { std::filesystem::remove(p); }'
expect_fault 'void F() { rename(a, b); }'
expect_fault 'void F() { HANDLE h = CreateFileA(p, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr); }'
expect_fault 'void F() { HANDLE h = CreateFileA(p, GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr); }'
expect_fault 'void F() { HANDLE h = CreateFileA(p, access, 0, nullptr, OPEN_EXISTING, 0, nullptr); }'
if ! plant file_acts 'void F() { DeleteFileA(path.c_str()); }'; then echo "the room itself was refused"; fail=1; fi
if ! plant place '// DeleteFileA(path) in a comment; calls.remove(x); std::remove_if(a, b, c);
void F() { HANDLE h = CreateFileA(p, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr); }'; then
    echo "a reading open or a comment was refused"; fail=1
fi
exit $fail
