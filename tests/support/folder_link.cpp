#include "support/folder_link.h"

#include <windows.h>

namespace {

// Starts a Unix tool in the folder. Wine cannot wait for a Unix process, so
// the caller watches for its effect instead.
bool StartUnixTool(const std::string& tool, const std::string& arguments, const std::string& folder)
{
    std::string commandLine = tool + " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(tool.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

bool WaitForPresence(const std::string& path, bool present)
{
    for (int attempt = 0; attempt < 250; ++attempt) {
        if ((GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) == present)
            return true;
        Sleep(20);
    }
    return false;
}

std::string WithinFolder(const std::string& folder, const std::string& name)
{
    return (!folder.empty() && folder.back() == '\\' ? folder : folder + "\\") + name;
}

}  // namespace

FolderLink::FolderLink(const std::string& folder, const std::string& name, const std::string& target)
    : folder_(folder), name_(name)
{
    made_ = StartUnixTool("/bin/ln", "-s " + target + " " + name, folder)
            && WaitForPresence(WithinFolder(folder, name), true);
}

FolderLink::~FolderLink()
{
    if (made_ && StartUnixTool("/bin/rm", "-f " + name_, folder_))
        WaitForPresence(WithinFolder(folder_, name_), false);
}

bool UnixRemoveFile(const std::string& folder, const std::string& name)
{
    return StartUnixTool("/bin/rm", "-f " + name, folder) && WaitForPresence(WithinFolder(folder, name), false);
}

namespace {

// A path relative to the folder, "\" between its names, as one quoted
// argument of a Unix tool.
std::string UnixArgument(std::string path)
{
    for (char& c : path)
        c = c == '\\' ? '/' : c;
    return "\"" + path + "\"";
}

}  // namespace

bool UnixRename(const std::string& folder, const std::string& from, const std::string& to)
{
    return StartUnixTool("/bin/mv", UnixArgument(from) + " " + UnixArgument(to), folder)
           && WaitForPresence(WithinFolder(folder, to), true) && WaitForPresence(WithinFolder(folder, from), false);
}
