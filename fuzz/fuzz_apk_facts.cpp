// Fuzzes what an Android package says: the bytes as a whole package (the
// central directory, the entries, the manifest and the resource table in
// it) and as a manifest alone.
#include <cstddef>
#include <cstdint>
#include <string>

#include "contents/android_manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ApkFacts facts;
    ApkFactsOf(ByteSourceOfMemory(bytes), &facts);
    ApkFactsOfManifest(bytes, nullptr, &facts);
    return 0;
}
