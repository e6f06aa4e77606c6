// Quillet: sorts downloaded portable-application packages into category
// folders. Without arguments it exits with code 0; the command line can ask
// for a sort or a preview that runs once (with its exit code) or for the
// watch (see app/command_line.h).
#include <windows.h>

#include "app/startup.h"

// The command line is read whole and in UTF-16: the runtime's own split ends
// the program's name at the first blank after its closing quote, which
// swallows an option written right after the quote, and the ANSI command line
// writes a character the code page lacks as a look-alike ("／" as "/").
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const wchar_t* whole = GetCommandLineW();
    return QuilletMain(instance, whole ? whole : L"");
}
