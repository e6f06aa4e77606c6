// Whether a Windows program that may be an NSIS installer (a ".paf.exe") is
// whole. The file must reach the end of its image and of its certificate
// table. Where an NSIS first header stands at the first 512-byte boundary at
// or past the image's end (0xDEADBEEF, then "NullsoftInst"), the file must
// also reach the end of the installer's data (the header's offset h plus the
// length L it states), and unless the header's flags carry NO_CRC (4)
// without FORCE_CRC (8), the CRC-32 of the bytes from offset 512 up to
// h + L - 4 must equal the little-endian word at h + L - 4, as makensis
// writes it (the first 512 bytes, which signing changes, and an Authenticode
// signature appended after h + L are not covered).
#pragma once

#include "contents/byte_source.h"
#include "contents/package_wholeness.h"

// Whole when the installer's CRC matches; Unproven for a program without an
// installer header or an installer that carries no CRC; NotWhole otherwise.
PackageWholeness NsisProgramWholeness(const ByteSource& program);
