#include "window/off_thread.h"

#include <windows.h>
#include <process.h>

#include "util/file_progress.h"
#include "window/paced_screen.h"

namespace {

uint64_t g_largeFileBytes = LargeFileBytes;

struct Job {
    const std::function<void()>& work;
    DWORD lastError;
    FileProgress& progress;
};

// The last error is kept per thread: the worker's is read here, before the
// thread ends, and handed to the caller's thread.
unsigned __stdcall RunJob(void* context)
{
    Job& job = *static_cast<Job*>(context);
    FileProgressBind(&job.progress);
    job.work();
    job.lastError = GetLastError();
    return 0;
}

}  // namespace

void OffThreadRun(PacedScreen& screen, uint64_t fileBytes, const std::function<void()>& work)
{
    if (fileBytes < g_largeFileBytes) {
        work();
        return;
    }
    FileProgress progress(fileBytes);
    Job job{work, 0, progress};
    // _beginthreadex rather than CreateThread: the work uses the C runtime.
    HANDLE worker = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, RunJob, &job, 0, nullptr));
    if (!worker) {
        // Without a thread the work is still done; only the window waits,
        // and no percent is shown for the file in hand.
        screen.inHand.clear();
        work();
        return;
    }
    PacedScreenWaitFor(screen, worker, &progress);
    CloseHandle(worker);
    SetLastError(job.lastError);
}

uint64_t OffThreadLargeFileBytes()
{
    return g_largeFileBytes;
}

uint64_t OffThreadSetLargeFileBytes(uint64_t bytes)
{
    uint64_t before = g_largeFileBytes;
    g_largeFileBytes = bytes;
    return before;
}
