#include "ui/commands.h"

#include "analysis/analyses.h"
#include "project/module_table.h"
#include "project/project_reader.h"
#include "project/source_file.h"
#include "ui/main_window.h"
#include "ui/module_list_view.h"
#include "ui/owned_message_box.h"
#include "ui/ui_texts.h"

#include <commdlg.h>

#include <array>
#include <cstddef>
#include <memory>
#include <type_traits>

namespace kolvane::ui {
namespace {

constexpr std::size_t kMaxPathLength = MAX_PATH;  // the ANSI file functions' limit
constexpr std::size_t kMaxNameLength = 260;  // a command-line name longer than this is not looked for
constexpr std::size_t kFileTitleSize = 64;
constexpr std::string_view kExtension = text::kProjectExtension;

// The dialog is given the structure in its older, 76-byte form (on 32-bit
// Windows; pointers make it larger on 64-bit).
static_assert(sizeof(void*) != 4 || offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76);

struct CommandState {
    std::string currentProjectPath;
};
CommandState state;

struct DropRelease {
    void operator()(HDROP drop) const { DragFinish(drop); }
};
using DropHandle = std::unique_ptr<std::remove_pointer_t<HDROP>, DropRelease>;

std::string CurrentDirectory()
{
    std::string folder(GetCurrentDirectoryA(0, nullptr), '\0');
    folder.resize(GetCurrentDirectoryA(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

// The 8.3 form of the path; empty when the system has none.
std::string ShortPath(const std::string& path)
{
    std::string shortPath(GetShortPathNameA(path.c_str(), nullptr, 0), '\0');
    if (shortPath.empty()) return shortPath;
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    shortPath.resize(length < shortPath.size() ? length : 0);
    return shortPath;
}

// Reads the current project into the ModuleTable and shows it. A failed
// load leaves the table empty, so Run never acts on an earlier project.
bool LoadCurrentProject(HWND mainWindow)
{
    if (LoadProject(state.currentProjectPath) == 0) {
        ClearModuleTable();
        ShowOwnedMessage(mainWindow, text::kLoadFailed, text::kOopsCaption);
        return false;
    }
    module_list::Fill();
    return true;
}

// Open and Drop: the chosen file becomes the current project, the label
// shows its short form, and the list is filled anew.
bool LoadChosenProject(HWND mainWindow, std::string path)
{
    state.currentProjectPath = std::move(path);
    module_list::DeleteAll();
    SetPathLabel(std::string(text::kChosenFilePrefix) + ShortPath(state.currentProjectPath));
    return LoadCurrentProject(mainWindow);
}

bool HasProjectExtension(const std::string& name)
{
    if (name.size() < kExtension.size()) return false;
    std::string ending = name.substr(name.size() - kExtension.size());
    CharUpperBuffA(ending.data(), static_cast<DWORD>(ending.size()));
    return ending == kExtension;
}

INT_PTR CALLBACK VersionDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    // Esc arrives as IDCANCEL and is not handled: the dialog stays open.
    if ((message == WM_COMMAND && LOWORD(wParam) == IDOK) || message == WM_CLOSE) EndDialog(dialog, 1);
    return FALSE;
}

}  // namespace

void OpenProject(HWND mainWindow)
{
    std::array<char, kMaxPathLength> fileName{};
    std::array<char, kFileTitleSize> fileTitle{};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFilter = text::kOpenFilter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.lpstrFileTitle = fileTitle.data();
    dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
    dialog.lpstrTitle = text::kOpenTitle;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = text::kOpenDefaultExtension;
    // A cancelled dialog keeps the project that is loaded.
    if (!GetOpenFileNameA(&dialog)) return;

    InvalidateRect(mainWindow, nullptr, TRUE);
    LoadChosenProject(mainWindow, fileName.data());
}

void DropFiles(HWND mainWindow, HDROP drop)
{
    const DropHandle release(drop);
    std::string name(DragQueryFileA(drop, 0, nullptr, 0), '\0');
    DragQueryFileA(drop, 0, name.data(), static_cast<UINT>(name.size() + 1));

    // A refused file keeps the project that is loaded.
    if (!HasProjectExtension(name)) {
        ShowOwnedMessage(mainWindow, text::kNotAProject, text::kDropCaption);
        return;
    }
    if (LoadChosenProject(mainWindow, std::move(name))) SetActiveWindow(mainWindow);
}

void RunAnalysis(HWND mainWindow)
{
    if (ModuleCount == 0) {
        ShowOwnedMessage(mainWindow, text::kNoProject, text::kHuhCaption);
        return;
    }
    const HCURSOR keptCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));

    const Analysis& analysis = AnalysisFor(ChosenAnalysis());
    const std::string reportPath =
        CurrentDirectory() + '\\' + ReportFileName(state.currentProjectPath, analysis);
    const bool written = analysis.writer(ModuleTable, ModuleCount, state.currentProjectPath, reportPath) != 0;
    if (written) {
        ShowOwnedMessage(mainWindow, text::kFinished, text::kDoneCaption);
    } else {
        ShowOwnedMessage(mainWindow, analysis.failureText, text::kErrorCaption);
    }
    SetCursor(keptCursor);
}

void ShowHelp(HWND mainWindow)
{
    WinHelpA(mainWindow, text::kHelpFile, HELP_CONTENTS, 0);
}

void ShowVersion(HWND mainWindow)
{
    DialogBoxParamA(MainInstance(), text::kVersionDialogName, mainWindow, &VersionDialogProcedure, 0);
}

void ExitProgram(HWND mainWindow)
{
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
}

std::string CommandLineProjectName(std::string_view tail)
{
    std::string_view name;
    if (!tail.empty() && tail.front() == '"') {
        tail.remove_prefix(1);
        name = tail.substr(0, tail.find('"'));
    } else {
        name = tail.substr(0, tail.find(' '));
    }
    if (name.size() > kMaxNameLength) return {};
    return std::string(name);
}

void LoadCommandLineProject(HWND mainWindow, std::string_view tail)
{
    if (tail.empty()) return;
    std::string name = CommandLineProjectName(tail);
    if (name.empty() || !FileExists(name)) return;
    // The label shows the name as typed, without the prefix of Open and Drop.
    SetPathLabel(name);
    state.currentProjectPath = std::move(name);
    LoadCurrentProject(mainWindow);
}

const std::string& CurrentProjectPath()
{
    return state.currentProjectPath;
}

}  // namespace kolvane::ui
