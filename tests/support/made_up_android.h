// Small made-up Android binary files, for what the real packages do not
// show (a versionCodeMajor, UTF-16 pools, a label in several configurations)
// and as the ground that malformed cases break: a manifest in binary XML and
// a resource table with one package (id 0x7f).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MadeUpAttribute {
    std::string name;
    uint32_t resourceId;  // 0: none (as "package")
    uint8_t type;         // 0x03 string (then `text`), 0x10 integer, 0x01 reference...
    uint32_t data;
    std::string text;
};

// <manifest ...><application .../></manifest> with these attributes.
std::string MadeUpManifest(const std::vector<MadeUpAttribute>& manifest,
                           const std::vector<MadeUpAttribute>& application, bool utf8);

struct MadeUpResource {
    uint8_t type;          // the resource's type id (0xPP TT EEEE)
    uint16_t entry;        // its entry index
    std::string language;  // "" or two letters
    std::string region;    // "" or two letters
    uint16_t density;
    uint8_t valueType;     // 0x03 string (then `text`), 0x01 reference...
    uint32_t data;
    std::string text;
};

// A resource table holding these values, one type chunk per type and configuration.
std::string MadeUpResourceTable(const std::vector<MadeUpResource>& resources, bool utf8);

// The string pool chunk alone.
std::string MadeUpStringPool(const std::vector<std::string>& strings, bool utf8);
