// Kolvane.exe started as a process of its own, as a person starts it: with a
// project on its command line, a second copy and a run from the run button;
// and its help, with the help file beside it and without.
#include "analysis/run/outputs.h"
#include "project/model/module_table.h"
#include "project/model/project_reader.h"
#include "tests/support/test_support.h"
#include "tests/ui/window_probe.h"

#include <gtest/gtest.h>

#include <functional>
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
    // Waits for the program to end with the exit code.
    ::testing::AssertionResult EndsWith(DWORD expected) const
    {
        if (WaitForSingleObject(info_.hProcess, kDeadlineMs) != WAIT_OBJECT_0) {
            return ::testing::AssertionFailure()
                   << "waited " << kDeadlineMs << " ms for the program to end; " << ShownWindows();
        }
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        if (code == expected) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the program ended with " << code << " instead of " << expected;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// The main window is shown once its controls are made.
::testing::AssertionResult WaitForMainWindow(HWND& window)
{
    return WaitForWindow(
        window,
        [] {
            const HWND found = FindWindowA("KOLVANE", "Kolvane");
            return IsWindowVisible(found) ? found : nullptr;
        },
        "the main window to show");
}

// The rows the list should show: the core's table of the project.
std::vector<Row> TableRows(const ModuleTable& table)
{
    std::vector<Row> rows;
    for (const ModuleEntry& entry : table) {
        rows.emplace_back(std::string(ModulePath(entry)), std::string(entry.kind, kKindLength));
    }
    return rows;
}

TEST(KolvaneProcess, LoadsTheCommandLineProjectRefusesASecondCopyRunsAndExitsWithZero)
{
    TempDir dir, coreDir;
    testing::RecordingReporter quiet;
    const ProjectLoad load = LoadProject(kDemoProject, quiet);
    ASSERT_TRUE(load.Loaded());
    const std::vector<Row> rows = TableRows(load.table);
    ASSERT_FALSE(rows.empty());
    Program first(kDemoProject, dir.Root());
    ASSERT_TRUE(first.Started());
    HWND mainWindow = nullptr;
    ASSERT_TRUE(WaitForMainWindow(mainWindow));
    const HWND list = GetDlgItem(mainWindow, 300);
    // The project is loaded after the window shows; a row's kind is set
    // after the row is added.
    ASSERT_TRUE(WaitUntil([&] { return ListRows(list) == rows; }, "the project's rows in the list",
                          [&] { return ::testing::PrintToString(ListRows(list)); }));
    EXPECT_EQ(WindowText(FindWindowExA(mainWindow, nullptr, "Static", nullptr)), kDemoProject);

    Program second(dir.Write("Other.vbp", "Form=Other.frm\r\n"), dir.Root());
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.EndsWith(0));
    EXPECT_EQ(FindWindowA("KOLVANE", "Kolvane"), mainWindow);
    EXPECT_EQ(ListRows(list), rows);

    // The run button, its owned box, and the same report as the core's.
    PostMessageA(FindWindowExA(mainWindow, nullptr, "Button", "実  行"), BM_CLICK, 0, 0);
    HWND found = nullptr;
    ASSERT_TRUE(WaitForWindow(
        found, [] { return FindDialog("やったあ"); }, "the box telling the run finished"));
    EXPECT_EQ(GetWindow(found, GW_OWNER), mainWindow);
    EXPECT_NE(FindWindowExA(found, nullptr, "Static", "処理が終了しました"), nullptr);
    EXPECT_FALSE(IsWindowEnabled(mainWindow));
    PostMessageA(found, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindow(found) == FALSE; }, "the box to close"));
    ASSERT_TRUE(testing::RunAnalysis(AnalysisId::Steps, load.table, kDemoProject, coreDir.Path("core.txt")).written);
    EXPECT_EQ(dir.Read("Demo_StCnt.txt"), coreDir.Read("core.txt"));

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.EndsWith(0));
}

// Starts the program from the given file, asks for Help and hands over to
// look(); then closes the window: the program ends with 0.
void AskForHelp(const std::string& program, const std::function<void(HWND mainWindow)>& look)
{
    TempDir dir;
    Program running("", dir.Root(), program);
    ASSERT_TRUE(running.Started());
    HWND mainWindow = nullptr;
    ASSERT_TRUE(WaitForMainWindow(mainWindow));
    PostMessageA(mainWindow, WM_COMMAND, 202, 0);
    look(mainWindow);
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(running.EndsWith(0));
}

TEST(KolvaneProcess, HelpShowsTheHelpFileBesideTheProgramAndClosesWithIt)
{
    AskForHelp(kProgram, [](HWND) {
        HWND help = nullptr;
        EXPECT_TRUE(WaitForWindow(
            help, [] { return FindWindowA(nullptr, kHelpTitle.c_str()); }, "the help window"));
    });
    EXPECT_EQ(FindWindowA(nullptr, kHelpTitle.c_str()), nullptr);
}

// Without Kolvane.chm the old Windows Help call is made. Wine's Windows Help
// then asks (in a box of its own process) whether to look for Kolvane.hlp;
// Kolvane waits in the call until it is answered, then goes on and closes
// as ever.
TEST(KolvaneProcess, HelpWithoutTheHelpFileNeitherCrashesNorHangs)
{
    TempDir dir;
    const std::string copy = dir.Path("Kolvane.exe");
    ASSERT_TRUE(CopyFileA(kProgram.c_str(), copy.c_str(), FALSE));
    AskForHelp(copy, [](HWND mainWindow) {
        DWORD kolvane = 0;
        GetWindowThreadProcessId(mainWindow, &kolvane);
        HWND question = nullptr;
        ASSERT_TRUE(WaitForWindow(
            question,
            [kolvane] {
                const HWND box = FindDialog("エラー");
                DWORD owner = 0;
                GetWindowThreadProcessId(box, &owner);
                return box != nullptr && owner != kolvane ? box : nullptr;
            },
            "Windows Help's question whether to look for the help file"));
        PostMessageA(question, WM_COMMAND, IDNO, 0);
        EXPECT_EQ(FindWindowA(nullptr, kHelpTitle.c_str()), nullptr);
    });
}

}  // namespace
}  // namespace kolvane::testing
