// Fuzzes the wholeness checks: the first byte picks the kind (ZIP archive,
// NSIS installer, other), the rest is the file; the zero run search reads
// the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "contents/package_wholeness.h"
#include "contents/zero_runs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const PackageFormat formats[] = {PackageFormat::Apk, PackageFormat::PafExe, PackageFormat::Other};
    ByteSource file = ByteSourceOfMemory(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    PackageWholenessOfSource(file, formats[data[0] % 3]);
    uint64_t at = 0;
    ZeroRunFound(file, &at);
    return 0;
}
