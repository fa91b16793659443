// The commands of the main window: open or drop a project, run the chosen
// analysis, open the help file, show the version dialog and exit; and the
// loading of a project named on the command line.
#include "ui/command_line.h"

#include "analysis/run/session.h"
#include "project/text/messages.h"
#include "project/model/module_table.h"
#include "project/model/project_reader.h"
#include "project/text/source_file.h"
#include "ui/main_window.h"
#include "ui/owned_message_box.h"
#include "ui/resource.h"
#include "ui/ui_texts.h"
#include "ui/version.h"

#include <commdlg.h>

#include <array>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

namespace kolvane::ui {
namespace {

constexpr std::size_t kMaxPathLength = MAX_PATH;  // the ANSI file functions' limit
constexpr std::size_t kMaxNameLength = 260;  // a command-line name longer than this is not looked for
constexpr std::size_t kFileTitleSize = 64;
constexpr std::string_view kExtension = text::kProjectExtension;
constexpr char kVersionLine[] = "Kolvane " KOLVANE_VERSION_TEXT;

// The dialog is given the structure in its older, 76-byte form (on 32-bit
// Windows; pointers make it larger on 64-bit).
static_assert(sizeof(void*) != 4 || offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76);

struct DropRelease {
    void operator()(HDROP drop) const { DragFinish(drop); }
};
using DropHandle = std::unique_ptr<std::remove_pointer_t<HDROP>, DropRelease>;

// The wait cursor while it lives; the cursor it replaced afterwards.
class WaitCursor {
public:
    WaitCursor() : kept_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(kept_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR kept_;
};

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

bool HasProjectExtension(const std::string& name)
{
    if (name.size() < kExtension.size()) return false;
    std::string ending = name.substr(name.size() - kExtension.size());
    CharUpperBuffA(ending.data(), static_cast<DWORD>(ending.size()));
    return ending == kExtension;
}

// What the window shows for each outcome: the box's text and caption.
enum class Outcome { LoadFailed, NoProject, Finished, AnalysisFailed };

struct OutcomeBox {
    Outcome outcome;
    const char* text;  // null: the analysis' failure text
    const char* caption;
};

constexpr OutcomeBox kOutcomeBoxes[] = {
    {Outcome::LoadFailed, message::kLoadFailed, message::kOopsCaption},
    {Outcome::NoProject, message::kNoProject, message::kNoProjectCaption},
    {Outcome::Finished, message::kFinished, message::kFinishedCaption},
    {Outcome::AnalysisFailed, nullptr, message::kErrorCaption},
};

// Shows the outcome's box, owned by the window.
void ShowOutcome(HWND window, Outcome outcome, std::string_view failureText = {})
{
    for (const OutcomeBox& box : kOutcomeBoxes) {
        if (box.outcome == outcome) {
            ShowOwnedMessage(window, box.text != nullptr ? std::string_view(box.text) : failureText, box.caption);
        }
    }
}

INT_PTR CALLBACK VersionDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    // The product name line carries the version of the VERSIONINFO resource.
    if (message == WM_INITDIALOG) SetDlgItemTextA(dialog, IDC_PRODUCT_NAME, kVersionLine);
    // Esc arrives as IDCANCEL and is not handled: the dialog stays open.
    if ((message == WM_COMMAND && LOWORD(wParam) == IDOK) || message == WM_CLOSE) EndDialog(dialog, 1);
    return FALSE;
}

}  // namespace

// Reads the current project into the window's module table; a failed load
// leaves it empty.
bool MainWindow::ReadProject()
{
    ProjectLoad load = LoadProject(currentProjectPath_, coreReporter_);
    table_ = std::move(load.table);
    return load.Loaded();
}

// Writes the analysis' report of the loaded project; a failed allocation
// is told as the step count tells it.
bool MainWindow::WriteReport(AnalysisId analysis, const std::string& reportPath)
{
    try {
        bool written = false;
        RunChoice choice;
        choice.analyses = {analysis};
        choice.reportPath = reportPath;
        RunProjectTable(currentProjectPath_, table_, choice, coreReporter_,
                        [&written](const OutputDone& done) { written = done.written; });
        return written;
    } catch (const std::bad_alloc&) {
        ShowUnownedMessage(text::kMemoryError, text::kErrorCaption);
        return false;
    }
}

// Shows the current project's modules. A failed load leaves the table empty,
// so Run never acts on an earlier project.
bool MainWindow::LoadCurrentProject()
{
    if (!ReadProject()) {
        ShowOutcome(window_, Outcome::LoadFailed);
        return false;
    }
    moduleList_.Fill(table_);
    return true;
}

// Open and Drop: the chosen file becomes the current project, the label
// shows its short form, and the list is filled anew.
bool MainWindow::LoadChosenProject(std::string path)
{
    currentProjectPath_ = std::move(path);
    moduleList_.DeleteAll();
    SetPathLabel(std::string(text::kChosenFilePrefix) + ShortPath(currentProjectPath_));
    return LoadCurrentProject();
}

void MainWindow::OpenProject()
{
    std::array<char, kMaxPathLength> fileName{};
    std::array<char, kFileTitleSize> fileTitle{};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = window_;
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

    InvalidateRect(window_, nullptr, TRUE);
    LoadChosenProject(fileName.data());
}

void MainWindow::DropFiles(HDROP drop)
{
    const DropHandle release(drop);
    std::string name(DragQueryFileA(drop, 0, nullptr, 0), '\0');
    DragQueryFileA(drop, 0, name.data(), static_cast<UINT>(name.size() + 1));

    // A refused file keeps the project that is loaded.
    if (!HasProjectExtension(name)) {
        ShowOwnedMessage(window_, text::kNotAProject, text::kDropCaption);
        return;
    }
    if (LoadChosenProject(std::move(name))) SetActiveWindow(window_);
}

void MainWindow::RunAnalysis()
{
    if (table_.empty()) {
        ShowOutcome(window_, Outcome::NoProject);
        return;
    }
    const WaitCursor waiting;
    const AnalysisRow& analysis = RowOf(ChosenAnalysis());
    const std::string reportPath = CurrentDirectory() + '\\' + ReportFileName(currentProjectPath_, analysis.textSuffix);
    if (WriteReport(analysis.id, reportPath)) {
        ShowOutcome(window_, Outcome::Finished);
    } else {
        ShowOutcome(window_, Outcome::AnalysisFailed, analysis.failureText);
    }
}

// HTML Help shows Kolvane.chm from beside the program; without it, Windows
// Help is asked for the old help file as before.
void MainWindow::ShowHelp()
{
    const std::string helpFile = HtmlHelpFileBesideProgram();
    if (FileExists(helpFile) && htmlHelp_.ShowContents(window_, helpFile)) return;
    WinHelpA(window_, text::kHelpFile, HELP_CONTENTS, 0);
}

void MainWindow::ShowVersion()
{
    DialogBoxParamA(instance_, text::kVersionDialogName, window_, &VersionDialogProcedure, 0);
}

void MainWindow::Exit()
{
    SendMessageA(window_, WM_CLOSE, 0, 0);
}

void MainWindow::LoadCommandLineProject(std::string_view tail)
{
    if (tail.empty()) return;
    std::string name = CommandLineProjectName(tail);
    if (name.empty() || !FileExists(name)) return;
    // The label shows the name as typed, without the prefix of Open and Drop.
    SetPathLabel(name);
    currentProjectPath_ = std::move(name);
    LoadCurrentProject();
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

}  // namespace kolvane::ui
