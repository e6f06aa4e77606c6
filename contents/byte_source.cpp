#include "contents/byte_source.h"

#include <algorithm>
#include <memory>

#include "contents/content_limits.h"

namespace {

bool Inside(const ByteSource& source, uint64_t offset, uint64_t length)
{
    return source.read && length <= ContentsReadMaxBytes && offset <= source.size && length <= source.size - offset;
}

}  // namespace

bool ByteSourceReadInto(const ByteSource& source, uint64_t offset, void* into, uint64_t length)
{
    if (!Inside(source, offset, length))
        return false;
    return length == 0 || source.read(offset, into, static_cast<size_t>(length));
}

bool ByteSourceRead(const ByteSource& source, uint64_t offset, uint64_t length, std::string* bytes)
{
    if (!Inside(source, offset, length))
        return false;
    bytes->assign(static_cast<size_t>(length), '\0');
    return length == 0 || source.read(offset, &(*bytes)[0], static_cast<size_t>(length));
}

ByteSource ByteSourceOfMemory(std::string bytes)
{
    auto held = std::make_shared<const std::string>(std::move(bytes));
    ByteSource source;
    source.size = held->size();
    source.read = [held](uint64_t offset, void* into, size_t length) {
        if (offset > held->size() || length > held->size() - offset)
            return false;
        std::copy_n(held->data() + offset, length, static_cast<char*>(into));
        return true;
    };
    return source;
}

ByteSourceReader::ByteSourceReader(const ByteSource& source) : source_(source) {}

bool ByteSourceReader::Fill(uint64_t offset, uint64_t length)
{
    if (offset >= bufferStart_ && offset - bufferStart_ <= buffer_.size()
        && length <= buffer_.size() - (offset - bufferStart_))
        return true;
    if (offset > source_.size)
        return false;
    uint64_t want = std::min(std::max(length, ContentsChunkBytes), source_.size - offset);
    bufferStart_ = offset;
    if (ByteSourceRead(source_, offset, want, &buffer_))
        return length <= want;
    buffer_.clear();
    return false;
}

bool ByteSourceReader::Read(uint64_t offset, uint64_t length, std::string* bytes)
{
    if (length > ContentsReadMaxBytes || !Fill(offset, length))
        return false;
    bytes->assign(buffer_, static_cast<size_t>(offset - bufferStart_), static_cast<size_t>(length));
    return true;
}

bool ByteSourceReader::Stream(uint64_t offset, uint64_t length,
                              const std::function<bool(const char*, size_t)>& take)
{
    if (offset > source_.size || length > source_.size - offset)
        return false;
    while (length > 0) {
        uint64_t piece = std::min(length, ContentsChunkBytes);
        if (!Fill(offset, piece) || !take(buffer_.data() + (offset - bufferStart_), static_cast<size_t>(piece)))
            return false;
        offset += piece;
        length -= piece;
    }
    return true;
}
