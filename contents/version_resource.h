// What a Windows program (a ".paf.exe") says about itself in its version
// resource: the resource directory (data directory 2), type RT_VERSION (16),
// its first name and first language, its data found through the section
// table, then VS_VERSIONINFO, StringFileInfo, and the string table for
// U.S. English or language-neutral text (else the first one), whose strings
// come out as UTF-8. Bounded by VersionResourceMaxBytes.
#pragma once

#include <string>

#include "contents/byte_source.h"

struct VersionFacts {
    std::string productName;
    std::string fileDescription;
    std::string originalFilename;
    std::string internalName;
    std::string productVersion;
};

// False when the program has no version resource, or it is malformed or
// holds no string table; strings the table lacks stay empty.
bool VersionFactsOf(const ByteSource& program, VersionFacts* facts);
