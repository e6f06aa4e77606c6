// Adding one row to the user's own rows file from the window. The file is the
// user's: it is only ever appended to, so the bytes already in it never
// change, and a link to another file stays a link.
#pragma once

#include <string>

// The bytes that add the row "fragment = category" to a file that now holds
// `current`: a CR LF first when the file does not end with a line end, the
// index's group line unless the file's last group is already the index's,
// then the row, in UTF-8 when the file is read as UTF-8. A file that is not
// there yet gets a comment at its head.
std::string UserRowsAppendText(const std::string& current, bool fileExists, const std::string& indexName,
                               const std::string& fragment, const std::string& category);

// Appends the row to the file at the path, making the file when there is
// none. Empty text when the row is in the file, else what kept it out.
std::string UserRowsAppend(const std::string& path, const std::string& indexName, const std::string& fragment,
                           const std::string& category);
