#include "ui/main_window.h"

#include "ui/owned_message_box.h"
#include "ui/resource.h"
#include "ui/ui_texts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <exception>
#include <new>
#include <utility>

namespace kolvane::ui {

enum class Parent { MainWindow, GroupBox };

struct MainWindow::ControlRow {
    Control MainWindow::*slot;
    const char* className;
    const char* text;  // the path label is created empty and given this text afterwards
    DWORD style;
    RECT bounds;  // left, top, right, bottom in the parent's client area
    Parent parent;
    int id;
    const char* failureText;
};

namespace {

constexpr DWORD kRadioStyle = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr DWORD kPushStyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;

}  // namespace

// The controls after the module list, in the order they are made.
const MainWindow::ControlRow MainWindow::kControls[] = {
    {&MainWindow::pathLabel_, "STATIC", text::kPathLabel, WS_CHILD | WS_VISIBLE | SS_LEFT, {10, 6, 10 + 560, 6 + 14},
     Parent::MainWindow, 0, text::kLabelFailed},
    {&MainWindow::groupBox_, "BUTTON", text::kAnalysisGroup, WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
     {380, 28, 380 + 170, 28 + 102}, Parent::MainWindow, 0, text::kGroupFailed},
    {&MainWindow::stepCountRadio_, "BUTTON", text::kStepCountRadio, kRadioStyle, {20, 16, 20 + 130, 16 + 30},
     Parent::GroupBox, 0, text::kRadio1Failed},
    {&MainWindow::procedureListRadio_, "BUTTON", text::kProcedureListRadio, kRadioStyle, {20, 41, 20 + 130, 41 + 30},
     Parent::GroupBox, 0, text::kRadio2Failed},
    {&MainWindow::runButton_, "BUTTON", text::kRunButton, kPushStyle, {380, 180, 380 + 85, 180 + 30},
     Parent::MainWindow, IDC_RUN, text::kRunButtonFailed},
    {&MainWindow::exitButton_, "BUTTON", text::kExitButton, kPushStyle, {465, 180, 465 + 85, 180 + 30},
     Parent::MainWindow, IDC_EXIT_BUTTON, text::kExitButtonFailed},
    {&MainWindow::apiListRadio_, "BUTTON", text::kApiListRadio, kRadioStyle, {20, 64, 20 + 130, 64 + 30},
     Parent::GroupBox, 0, text::kRadio3Failed},
};

MainWindow::MainWindow(HWND window, HINSTANCE instance) : window_(window), instance_(instance) {}

MainWindow* MainWindow::From(HWND window)
{
    if (window == nullptr || !IsWindow(window)) return nullptr;
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, text::kClassName) != 0) return nullptr;
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool MainWindow::CreateControl(const ControlRow& row)
{
    const HWND parent = row.parent == Parent::GroupBox ? groupBox_.window : window_;
    const bool isLabel = row.slot == &MainWindow::pathLabel_;
    Control& control = this->*row.slot;

    control.window = CreateWindowExA(0, row.className, isLabel ? "" : row.text, row.style, row.bounds.left,
                                     row.bounds.top, row.bounds.right - row.bounds.left,
                                     row.bounds.bottom - row.bounds.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
    if (control.window == nullptr) {
        if (isLabel) {
            ShowUnownedMessage(row.failureText, text::kOopsCaption);
        } else {
            ShowOwnedMessage(parent, row.failureText, text::kOopsCaption);
        }
        return false;
    }
    if (isLabel) SetWindowTextA(control.window, row.text);

    control.font.reset(CreateFontA(12, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                   text::kControlFontFace));
    if (!control.font) {
        ShowOwnedMessage(parent, text::kFontFailed, text::kOopsCaption);
        return false;
    }
    SendMessageA(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(control.font.get()), TRUE);
    return true;
}

void MainWindow::OnCreate()
{
    if (!moduleList_.Create(window_, instance_)) {
        ShowOwnedMessage(window_, text::kListViewFailed, text::kOopsCaption);
        return;
    }
    for (const ControlRow& row : kControls) {
        if (!CreateControl(row)) break;
        // The step count is the analysis chosen at start.
        if (row.slot == &MainWindow::procedureListRadio_) Button_SetCheck(stepCountRadio_.window, BST_CHECKED);
    }
}

// Each control goes before its font; the group box takes its radio buttons
// with it.
void MainWindow::DestroyControls()
{
    moduleList_.Destroy();
    for (const ControlRow& row : kControls) {
        const HWND control = (this->*row.slot).window;
        if (row.parent == Parent::MainWindow && control != nullptr) DestroyWindow(control);
    }
    for (const ControlRow& row : kControls) {
        (this->*row.slot).window = nullptr;
        (this->*row.slot).font.reset();
    }
}

void MainWindow::OnDestroy()
{
    DestroyControls();
    htmlHelp_.CloseAll();
    WinHelpA(window_, text::kHelpFile, HELP_QUIT, 0);
    PostQuitMessage(0);
}

void MainWindow::OnHeaderClick()
{
    const int selected = moduleList_.SelectedCount();
    if (selected == -1) {
        ShowOwnedMessage(window_, text::kItemCountFailed, text::kErrorCaption);
        return;
    }
    moduleList_.SetAllSelected(selected == 0);
}

// Buttons, menu entries and accelerators act alike: only the id counts.
void MainWindow::OnCommand(int id)
{
    switch (id) {
    case IDC_RUN:
        RunAnalysis();
        break;
    case IDC_EXIT_BUTTON:
    case IDM_EXIT:
        Exit();
        break;
    case IDM_OPEN:
        OpenProject();
        break;
    case IDM_HELP:
        ShowHelp();
        break;
    case IDM_VERSION:
        ShowVersion();
        break;
    default:
        break;
    }
}

void MainWindow::SetPathLabel(std::string_view labelText)
{
    if (pathLabel_.window == nullptr) return;
    const std::string textZ(labelText);
    SetWindowTextA(pathLabel_.window, textZ.c_str());
}

AnalysisId MainWindow::ChosenAnalysis() const
{
    if (Button_GetCheck(stepCountRadio_.window) == BST_CHECKED) return AnalysisId::Steps;
    if (Button_GetCheck(procedureListRadio_.window) == BST_CHECKED) return AnalysisId::Procedures;
    return AnalysisId::Apis;
}

void WindowReporter::Message(std::string_view text, std::string_view caption)
{
    ShowUnownedMessage(text, caption);
}

void WindowReporter::Trace(std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
}

namespace {

// --- messages: each finds the window's object and hands the message on ---

BOOL OnNCCreate(HWND window, LPCREATESTRUCTA create)
{
    auto object = std::make_unique<MainWindow>(window, create->hInstance);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object.release()));
    return FORWARD_WM_NCCREATE(window, create, DefWindowProcA);
}

BOOL OnCreate(HWND window, LPCREATESTRUCTA)
{
    MainWindow::From(window)->OnCreate();
    return TRUE;  // the window comes up whatever failed
}

void OnClose(HWND window)
{
    DestroyWindow(window);
}

void OnDestroy(HWND window)
{
    MainWindow::From(window)->OnDestroy();
}

void OnNCDestroy(HWND window)
{
    const std::unique_ptr<MainWindow> object(MainWindow::From(window));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    FORWARD_WM_NCDESTROY(window, DefWindowProcA);
}

LRESULT OnNotify(HWND window, int, NMHDR* header)
{
    if (header->code == static_cast<UINT>(HDN_ITEMCLICKA)) MainWindow::From(window)->OnHeaderClick();
    return 0;
}

void OnCommand(HWND window, int id, HWND, UINT)
{
    MainWindow::From(window)->OnCommand(id);
}

void OnDropFiles(HWND window, HDROP drop)
{
    MainWindow::From(window)->DropFiles(drop);
}

LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Until WM_NCCREATE has made the object, and after WM_NCDESTROY, the
    // default procedure handles everything.
    if (message != WM_NCCREATE && MainWindow::From(hwnd) == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    switch (message) {
        HANDLE_MSG(hwnd, WM_NCCREATE, OnNCCreate);
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        HANDLE_MSG(hwnd, WM_NCDESTROY, OnNCDestroy);
        HANDLE_MSG(hwnd, WM_NOTIFY, OnNotify);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_DROPFILES, OnDropFiles);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

// A box that may not fail: when even it cannot be shown, nothing is.
void ShowFailure(const char* failureText) noexcept
{
    try {
        ShowUnownedMessage(failureText, text::kErrorCaption);
    } catch (...) {
    }
}

}  // namespace

// No exception leaves the window procedure: the system that called it cannot
// pass one on.
LRESULT CALLBACK MainWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return HandleMessage(hwnd, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        ShowFailure(text::kMemoryError);
    } catch (...) {
        ShowFailure(text::kUnexpectedError);
    }
    return 0;
}

}  // namespace kolvane::ui
