// Rewriting a whole file. The first way keeps it always holding either its
// whole old text or its whole new text: the new text goes into a temporary
// file beside it, which then takes the file's place in one rename. Where that
// way cannot be taken, the file is written in place instead.
#pragma once

#include <windows.h>

#include <string>

// Creates the temporary file beside the path ("<path>.tmp"), empty and held
// exclusively; INVALID_HANDLE_VALUE when it cannot be made.
HANDLE ReplacementBegin(const std::string& path);

// Writes the text into the temporary file, flushes it to disk, closes it and
// renames it over the path, carrying the attributes of the file it replaces.
// On any failure the temporary file is deleted and whatever stood at the path
// stays as it was. Returns whether the text is in place.
bool ReplacementCommit(HANDLE replacement, const std::string& path, const std::string& text);

// Closes and deletes a temporary file that will not be used.
void ReplacementDrop(HANDLE replacement, const std::string& path);

// Whether the name is a link to text other names share: a reparse point, or
// one of several hard links. A file put in its place would share nothing.
bool FileIsLinked(const std::string& path);

// Writes the text over the file from its start, cuts it off at the text's
// end and flushes it. Returns whether all of that succeeded.
bool WriteInPlace(HANDLE file, const std::string& text);
