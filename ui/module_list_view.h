// The two-column list of the loaded project's modules (path, kind), one row
// per ModuleEntry of its module table. Every operation does nothing while
// the control does not exist.
#pragma once

#include "project/model/module_table.h"

#include <windows.h>

namespace kolvane::ui {

class ModuleListView {
public:
    ModuleListView() = default;
    ModuleListView(const ModuleListView&) = delete;
    ModuleListView& operator=(const ModuleListView&) = delete;
    ~ModuleListView() { Destroy(); }

    // Creates the list in the main window; false when the control could not
    // be made.
    bool Create(HWND parent, HINSTANCE instance);
    // Puts the list's own window procedure back and destroys the control.
    void Destroy();

    // Adds one row per ModuleEntry, in table order, without emptying first.
    void Fill(const ModuleTable& table);
    void DeleteAll();

    // The number of selected rows, or -1 when there is no list.
    int SelectedCount() const;
    // Selects every row (or clears every selection) and focuses the list.
    void SetAllSelected(bool selected);
    void Focus();

    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK ForwardingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void InsertColumns();
    void AddRow(int index, const ModuleEntry& entry);

    HWND window_ = nullptr;
    WNDPROC savedProcedure_ = nullptr;
};

}  // namespace kolvane::ui
