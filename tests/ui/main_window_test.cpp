// The main window, its controls and the module list, created for real.
#include "tests/ui/main_window_fixture.h"
#include "ui/commands.h"
#include "ui/module_list_view.h"

#include <cstring>
#include <set>

namespace kolvane::testing {
namespace {

constexpr const char* kFontFace = "ＭＳ Ｐゴシック";

struct ControlCase {
    const char* className;
    const char* text;
    LONG style;
    RECT rect;
    bool inGroup;
    int id;
};

TEST_F(MainWindowTest, ControlsHaveTheirClassTextStyleRectIdParentAndOwnFont)
{
    constexpr LONG kRadio = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
    constexpr LONG kPush = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    const ControlCase cases[] = {
        {"static", "ファイルパス：", WS_CHILD | WS_VISIBLE, {10, 6, 570, 20}, false, 0},
        {"button", "解析種類", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, {380, 28, 550, 130}, false, 0},
        {"button", "コード数解析", kRadio, {20, 16, 150, 46}, true, 0},
        {"button", "関数解析", kRadio, {20, 41, 150, 71}, true, 0},
        {"button", "API関数解析", kRadio, {20, 64, 150, 94}, true, 0},
        {"button", "実  行", kPush, {380, 180, 465, 210}, false, 100},
        {"button", "終  了", kPush, {465, 180, 550, 210}, false, 101},
    };
    std::set<HGDIOBJ> fonts;
    for (const ControlCase& expected : cases) {
        SCOPED_TRACE(expected.text);
        const HWND parent = expected.inGroup ? group : window;
        const HWND control = FindWindowExA(parent, nullptr, expected.className, expected.text);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassName(control), expected.className);
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & ~WS_TABSTOP & ~WS_GROUP, expected.style);
        EXPECT_EQ(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
        EXPECT_EQ(GetParent(control), parent);
        EXPECT_EQ(GetDlgCtrlID(control), expected.id);
        const RECT rect = RectInParent(control);
        EXPECT_EQ(std::make_tuple(rect.left, rect.top, rect.right, rect.bottom),
                  std::make_tuple(expected.rect.left, expected.rect.top, expected.rect.right, expected.rect.bottom));

        const auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        EXPECT_TRUE(fonts.insert(font).second) << "font shared with another control";
        LOGFONTA face{};
        ASSERT_EQ(GetObjectA(font, sizeof face, &face), static_cast<int>(sizeof face));
        EXPECT_STREQ(face.lfFaceName, kFontFace);
        EXPECT_EQ(face.lfHeight, 12);
        EXPECT_EQ(face.lfCharSet, DEFAULT_CHARSET);
    }
    ASSERT_EQ(radios.size(), 3u);  // the first one checked
    for (int i = 0; i < 3; ++i) EXPECT_EQ(SendMessageA(radios[i], BM_GETCHECK, 0, 0), i == 0 ? BST_CHECKED : BST_UNCHECKED);
}

TEST_F(MainWindowTest, MainWindowAndModuleListAreSetUpAsTheProgramShowsThem)
{
    EXPECT_EQ(ClassName(window), "kolvane");
    EXPECT_EQ(WindowText(window), "Kolvane");
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & 0x00CF0000, 0x00CA0000);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 570);
    EXPECT_EQ(outer.bottom - outer.top, 264);
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), COLOR_SCROLLBAR + 1);
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0);

    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ClassName(list), "syslistview32");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(list, GWL_STYLE)), 0x56800009u);
    EXPECT_EQ(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetParent(list), window);
    const RECT rect = RectInParent(list);
    EXPECT_EQ(std::make_tuple(rect.left, rect.top, rect.right, rect.bottom), std::make_tuple(10, 30, 370, 210));
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x60, 0x60);

    const std::tuple<const char*, int, int> columns[] = {{"ファイル名前", 280, LVCFMT_LEFT}, {"拡張子", 60, LVCFMT_CENTER}};
    for (int index = 0; index < 2; ++index) {
        char heading[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.pszText = heading;
        column.cchTextMax = sizeof heading;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(heading, std::get<0>(columns[index]));
        EXPECT_EQ(column.cx, std::get<1>(columns[index]));
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, std::get<2>(columns[index]));
    }
}

TEST_F(MainWindowTest, MenuComesFromTheResources)
{
    const HMENU menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
    const std::tuple<int, int, const char*> entries[] = {
        {0, 200, "開く(&O)\tCtrl+O"}, {0, 201, "終了(&E)\tCtrl+E"},
        {1, 202, "ヘルプファイル(&H)\tCtrl+H"}, {1, 203, "バージョン情報(&V)\tCtrl+V"}};
    char text[64] = {};
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "ファイル(&F)");
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "ヘルプ(&H)");
    for (const auto& [popup, id, expected] : entries) {
        GetMenuStringA(GetSubMenu(menu, popup), id, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(text, expected);
    }
}

TEST_F(MainWindowTest, QuotedCommandLineProjectWithSpacesFillsTheListInTableOrder)
{
    TempDir dir;
    const std::string project = MakeProject(dir, "My Demo.vbp");
    ui::LoadCommandLineProject(window, "\"" + project + "\" and further words");
    EXPECT_EQ(ListRows(list), ExpectedRows(dir));
    EXPECT_EQ(WindowText(label), project);  // as typed, no prefix
    EXPECT_EQ(ui::CurrentProjectPath(), project);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, CommandLineNameIsTheFirstWordOrTheQuotedPath)
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

TEST_F(MainWindowTest, MissingCommandLineProjectIsIgnoredAndAFailedLoadEmptiesTheTable)
{
    TempDir dir;
    ui::LoadCommandLineProject(window, dir.Path("none.vbp"));
    EXPECT_TRUE(ListRows(list).empty());
    EXPECT_EQ(WindowText(label), "ファイルパス：");
    EXPECT_TRUE(boxes.empty());

    ui::LoadCommandLineProject(window, MakeProject(dir));
    const std::string folder = dir.Folder("Folder.vbp");
    ui::LoadCommandLineProject(window, folder);  // exists, but cannot be read as a file
    EXPECT_EQ(boxes, (std::vector<Box>{{"VBPファイル読みこみエラー", "ありゃりゃ", window, false}}));
    EXPECT_EQ(WindowText(label), folder);
    EXPECT_EQ(ModuleCount, 0);
    EXPECT_EQ(ListRows(list).size(), 3u);  // the earlier rows: the command line never empties the list
}

TEST_F(MainWindowTest, LongPathIsCutTo255BytesInTheList)
{
    ModuleEntry& entry = ModuleTable[0];
    std::memcpy(entry.kind, "bas", 3);
    std::memset(entry.path, 'p', kPathFieldSize - 1);
    ModuleCount = 1;
    ui::module_list::Fill();
    EXPECT_EQ(ListRows(list), (std::vector<Row>{{std::string(255, 'p'), "bas"}}));
}

TEST_F(MainWindowTest, HeaderClickSelectsAllWhenNoneIsSelectedAndClearsOtherwise)
{
    TempDir dir;
    ui::LoadCommandLineProject(window, MakeProject(dir));
    const HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    auto click = [&](int column) {
        NMHEADERA notice{};
        notice.hdr.hwndFrom = header;
        notice.hdr.idFrom = GetDlgCtrlID(header);
        notice.hdr.code = HDN_ITEMCLICKA;
        notice.iItem = column;
        notice.iButton = 0;
        EXPECT_EQ(SendMessageA(window, WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice)), 0);
        return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    };
    SetFocus(window);
    EXPECT_EQ(click(0), 3);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(click(1), 0);
    EXPECT_EQ(click(1), 3);

    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(click(0), 0);  // one selected: every selection cleared

    NMHDR other{header, 0, static_cast<UINT>(HDN_ITEMCLICKW)};
    SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, CloseReleasesEveryControlAndFontAndEndsTheLoop)
{
    std::vector<HWND> controls{list, label, group, radios[0], radios[1], radios[2],
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
    EXPECT_EQ(ui::module_list::SelectedCount(), -1);

    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

}  // namespace
}  // namespace kolvane::testing
