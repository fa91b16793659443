// The commands of the main window: Run, Open, Drop, the accelerators, the
// version dialog and Exit, on the real window in this process.
#include "analysis/run/outputs.h"
#include "project/model/project_reader.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/command_line.h"

#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <thread>
#include <type_traits>

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

// Makes the process's current folder the given one while it lives.
struct CurrentFolder {
    explicit CurrentFolder(const std::string& folder) { std::filesystem::current_path(folder); }
    ~CurrentFolder() { std::error_code ignored; std::filesystem::current_path(previous, ignored); }
    std::filesystem::path previous = std::filesystem::current_path();
};

class CommandTest : public MainWindowTest {
protected:
    void Command(int id) { EXPECT_EQ(SendMessageA(window, WM_COMMAND, id, 0), 0); }
    void Choose(int radio) { SendMessageA(radios[radio], BM_CLICK, 0, 0); }
    Box Finished() const { return {"処理が終了しました", "やったあ", window, false}; }

    // Sends the command, which blocks in a modal dialog with the caption,
    // while drive() works the shown dialog from a thread of its own and ends
    // it. Gives the dialog's owner (null when no such dialog showed).
    HWND WhileDialog(int command, const char* caption, const std::function<void(HWND dialog)>& drive)
    {
        HWND owner = nullptr;
        std::thread driver([&] {
            HWND dialog = nullptr;
            const auto shown = WaitForWindow(
                dialog, [caption] { return FindDialog(caption); },
                std::string("the dialog \"") + caption + "\" to show");
            EXPECT_TRUE(shown);
            if (!shown) return;
            owner = GetWindow(dialog, GW_OWNER);
            drive(dialog);
        });
        Command(command);
        driver.join();
        return owner;
    }

    // Drops the files through a handle as the shell makes it (DROPFILES and
    // the names, each ending in a zero, with one more zero after the last);
    // the window releases it.
    void Drop(const std::vector<std::string>& names)
    {
        std::string list;
        for (const std::string& name : names) list += name + '\0';
        list += '\0';
        const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
        GlobalUnlock(memory);
        EXPECT_EQ(SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0), 0);
    }
};

// The report of the same project written by the core directly.
std::string CoreReport(AnalysisId id, const std::string& project, const TempDir& dir)
{
    testing::RecordingReporter quiet;
    const ProjectLoad load = LoadProject(project, quiet);
    EXPECT_TRUE(load.Loaded());
    const std::string path = dir.Path("core.txt");
    EXPECT_TRUE(testing::RunAnalysis(id, load.table, project, path).written);
    return ReadBytes(path);
}

// The first run goes without a choice: the step count is chosen at the start.
TEST_F(CommandTest, RunWritesTheChosenReportIntoTheCurrentFolder)
{
    TempDir projectDir, outputDir, coreDir;
    const std::string project = MakeProject(projectDir);
    Window().LoadCommandLineProject(project);
    const AnalysisId kinds[] = {AnalysisId::Steps, AnalysisId::Procedures, AnalysisId::Apis};
    std::vector<std::string> reports;
    {
        const CurrentFolder inOutput(outputDir.Root());
        for (int radio = 0; radio < 3; ++radio) {
            if (radio > 0) Choose(radio);
            Command(100);
            reports.push_back(outputDir.Read(ReportFileName(project, RowOf(kinds[radio]).textSuffix)));
        }
    }
    EXPECT_EQ(boxes, std::vector<Box>(3, Finished()));
    for (int radio = 0; radio < 3; ++radio) {
        EXPECT_EQ(reports[radio], CoreReport(kinds[radio], project, coreDir)) << "radio " << radio;
    }
}

// Named relative to the current folder, with "\" or "/", a project still
// finds its members in ".." folders: the list shows them with absolute paths.
TEST_F(CommandTest, RelativeCommandLineProjectListsAbsoluteMemberPaths)
{
    TempDir dir;
    dir.Folder("App");
    dir.Folder("Shared");
    dir.Write("App\\App.vbp", "Module=Util; ..\\Shared\\Util.bas\r\nForm=Main.frm\r\n");
    std::vector<Row> rows;  // the command-line load adds to the list
    for (const auto& [folder, project] : {std::pair{"App", "App.vbp"}, {"", "App/App.vbp"}, {"Shared", "../App/App.vbp"}}) {
        {
            const CurrentFolder there(dir.Path(folder));
            Window().LoadCommandLineProject(project);
        }
        rows.insert(rows.end(), {{dir.Path("App\\Main.frm"), "frm"}, {dir.Path("Shared\\Util.bas"), "bas"}});
        EXPECT_EQ(ListRows(list), rows) << project;
    }
    EXPECT_TRUE(boxes.empty());
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
        EXPECT_EQ(boxes, std::vector<Box>{Finished()});
    }
}

TEST(ReportFileName, IsTheProjectFileNameWithoutItsExtensionAndTheReportsSuffix)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\p\\Sub.Project.vbp", "Sub.Project_StCnt.txt"},
        {"C:\\p\\abc", "abc_StCnt.txt"},  // four characters or fewer stay whole
        {"C:\\p\\abcd", "abcd_StCnt.txt"},
    };
    for (const auto& [project, report] : cases) {
        EXPECT_EQ(ReportFileName(project, RowOf(AnalysisId::Steps).textSuffix), report) << project;
    }
}

// A failed load empties the list and the table, so Run has no project.
TEST_F(CommandTest, DropLoadsTheFirstProjectFileInAnyCaseRefusesAnyOtherFileAndAFailedLoadEmptiesTheList)
{
    TempDir dirA, dirB;
    const std::string first = MakeProject(dirA, "First.VbP");
    const std::string second = MakeProject(dirB, "Second.vbp");
    Drop({first, second});
    EXPECT_EQ(ListRows(list), ExpectedRows(dirA));
    EXPECT_EQ(Window().CurrentProjectPath(), first);
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(first.c_str(), shortPath, MAX_PATH);
    const std::string labelText = std::string("ﾌｧｲﾙ名 ： ") + shortPath;
    EXPECT_EQ(WindowText(label), labelText);

    for (const char* name : {"notes.txt", "Demo.vbpx", "vbp", "Demo.vbp.bak"}) {
        Drop({dirB.Write(name, "Form=Main.frm\r\n"), second});
        EXPECT_EQ(Window().CurrentProjectPath(), first) << name;
    }
    EXPECT_EQ(boxes, std::vector<Box>(4, Box{"VB プロジェクトファイルではありません", "ファイルドラッグ - エラー", window, false}));
    EXPECT_EQ(ListRows(list), ExpectedRows(dirA));
    EXPECT_EQ(WindowText(label), labelText);
    EXPECT_EQ(Window().CurrentTable().size(), 3u);

    Drop({second});  // the list is emptied before the next load
    EXPECT_EQ(ListRows(list), ExpectedRows(dirB));

    boxes.clear();
    Drop({dirB.Folder("Broken.vbp")});
    EXPECT_TRUE(ListRows(list).empty());
    EXPECT_TRUE(Window().CurrentTable().empty());
    const CurrentFolder inOutput(dirB.Root());
    Command(100);
    EXPECT_EQ(boxes, (std::vector<Box>{{"VBPファイル読みこみエラー", "ありゃりゃ", window, false},
                                       {"プロジェクトファイルが指定されていません", "ん？", window, false}}));
    EXPECT_FALSE(PathExists(dirB.Path("Broken_StCnt.txt")));
}

TEST_F(CommandTest, OpenLoadsTheChosenProjectAndCancelKeepsTheLoadedOne)
{
    TempDir dirA, dirB;
    const std::string loaded = MakeProject(dirA);
    const std::string chosen = MakeProject(dirB, "Chosen.vbp");
    Window().LoadCommandLineProject(loaded);
    // Types the name into the file name box (the combo box of the
    // Explorer-style dialog, or the edit box of the older one) and takes it;
    // without a name, or should the name not be taken, cancels.
    auto open = [&](const std::string& name) {
        const CurrentFolder kept(".");  // whatever the dialog makes of it
        return WhileDialog(200, "VB プロジェクトファイルを開く", [&](HWND dialog) {
            if (!name.empty()) {
                const HWND combo = GetDlgItem(dialog, 0x47C);
                const HWND box = combo != nullptr ? combo : GetDlgItem(dialog, 0x480);
                SetWindowTextA(box, name.c_str());
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                const auto taken =
                    WaitUntil([dialog] { return IsWindow(dialog) == FALSE; }, "the dialog to take the name",
                              [box] { return "the file name box holds \"" + WindowText(box) + "\""; });
                EXPECT_TRUE(taken);
                if (taken) return;
            }
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    };
    EXPECT_EQ(open(""), window);
    EXPECT_EQ(Window().CurrentProjectPath(), loaded);
    EXPECT_EQ(ListRows(list), ExpectedRows(dirA));

    EXPECT_EQ(open(chosen), window);
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
    char* value = nullptr;
    UINT length = 0;
    const bool found =
        !block.empty() && GetFileVersionInfoA(program, 0, static_cast<DWORD>(block.size()), block.data()) &&
        VerQueryValueA(block.data(), "\\StringFileInfo\\041103a4\\FileVersion", reinterpret_cast<void**>(&value),
                       &length);
    return found ? std::string(value) : std::string();
}

// Set by a WH_GETMESSAGE hook once the hooked thread takes the marker (a
// WM_NULL with this wParam) from its queue: what was posted to the thread
// before the marker has been handled by then.
constexpr WPARAM kMarker = 0x4B4F4C;
std::atomic<bool> markerTaken{false};
LRESULT CALLBACK SeeMarker(int code, WPARAM removal, LPARAM message)
{
    const MSG& taken = *reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && taken.message == WM_NULL && taken.wParam == kMarker)
        markerTaken = true;
    return CallNextHookEx(nullptr, code, removal, message);
}
struct Unhook {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};

TEST_F(CommandTest, VersionDialogShowsTheResourcesVersionEscLeavesItOpenAndTheCloseBoxEndsIt)
{
    const std::string version = FileVersionOfThisProgram();
    ASSERT_FALSE(version.empty());
    std::string productLine;
    bool openAfterEsc = false;
    const HWND owner = WhileDialog(203, "バージョン情報", [&](HWND dialog) {
        productLine = WindowText(GetDlgItem(dialog, 600));
        markerTaken = false;
        const std::unique_ptr<std::remove_pointer_t<HHOOK>, Unhook> hook(
            SetWindowsHookExA(WH_GETMESSAGE, &SeeMarker, nullptr, GetWindowThreadProcessId(dialog, nullptr)));
        ASSERT_NE(hook.get(), nullptr);
        PostMessageA(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(dialog, WM_NULL, kMarker, 0);
        // Had Esc ended the dialog, its loop would have ended before the marker.
        EXPECT_TRUE(WaitUntil([dialog] { return markerTaken || IsWindow(dialog) == FALSE; },
                              "the dialog to handle Esc and take the marker posted after it"));
        openAfterEsc = IsWindow(dialog) != FALSE;
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(owner, window);
    EXPECT_EQ(productLine, "Kolvane " + version);
    EXPECT_TRUE(openAfterEsc);
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
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);

    // Whichever control has the focus.
    for (const auto& [target, key] : {std::pair{list, 'O'}, {radios[1], 'H'}, {window, 'V'}, {list, 'E'}}) {
        PostMessageA(target, WM_KEYDOWN, key, 1);
    }
    const int exitCode = ui::RunMessageLoop(window, LoadAcceleratorsA(instance, "KOLVANE_ACCELERATOR"));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(recordedCommands, (std::vector<int>{200, 202, 203}));
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(IsWindow(window));
}

// The menu's Exit is reached through Ctrl+E above.
TEST_F(CommandTest, UnknownCommandsDoNothingAndTheExitButtonEndsTheLoopWithZero)
{
    for (int id : {0, 1, 102, 204, 300, 600}) Command(id);
    EXPECT_TRUE(boxes.empty());
    PostMessageA(window, WM_COMMAND, 101, 0);
    EXPECT_EQ(ui::RunMessageLoop(window, nullptr), 0);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace kolvane::testing
