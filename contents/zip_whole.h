// Whether a ZIP archive (an Android package) is whole, by every byte that
// matters to it:
// - its end record, with its comment, ends at the file's last byte, and the
//   central directory it names ends where the end records begin (ZIP64 end
//   records and extra fields are read, not refused);
// - the entries' local headers, taken in the order of their offsets, follow
//   one another from offset 0 without gap or overlap, each with its
//   signature and the central directory's name, method, CRC and sizes
//   (unless flag bit 3 says they follow the data), and each entry's data
//   (inflated where deflated) comes to its size and CRC-32 as the central
//   directory gives them (a local header with flag bit 3 carries zeros; its
//   data descriptor after the data must repeat the directory's values);
// - after the last entry's data comes the central directory, or an APK
//   signing block ("APK Sig Block 42") whose two size fields agree and
//   whose ID-value pairs fill it exactly, then the central directory.
// Any other bytes between entries, an encrypted entry, a method other than
// stored or deflated, or more than ZipMaxInflatedTotal bytes inflated in
// all: not whole (no Android package has them).
#pragma once

#include "contents/byte_source.h"

bool ZipArchiveIsWhole(const ByteSource& archive);
