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

// The program's own Yes/No options beside the nine settings. Each is a
// checkable menu item; it is kept in [Program Options] only once the user has
// clicked its item, or when the file already names it, so that a user who
// never touches one finds the settings file as it always was.
enum class ProgramOption { WatchNewPackages, OwnKindOnly, OlderVersionsAside };
constexpr int ProgramOptionCount = 3;

struct ProgramOptionState {
    bool value = false;    // the value to keep: the file's at start, then the user's last click
    bool clicked = false;  // the user clicked the item in this session
    bool inFile = false;   // the settings file named the key at start
};

struct ProgramOptions {
    ProgramOptionState state[ProgramOptionCount];
    ProgramOptionState& operator[](ProgramOption option) { return state[static_cast<int>(option)]; }
    const ProgramOptionState& operator[](ProgramOption option) const { return state[static_cast<int>(option)]; }
};

// What the sort does with each package, read from CopyOrMove where it is
// applied; only "Copy" and "Move" written exactly so do anything. Older is
// no setting's: the moves that put older versions aside, recorded like a sort.
enum class CopyMode { Copy, Move, Other, Older };
CopyMode CopyModeOf(const std::string& copyOrMove);

// Whether leftovers are reported, read from DumpLeftOvers where it is
// applied; only "Yes" and "No" written exactly so count.
enum class LeftoverReport { Yes, No, Other };
LeftoverReport LeftoverReportOf(const std::string& dumpLeftOvers);
