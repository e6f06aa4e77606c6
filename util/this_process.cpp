#include "util/this_process.h"

#include <windows.h>

#include "util/scoped_handle.h"

namespace {

uint64_t Join(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::string ThisComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = sizeof name;
    if (!GetComputerNameA(name, &length) || length == 0)
        return "computer";
    return std::string(name, length);
}

uint64_t ThisProcessCreated()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    return Join(created);
}

bool ProcessStillRuns(unsigned long processId, uint64_t created)
{
    ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.Valid())
        return GetLastError() == ERROR_ACCESS_DENIED;
    FILETIME started, exited, kernel, user;
    DWORD exitCode = 0;
    if (!GetProcessTimes(process.Get(), &started, &exited, &kernel, &user)
        || !GetExitCodeProcess(process.Get(), &exitCode))
        return true;
    return exitCode == STILL_ACTIVE && Join(started) == created;
}
