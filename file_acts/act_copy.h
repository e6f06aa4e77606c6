// Copying a file's contents from one open file into another, through the
// two handles alone: its bytes, its named streams (a download's zone mark)
// and the attributes and last-write time CopyFileA gives a copy. The source
// is the file the caller opened and checked; the copy is a file the caller
// made (ActFileCreate), so no path is opened on the way.
#pragma once

#include <cstdint>

#include "file_acts/act_file.h"

// Copies everything of `from` into the new file `to`, reporting the bytes
// copied into the calling thread's FileProgress (util/file_progress.h). 0, or
// the system's code; on failure `to` holds an unknown part, for the caller
// to delete. A file system that keeps no attributes (some mounts refuse them
// through an open file) leaves *stampKept false without failing the copy.
unsigned long ActFileCopyContents(const ActFile& from, ActFile& to, bool* stampKept = nullptr);
