#!/bin/sh
# The check of the layers fails on an include and on a link that run against
# the table of folders, and on a folder the table lacks; it passes the real
# project and what the table allows.
set -u
check=$1
project=$2
tree=$(mktemp -d) || exit 1
trap 'rm -rf "$tree"' EXIT
fail=0
# A small project: its table of folders, two folders and their targets.
plant() {
    rm -rf "$tree"/*
    mkdir -p "$tree/sort" "$tree/model"
    cat > "$tree/DEVELOPERS.md" <<'END'
| folder | may use | what lives there |
|--------|---------|------------------|
| `sort/` | may use: `model/` | the run |
| `model/` | nothing of the program | the state |
| `tests/` | | the tests |
END
    printf '#include "model/app_state.h"\n' > "$tree/sort/sort_run.cpp"
    printf 'add_library(quillet_sort STATIC sort_run.cpp)\ntarget_link_libraries(quillet_sort PUBLIC quillet_model)\n' \
        > "$tree/sort/CMakeLists.txt"
    printf '#include <vector>\n' > "$tree/model/app_state.h"
    printf 'add_library(quillet_model STATIC app_state.cpp)\n' > "$tree/model/CMakeLists.txt"
}
passes() { sh "$check" "$tree" >/dev/null 2>&1; }
expect_fault() {
    if passes; then echo "not caught: $1"; fail=1; fi
}
plant
if ! passes; then echo "an allowed include and link were refused"; fail=1; fi
plant; printf '// #include "sort/sort_run.h" in a comment\n' >> "$tree/model/app_state.h"
if ! passes; then echo "an include in a comment was refused"; fail=1; fi
plant; printf '#include "sort/sort_run.h"\n' >> "$tree/model/app_state.h"
expect_fault "an include up a layer"
plant; printf '  #  include "sort/sort_summary.h"\n' > "$tree/model/count.cpp"
expect_fault "an include up a layer, spaced"
plant; printf 'target_link_libraries(quillet_model PUBLIC quillet_sort)\n' >> "$tree/model/CMakeLists.txt"
expect_fault "a link up a layer"
plant; mkdir -p "$tree/undo"; printf 'add_library(quillet_undo STATIC undo.cpp)\n' > "$tree/undo/CMakeLists.txt"
expect_fault "a folder with no row"
plant; mkdir -p "$tree/tests/sort"; printf '#include "sort/sort_run.h"\n#include "model/app_state.h"\n' \
    > "$tree/tests/sort/sort_run_test.cpp"
if ! passes; then echo "a test was held to the layers"; fail=1; fi
if ! sh "$check" "$project" >/dev/null; then echo "the project itself breaks its layers"; fail=1; fi
exit $fail
