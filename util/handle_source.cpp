#include "util/handle_source.h"

ByteSource ByteSourceOfHandle(HANDLE file)
{
    ByteSource source;
    LARGE_INTEGER size;
    if (file == INVALID_HANDLE_VALUE || !file || !GetFileSizeEx(file, &size))
        return source;
    source.size = static_cast<uint64_t>(size.QuadPart);
    source.read = [file](uint64_t offset, void* into, size_t length) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        return ReadFile(file, into, static_cast<DWORD>(length), &read, &at) && read == length;
    };
    return source;
}
