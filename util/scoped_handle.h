// Small owners for handles of the system, so that a handle is closed on
// every way out of the function that opened it.
#pragma once

#include <windows.h>

// A file (or other kernel object) handle, closed with CloseHandle.
class ScopedHandle {
public:
    ScopedHandle() : handle_(INVALID_HANDLE_VALUE) {}
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (Valid())
            CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_;
};

// A directory listing, closed with FindClose.
class ScopedFind {
public:
    explicit ScopedFind(HANDLE find) : find_(find) {}
    ~ScopedFind()
    {
        if (Valid())
            FindClose(find_);
    }
    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;

    HANDLE Get() const { return find_; }
    bool Valid() const { return find_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE find_;
};
