#include "guard/run_guard.h"

#include "window/event_queue.h"
#include "window/status_list.h"

namespace {

DWORD WaitPainting(HANDLE mutex, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD waited = GetTickCount() - start;
        DWORD woke = MsgWaitForMultipleObjectsEx(1, &mutex, waited >= milliseconds ? 0 : milliseconds - waited,
                                                 QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke != WAIT_OBJECT_0 + 1)
            return woke;
        EventDrain();
    }
}

}  // namespace

bool RunGuardTake(RunLock& lock, const std::string& folder)
{
    if (lock.Take(folder, RunLockPatience, WaitPainting))
        return true;
    ReportActivity(Activity::AnotherQuilletBusy, folder);
    return false;
}
