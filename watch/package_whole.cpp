#include "watch/package_whole.h"

#include "contents/zero_runs.h"
#include "util/ansi_text.h"
#include "util/handle_source.h"
#include "util/scoped_handle.h"

PackageWholeness PackageWholenessOfHandle(HANDLE file, const std::string& name)
{
    return PackageWholenessOfSource(ByteSourceOfHandle(file), PackageFormatOfLoweredName(LowerAnsiText(name)));
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
    return ZeroRunFound(ByteSourceOfHandle(file));
}
