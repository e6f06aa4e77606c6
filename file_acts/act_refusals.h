// The codes a file act refuses with when no system call failed, and their
// words. The system's text for such a code is empty or says something else,
// so a line that names why an act did not happen takes these words instead.
#pragma once

#include <string>

// The folder, or the file, leads out of the folder it was opened in (a link,
// a junction, a mount point, or a folder swapped for one).
constexpr unsigned long ActLeadsOut = 681;  // ERROR_STOPPED_ON_SYMLINK
// Codes of Quillet's own carry bit 29, which the system never sets.
// The name leads to a file of another long name (a short-name alias).
constexpr unsigned long ActOtherName = 0x20000001;
// The file is not the one recorded: another size, time or file index.
constexpr unsigned long ActNotTheFile = 0x20000002;
// The file has other names (hard links): its bytes are not only ours.
constexpr unsigned long ActOtherLinks = 0x20000003;
// The delete was made, yet the folder's listing still shows the name.
constexpr unsigned long ActStillThere = 0x20000004;
// The file is of 4 GB or more and the destination's file system is FAT,
// which takes no file that large.
constexpr unsigned long ActTooLargeForFat = 0x20000005;
// A time set on a file read back as another time than the one set (beyond
// what its file system can keep): the file system did not keep it.
constexpr unsigned long ActTimeNotKept = 0x20000006;

// Quillet's words for one of the codes above; empty text for any other code.
std::string ActRefusalText(unsigned long code);

// The reason a line of the Parts' form gives after the file name: the
// system's text as it stands (line end included) for a system's code,
// Quillet's words for one of its own refusals, which the system has no text
// for.
std::string ActReasonText(unsigned long code);

// The words for a code a file act failed with: Quillet's own for its
// refusals, the system's text (without its line end) for the rest, or
// "error <code>" when the system has none.
std::string ActErrorText(unsigned long code);
