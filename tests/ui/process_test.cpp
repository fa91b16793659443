// Kolvane.exe started as a process of its own, as a person starts it: with a
// project on its command line, a second copy, a run from the run button, and
// a picture of the main window kept in the build's artifacts folder; and its
// help, with the help file beside it and without.
#include "analysis/analyses.h"
#include "project/module_table.h"
#include "project/project_reader.h"
#include "tests/support/test_support.h"
#include "tests/ui/window_probe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane::testing {
namespace {

const std::string kProgram = WindowsPath(KOLVANE_EXE);
const std::string kHelpTitle = "Kolvane ヘルプ";
const std::string kSamples = WindowsPath(KOLVANE_SAMPLES);
const std::string kDemoProject = kSamples + "\\Demo\\Demo.vbp";

// A started program; one that still runs when the test ends is stopped.
class Program {
public:
    Program(const std::string& arguments, const std::string& folder, const std::string& program = kProgram)
    {
        std::string commandLine = "\"" + program + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                  &startup, &info_) != FALSE;
    }
    ~Program()
    {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return started_; }
    // The exit code, or STILL_ACTIVE when it has not ended in time.
    DWORD WaitForExit(DWORD milliseconds) const
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0) GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

HWND FindMainWindow()
{
    return WaitForWindow([] { return FindWindowA("KOLVANE", "Kolvane"); });
}

// Waits until the list holds the project's rows.
HWND FilledList(HWND mainWindow, int rows)
{
    return WaitForWindow([&] {
        const HWND list = GetDlgItem(mainWindow, 300);
        return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == rows ? list : nullptr;
    });
}

std::vector<Row> DemoRows()
{
    const std::string demo = kSamples + "\\Demo\\";
    return {{demo + "frmMain.frm", "frm"},           {demo + "Forms\\frmAbout.frm", "frm"},
            {demo + "modMain.bas", "bas"},           {kSamples + "\\Common\\modWinApi.bas", "bas"},
            {demo + "Classes\\CCustomer.cls", "cls"}, {demo + "Classes\\COrderList.cls", "cls"}};
}

// Copies the window's area of the screen into a 24-bit .bmp file.
bool SaveScreenshot(HWND window, const std::string& path)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    const int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<std::size_t>(stride) * height, '\0');
    const int lines = GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                                DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (lines != height) return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    WriteBytes(path, std::string(reinterpret_cast<const char*>(&file), sizeof file) +
                         std::string(reinterpret_cast<const char*>(&header), sizeof header) + pixels);
    return true;
}

TEST(KolvaneProcess, LoadsTheCommandLineProjectRefusesASecondCopyRunsAndExitsWithZero)
{
    TempDir dir, coreDir;
    Program first(kDemoProject, dir.Root());
    ASSERT_TRUE(first.Started());
    const HWND mainWindow = FindMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    const HWND list = FilledList(mainWindow, 6);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(RemoteListRows(list), DemoRows());
    EXPECT_EQ(WindowText(FindWindowExA(mainWindow, nullptr, "Static", nullptr)), kDemoProject);

    // A picture of the window for a person to look at.
    SetForegroundWindow(mainWindow);
    Sleep(500);
    const std::string artifacts = WindowsPath(KOLVANE_ARTIFACTS);
    CreateDirectoryA(artifacts.c_str(), nullptr);
    EXPECT_TRUE(SaveScreenshot(mainWindow, artifacts + "\\kolvane-main-window.bmp"));

    Program second(dir.Write("Other.vbp", "Form=Other.frm\r\n"), dir.Root());
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitForExit(20000), 0u);
    EXPECT_EQ(FindWindowA("KOLVANE", "Kolvane"), mainWindow);
    EXPECT_EQ(RemoteListRows(list), DemoRows());

    // The run button, its owned box, and the same report as the core's.
    PostMessageA(FindWindowExA(mainWindow, nullptr, "Button", "実  行"), BM_CLICK, 0, 0);
    const HWND found = WaitForWindow([] { return FindDialog("やったあ"); });
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(GetWindow(found, GW_OWNER), mainWindow);
    EXPECT_NE(FindWindowExA(found, nullptr, "Static", "処理が終了しました"), nullptr);
    EXPECT_FALSE(IsWindowEnabled(mainWindow));
    PostMessageA(found, WM_COMMAND, IDOK, 0);
    EXPECT_NE(WaitForWindow([&] { return IsWindow(found) ? nullptr : mainWindow; }), nullptr);
    testing::RecordingReporter quiet;
    ASSERT_EQ(LoadProject(kDemoProject, quiet), 1);
    ASSERT_TRUE(testing::RunAnalysis(AnalysisKind::StepCount, {ModuleTable, static_cast<std::size_t>(ModuleCount)},
                                     kDemoProject, coreDir.Path("core.txt"))
                    .written);
    EXPECT_EQ(dir.Read("Demo_StCnt.txt"), coreDir.Read("core.txt"));

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(20000), 0u);
}

TEST(KolvaneProcess, HelpShowsTheHelpFileBesideTheProgramAndClosesWithIt)
{
    TempDir dir;
    Program program("", dir.Root());
    ASSERT_TRUE(program.Started());
    const HWND mainWindow = FindMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    PostMessageA(mainWindow, WM_COMMAND, 202, 0);
    const HWND help = WaitForWindow([] { return FindWindowA(nullptr, kHelpTitle.c_str()); });
    ASSERT_NE(help, nullptr);
    Sleep(1000);
    EXPECT_TRUE(SaveScreenshot(help, WindowsPath(KOLVANE_ARTIFACTS) + "\\kolvane-help.bmp"));

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), 0u);
    EXPECT_EQ(FindWindowA(nullptr, kHelpTitle.c_str()), nullptr);
}

// Without Kolvane.chm the old Windows Help call is made. Wine's Windows Help
// then asks (in a box of its own process) whether to look for Kolvane.hlp;
// once it is answered, Kolvane goes on and closes as ever.
TEST(KolvaneProcess, HelpWithoutTheHelpFileNeitherCrashesNorHangs)
{
    TempDir dir;
    const std::string copy = dir.Path("Kolvane.exe");
    ASSERT_TRUE(CopyFileA(kProgram.c_str(), copy.c_str(), FALSE));
    Program program("", dir.Root(), copy);
    ASSERT_TRUE(program.Started());
    const HWND mainWindow = FindMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    DWORD kolvane = 0;
    GetWindowThreadProcessId(mainWindow, &kolvane);
    PostMessageA(mainWindow, WM_COMMAND, 202, 0);

    const HWND question = WaitForWindow(
        [kolvane] {
            const HWND box = FindDialog("エラー");
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            return box != nullptr && owner != kolvane ? box : nullptr;
        },
        10000);
    if (question != nullptr) PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(FindWindowA(nullptr, kHelpTitle.c_str()), nullptr);

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), 0u);
}

}  // namespace
}  // namespace kolvane::testing
