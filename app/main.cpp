// Quillet: sorts downloaded portable-application packages into category
// folders. The program takes no arguments and always exits with code 0.
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return QuilletMain(instance);
}
