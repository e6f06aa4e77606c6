#include "util/folder_relative.h"

#include <winternl.h>

#include <vector>

#include "util/ansi_text.h"

namespace {

// NtSetInformationFile's rename class and its record, which the headers of
// the user-mode API lack.
const int FileRenameInformationClass = 10;
struct RenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    ULONG fileNameLength;
    WCHAR fileName[1];
};

typedef NTSTATUS(NTAPI* SetInformationFile)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);

// The Win32 code for a native status, as CreateFile and MoveFileEx give it: a
// folder where a file was asked for is "access denied" there.
DWORD ErrorOf(NTSTATUS status)
{
    const NTSTATUS FileIsADirectory = static_cast<NTSTATUS>(0xC00000BA);
    return status == FileIsADirectory ? ERROR_ACCESS_DENIED : RtlNtStatusToDosError(status);
}

}  // namespace

HANDLE FileOpenInFolder(HANDLE folder, const std::string& name, DWORD access, DWORD sharing, bool create,
                        DWORD attributes)
{
    std::wstring wide = WideFromAnsi(name);
    if (wide.empty() || wide.size() > 255 || !folder) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    USHORT bytes = static_cast<USHORT>(wide.size() * sizeof(wchar_t));
    UNICODE_STRING text = {bytes, bytes, &wide[0]};
    OBJECT_ATTRIBUTES objectAttributes;
    InitializeObjectAttributes(&objectAttributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK status = {};
    HANDLE file = nullptr;
    NTSTATUS result = NtCreateFile(&file, access | SYNCHRONIZE, &objectAttributes, &status, nullptr, attributes, sharing,
                                   create ? FILE_CREATE : FILE_OPEN,
                                   FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(result)) {
        SetLastError(ErrorOf(result));
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

bool FileRenameIntoFolder(HANDLE file, HANDLE folder, const std::string& name, bool replace)
{
    static const auto setInformation = reinterpret_cast<SetInformationFile>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtSetInformationFile")));
    std::wstring wide = WideFromAnsi(name);
    if (!setInformation || wide.empty() || !folder) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    std::vector<char> buffer(sizeof(RenameInformation) + wide.size() * sizeof(WCHAR), 0);
    RenameInformation* info = reinterpret_cast<RenameInformation*>(buffer.data());
    info->replaceIfExists = replace ? TRUE : FALSE;
    info->rootDirectory = folder;
    info->fileNameLength = static_cast<ULONG>(wide.size() * sizeof(WCHAR));
    wide.copy(info->fileName, wide.size());
    IO_STATUS_BLOCK status = {};
    NTSTATUS result = setInformation(file, &status, info, static_cast<ULONG>(buffer.size()), FileRenameInformationClass);
    if (!NT_SUCCESS(result)) {
        SetLastError(ErrorOf(result));
        return false;
    }
    return true;
}
