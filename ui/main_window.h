// The main window: its procedure, its controls and their fonts.
#pragma once

#include "analysis/analyses.h"

#include <windows.h>

#include <string_view>

namespace kolvane::ui {

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The instance read from the main window when it was created.
HINSTANCE MainInstance();

// Sets the text of the path label (nothing when the label is missing).
void SetPathLabel(std::string_view text);

// The analysis the radio buttons choose: the first button when it is
// checked, else the second when it is checked, else the third.
AnalysisKind ChosenAnalysis();

}  // namespace kolvane::ui
