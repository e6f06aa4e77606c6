// Small made-up packages whose structure the watch checks: a ZIP archive as
// an ".apk" is, a Windows program with an NSIS installer's data as a
// ".paf.exe" is.
#pragma once

#include <cstdint>
#include <string>

// The value as `count` little-endian bytes.
std::string LittleEndian(uint64_t value, int count);

// A whole ZIP archive: one stored entry holding `content`, then the central
// directory, then its end record with a comment.
std::string MadeUpArchive(const std::string& content, const std::string& comment);

// A program with one 512-byte section ending at 1024, a certificate table
// at `certificates` (8 bytes; none when 0), then `after`. Where `after` is
// an NSIS installer's data complete to its stated length, its last four
// bytes become the CRC-32 the installer carries (bytes 512 up to them).
std::string MadeUpProgram(uint64_t certificates, const std::string& after);

// An NSIS first header with `flags` (0: it carries a CRC) stating `length`
// bytes from its own start, then as many of them as `written` says (all by
// default).
std::string MadeUpInstaller(uint64_t length, uint64_t written = UINT64_MAX, uint32_t flags = 0);

// Writes, into the file at the path that holds a program with an installer
// complete to its stated length (its first header at `header`), the CRC-32
// that installer carries, computed over the file as it stands: for files too
// large to hold in memory.
bool InstallerCrcWriteInFile(const std::string& path, uint64_t header);
