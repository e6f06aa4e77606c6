// Whether a package's own bytes say that it is complete, for the kinds whose
// structure tells: an ".apk" is a ZIP archive, whole when its end record and
// the central directory it names end where they must; a ".paf.exe" is a
// Windows program, whole when the file reaches the end of its image, of its
// certificate table and of the NSIS installer data that follows the image.
// Only small pieces are read: the headers, the last 65,557 bytes, the
// installer's first header. Without a window.
#pragma once

#include <string>

enum class PackageWholeness {
    Whole,     // its structure checks out to its last byte
    Unproven,  // nothing to check (".lks", a ".paf.exe" without installer header): it waits longer
    NotWhole,  // cut short, not of its kind, ending in 64 KB of zero bytes, or unreadable
};

PackageWholeness PackageWholenessOf(const std::string& path);
