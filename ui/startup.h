// Start-up of the Windows program: one running copy, the main window class,
// the main window, the command-line project and the message loop.
#pragma once

#include <windows.h>

namespace kolvane::ui {

// The program's main function; the tail is the command line without the
// program's name. Returns the exit code.
int KolvaneMain(HINSTANCE instance, HINSTANCE previousInstance, const char* commandTail, int showState);

// Registers the class KOLVANE; 0 on failure.
ATOM RegisterMainWindowClass(HINSTANCE instance);

// Creates and shows the main window; null on failure.
HWND CreateMainWindow(HINSTANCE instance, int showState);

// Runs the loop until WM_QUIT, offering every message to the accelerators
// first; returns the quit message's exit code.
int RunMessageLoop(HWND mainWindow, HACCEL accelerators);

}  // namespace kolvane::ui
