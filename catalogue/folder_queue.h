// Folders still to be listed while the source tree is scanned.
#pragma once

#include <string>
#include <vector>

using FolderQueue = std::vector<std::string>;
