// Names Windows reserves for devices: a file or folder of such a name opens
// the device instead (CON, NUL, COM1, "con.txt"), so no path may hold one.
#pragma once

#include <string>

// True when one segment of a path (a folder or file name, no "\") names a
// device: CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$ or CONOUT$, in any
// letter case, alone or followed by an extension ("con.txt"); trailing blanks
// and dots before the extension do not hide it ("nul .txt", "aux.").
bool IsDeviceName(const std::string& segment);
