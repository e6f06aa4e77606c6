// The one way the contents room reads a package: its size and a read of
// exactly N bytes at an offset. Every read is checked against the size, so
// nothing a file claims leads a read past its end; sources over a file, an
// open handle or bytes in memory all look the same to the parsers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct ByteSource {
    uint64_t size = 0;
    // Fills `into` with exactly `length` bytes from `offset`; false when it
    // cannot. Called only for ranges inside `size`.
    std::function<bool(uint64_t offset, void* into, size_t length)> read;
};

// Exactly `length` bytes from `offset`; false past the end, beyond
// ContentsReadMaxBytes, or when the read fails.
bool ByteSourceRead(const ByteSource& source, uint64_t offset, uint64_t length, std::string* bytes);
bool ByteSourceReadInto(const ByteSource& source, uint64_t offset, void* into, uint64_t length);

// A source over bytes held in memory; copies of it share the bytes.
ByteSource ByteSourceOfMemory(std::string bytes);

// Reads a source front to back through a buffer of ContentsChunkBytes, so
// that many small reads in rising order cost few reads of the source.
class ByteSourceReader {
public:
    explicit ByteSourceReader(const ByteSource& source);
    // As ByteSourceRead, served from the buffer where it can be.
    bool Read(uint64_t offset, uint64_t length, std::string* bytes);
    // Hands the bytes of [offset, offset + length) to `take` piece by piece,
    // each at most ContentsChunkBytes; false when a read fails or `take` says stop.
    bool Stream(uint64_t offset, uint64_t length, const std::function<bool(const char*, size_t)>& take);
    const ByteSource& Source() const { return source_; }

private:
    bool Fill(uint64_t offset, uint64_t length);
    const ByteSource& source_;
    std::string buffer_;
    uint64_t bufferStart_ = 0;
};
