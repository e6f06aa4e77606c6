// Fuzzes the resource table: loaded from the bytes, then ids resolved (the
// real package's label and others, and ids taken from the bytes themselves).
#include <cstddef>
#include <cstdint>
#include <string>

#include "contents/resource_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResourceTable table;
    if (!table.Load(std::string(reinterpret_cast<const char*>(data), size)))
        return 0;
    uint32_t ids[] = {0x7f080000, 0x7f080001, 0x7f010000, 0x7f020000, 0x7f030005, 0x00010000, 0};
    for (size_t i = 0; i + 4 <= size && i < 64; i += 4)
        ids[6] ^= uint32_t(data[i]) << 24 | uint32_t(data[i + 1]) << 16 | uint32_t(data[i + 2]) << 8 | data[i + 3];
    for (uint32_t id : ids) {
        for (bool dynamic : {false, true}) {
            ResourceValue value;
            std::string text;
            if (table.Resolve(id, &value, dynamic))
                table.Text(value, &text);
        }
    }
    return 0;
}
