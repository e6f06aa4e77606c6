#include "file_acts/act_copy.h"

#include <string>
#include <vector>

#include "file_acts/act_refusals.h"
#include "file_acts/nt_calls.h"
#include "util/file_progress.h"
#include "util/file_times.h"

// Bytes go through a buffer of the thread's own, so that a run of many small
// copies allocates it once; a large file, whose copy runs on a worker thread
// that ends after it, through one of its own, freed when it is done (a
// thread's own buffer is not freed when the thread ends). Large files are
// read and written a megabyte at a time, the unit CopyFileA's own loop is near on both systems. A large copy
// is first sized in full (as CopyFileA sizes it on Windows): a volume too
// small refuses it before any byte is written.
//
// Named streams: Windows lists a file's streams (FileStreamInfo); each one
// but the data itself is opened relative to the open file (":name") and made
// relative to the copy, as CopyFileA copies them. Wine keeps no named streams
// and answers that it cannot list them: there are none to copy, so this part
// is reasoned, not tested, under Wine.

namespace {

const size_t BufferBytes = 1u << 20;
const uint64_t SizedFirstBytes = 16ull * 1024 * 1024;
const uint64_t FatFileLimit = 4ull << 30;  // FAT keeps no file of this size or more

std::vector<char>& ThreadBuffer()
{
    thread_local std::vector<char> buffer;
    if (buffer.empty())
        buffer.resize(BufferBytes);
    return buffer;
}

bool Rewind(HANDLE file)
{
    LARGE_INTEGER start = {};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != 0;
}

unsigned long CopyBytes(HANDLE from, HANDLE to, bool report, std::vector<char>& buffer)
{
    if (!Rewind(from))
        return GetLastError();
    for (;;) {
        DWORD read = 0, written = 0;
        if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            return GetLastError();
        if (read == 0)
            return 0;
        if (!WriteFile(to, buffer.data(), read, &written, nullptr))
            return GetLastError();
        if (written != read)
            return ERROR_DISK_FULL;
        if (report)
            FileProgressCopied(read);
    }
}

unsigned long SizeFirst(HANDLE to, uint64_t size)
{
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(to, FileEndOfFileInfo, &end, sizeof end))
        return GetLastError();
    return Rewind(to) ? 0 : GetLastError();
}

// The names of the file's streams besides its data (":Zone.Identifier:$DATA").
std::vector<std::wstring> NamedStreams(HANDLE file)
{
    std::vector<std::wstring> names;
    std::vector<char> buffer(16 * 1024);
    if (!GetFileInformationByHandleEx(file, FileStreamInfo, buffer.data(), static_cast<DWORD>(buffer.size())))
        return names;
    for (size_t at = 0;;) {
        const FILE_STREAM_INFO* info = reinterpret_cast<const FILE_STREAM_INFO*>(&buffer[at]);
        std::wstring name(info->StreamName, info->StreamNameLength / sizeof(WCHAR));
        if (name != L"::$DATA")
            names.push_back(name);
        if (info->NextEntryOffset == 0)
            return names;
        at += info->NextEntryOffset;
    }
}

unsigned long CopyStreams(HANDLE from, HANDLE to, std::vector<char>& buffer)
{
    for (const std::wstring& name : NamedStreams(from)) {
        ScopedHandle source(NtOpenIn(from, name, {GENERIC_READ, FILE_SHARE_READ, NtOpen::Existing}));
        ScopedHandle copy(NtOpenIn(to, name, {GENERIC_WRITE, 0, NtOpen::New}));
        if (!source.Valid() || !copy.Valid())
            return GetLastError();
        if (unsigned long error = CopyBytes(source.Get(), copy.Get(), false, buffer))
            return error;
    }
    return 0;
}

// What CopyFileA gives a copy: its source's last-write time, then its
// attributes, each asked of the file system on its own (a zero field leaves
// the file's value as it is). 0, or the code of the first refused.
unsigned long TakeStamp(HANDLE copy, const FILE_BASIC_INFO& source)
{
    const DWORD Kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
                       | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO time = {}, attributes = {};
    time.LastWriteTime = source.LastWriteTime;
    attributes.FileAttributes = source.FileAttributes & Kept;
    unsigned long refused = 0;
    if (!SetFileInformationByHandle(copy, FileBasicInfo, &time, sizeof time))
        refused = GetLastError();
    // Read back once: some file systems take the call and keep another time;
    // the attributes the copy has already need no second call.
    FILE_BASIC_INFO now;
    bool read = GetFileInformationByHandleEx(copy, FileBasicInfo, &now, sizeof now) != 0;
    if (!refused && read
        && !FileTimesAgreeAsKept(static_cast<uint64_t>(now.LastWriteTime.QuadPart),
                                 static_cast<uint64_t>(time.LastWriteTime.QuadPart)))
        refused = ActTimeNotKept;
    bool plain = read && (now.FileAttributes & Kept) == attributes.FileAttributes;
    if (!plain && attributes.FileAttributes && !SetFileInformationByHandle(copy, FileBasicInfo, &attributes, sizeof attributes)
        && !refused)
        refused = GetLastError();
    return refused;
}

}  // namespace

unsigned long ActFileCopyContents(const ActFile& from, ActFile& to, unsigned long* stampRefused)
{
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(from.handle.Get(), FileBasicInfo, &basic, sizeof basic)
        || !GetFileInformationByHandleEx(from.handle.Get(), FileStandardInfo, &standard, sizeof standard))
        return GetLastError();
    uint64_t size = static_cast<uint64_t>(standard.EndOfFile.QuadPart);
    // FAT takes no file of 4 GB or more: refused before any byte is written.
    if (size >= FatFileLimit && ActFileOnFat(to))
        return ActTooLargeForFat;
    std::vector<char> own;
    if (size >= SizedFirstBytes) {
        if (unsigned long error = SizeFirst(to.handle.Get(), size))
            return error;
        own.resize(BufferBytes);
    }
    std::vector<char>& buffer = own.empty() ? ThreadBuffer() : own;
    if (unsigned long error = CopyBytes(from.handle.Get(), to.handle.Get(), true, buffer))
        return error;
    if (unsigned long error = CopyStreams(from.handle.Get(), to.handle.Get(), buffer))
        return error;
    unsigned long refused = TakeStamp(to.handle.Get(), basic);
    if (stampRefused)
        *stampRefused = refused;
    return stampRefused ? 0 : refused;
}

bool ActFileOnFat(ActFile& own)
{
    wchar_t system[MAX_PATH + 1] = L"";
    if (GetVolumeInformationByHandleW(own.handle.Get(), nullptr, 0, nullptr, nullptr, nullptr, system, MAX_PATH + 1)
        && (system[0] == L'F' && system[1] == L'A' && system[2] == L'T'))
        return true;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    FILE_BASIC_INFO probe = {}, back;
    probe.LastWriteTime.QuadPart =
        static_cast<LONGLONG>(FileTimeProbe((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime));
    if (!SetFileInformationByHandle(own.handle.Get(), FileBasicInfo, &probe, sizeof probe)
        || !GetFileInformationByHandleEx(own.handle.Get(), FileBasicInfo, &back, sizeof back))
        return false;
    return FileTimeResolutionOfReadBack(static_cast<uint64_t>(probe.LastWriteTime.QuadPart),
                                        static_cast<uint64_t>(back.LastWriteTime.QuadPart))
           == FileTimeResolution::TwoSeconds;
}
