// The main window as one object: its controls and their fonts, the module
// list, the current project and its module table, and the help viewer. The
// object lives from WM_NCCREATE to WM_NCDESTROY and is reached through the
// window's user data. Its controls and message handlers are in
// main_window.cpp, its commands in main_window_commands.cpp.
#pragma once

#include "analysis/run/outputs.h"
#include "project/model/module_table.h"
#include "project/text/reporter.h"
#include "ui/html_help.h"
#include "ui/module_list_view.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace kolvane::ui {

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The core's messages in the window: its boxes without an owner, as the
// window's one unowned box; its trace lines on standard output, seen only
// where that is redirected.
class WindowReporter final : public Reporter {
public:
    void Message(std::string_view text, std::string_view caption) override;
    void Trace(std::string_view line) override;
};

class MainWindow {
public:
    MainWindow(HWND window, HINSTANCE instance);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The object of a main window; null for any other window, and before
    // WM_NCCREATE and after WM_NCDESTROY.
    static MainWindow* From(HWND window);

    // Messages (main_window.cpp).
    void OnCreate();
    void OnDestroy();
    void OnHeaderClick();
    void OnCommand(int id);

    // Commands (main_window_commands.cpp).
    void OpenProject();
    // Takes the first dropped file when its name ends in ".vbp" in any case.
    // Releases the drop handle.
    void DropFiles(HDROP drop);
    void RunAnalysis();
    void ShowHelp();
    void ShowVersion();
    void Exit();
    // Loads the project named in a command-line tail, if it names something
    // that exists.
    void LoadCommandLineProject(std::string_view tail);

    // The project file whose modules the table holds (after a failed load,
    // the file that could not be read; the table is empty then).
    const std::string& CurrentProjectPath() const { return currentProjectPath_; }
    const ModuleTable& CurrentTable() const { return table_; }
    ModuleListView& ModuleList() { return moduleList_; }

private:
    struct FontDeleter {
        void operator()(HFONT font) const { DeleteObject(font); }
    };
    using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

    struct Control {
        HWND window = nullptr;
        Font font;
    };
    struct ControlRow;
    static const ControlRow kControls[];

    bool CreateControl(const ControlRow& row);
    void DestroyControls();
    void SetPathLabel(std::string_view text);
    // The analysis the radio buttons choose: the first button when it is
    // checked, else the second when it is checked, else the third.
    AnalysisId ChosenAnalysis() const;

    // The two places where the window meets the core.
    bool ReadProject();
    bool WriteReport(AnalysisId analysis, const std::string& reportPath);

    bool LoadCurrentProject();
    bool LoadChosenProject(std::string path);

    HWND window_;
    HINSTANCE instance_;
    ModuleListView moduleList_;
    Control pathLabel_;
    Control groupBox_;
    Control stepCountRadio_;
    Control procedureListRadio_;
    Control apiListRadio_;
    Control runButton_;
    Control exitButton_;
    std::string currentProjectPath_;
    ModuleTable table_;
    HtmlHelp htmlHelp_;
    WindowReporter coreReporter_;
};

}  // namespace kolvane::ui
