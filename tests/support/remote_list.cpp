#include "support/remote_list.h"

#include <commctrl.h>

namespace {

class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool ok() const { return address_ != nullptr; }
    char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool write(size_t offset, const void* data, size_t length) const
    {
        return WriteProcessMemory(process_, at(offset), data, length, nullptr);
    }
    bool read(size_t offset, void* data, size_t length) const
    {
        return ReadProcessMemory(process_, at(offset), data, length, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

const size_t TextOffset = 512;
const int TextCapacity = 8192;

std::string CellText(HWND list, const RemoteBuffer& buffer, int row, int column)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.at(TextOffset);
    item.cchTextMax = TextCapacity;
    buffer.write(0, &item, sizeof(item));
    LRESULT length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(buffer.at(0)));
    std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        buffer.read(TextOffset, &text[0], text.size());
    return text;
}

int ColumnCount(HWND list)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

std::vector<std::string> RowCells(HWND list, const RemoteBuffer& buffer, int columns, int row)
{
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column)
        cells.push_back(CellText(list, buffer, row, column));
    return cells;
}

}  // namespace

std::vector<std::vector<std::string>> RemoteListRows(HWND list)
{
    std::vector<std::vector<std::string>> rows;
    RemoteBuffer buffer(list, TextOffset + TextCapacity);
    if (!buffer.ok())
        return rows;
    int columns = ColumnCount(list);
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        rows.push_back(RowCells(list, buffer, columns, row));
    return rows;
}

std::vector<std::string> RemoteListRow(HWND list, int row)
{
    RemoteBuffer buffer(list, TextOffset + TextCapacity);
    if (!buffer.ok())
        return {};
    return RowCells(list, buffer, ColumnCount(list), row);
}

bool RemoteItemRect(HWND control, UINT message, int item, RECT* rect)
{
    // A list box's message is one the system itself carries between
    // processes: it takes a rectangle of the asking process and fills it.
    if (message == LB_GETITEMRECT)
        return SendMessageA(control, message, item, reinterpret_cast<LPARAM>(rect)) != LB_ERR;
    RemoteBuffer buffer(control, sizeof(RECT));
    if (!buffer.ok())
        return false;
    // List views read which part of the row to measure from the rectangle.
    RECT request = {LVIR_BOUNDS, 0, 0, 0};
    buffer.write(0, &request, sizeof(request));
    LRESULT answer = SendMessageA(control, message, item, reinterpret_cast<LPARAM>(buffer.at(0)));
    if (answer == 0)
        return false;
    return buffer.read(0, rect, sizeof(*rect));
}

LRESULT RemoteSendText(HWND window, UINT message, WPARAM wParam, const std::string& text)
{
    RemoteBuffer buffer(window, text.size() + 1);
    if (!buffer.ok() || !buffer.write(0, text.c_str(), text.size() + 1))
        return 0;
    return SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(buffer.at(0)));
}
