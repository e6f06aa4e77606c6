// The nine settings the program remembers between runs, as the settings file
// holds them: plain texts, written back exactly as they were read.
#pragma once

#include <string>

struct Settings {
    std::string LastIndex;
    std::string CopyOrMove;
    std::string DumpLeftOvers;
    std::string LiberkeySourcePath;
    std::string LiberkeyTargetPath;
    std::string PortableAppsSourcePath;
    std::string PortableAppsTargetPath;
    std::string AndroidSourcePath;
    std::string AndroidTargetPath;
};

// What the sort does with each package, read from CopyOrMove where it is
// applied; only "Copy" and "Move" written exactly so do anything.
enum class CopyMode { Copy, Move, Other };
CopyMode CopyModeOf(const std::string& copyOrMove);

// Whether leftovers are reported, read from DumpLeftOvers where it is
// applied; only "Yes" and "No" written exactly so count.
enum class LeftoverReport { Yes, No, Other };
LeftoverReport LeftoverReportOf(const std::string& dumpLeftOvers);
