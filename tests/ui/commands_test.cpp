// The commands of the main window: Run, Open, Drop, the accelerators, the
// version dialog and Exit, on the real window in this process.
#include "analysis/analyses.h"
#include "project/project_reader.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/commands.h"

#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <thread>

// When set to n >= 0, the allocation n + 1 from now fails, once.
std::atomic<long> allocationsBeforeFailure{-1};

void* operator new(std::size_t size)
{
    if (allocationsBeforeFailure.load() >= 0 && allocationsBeforeFailure.fetch_sub(1) == 0) throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
// The pair of the operator new above; GCC takes it for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

namespace kolvane::testing {
namespace {

// Runs drive() on a thread of its own while act() runs on this one, for a
// command that blocks in a modal dialog until drive() ends it.
void WhileModal(const std::function<void()>& act, const std::function<void()>& drive)
{
    std::thread driver(drive);
    act();
    driver.join();
}

// Makes the process's current folder the given one while it lives.
struct CurrentFolder {
    explicit CurrentFolder(const std::string& folder) { std::filesystem::current_path(folder); }
    ~CurrentFolder() { std::error_code ignored; std::filesystem::current_path(previous, ignored); }
    std::filesystem::path previous = std::filesystem::current_path();
};

// A drop handle as the shell makes it: DROPFILES and the names, each ending
// in a zero, with one more zero after the last.
HDROP MakeDrop(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names) list += name + '\0';
    list += '\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class CommandTest : public MainWindowTest {
protected:
    void Command(int id) { EXPECT_EQ(SendMessageA(window, WM_COMMAND, id, 0), 0); }
    void Drop(const std::vector<std::string>& names)
    {
        // The window releases the handle.
        EXPECT_EQ(SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0), 0);
    }
    void Choose(int radio) { SendMessageA(radios[radio], BM_CLICK, 0, 0); }

    const Box kFinished{"処理が終了しました", "やったあ", nullptr, false};
    Box Owned(Box box) const
    {
        box.owner = window;
        return box;
    }
};

// The report of the same project written by the core directly.
std::string CoreReport(AnalysisKind kind, const std::string& project, const TempDir& dir)
{
    testing::RecordingReporter quiet;
    EXPECT_EQ(LoadProject(project, quiet), 1);
    const std::string path = dir.Path("core.txt");
    EXPECT_TRUE(testing::RunAnalysis(kind, {ModuleTable, static_cast<std::size_t>(ModuleCount)}, project, path)
                    .written);
    return ReadBytes(path);
}

TEST_F(CommandTest, RunWritesTheChosenReportIntoTheCurrentFolder)
{
    TempDir projectDir, outputDir, coreDir;
    const std::string project = MakeProject(projectDir);
    Window().LoadCommandLineProject(project);
    const std::tuple<int, AnalysisKind, const char*> cases[] = {
        {0, AnalysisKind::StepCount, "Demo_StCnt.txt"},
        {1, AnalysisKind::ProcedureList, "Demo_FncOp.txt"},
        {2, AnalysisKind::ApiList, "Demo_APIOp.txt"},
    };
    std::vector<std::string> reports;
    {
        const CurrentFolder inOutput(outputDir.Root());
        for (const auto& [radio, kind, name] : cases) {
            Choose(radio);
            Command(100);
            EXPECT_TRUE(PathExists(outputDir.Path(name))) << name;
            EXPECT_FALSE(PathExists(projectDir.Path(name))) << name;
            reports.push_back(outputDir.Read(name));
        }
    }
    EXPECT_EQ(boxes, std::vector<Box>(3, Owned(kFinished)));
    for (std::size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i], CoreReport(std::get<1>(cases[i]), project, coreDir)) << std::get<2>(cases[i]);
    }
    EXPECT_NE(reports[2].find("プロジェクトファイル ： " + project + "\r\n"), std::string::npos);
    EXPECT_NE(reports[2].find("Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\r\n"), std::string::npos);
}

TEST_F(CommandTest, RunWithoutProjectSaysSoAndWritesNothing)
{
    TempDir outputDir;
    const CurrentFolder inOutput(outputDir.Root());
    Command(100);
    EXPECT_EQ(boxes, (std::vector<Box>{{"プロジェクトファイルが指定されていません", "ん？", window, false}}));
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(outputDir.Root())));
}

TEST_F(CommandTest, ReportThatCannotBeOpenedEndsInTheWritersBoxAndTheFailureText)
{
    TempDir projectDir, outputDir;
    Window().LoadCommandLineProject(MakeProject(projectDir));
    outputDir.Folder("Demo_StCnt.txt");  // a folder where the report would go
    const CurrentFolder inOutput(outputDir.Root());
    Command(100);
    EXPECT_EQ(boxes, (std::vector<Box>{{"ファイルを開けませんでした", "出力処理 - エラー", nullptr, false},
                                       {"処理に失敗しました", "あ～あ", nullptr, false},
                                       {"ステップ数・コメント数取得処理", "エラー", window, false}}));
}

// Every allocation of a run fails in turn, in the window and in the core.
TEST_F(CommandTest, FailedAllocationDuringRunShowsMemoryAllocationErrorAndTheWindowGoesOn)
{
    TempDir projectDir, outputDir;
    Window().LoadCommandLineProject(MakeProject(projectDir));
    const CurrentFolder inOutput(outputDir.Root());
    const Box memoryError{"Memory Allocation Error", "エラー", nullptr, false};
    for (int radio : {1, 2, 0}) {
        Choose(radio);
        long failing = 0;
        for (;; ++failing) {
            boxes.clear();
            allocationsBeforeFailure = failing;
            SendMessageA(window, WM_COMMAND, 100, 0);
            const bool failed = allocationsBeforeFailure.exchange(-1) < 0;
            EXPECT_TRUE(IsWindowEnabled(window));
            if (!failed) break;
            EXPECT_NE(std::find(boxes.begin(), boxes.end(), memoryError), boxes.end())
                << "radio " << radio << ", allocation " << failing;
        }
        EXPECT_GT(failing, 0);
        EXPECT_EQ(boxes, std::vector<Box>{Owned(kFinished)});
    }
}

TEST_F(CommandTest, ReportIsNamedAfterTheProjectFileWithoutItsExtension)
{
    TempDir projectDir, outputDir;
    MakeProject(projectDir);
    const std::pair<const char*, const char*> cases[] = {
        {"Sub.Project.vbp", "Sub.Project_StCnt.txt"},
        {"abc", "abc_StCnt.txt"},  // four characters or fewer stay whole
        {"abcd", "abcd_StCnt.txt"},
    };
    const CurrentFolder inOutput(outputDir.Root());
    for (const auto& [projectName, reportName] : cases) {
        const std::string project =
            projectDir.Write(projectName, "Form=Main.frm\r\nModule=Tools; Tools.bas\r\n");
        Window().LoadCommandLineProject(project);
        Command(100);
        EXPECT_TRUE(PathExists(outputDir.Path(reportName))) << reportName;
    }
}

TEST_F(CommandTest, DropTakesTheFirstProjectFileInAnyCase)
{
    TempDir dirA, dirB;
    const std::string first = MakeProject(dirA, "First.VbP");
    const std::string second = MakeProject(dirB, "Second.vbp");
    Drop({first, second});
    EXPECT_EQ(ListRows(list), ExpectedRows(dirA));
    EXPECT_EQ(Window().CurrentProjectPath(), first);
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(first.c_str(), shortPath, MAX_PATH);
    EXPECT_EQ(WindowText(label), std::string("ﾌｧｲﾙ名 ： ") + shortPath);

    Drop({second});  // the list is emptied before the next load
    EXPECT_EQ(ListRows(list), ExpectedRows(dirB));
    EXPECT_EQ(Window().CurrentProjectPath(), second);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CommandTest, DropOfAnotherFileIsRefusedAndKeepsTheLoadedProject)
{
    TempDir dir;
    const std::string project = MakeProject(dir);
    Drop({project});
    const std::string labelText = WindowText(label);
    for (const char* name : {"notes.txt", "Demo.vbpx", "vbp", "Demo.vbp.bak"}) {
        Drop({dir.Write(name, "Form=Main.frm\r\n"), project});
        EXPECT_EQ(Window().CurrentProjectPath(), project) << name;
    }
    EXPECT_EQ(boxes, std::vector<Box>(4, Box{"VB プロジェクトファイルではありません", "ファイルドラッグ - エラー", window, false}));
    EXPECT_EQ(ListRows(list), ExpectedRows(dir));
    EXPECT_EQ(WindowText(label), labelText);
    EXPECT_EQ(ModuleCount, 3);
}

TEST_F(CommandTest, FailedLoadEmptiesListAndTableSoRunHasNoProject)
{
    TempDir dir;
    Drop({MakeProject(dir)});
    Drop({dir.Folder("Broken.vbp")});
    EXPECT_TRUE(ListRows(list).empty());
    EXPECT_EQ(ModuleCount, 0);
    const CurrentFolder inOutput(dir.Root());
    Command(100);
    EXPECT_EQ(boxes, (std::vector<Box>{{"VBPファイル読みこみエラー", "ありゃりゃ", window, false},
                                       {"プロジェクトファイルが指定されていません", "ん？", window, false}}));
    EXPECT_FALSE(PathExists(dir.Path("Broken_StCnt.txt")));
}

// The file name box of the open dialog: the combo box of the Explorer-style
// dialog, or the edit box of the older one.
HWND FileNameBox(HWND dialog)
{
    for (int id : {0x47C, 0x480}) {
        if (const HWND box = GetDlgItem(dialog, id); box != nullptr) return box;
    }
    return nullptr;
}

TEST_F(CommandTest, CancelledOpenKeepsTheLoadedProject)
{
    TempDir dir;
    const std::string project = MakeProject(dir);
    Window().LoadCommandLineProject(project);
    bool seen = false;
    WhileModal([&] { Command(200); },
               [&] {
                   const HWND dialog = WaitForWindow([] { return FindDialog("VB プロジェクトファイルを開く"); });
                   seen = dialog != nullptr;
                   if (seen) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
               });
    ASSERT_TRUE(seen);
    EXPECT_EQ(Window().CurrentProjectPath(), project);
    EXPECT_EQ(ListRows(list), ExpectedRows(dir));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CommandTest, OpenLoadsTheChosenProject)
{
    TempDir dirA, dirB;
    Window().LoadCommandLineProject(MakeProject(dirA));
    const std::string chosen = MakeProject(dirB, "Chosen.vbp");
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    HWND owner = nullptr;
    WhileModal([&] { Command(200); },
               [&] {
                   const HWND dialog = WaitForWindow([] { return FindDialog("VB プロジェクトファイルを開く"); });
                   if (dialog == nullptr) return;
                   owner = GetWindow(dialog, GW_OWNER);
                   SetWindowTextA(FileNameBox(dialog), chosen.c_str());
                   PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                   // Should the name not be taken, end the dialog anyway.
                   if (WaitForWindow([dialog] { return IsWindow(dialog) ? nullptr : dialog; }, 5000) == nullptr)
                       PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
               });
    SetCurrentDirectoryA(folder);
    EXPECT_EQ(owner, window);
    EXPECT_EQ(Window().CurrentProjectPath(), chosen);
    EXPECT_EQ(ListRows(list), ExpectedRows(dirB));
    EXPECT_TRUE(boxes.empty());
}

// The FileVersion string of this program's VERSIONINFO resource, read as
// Explorer reads it.
std::string FileVersionOfThisProgram()
{
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string block(GetFileVersionInfoSizeA(program, nullptr), '\0');
    if (block.empty() || !GetFileVersionInfoA(program, 0, static_cast<DWORD>(block.size()), block.data())) return {};
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\StringFileInfo\\041103a4\\FileVersion", reinterpret_cast<void**>(&value),
                        &length)) {
        return {};
    }
    return std::string(value);
}

TEST_F(CommandTest, VersionDialogShowsTheResourcesVersionAndEscLeavesItOpen)
{
    const std::string version = FileVersionOfThisProgram();
    ASSERT_FALSE(version.empty());
    std::string productLine;
    bool openAfterEsc = false;
    HWND owner = nullptr;
    WhileModal([&] { Command(203); },
               [&] {
                   const HWND dialog = WaitForWindow([] { return FindDialog("バージョン情報"); });
                   if (dialog == nullptr) return;
                   owner = GetWindow(dialog, GW_OWNER);
                   productLine = WindowText(GetDlgItem(dialog, 600));
                   const HWND ok = GetDlgItem(dialog, IDOK);
                   PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0);
                   Sleep(500);
                   openAfterEsc = IsWindow(dialog) != FALSE;
                   PostMessageA(ok, WM_KEYDOWN, VK_RETURN, 0);
               });
    EXPECT_EQ(productLine, "Kolvane " + version);
    EXPECT_TRUE(openAfterEsc);
    EXPECT_EQ(owner, window);

    // The close box ends it as well.
    WhileModal([&] { Command(203); },
               [&] {
                   if (const HWND dialog = WaitForWindow([] { return FindDialog("バージョン情報"); }))
                       PostMessageA(dialog, WM_CLOSE, 0, 0);
               });
}

// Subclasses the main window to record the commands instead of running
// them (all but Exit).
std::vector<int> recordedCommands;
WNDPROC mainProcedure = nullptr;
LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) != 201) {
        recordedCommands.push_back(LOWORD(wParam));
        return 0;
    }
    return CallWindowProcA(mainProcedure, window, message, wParam, lParam);
}

TEST_F(CommandTest, AcceleratorsReachTheirCommandsAndCtrlEEndsTheLoopWithZero)
{
    recordedCommands.clear();
    mainProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordCommands)));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE withControl[256];
    std::memcpy(withControl, keys, sizeof keys);
    withControl[VK_CONTROL] = 0x80;
    SetKeyboardState(withControl);

    // Whichever control has the focus.
    for (const auto& [target, key] : {std::pair{list, 'O'}, {radios[1], 'H'}, {window, 'V'}, {list, 'E'}}) {
        PostMessageA(target, WM_KEYDOWN, key, 1);
    }
    const int exitCode = ui::RunMessageLoop(window, LoadAcceleratorsA(instance, "KOLVANE_ACCELERATOR"));
    SetKeyboardState(keys);
    EXPECT_EQ(recordedCommands, (std::vector<int>{200, 202, 203}));
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(CommandTest, UnknownCommandsDoNothingAndExitButtonAndMenuEndTheLoopWithZero)
{
    for (int id : {0, 1, 102, 204, 300, 600}) Command(id);
    EXPECT_TRUE(boxes.empty());
    for (int id : {101, 201}) {
        if (!IsWindow(window)) window = ui::CreateMainWindow(instance, SW_HIDE);
        PostMessageA(window, WM_COMMAND, id, 0);
        EXPECT_EQ(ui::RunMessageLoop(window, nullptr), 0) << id;
        EXPECT_FALSE(IsWindow(window)) << id;
    }
}

}  // namespace
}  // namespace kolvane::testing
