// Helpers for tests that look at real windows: texts, waiting for a
// condition (a window, a text, an end), and reading list-view rows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kolvane::testing {

inline std::string WindowText(HWND window)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// How long a test waits for a condition before it fails. A condition that
// holds ends the wait at once, so this is set for a machine busy with other
// work, many times slower than a quiet one.
inline constexpr DWORD kDeadlineMs = 60000;
inline constexpr DWORD kPollMs = 20;

// Adds a shown window as class "caption" to the list (a std::string).
inline BOOL CALLBACK AddShownWindow(HWND window, LPARAM list)
{
    if (IsWindowVisible(window)) {
        constexpr std::size_t kLongestClassName = 256;
        std::string name(kLongestClassName + 1, '\0');
        name.resize(static_cast<std::size_t>(GetClassNameA(window, name.data(), static_cast<int>(name.size()))));
        auto& text = *reinterpret_cast<std::string*>(list);
        text += (text.empty() ? "" : ", ") + name + " \"" + WindowText(window) + "\"";
    }
    return TRUE;
}

// The shown top-level windows of every process.
inline std::string ShownWindows()
{
    std::string shown;
    EnumWindows(&AddShownWindow, reinterpret_cast<LPARAM>(&shown));
    return shown.empty() ? "no shown window" : "shown windows: " + shown;
}

// Polls holds() until it is true. Past the deadline the failure names the
// condition and what seen() tells of the state then.
inline ::testing::AssertionResult WaitUntil(const std::function<bool()>& holds, std::string_view condition,
                                            const std::function<std::string()>& seen = ShownWindows)
{
    const ULONGLONG end = GetTickCount64() + kDeadlineMs;
    while (!holds()) {
        if (GetTickCount64() > end) {
            return ::testing::AssertionFailure()
                   << "waited " << kDeadlineMs << " ms for " << condition << "; seen instead: " << seen();
        }
        Sleep(kPollMs);
    }
    return ::testing::AssertionSuccess();
}

// Waits until find() gives a window and keeps it in window.
inline ::testing::AssertionResult WaitForWindow(HWND& window, const std::function<HWND()>& find, std::string_view what)
{
    return WaitUntil([&] { return (window = find()) != nullptr; }, what);
}

// A shown top-level dialog (class #32770) with the caption. A dialog is
// shown once its WM_INITDIALOG has run: its controls hold their texts.
inline HWND FindDialog(const char* caption)
{
    const HWND dialog = FindWindowA("#32770", caption);
    return dialog != nullptr && IsWindowVisible(dialog) ? dialog : nullptr;
}

// A Linux path as Wine shows it to Windows programs (Z: is the root).
inline std::string WindowsPath(std::string path)
{
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + path;
}

using Row = std::pair<std::string, std::string>;  // file name, kind

// The rows of a list view in this process or another, read through memory
// lent in the list's process.
inline std::vector<Row> ListRows(HWND list)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return {};
    constexpr std::size_t kTextOffset = 512, kTextSize = 600;
    std::vector<Row> rows;
    if (auto* lent = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE))) {
        auto cell = [&](int index, int column) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = lent + kTextOffset;
            item.cchTextMax = kTextSize;
            WriteProcessMemory(process, lent, &item, sizeof item, nullptr);
            SendMessageA(list, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(lent));
            char buffer[kTextSize] = {};
            ReadProcessMemory(process, lent + kTextOffset, buffer, sizeof buffer - 1, nullptr);
            return std::string(buffer);
        };
        const auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int index = 0; index < count; ++index) rows.emplace_back(cell(index, 0), cell(index, 1));
        VirtualFreeEx(process, lent, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return rows;
}

}  // namespace kolvane::testing
