// The failures a placement is certain to meet that its paths alone tell,
// before any file is touched: the sort refuses them (Wine would otherwise
// make a folder "CON" or a path Windows cannot open), and its preview
// foresees them.
#pragma once

#include <string>

// The system error a placement of a file into the folder (ending with "\")
// is certain to fail with, or 0: ERROR_INVALID_NAME when a name in the path
// is a device's; ERROR_FILENAME_EXCED_RANGE when the folder path is 248
// characters or more (Windows makes no such folder) or the file's path 260 or
// more.
unsigned long PlacementRefusal(const std::string& folder, const std::string& fileName);
