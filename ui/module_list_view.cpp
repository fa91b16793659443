#include "ui/module_list_view.h"

#include "ui/resource.h"
#include "ui/ui_texts.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace kolvane::ui {
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

}  // namespace

// The list is subclassed with a procedure that hands every message to the
// list's own; the object is found through the list's user data.
LRESULT CALLBACK ModuleListView::ForwardingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* list = reinterpret_cast<const ModuleListView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (list == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(list->savedProcedure_, window, message, wParam, lParam);
}

void ModuleListView::InsertColumns()
{
    for (int index = 0; index < static_cast<int>(std::size(kColumns)); ++index) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[index].format;
        column.cx = kColumns[index].width;
        column.pszText = const_cast<char*>(kColumns[index].heading);
        column.iSubItem = index;
        SendMessageA(window_, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
    }
}

void ModuleListView::AddRow(int index, const ModuleEntry& entry)
{
    std::string kind(entry.kind, kKindLength);
    const char* pathEnd = std::find(entry.path, entry.path + sizeof entry.path, '\0');
    std::string path(entry.path, std::min<std::size_t>(pathEnd - entry.path, kShownPathLength));

    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = 0;
    item.pszText = path.data();
    SendMessageA(window_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    item.iSubItem = 1;
    item.pszText = kind.data();
    SendMessageA(window_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

bool ModuleListView::Create(HWND parent, HINSTANCE instance)
{
    InitCommonControls();
    window_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", kStyle, kBounds.left, kBounds.top,
                              kBounds.right - kBounds.left, kBounds.bottom - kBounds.top, parent,
                              reinterpret_cast<HMENU>(IDC_MODULE_LIST), instance, nullptr);
    if (window_ == nullptr) return false;

    const auto extended = static_cast<DWORD>(SendMessageA(window_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    SendMessageA(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    InsertColumns();
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    savedProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForwardingProcedure)));
    return true;
}

void ModuleListView::Destroy()
{
    if (window_ == nullptr) return;
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProcedure_));
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
    savedProcedure_ = nullptr;
}

void ModuleListView::Fill(const ModuleTable& table)
{
    if (window_ == nullptr) return;
    for (std::size_t index = 0; index < table.size() && index < kModuleCapacity; ++index) {
        AddRow(static_cast<int>(index), table[index]);
    }
}

void ModuleListView::DeleteAll()
{
    if (window_ == nullptr) return;
    SendMessageA(window_, LVM_DELETEALLITEMS, 0, 0);
}

int ModuleListView::SelectedCount() const
{
    if (window_ == nullptr) return -1;
    return static_cast<int>(SendMessageA(window_, LVM_GETSELECTEDCOUNT, 0, 0));
}

void ModuleListView::SetAllSelected(bool selected)
{
    if (window_ == nullptr) return;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    Focus();
}

void ModuleListView::Focus()
{
    if (window_ == nullptr) return;
    SetFocus(window_);
}

}  // namespace kolvane::ui
