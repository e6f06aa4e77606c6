// What an Android package says about itself, from its AndroidManifest.xml
// and resources.arsc, found through the central directory and inflated
// within ApkEntryMaxInflated: the manifest element's package id,
// versionCode (with versionCodeMajor as its high 32 bits) and versionName,
// and the application element's label. Attributes in the android namespace
// are known by their resource id (label 0x01010001, versionCode 0x0101021b,
// versionName 0x0101021c, versionCodeMajor 0x01010576); "package" has none
// and is known by its name. A label or version name may be a reference into
// the resource table, resolved there (contents/resource_table.h). Text
// comes out as UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "contents/byte_source.h"

class ResourceTable;

struct ApkFacts {
    std::string packageId;
    std::string versionName;  // empty when absent or unresolved
    std::string label;        // empty when absent or unresolved
    uint64_t versionCode = 0;
    bool hasVersionCode = false;
};

// False for anything malformed: no readable central directory, no manifest,
// a manifest that is no binary XML, or one without a manifest element and
// its package id. A missing or malformed resource table only leaves
// references unresolved.
bool ApkFactsOf(const ByteSource& apk, ApkFacts* facts);

// The same from the manifest's bytes and the resource table (nullptr when
// there is none).
bool ApkFactsOfManifest(const std::string& manifest, const ResourceTable* table, ApkFacts* facts);
