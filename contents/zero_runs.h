// Zero bytes where a download has not written yet. A downloader that sets a
// file's size first and fills it later leaves runs of zeros: a file ending
// in ZeroTailBytes zero bytes, or holding a run of at least ZeroRunMinBytes
// zero bytes that starts on a ZeroRunAlignment boundary (as the file
// system's pages and a downloader's pieces do), is taken for one not yet
// filled. Real packages hold no such run: their data is compressed.
#pragma once

#include <cstdint>

#include "contents/byte_source.h"

// Whether the file's last ZeroTailBytes (all of it, when shorter) are zero
// bytes; true too when they cannot be read.
bool ZeroTailFound(const ByteSource& file);

// Whether the file holds a zero run as above; `at`, when given, gets where
// the first one starts. A read that fails counts as a run found there.
bool ZeroRunFound(const ByteSource& file, uint64_t* at = nullptr);
