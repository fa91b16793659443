// The main window, its controls and the module list, created for real.
#include "tests/ui/main_window_fixture.h"
#include "ui/command_line.h"

#include <cstring>

namespace kolvane::testing {
namespace {

TEST(CommandLineProjectName, IsTheFirstWordOrTheQuotedPath)
{
    const std::string longName(261, 'a');
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\a.vbp", "C:\\a.vbp"},
        {"C:\\a.vbp rest", "C:\\a.vbp"},
        {"\"C:\\My Projects\\a.vbp\" rest", "C:\\My Projects\\a.vbp"},
        {"\"C:\\unclosed a.vbp", "C:\\unclosed a.vbp"},
        {std::string(260, 'a'), std::string(260, 'a')},
        {longName, ""},  // longer than a path may be: looked for as nothing
    };
    for (const auto& [tail, name] : cases) EXPECT_EQ(ui::CommandLineProjectName(tail), name) << tail;
}

// The label shows the name as typed, without the prefix of Open and Drop.
TEST_F(MainWindowTest, CommandLineProjectFillsTheListAMissingOneIsIgnoredAFailedLoadEmptiesOnlyTheTable)
{
    TempDir dir;
    Window().LoadCommandLineProject(dir.Path("none.vbp"));
    EXPECT_TRUE(ListRows(list).empty());
    EXPECT_EQ(WindowText(label), "ファイルパス：");

    const std::string project = MakeProject(dir, "My Demo.vbp");
    Window().LoadCommandLineProject("\"" + project + "\" and further words");
    EXPECT_EQ(ListRows(list), ExpectedRows(dir));
    EXPECT_EQ(WindowText(label), project);
    EXPECT_EQ(Window().CurrentProjectPath(), project);
    EXPECT_TRUE(boxes.empty());

    const std::string folder = dir.Folder("Folder.vbp");
    Window().LoadCommandLineProject(folder);  // exists, but cannot be read as a file
    EXPECT_EQ(boxes, (std::vector<Box>{{"VBPファイル読みこみエラー", "ありゃりゃ", window, false}}));
    EXPECT_EQ(WindowText(label), folder);
    EXPECT_TRUE(Window().CurrentTable().empty());
    EXPECT_EQ(ListRows(list), ExpectedRows(dir));  // the command line never empties the list
}

TEST_F(MainWindowTest, LongPathIsCutTo255BytesInTheList)
{
    ModuleEntry entry = MakeModuleEntry("bas", "");
    std::memset(entry.path, 'p', kPathFieldSize - 1);
    Window().ModuleList().Fill({entry});
    EXPECT_EQ(ListRows(list), (std::vector<Row>{{std::string(255, 'p'), "bas"}}));
}

TEST_F(MainWindowTest, HeaderClickSelectsAllWhenNoneIsSelectedAndClearsOtherwise)
{
    TempDir dir;
    Window().LoadCommandLineProject(MakeProject(dir));
    const HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const auto id = static_cast<UINT_PTR>(GetDlgCtrlID(header));
    auto click = [&](int column) {
        NMHEADERA notice{{header, id, static_cast<UINT>(HDN_ITEMCLICKA)}, column, 0, nullptr};
        EXPECT_EQ(SendMessageA(window, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&notice)), 0);
        return ListView_GetSelectedCount(list);
    };
    SetFocus(window);
    EXPECT_EQ(click(0), 3);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(click(1), 0);
    EXPECT_EQ(click(1), 3);

    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(click(0), 0);  // one selected: every selection cleared
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, CloseReleasesEveryControlAndFontAndEndsTheLoop)
{
    std::vector<HWND> controls{list, label, GetParent(radios[0]), radios[0], radios[1], radios[2],
                               GetDlgItem(window, 100), GetDlgItem(window, 101)};
    std::vector<HGDIOBJ> fonts;
    for (HWND control : controls) {
        ASSERT_TRUE(IsWindow(control));
        if (control != list) fonts.push_back(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    }
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(window));
    for (HWND control : controls) EXPECT_FALSE(IsWindow(control));
    for (HGDIOBJ font : fonts) EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(ui::MainWindow::From(window), nullptr);

    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

}  // namespace
}  // namespace kolvane::testing
