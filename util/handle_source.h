// A byte source (contents/byte_source.h) over a file handle open for
// reading: the contents room's parsers read the very file a caller holds,
// at offsets, so the handle's file pointer does not matter.
#pragma once

#include <windows.h>

#include "contents/byte_source.h"

// The source reads the handle with ReadFile at offsets; size 0 (and so
// nothing to read) when the handle's size cannot be had. The handle must
// stay open while the source is used.
ByteSource ByteSourceOfHandle(HANDLE file);
