// The fetch: listing every package below the active source folder.
#pragma once

#include <string>

struct AppState;

// A kind of package: the ending of its file name and the icon of its rows.
struct PackageKind {
    const char* ending;
    int imageSlot;
};

// The kind of the file by the ending of its name, tested for ".lks", then
// ".paf.exe", then ".apk", lower-cased by the system's ANSI rules; nullptr
// for every other file.
const PackageKind* PackageKindOf(const std::string& fileName);

// The window title after the count-th listed file.
std::string FetchTitleText(const std::string& banner, int count, const std::string& indexName);

// Row background colours of the file list, taken in turn.
constexpr unsigned long RowShadeDark = 0x00C1C1C1;   // RGB(193,193,193)
constexpr unsigned long RowShadeLight = 0x00D4D4D4;  // RGB(212,212,212)

// Flips the shading toggle and gives the colour of the next row: dark when
// the toggle becomes set, light when it becomes clear.
unsigned long NextRowShade(bool& shading);

// The folder the scan starts from: the source text less one trailing "\".
std::string ScanRootOf(const std::string& source);

// Fills the file list with every ".lks", ".paf.exe" and ".apk" file found in
// the source folder and all its sub-folders, and empties the sorted list.
void FetchFiles(AppState& app);
