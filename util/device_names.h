// The names Windows keeps for devices. A folder or file of such a name is the
// device itself to the system, whatever extension follows it.
#pragma once

#include <string>

// Whether the folder or file name names a device: CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, CONIN$ or CONOUT$, in any letter case, alone or
// followed by blanks or by "." and anything after it.
bool IsDeviceName(const std::string& segment);
