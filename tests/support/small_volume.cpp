#include "support/small_volume.h"

#include <windows.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace {

// Runs a shell command in the folder and returns its exit status, or -1 when
// it cannot be run. Wine cannot wait for a Unix process, so the command
// leaves its status in a file beside it.
int RunShell(const std::string& command, const std::string& folder, const std::string& statusName)
{
    std::string commandLine = "/bin/sh -c \"" + command + "; echo $? >" + statusName + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA("/bin/sh", &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info))
        return -1;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    for (int attempt = 0; attempt < 500; ++attempt) {
        std::string status = ReadFileBytes(folder + statusName);
        if (!status.empty() && status.back() == '\n') {
            DeleteFileA((folder + statusName).c_str());
            return std::atoi(status.c_str());
        }
        Sleep(20);
    }
    return -1;
}

}  // namespace

SmallVolume::SmallVolume(const std::string& parent, const std::string& name) : parent_(parent), name_(name)
{
    MakeFolders(parent + name);
    mounted_ = RunShell("mount -t tmpfs -o size=64k tmpfs " + name, parent, name + ".mount-status") == 0;
}

SmallVolume::~SmallVolume()
{
    if (mounted_)
        RunShell("umount " + name_, parent_, name_ + ".umount-status");
}
