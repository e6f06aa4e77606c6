// Making a folder together with every missing parent folder: the one file
// act that goes by a path. It makes the target folder the user chose, as the
// index load and a sort's start do, before any folder of the run is held; it
// only ever makes folders (an existing one is left as it is) and writes no
// file, so a link on that path can at worst lead it to make empty folders
// where the link leads, with the rights of the user who chose the path.
#pragma once

#include <cstddef>
#include <string>

// Windows takes a folder path only when it is shorter than this, in
// characters, so that an 8.3 file name still fits inside the folder.
constexpr size_t FolderPathLimit = 248;

// Creates the folder named by the full path (it may end with "\") and every
// missing parent. Returns 1 when the folder was created, 0 otherwise: for a
// folder that already exists, an empty or relative path, or a failure. A path
// of 248 characters or more (a trailing "\" not counted) is refused whole,
// with the system's "file name too long" error as the last error.
int CreateFolderTree(const std::string& path);
