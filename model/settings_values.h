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
