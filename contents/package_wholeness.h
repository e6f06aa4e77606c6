// Whether a downloaded package is whole by its own bytes, for each kind:
// an ".apk" by its ZIP structure, every entry's CRC-32 and size
// (contents/zip_whole.h); a ".paf.exe" by its image, certificate table and
// NSIS installer data and CRC (contents/nsis_whole.h); any kind ending in
// ZeroTailBytes zero bytes is not whole yet. Without a window: the caller
// names the kind and hands over the bytes as a ByteSource.
#pragma once

#include <string>

#include "contents/byte_source.h"

enum class PackageWholeness {
    Whole,     // its structure and checksums check out to its last byte
    Unproven,  // nothing to check (".lks", a ".paf.exe" without installer header or CRC): it waits longer
    NotWhole,  // cut short, not of its kind, failing a checksum, ending in 64 KB of zero bytes, or unreadable
};

enum class PackageFormat { Apk, PafExe, Other };

// The kind a file name ending says (".apk", ".paf.exe"); the caller lowers
// the name's letter case first, by its own code page's rules.
PackageFormat PackageFormatOfLoweredName(const std::string& lowered);

PackageWholeness PackageWholenessOfSource(const ByteSource& package, PackageFormat format);
