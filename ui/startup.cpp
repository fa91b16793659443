#include "ui/startup.h"

#include "ui/main_window.h"
#include "ui/ui_texts.h"

#include <shellapi.h>

namespace kolvane::ui {
namespace {

constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kMainWindowWidth = 570;
constexpr int kMainWindowHeight = 264;

struct StartupState {
    HWND mainWindow = nullptr;  // recorded once the window is shown
};
StartupState state;

}  // namespace

ATOM RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA windowClass{};
    windowClass.style = 0;
    windowClass.lpfnWndProc = &MainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, text::kIconName);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_SCROLLBAR + 1));
    windowClass.lpszMenuName = text::kMenuName;
    windowClass.lpszClassName = text::kClassName;
    return RegisterClassA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance, int showState)
{
    const HWND window = CreateWindowExA(0, text::kClassName, text::kWindowTitle, kMainWindowStyle, CW_USEDEFAULT,
                                        CW_USEDEFAULT, kMainWindowWidth, kMainWindowHeight, nullptr, nullptr,
                                        instance, nullptr);
    if (window == nullptr) return nullptr;
    ShowWindow(window, showState);
    UpdateWindow(window);
    return window;
}

int RunMessageLoop(HWND mainWindow, HACCEL accelerators)
{
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(mainWindow, accelerators, &message) == 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

int KolvaneMain(HINSTANCE instance, HINSTANCE previousInstance, const char* commandTail, int showState)
{
    // One copy at a time: bring the running one to the front.
    if (const HWND running = FindWindowA(text::kClassName, text::kWindowTitle); running != nullptr) {
        SetForegroundWindow(running);
        return 0;
    }
    if (previousInstance == nullptr && RegisterMainWindowClass(instance) == 0) return 0;

    const HWND window = CreateMainWindow(instance, showState);
    if (window == nullptr) return 0;
    state.mainWindow = window;

    // Without the table the loop simply translates no accelerators.
    const HACCEL accelerators = LoadAcceleratorsA(instance, text::kAcceleratorName);
    DragAcceptFiles(state.mainWindow, TRUE);
    if (MainWindow* object = MainWindow::From(state.mainWindow); object != nullptr && commandTail != nullptr) {
        object->LoadCommandLineProject(commandTail);
    }

    const int exitCode = RunMessageLoop(state.mainWindow, accelerators);
    state.mainWindow = nullptr;
    return exitCode;
}

}  // namespace kolvane::ui
