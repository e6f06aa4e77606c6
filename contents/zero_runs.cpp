#include "contents/zero_runs.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "contents/content_limits.h"

namespace {

bool AllZero(const char* bytes, size_t length)
{
    static const char zeros[ZeroRunAlignment] = {};
    for (size_t at = 0; at < length; at += ZeroRunAlignment) {
        size_t piece = std::min<size_t>(ZeroRunAlignment, length - at);
        if (std::memcmp(bytes + at, zeros, piece) != 0)
            return false;
    }
    return true;
}

}  // namespace

bool ZeroTailFound(const ByteSource& file)
{
    uint64_t length = std::min(file.size, ZeroTailBytes);
    std::string tail;
    if (!ByteSourceRead(file, file.size - length, length, &tail))
        return true;
    return AllZero(tail.data(), tail.size());
}

bool ZeroRunFound(const ByteSource& file, uint64_t* at)
{
    const uint64_t blocksWanted = ZeroRunMinBytes / ZeroRunAlignment;
    uint64_t offset = 0, runStart = 0, blocks = 0;
    bool found = false;
    ByteSourceReader reader(file);
    // Only whole blocks: a run of the length wanted from a boundary fills them.
    uint64_t whole = file.size / ZeroRunAlignment * ZeroRunAlignment;
    bool read = reader.Stream(0, whole, [&](const char* bytes, size_t length) {
        for (size_t block = 0; block < length && !found; block += ZeroRunAlignment, offset += ZeroRunAlignment) {
            if (!AllZero(bytes + block, ZeroRunAlignment)) {
                runStart = offset + ZeroRunAlignment;
                blocks = 0;
            } else {
                found = ++blocks == blocksWanted;
            }
        }
        return !found;
    });
    if (at)
        *at = found ? runStart : offset;
    return found || !read;
}
