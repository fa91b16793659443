#include "ui/module_list_view.h"

#include "project/module_table.h"
#include "ui/owned_message_box.h"
#include "ui/resource.h"
#include "ui/ui_texts.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace kolvane::ui::module_list {
namespace {

constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | LVS_REPORT |
                         LVS_SHOWSELALWAYS;
constexpr RECT kBounds = {10, 30, 10 + 360, 30 + 180};
constexpr std::size_t kShownPathLength = 255;

struct Column {
    const char* heading;
    int width;
    int format;
};
constexpr Column kColumns[] = {
    {text::kFileNameColumn, 280, LVCFMT_LEFT},
    {text::kKindColumn, 60, LVCFMT_CENTER},
};

struct ListState {
    HWND window = nullptr;
    WNDPROC savedProcedure = nullptr;
};
ListState state;

LRESULT CALLBACK ForwardingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(state.savedProcedure, window, message, wParam, lParam);
}

void InsertColumns()
{
    for (int index = 0; index < static_cast<int>(std::size(kColumns)); ++index) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[index].format;
        column.cx = kColumns[index].width;
        column.pszText = const_cast<char*>(kColumns[index].heading);
        column.iSubItem = index;
        SendMessageA(state.window, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
    }
}

void Subclass()
{
    state.savedProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(state.window, GWLP_WNDPROC));
    SetWindowLongPtrA(state.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForwardingProcedure));
}

void AddRow(int index, const ModuleEntry& entry)
{
    std::string kind(entry.kind, kKindLength);
    const char* pathEnd = std::find(entry.path, entry.path + sizeof entry.path, '\0');
    std::string path(entry.path, std::min<std::size_t>(pathEnd - entry.path, kShownPathLength));

    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = 0;
    item.pszText = path.data();
    SendMessageA(state.window, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    item.iSubItem = 1;
    item.pszText = kind.data();
    SendMessageA(state.window, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

bool Create(HWND parent, HINSTANCE instance)
{
    InitCommonControls();
    state.window = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", kStyle, kBounds.left, kBounds.top,
                                   kBounds.right - kBounds.left, kBounds.bottom - kBounds.top, parent,
                                   reinterpret_cast<HMENU>(IDC_MODULE_LIST), instance, nullptr);
    if (state.window == nullptr) return false;

    const auto extended = static_cast<DWORD>(SendMessageA(state.window, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    SendMessageA(state.window, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 extended | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    InsertColumns();
    Subclass();
    return true;
}

void Fill()
{
    if (state.window == nullptr) return;
    // The count is read again for every row.
    for (int index = 0; index < ModuleCount && index < kModuleCapacity; ++index) {
        AddRow(index, ModuleTable[index]);
    }
}

void DeleteAll()
{
    if (state.window == nullptr) return;
    SendMessageA(state.window, LVM_DELETEALLITEMS, 0, 0);
}

int SelectedCount()
{
    if (state.window == nullptr) return -1;
    return static_cast<int>(SendMessageA(state.window, LVM_GETSELECTEDCOUNT, 0, 0));
}

void SetAllSelected(bool selected)
{
    if (state.window == nullptr) return;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(state.window, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    Focus();
}

void Focus()
{
    if (state.window == nullptr) return;
    SetFocus(state.window);
}

void Destroy()
{
    if (state.window == nullptr) return;
    SetWindowLongPtrA(state.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state.savedProcedure));
    DestroyWindow(state.window);
    state = ListState{};
}

void OnHeaderClick(HWND mainWindow)
{
    const int selected = SelectedCount();
    if (selected == -1) {
        ShowOwnedMessage(mainWindow, text::kItemCountFailed, text::kErrorCaption);
        return;
    }
    SetAllSelected(selected == 0);
}

HWND Handle()
{
    return state.window;
}

}  // namespace kolvane::ui::module_list
