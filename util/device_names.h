// The names Windows keeps for devices. A folder or file of such a name is the
// device itself to the system, whatever extension follows it.
#pragma once

#include <string>

// Whether the folder or file name names a device: CON, PRN, AUX, NUL, COM0 to
// COM9, LPT0 to LPT9, COM and LPT with a superscript 1, 2 or 3, CONIN$ or CONOUT$, in any letter case, alone or
// followed by blanks or by "." and anything after it.
bool IsDeviceName(const std::string& segment);

// Whether a name in the path names a device. Steps by character, so that the
// second byte of a double-byte character is never taken for a "\".
bool PathHoldsDeviceName(const std::string& path);
