#include "ui/main_window.h"

#include "ui/commands.h"
#include "ui/module_list_view.h"
#include "ui/owned_message_box.h"
#include "ui/resource.h"
#include "ui/ui_texts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>
#include <string>
#include <type_traits>

namespace kolvane::ui {
namespace {

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

struct Control {
    HWND window = nullptr;
    Font font;
};

// Everything the single main window owns besides the module list.
struct MainWindowState {
    HINSTANCE instance = nullptr;
    Control pathLabel;
    Control groupBox;
    Control stepCountRadio;
    Control procedureListRadio;
    Control apiListRadio;
    Control runButton;
    Control exitButton;
};
MainWindowState state;

enum class Parent { MainWindow, GroupBox };

struct ControlRow {
    Control MainWindowState::*slot;
    const char* className;
    const char* text;  // the path label is created empty and given this text afterwards
    DWORD style;
    RECT bounds;  // left, top, right, bottom in the parent's client area
    Parent parent;
    int id;
    const char* failureText;
};

constexpr DWORD kRadioStyle = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr DWORD kPushStyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;

// The controls after the module list, in the order they are made.
constexpr ControlRow kControls[] = {
    {&MainWindowState::pathLabel, "STATIC", text::kPathLabel, WS_CHILD | WS_VISIBLE | SS_LEFT,
     {10, 6, 10 + 560, 6 + 14}, Parent::MainWindow, 0, text::kLabelFailed},
    {&MainWindowState::groupBox, "BUTTON", text::kAnalysisGroup, WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
     {380, 28, 380 + 170, 28 + 102}, Parent::MainWindow, 0, text::kGroupFailed},
    {&MainWindowState::stepCountRadio, "BUTTON", text::kStepCountRadio, kRadioStyle, {20, 16, 20 + 130, 16 + 30},
     Parent::GroupBox, 0, text::kRadio1Failed},
    {&MainWindowState::procedureListRadio, "BUTTON", text::kProcedureListRadio, kRadioStyle,
     {20, 41, 20 + 130, 41 + 30}, Parent::GroupBox, 0, text::kRadio2Failed},
    {&MainWindowState::runButton, "BUTTON", text::kRunButton, kPushStyle, {380, 180, 380 + 85, 180 + 30},
     Parent::MainWindow, IDC_RUN, text::kRunButtonFailed},
    {&MainWindowState::exitButton, "BUTTON", text::kExitButton, kPushStyle, {465, 180, 465 + 85, 180 + 30},
     Parent::MainWindow, IDC_EXIT_BUTTON, text::kExitButtonFailed},
    {&MainWindowState::apiListRadio, "BUTTON", text::kApiListRadio, kRadioStyle, {20, 64, 20 + 130, 64 + 30},
     Parent::GroupBox, 0, text::kRadio3Failed},
};

Font CreateControlFont()
{
    return Font(CreateFontA(12, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                            text::kControlFontFace));
}

bool CreateControl(const ControlRow& row, HWND mainWindow)
{
    const HWND parent = row.parent == Parent::GroupBox ? state.groupBox.window : mainWindow;
    const bool isLabel = row.slot == &MainWindowState::pathLabel;
    Control& control = state.*row.slot;

    control.window = CreateWindowExA(0, row.className, isLabel ? "" : row.text, row.style, row.bounds.left,
                                     row.bounds.top, row.bounds.right - row.bounds.left,
                                     row.bounds.bottom - row.bounds.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), state.instance, nullptr);
    if (control.window == nullptr) {
        if (isLabel) {
            ShowUnownedMessage(row.failureText, text::kOopsCaption);
        } else {
            ShowOwnedMessage(parent, row.failureText, text::kOopsCaption);
        }
        return false;
    }
    if (isLabel) SetWindowTextA(control.window, row.text);

    control.font = CreateControlFont();
    if (!control.font) {
        ShowOwnedMessage(parent, text::kFontFailed, text::kOopsCaption);
        return false;
    }
    SendMessageA(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(control.font.get()), TRUE);
    return true;
}

// --- messages ---

BOOL OnCreate(HWND window, LPCREATESTRUCTA)
{
    state.instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    if (!module_list::Create(window, state.instance)) {
        ShowOwnedMessage(window, text::kListViewFailed, text::kOopsCaption);
        return TRUE;
    }
    for (const ControlRow& row : kControls) {
        if (!CreateControl(row, window)) break;
        // The step count is the analysis chosen at start.
        if (row.slot == &MainWindowState::procedureListRadio) {
            Button_SetCheck(state.stepCountRadio.window, BST_CHECKED);
        }
    }
    return TRUE;  // the window comes up whatever failed
}

void DestroyControl(Control& control)
{
    if (control.window != nullptr) DestroyWindow(control.window);
    control.window = nullptr;
}

void OnClose(HWND window)
{
    module_list::Destroy();
    DestroyControl(state.pathLabel);
    state.pathLabel.font.reset();
    // The group box takes its radio buttons with it.
    DestroyControl(state.groupBox);
    state.stepCountRadio.window = state.procedureListRadio.window = state.apiListRadio.window = nullptr;
    state.groupBox.font.reset();
    state.stepCountRadio.font.reset();
    state.procedureListRadio.font.reset();
    state.apiListRadio.font.reset();
    DestroyControl(state.runButton);
    DestroyControl(state.exitButton);
    state.runButton.font.reset();
    state.exitButton.font.reset();
    WinHelpA(window, text::kHelpFile, HELP_QUIT, 0);
    DestroyWindow(window);
}

void OnDestroy(HWND)
{
    PostQuitMessage(0);
}

LRESULT OnNotify(HWND window, int, NMHDR* header)
{
    if (header->code == static_cast<UINT>(HDN_ITEMCLICKA)) module_list::OnHeaderClick(window);
    return 0;
}

// Buttons, menu entries and accelerators act alike: only the id counts.
void OnCommand(HWND window, int id, HWND, UINT)
{
    switch (id) {
    case IDC_RUN:
        RunAnalysis(window);
        break;
    case IDC_EXIT_BUTTON:
    case IDM_EXIT:
        ExitProgram(window);
        break;
    case IDM_OPEN:
        OpenProject(window);
        break;
    case IDM_HELP:
        ShowHelp(window);
        break;
    case IDM_VERSION:
        ShowVersion(window);
        break;
    default:
        break;
    }
}

void OnDropFiles(HWND window, HDROP drop)
{
    DropFiles(window, drop);
}

}  // namespace

LRESULT CALLBACK MainWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        HANDLE_MSG(hwnd, WM_NOTIFY, OnNotify);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_DROPFILES, OnDropFiles);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

HINSTANCE MainInstance()
{
    return state.instance;
}

void SetPathLabel(std::string_view labelText)
{
    if (state.pathLabel.window == nullptr) return;
    const std::string textZ(labelText);
    SetWindowTextA(state.pathLabel.window, textZ.c_str());
}

AnalysisKind ChosenAnalysis()
{
    if (Button_GetCheck(state.stepCountRadio.window) == BST_CHECKED) return AnalysisKind::StepCount;
    if (Button_GetCheck(state.procedureListRadio.window) == BST_CHECKED) return AnalysisKind::ProcedureList;
    return AnalysisKind::ApiList;
}

}  // namespace kolvane::ui
