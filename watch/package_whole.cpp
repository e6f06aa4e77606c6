#include "watch/package_whole.h"

#include "contents/zero_runs.h"
#include "util/ansi_text.h"
#include "util/scoped_handle.h"

namespace {

// A byte source reading the handle at offsets with ReadFile; size 0 (and
// so nothing to read) when the handle's size cannot be had.
ByteSource HandleSource(HANDLE file)
{
    ByteSource source;
    LARGE_INTEGER size;
    if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size))
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

}  // namespace

PackageWholeness PackageWholenessOfHandle(HANDLE file, const std::string& name)
{
    return PackageWholenessOfSource(HandleSource(file), PackageFormatOfLoweredName(LowerAnsiText(name)));
}

PackageWholeness PackageWholenessOf(const std::string& path)
{
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return PackageWholeness::NotWhole;
    return PackageWholenessOfHandle(file.Get(), path);
}

bool PackageZeroRunOfHandle(HANDLE file)
{
    return ZeroRunFound(HandleSource(file));
}
