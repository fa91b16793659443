// Helpers for tests that look at real windows: texts, waiting for a window
// to appear, and reading list-view rows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kolvane::testing {

inline std::string WindowText(HWND window)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Polls find() until it gives a window or the time is up.
inline HWND WaitForWindow(const std::function<HWND()>& find, ULONGLONG timeoutMs = 30000)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
        if (const HWND window = find(); window != nullptr) return window;
        Sleep(50);
    }
    return nullptr;
}

// A top-level dialog (class #32770) with the caption.
inline HWND FindDialog(const char* caption)
{
    return FindWindowA("#32770", caption);
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
