// Rewriting a whole file so that it always holds either its whole old text or
// its whole new text: the new text goes into a temporary file beside it, which
// then takes the file's place in one rename.
#pragma once

#include <windows.h>

#include <string>

// Creates the temporary file beside the path ("<path>.tmp"), empty and held
// exclusively; INVALID_HANDLE_VALUE when it cannot be made.
HANDLE ReplacementBegin(const std::string& path);

// Writes the text into the temporary file, flushes it to disk, closes it and
// renames it over the path. On any failure the temporary file is deleted and
// whatever stood at the path stays as it was. Returns whether the text is in
// place.
bool ReplacementCommit(HANDLE replacement, const std::string& path, const std::string& text);
