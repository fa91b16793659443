// What the user can do in the main window: open or drop a project, run the
// chosen analysis, open the help file, show the version dialog and exit;
// and the loading of a project named on the command line.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

namespace kolvane::ui {

void OpenProject(HWND mainWindow);
// Takes the first dropped file when its name ends in ".vbp" in any case.
// Releases the drop handle.
void DropFiles(HWND mainWindow, HDROP drop);
void RunAnalysis(HWND mainWindow);
void ShowHelp(HWND mainWindow);
void ShowVersion(HWND mainWindow);
void ExitProgram(HWND mainWindow);

// The project name in a command-line tail: the text between the quotation
// marks when the tail begins with one, else the first word; empty when it
// would be longer than a Windows path may be.
std::string CommandLineProjectName(std::string_view tail);
// Loads the project named in the tail, if it names something that exists.
void LoadCommandLineProject(HWND mainWindow, std::string_view tail);

// The project file whose modules the ModuleTable holds (after a failed load,
// the file that could not be read; the table is empty then).
const std::string& CurrentProjectPath();

}  // namespace kolvane::ui
