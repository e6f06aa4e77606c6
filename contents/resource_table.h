// An Android package's resource table (resources.arsc): its global string
// pool and its packages' type chunks, each with its configuration and its
// entries. A resource id 0xPPTTEEEE (package, type, entry) is resolved to a
// plain value: among the type chunks that hold the entry, the one whose
// configuration sets neither language nor region (its density may be set),
// else one for English ("en"), else the first; a reference (or dynamic
// reference) found there is followed again, at most
// ResourceReferenceMaxDepth times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contents/android_chunks.h"

struct ResourceValue {
    uint8_t type = 0;
    uint32_t data = 0;
};

class ResourceTable {
public:
    ResourceTable() = default;
    // Its chunks point into its own bytes: not to be copied.
    ResourceTable(const ResourceTable&) = delete;
    ResourceTable& operator=(const ResourceTable&) = delete;

    // False when the bytes are no resource table or its chunks do not fit.
    bool Load(std::string bytes);
    // The plain value the id leads to; false when it leads nowhere, to a
    // complex (bag) entry, or through too many references. A dynamic
    // reference whose package byte is 0 names the table's first package.
    bool Resolve(uint32_t id, ResourceValue* value, bool dynamic = false) const;
    // The text of a string value, from the global string pool.
    bool Text(const ResourceValue& value, std::string* text) const;

private:
    struct TypeChunk {
        uint8_t packageId;
        uint8_t typeId;
        Chunk chunk;
    };
    bool PackageRead(const Chunk& package);
    bool EntryValue(const TypeChunk& type, uint32_t entry, ResourceValue* value) const;
    const TypeChunk* Choose(uint8_t packageId, uint8_t typeId, uint32_t entry) const;

    std::string bytes_;
    StringPool strings_;
    std::vector<TypeChunk> types_;
    uint8_t firstPackageId_ = 0;
};
