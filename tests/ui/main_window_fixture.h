// A real main window in the test's own process, with every message box of
// the user interface and of the core recorded instead of shown (the window
// hands the core's boxes to the user interface's).
#pragma once

#include "project/model/module_table.h"
#include "tests/support/test_support.h"
#include "tests/ui/window_probe.h"
#include "ui/main_window.h"
#include "ui/owned_message_box.h"
#include "ui/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane::testing {

struct Box {
    std::string text;
    std::string caption;
    HWND owner;
    bool ownerEnabled;  // while the box was open

    bool operator==(const Box&) const = default;
};

inline void PrintTo(const Box& box, std::ostream* out)
{
    *out << "{" << ::testing::PrintToString(box.text) << ", " << ::testing::PrintToString(box.caption) << ", "
         << box.owner << (box.ownerEnabled ? ", enabled}" : ", disabled}");
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::SetMessagePresenter([this](HWND owner, std::string_view text, std::string_view caption) {
            boxes.push_back({std::string(text), std::string(caption), owner, owner != nullptr && IsWindowEnabled(owner)});
        });
        instance = GetModuleHandleA(nullptr);
        ASSERT_NE(ui::RegisterMainWindowClass(instance), 0);
        // Hidden: under Wine without a window manager, destroying a shown
        // top-level window waits two seconds for it to be withdrawn.
        window = ui::CreateMainWindow(instance, SW_HIDE);
        ASSERT_NE(window, nullptr);
        list = GetDlgItem(window, 300);
        label = FindWindowExA(window, nullptr, "STATIC", nullptr);
        const HWND group = FindWindowExA(window, nullptr, "BUTTON", "解析種類");
        for (const char* radio : {"コード数解析", "関数解析", "API関数解析"}) {
            radios.push_back(FindWindowExA(group, nullptr, "BUTTON", radio));
        }
    }

    void TearDown() override
    {
        if (IsWindow(window)) SendMessageA(window, WM_CLOSE, 0, 0);
        // What is queued, the quit message included.
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
        UnregisterClassA("KOLVANE", instance);
        ui::SetMessagePresenter({});
    }

    ui::MainWindow& Window() const { return *ui::MainWindow::From(window); }

    // A project with a form, a standard module and a class, in this order
    // in the table although not in the file.
    std::string MakeProject(const TempDir& dir, std::string_view name = "Demo.vbp")
    {
        dir.Write("Main.frm",
                  "VERSION 5.00\r\nBegin VB.Form Main\r\nEnd\r\nAttribute VB_Name = \"Main\"\r\n"
                  "Private Sub Form_Load()\r\n    ' start\r\n    Init\r\nEnd Sub\r\n");
        dir.Write("Tools.bas",
                  "Attribute VB_Name = \"Tools\"\r\n"
                  "Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\r\n"
                  "Public Function Twice(ByVal n As Long) As Long\r\n    Twice = n * 2\r\nEnd Function\r\n");
        dir.Write("Item.cls",
                  "VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Name = \"Item\"\r\n"
                  "Public Property Get Name() As String\r\nEnd Property\r\n");
        return dir.Write(name,
                         "Type=Exe\r\nClass=Item; Item.cls\r\nModule=Tools; Tools.bas\r\nForm=Main.frm\r\n");
    }

    std::vector<Row> ExpectedRows(const TempDir& dir) const
    {
        return {{dir.Path("Main.frm"), "frm"}, {dir.Path("Tools.bas"), "bas"}, {dir.Path("Item.cls"), "cls"}};
    }

    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HWND list = nullptr;
    HWND label = nullptr;
    std::vector<HWND> radios;
    std::vector<Box> boxes;  // the core's boxes too, without an owner
};

}  // namespace kolvane::testing
