// Fuzzes the version resource of a Windows program: headers, section table,
// resource directory, VS_VERSIONINFO and its string tables.
#include <cstddef>
#include <cstdint>
#include <string>

#include "contents/version_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VersionFacts facts;
    VersionFactsOf(ByteSourceOfMemory(std::string(reinterpret_cast<const char*>(data), size)), &facts);
    return 0;
}
