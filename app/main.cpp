// Quillet: sorts downloaded portable-application packages into category
// folders. Without arguments it exits with code 0; the command line can ask
// for a sort or a preview that runs once (with its exit code) or for the
// watch (see app/command_line.h).
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return QuilletMain(instance, commandLine ? commandLine : "");
}
