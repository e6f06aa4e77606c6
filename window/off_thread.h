// Running one long file operation of the sort, its preview or its undo on a
// worker thread while the window's thread keeps the window answering.
//
// A copy, move or comparison of a large file is one blocking call of the
// system that can take seconds or minutes. A window that does not answer for
// five seconds is marked "Not Responding" by Windows, which offers to end the
// program, in the middle of that call. So such a call runs on a worker thread
// and the window's thread waits for it with the paced screen (see
// PacedScreenWaitFor). Small files stay on the window's thread: handing work
// over costs a few round trips to the system (under Wine, to its server),
// more than a small file's copy gains from it.
//
// The call itself stays whole, one package at a time: nothing here splits a
// copy into pieces. While it runs, the window title shows how far it has come
// (see file_progress.h for where the bytes done come from).
#pragma once

#include <cstdint>
#include <functional>

struct PacedScreen;

// Work on a file of this many bytes or more goes to a worker thread.
constexpr uint64_t LargeFileBytes = 16ull * 1024 * 1024;

// Runs the work and returns when it is done: on a worker thread while the
// screen is kept, when fileBytes is LargeFileBytes or more; else right here.
// The work must touch neither the window nor the model, which the window's
// thread goes on showing meanwhile. The thread's last error after the work is
// the caller's afterwards, as if the work had run on the caller's thread.
void OffThreadRun(PacedScreen& screen, uint64_t fileBytes, const std::function<void()>& work);

// OffThreadRun for work with a result: returns what the work returned.
template <class Work>
auto OffThreadCall(PacedScreen& screen, uint64_t fileBytes, Work work) -> decltype(work())
{
    decltype(work()) result{};
    OffThreadRun(screen, fileBytes, [&] { result = work(); });
    return result;
}

// The size from which work goes to a worker thread (LargeFileBytes, unless a
// test or benchmark set another).
uint64_t OffThreadLargeFileBytes();

// For tests and benchmarks: sets the size from which work goes to a worker
// thread, and returns the one set before.
uint64_t OffThreadSetLargeFileBytes(uint64_t bytes);
