// The two-column list of the loaded project's modules (path, kind), one row
// per ModuleEntry of the ModuleTable. Every operation does nothing while the
// control does not exist.
#pragma once

#include <windows.h>

namespace kolvane::ui::module_list {

// Creates the list in the main window; false when the control could not be
// made.
bool Create(HWND parent, HINSTANCE instance);

// Adds one row per ModuleEntry, in table order, without emptying first.
void Fill();
void DeleteAll();

// The number of selected rows, or -1 when there is no list.
int SelectedCount();
// Selects every row (or clears every selection) and focuses the list.
void SetAllSelected(bool selected);
void Focus();

// Puts the list's own window procedure back and destroys the control.
void Destroy();

// A click on a column heading, from the main window's WM_NOTIFY: selects
// every row when none is selected, clears the selection otherwise.
void OnHeaderClick(HWND mainWindow);

HWND Handle();

}  // namespace kolvane::ui::module_list
