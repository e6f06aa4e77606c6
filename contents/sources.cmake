# The contents room's sources, shared by the program's build and the native
# fuzzing build (fuzz/CMakeLists.txt).
set(QUILLET_CONTENTS_SOURCES
    android_chunks.cpp
    android_manifest.cpp
    binary_xml.cpp
    byte_source.cpp
    nsis_whole.cpp
    package_wholeness.cpp
    pe_image.cpp
    resource_table.cpp
    text_encoding.cpp
    version_resource.cpp
    zero_runs.cpp
    zip_directory.cpp
    zip_entry_data.cpp
    zip_whole.cpp
)
list(TRANSFORM QUILLET_CONTENTS_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
