#include "guard/target_lock.h"

#include <windows.h>

#include "guard/run_guard.h"
#include "model/app_state.h"
#include "place/staging_folder.h"
#include "util/ansi_text.h"
#include "util/run_lock.h"
#include "util/this_process.h"
#include "window/event_queue.h"
#include "window/status_list.h"

namespace {

const char LockName[] = "~Quillet.lock";
const char FirstLine[] = "Quillet lock file\r\n";
const DWORD NameOffset = 32, NameBytes = 64;
const DWORD LockedOffset = 4096;  // the byte locked, past the file's end
const uint64_t LockFileLimit = 1024;
const DWORD WaitStep = 200;

bool ReadAt(HANDLE file, DWORD offset, std::string* bytes, DWORD length)
{
    bytes->assign(length, '\0');
    OVERLAPPED at = {};
    at.Offset = offset;
    DWORD read = 0;
    if (!ReadFile(file, &(*bytes)[0], length, &read, &at))
        read = 0;
    bytes->resize(read);
    return read > 0;
}

bool WriteAt(HANDLE file, DWORD offset, const std::string& bytes)
{
    OVERLAPPED at = {};
    at.Offset = offset;
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &at) && written == bytes.size();
}

// Makes the lock file with its first line, when there is none yet; another
// computer making it at the same moment makes it first.
void MakeLockFile(const ActFolder& folder)
{
    ActFile made;
    if (ActFileCreate(made, folder, LockName))
        return;
    std::string text = FirstLine;
    text.resize(NameOffset + NameBytes, ' ');
    WriteAt(made.handle.Get(), 0, text);
}

// Why the open lock file is not Quillet's own, or empty text.
std::string NotOurs(const ActFile& file)
{
    FileIdentity identity;
    std::string first;
    if (!ActFileIdentity(file, &identity) || identity.links != 1 || identity.size > LockFileLimit
        || !ReadAt(file.handle.Get(), 0, &first, sizeof FirstLine - 1) || first != FirstLine)
        return "its ~Quillet.lock is not a lock file of Quillet's";
    return std::string();
}

bool TryLock(HANDLE file)
{
    OVERLAPPED at = {};
    at.Offset = LockedOffset;
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

std::string HolderOf(HANDLE file)
{
    std::string name;
    ReadAt(file, NameOffset, &name, NameBytes);
    size_t end = name.find_first_of("\r\n");
    name = name.substr(0, end);
    name.erase(name.find_last_not_of(' ') + 1);
    return name.empty() ? "another computer" : name;
}

// Waits with the window painted; false when the wait is over.
void WaitPainting(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (DWORD waited = 0; waited < milliseconds; waited = GetTickCount() - start) {
        if (MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - waited, QS_ALLINPUT, MWMO_INPUTAVAILABLE)
            == WAIT_OBJECT_0)
            EventDrain();
    }
}

bool Refuse(const std::string& target, const std::string& why)
{
    ReportActivity(Activity::AnotherQuilletBusy, target + "  " + why);
    return false;
}

}  // namespace

TargetLock::~TargetLock()
{
    TargetLockRelease(*this);
}

bool TargetLockTake(TargetLock& lock, AppState& app)
{
    std::string target = StagingParentOf(app.ActiveTarget);
    if (target.empty())
        return true;
    ActFolderOpen(lock.folder, target);
    if (lock.folder.error == ERROR_PATH_NOT_FOUND)
        return true;
    if (ActFileOpen(lock.file, lock.folder, LockName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    ActPurpose::Change)
        == ERROR_FILE_NOT_FOUND) {
        MakeLockFile(lock.folder);
        ActFileOpen(lock.file, lock.folder, LockName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    ActPurpose::Change);
    }
    // A target that takes no file (read-only, a full disk) takes no run's
    // files either: the run goes on and meets that itself. A file of the
    // lock's name that is not Quillet's keeps every run out.
    if (!lock.file.handle.Valid() && !ActFolderHolds(lock.folder, LockName))
        return true;
    if (!lock.file.handle.Valid() || !NotOurs(lock.file).empty())
        return Refuse(target, "its ~Quillet.lock is not a lock file of Quillet's");
    bool said = false;
    for (DWORD start = GetTickCount(); !TryLock(lock.file.handle.Get()); WaitPainting(WaitStep)) {
        if (!said)
            Refuse(target, HolderOf(lock.file.handle.Get()) + " is sorting into it");
        said = true;
        if (GetTickCount() - start >= RunLockPatience)
            return false;
    }
    lock.held = true;
    std::string name = ThisComputerName() + "\r\n";
    name.resize(NameBytes, ' ');
    WriteAt(lock.file.handle.Get(), NameOffset, name);
    return true;
}

void TargetLockRelease(TargetLock& lock)
{
    if (lock.held) {
        OVERLAPPED at = {};
        at.Offset = LockedOffset;
        UnlockFileEx(lock.file.handle.Get(), 0, 1, 0, &at);
    }
    lock.held = false;
    ActFileClose(lock.file);
}

bool RunHoldTake(RunHold& hold, AppState& app)
{
    return RunGuardTake(hold.run, app.BaseFolder) && TargetLockTake(hold.target, app);
}
