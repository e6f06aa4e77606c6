// A view of bytes already in memory with bounds-checked little-endian
// reads: a read that would reach past the end gives 0, and Has() says
// beforehand whether a range lies inside. Parsers of chunks, tables and
// resources work on these, never on raw pointers and claimed offsets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ByteSpan {
public:
    ByteSpan() = default;
    ByteSpan(const char* data, size_t size) : data_(data), size_(size) {}
    explicit ByteSpan(const std::string& bytes) : data_(bytes.data()), size_(bytes.size()) {}

    size_t Size() const { return size_; }
    const char* Data() const { return data_; }
    // Whether [at, at + length) lies inside, without overflow.
    bool Has(uint64_t at, uint64_t length) const { return at <= size_ && length <= size_ - at; }

    uint8_t U8(uint64_t at) const { return Has(at, 1) ? static_cast<uint8_t>(data_[at]) : 0; }
    uint16_t U16(uint64_t at) const { return static_cast<uint16_t>(Little(at, 2)); }
    uint32_t U32(uint64_t at) const { return static_cast<uint32_t>(Little(at, 4)); }
    uint64_t U64(uint64_t at) const { return Little(at, 8); }

    // The bytes [at, at + length), or an empty span when they do not lie inside.
    ByteSpan Sub(uint64_t at, uint64_t length) const
    {
        return Has(at, length) ? ByteSpan(data_ + at, static_cast<size_t>(length)) : ByteSpan();
    }
    // The bytes from `at` to the end, or an empty span.
    ByteSpan From(uint64_t at) const { return at <= size_ ? Sub(at, size_ - at) : ByteSpan(); }
    std::string Text(uint64_t at, uint64_t length) const
    {
        return Has(at, length) ? std::string(data_ + at, static_cast<size_t>(length)) : std::string();
    }

private:
    uint64_t Little(uint64_t at, int count) const
    {
        if (!Has(at, count))
            return 0;
        uint64_t value = 0;
        for (int i = count - 1; i >= 0; --i)
            value = (value << 8) | static_cast<uint8_t>(data_[at + i]);
        return value;
    }

    const char* data_ = "";
    size_t size_ = 0;
};
