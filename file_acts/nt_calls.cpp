#include "file_acts/nt_calls.h"

#include <winternl.h>

#include <vector>

namespace {

// NtSetInformationFile's rename record and NtQueryDirectoryFile's listing
// record, which the user-mode headers lack.
const int FileRenameInformationClass = 10;
const int FileDispositionInformationClass = 13;
const int FileInternalInformationClass = 6;
const int FileFullDirectoryInformationClass = 2;

struct RenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    ULONG fileNameLength;
    WCHAR fileName[1];
};

struct FullDirectoryInformation {
    ULONG nextEntryOffset;
    ULONG fileIndex;
    LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;
    LARGE_INTEGER endOfFile, allocationSize;
    ULONG fileAttributes;
    ULONG fileNameLength;
    ULONG eaSize;
    WCHAR fileName[1];
};

typedef NTSTATUS(NTAPI* SetInformationFile)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);
typedef NTSTATUS(NTAPI* QueryInformationFile)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);
typedef NTSTATUS(NTAPI* QueryDirectoryFile)(HANDLE, HANDLE, void*, void*, IO_STATUS_BLOCK*, void*, ULONG, int, BOOLEAN,
                                            UNICODE_STRING*, BOOLEAN);

template <typename Call>
Call Native(const char* name)
{
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

UNICODE_STRING Counted(const std::wstring& text)
{
    USHORT bytes = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    return {bytes, bytes, const_cast<wchar_t*>(text.c_str())};
}

ULONG DispositionOf(NtOpen how)
{
    return how == NtOpen::New ? FILE_CREATE : how == NtOpen::ExistingOrNew ? FILE_OPEN_IF : FILE_OPEN;
}

bool Failed(NTSTATUS status)
{
    if (NT_SUCCESS(status))
        return false;
    SetLastError(NtErrorOf(status));
    return true;
}

}  // namespace

DWORD NtErrorOf(long status)
{
    const NTSTATUS FileIsADirectory = static_cast<NTSTATUS>(0xC00000BA);
    return status == FileIsADirectory ? ERROR_ACCESS_DENIED : RtlNtStatusToDosError(status);
}

HANDLE NtOpenIn(HANDLE root, const std::wstring& name, const NtOpenRequest& request, bool* created)
{
    if (!root || root == INVALID_HANDLE_VALUE || name.size() > 255) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    UNICODE_STRING text = Counted(name);
    OBJECT_ATTRIBUTES objectAttributes;
    InitializeObjectAttributes(&objectAttributes, &text, OBJ_CASE_INSENSITIVE, root, nullptr);
    ULONG options = FILE_SYNCHRONOUS_IO_NONALERT | (request.folder ? FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT
                                                                   : FILE_NON_DIRECTORY_FILE)
                    | (request.reparsePoint ? FILE_OPEN_REPARSE_POINT : 0);
    // A stream is opened relative to its file, which is neither a folder nor a plain file name.
    if (!name.empty() && name[0] == L':')
        options &= ~static_cast<ULONG>(FILE_NON_DIRECTORY_FILE);
    IO_STATUS_BLOCK status = {};
    HANDLE handle = nullptr;
    NTSTATUS result = NtCreateFile(&handle, request.access | SYNCHRONIZE, &objectAttributes, &status, nullptr,
                                   request.attributes, request.sharing, DispositionOf(request.how), options, nullptr, 0);
    if (Failed(result))
        return INVALID_HANDLE_VALUE;
    if (created)
        *created = status.Information == FILE_CREATED;
    return handle;
}

HANDLE NtOpenByName(const std::wstring& name)
{
    UNICODE_STRING text = Counted(name);
    OBJECT_ATTRIBUTES objectAttributes;
    InitializeObjectAttributes(&objectAttributes, &text, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    IO_STATUS_BLOCK status = {};
    HANDLE handle = nullptr;
    NTSTATUS result = NtCreateFile(&handle, FILE_READ_ATTRIBUTES | SYNCHRONIZE, &objectAttributes, &status, nullptr, 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
                                   FILE_SYNCHRONOUS_IO_NONALERT | FILE_NON_DIRECTORY_FILE, nullptr, 0);
    return Failed(result) ? INVALID_HANDLE_VALUE : handle;
}

bool NtRenameInto(HANDLE file, HANDLE folder, const std::wstring& name, bool replace)
{
    static const auto setInformation = Native<SetInformationFile>("NtSetInformationFile");
    if (!setInformation || name.empty() || !folder) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    std::vector<char> buffer(sizeof(RenameInformation) + name.size() * sizeof(WCHAR), 0);
    RenameInformation* info = reinterpret_cast<RenameInformation*>(buffer.data());
    info->replaceIfExists = replace ? TRUE : FALSE;
    info->rootDirectory = folder;
    info->fileNameLength = static_cast<ULONG>(name.size() * sizeof(WCHAR));
    name.copy(info->fileName, name.size());
    IO_STATUS_BLOCK status = {};
    return !Failed(setInformation(file, &status, info, static_cast<ULONG>(buffer.size()), FileRenameInformationClass));
}

bool NtObjectName(HANDLE handle, std::wstring* name)
{
    // ObjectNameInformation: a counted string, then its characters.
    std::vector<char> buffer(2048);
    for (int tries = 0; tries < 2; ++tries) {
        ULONG needed = 0;
        NTSTATUS result = NtQueryObject(handle, static_cast<OBJECT_INFORMATION_CLASS>(1), buffer.data(),
                                        static_cast<ULONG>(buffer.size()), &needed);
        if (NT_SUCCESS(result)) {
            const UNICODE_STRING* text = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
            name->assign(text->Buffer, text->Length / sizeof(wchar_t));
            return !name->empty();
        }
        if (needed <= buffer.size() || needed > 65536)
            return !Failed(result);
        buffer.resize(needed);
    }
    return false;
}

bool NtMarkForDeletion(HANDLE handle, bool remove)
{
    static const auto setInformation = Native<SetInformationFile>("NtSetInformationFile");
    BOOLEAN mark = remove ? TRUE : FALSE;
    IO_STATUS_BLOCK status = {};
    return setInformation && !Failed(setInformation(handle, &status, &mark, sizeof mark, FileDispositionInformationClass));
}

bool NtFileIndex(HANDLE file, uint64_t* index)
{
    static const auto query = Native<QueryInformationFile>("NtQueryInformationFile");
    LARGE_INTEGER value = {};
    IO_STATUS_BLOCK status = {};
    if (!query || Failed(query(file, &status, &value, sizeof value, FileInternalInformationClass)))
        return false;
    *index = static_cast<uint64_t>(value.QuadPart);
    return true;
}

namespace {

NtListed ListedOf(const FullDirectoryInformation& entry)
{
    NtListed listed;
    listed.name.assign(entry.fileName, entry.fileNameLength / sizeof(WCHAR));
    listed.size = static_cast<uint64_t>(entry.endOfFile.QuadPart);
    listed.lastWriteTime = static_cast<uint64_t>(entry.lastWriteTime.QuadPart);
    listed.attributes = entry.fileAttributes;
    return listed;
}

bool IsDots(const std::wstring& name)
{
    return name == L"." || name == L"..";
}

// Hands every entry of one buffer to `each`.
void TakeEntries(const std::vector<char>& buffer, const std::function<void(const NtListed&)>& each)
{
    for (size_t at = 0;;) {
        const FullDirectoryInformation& entry = *reinterpret_cast<const FullDirectoryInformation*>(&buffer[at]);
        NtListed listed = ListedOf(entry);
        if (!IsDots(listed.name))
            each(listed);
        if (entry.nextEntryOffset == 0)
            return;
        at += entry.nextEntryOffset;
    }
}

}  // namespace

bool NtListFolder(HANDLE folder, const std::wstring& mask, const std::function<void(const NtListed&)>& each)
{
    static const auto query = Native<QueryDirectoryFile>("NtQueryDirectoryFile");
    NtOpenRequest request = {FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             NtOpen::Existing, true};
    HANDLE listing = query ? NtOpenIn(folder, std::wstring(), request) : INVALID_HANDLE_VALUE;
    if (listing == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> buffer(64 * 1024);
    UNICODE_STRING pattern = Counted(mask);
    bool listed = true;
    for (BOOLEAN first = TRUE;; first = FALSE) {
        IO_STATUS_BLOCK status = {};
        NTSTATUS result = query(listing, nullptr, nullptr, nullptr, &status, buffer.data(),
                                static_cast<ULONG>(buffer.size()), FileFullDirectoryInformationClass, FALSE,
                                first && !mask.empty() ? &pattern : nullptr, first);
        const NTSTATUS NoMoreFiles = static_cast<NTSTATUS>(0x80000006), NoSuchFile = static_cast<NTSTATUS>(0xC000000F);
        if (result == NoMoreFiles || result == NoSuchFile)
            break;
        if (!NT_SUCCESS(result)) {
            listed = false;
            SetLastError(NtErrorOf(result));
            break;
        }
        TakeEntries(buffer, each);
    }
    CloseHandle(listing);
    return listed;
}
