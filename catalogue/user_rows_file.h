// Reading the user's own catalogue rows from their file beside the settings.
// Reading is all this file does; rows made from the window are appended by
// user_rows_append.h, which never changes what the file already holds.
#pragma once

#include <string>

#include "catalogue/user_rows.h"

// The checked rows of the index's groups in the file at the path, with their
// status lines; each category must fit below the index's target folder, and
// the compiled-in rows, when given, lose those the file's "-" rows switch
// off. No file there: no rows and no lines. A file that cannot be read: no
// rows and the one line that says why.
UserRows UserRowsLoad(const std::string& path, const std::string& indexName, const std::string& target,
                      IndexList* compiled = nullptr);

// Whether a file (not a folder) is at the path.
bool UserRowsFileExists(const std::string& path);
