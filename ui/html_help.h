// The HTML Help viewer, taken from hhctrl.ocx when help is first asked for,
// so that Kolvane.exe imports nothing that an older Windows lacks.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace kolvane::ui {

class HtmlHelp {
public:
    // Shows the contents topic of the help file; false when the viewer
    // cannot be loaded or shows no window.
    bool ShowContents(HWND owner, const std::string& helpFile);
    // Closes every window of the viewer; nothing when it was never loaded.
    void CloseAll();

private:
    struct LibraryRelease {
        void operator()(HMODULE library) const { FreeLibrary(library); }
    };
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

    std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryRelease> library_;
    HtmlHelpFunction htmlHelp_ = nullptr;
};

// The path of the help file beside the running program.
std::string HtmlHelpFileBesideProgram();

}  // namespace kolvane::ui
