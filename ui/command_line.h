// The project named on Kolvane.exe's command line: the part of loading it
// that needs no window (see MainWindow::LoadCommandLineProject).
#pragma once

#include <string>
#include <string_view>

namespace kolvane::ui {

// The project name in a command-line tail: the text between the quotation
// marks when the tail begins with one, else the first word; empty when it
// would be longer than a Windows path may be.
std::string CommandLineProjectName(std::string_view tail);

}  // namespace kolvane::ui
