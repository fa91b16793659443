#include "project/model/project_reader.h"

#include "project/model/member_list.h"

#include "project/model/module_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::kSep;
using testing::TempDir;
using testing::RecordingReporter;

TEST(ResolveParentRelative, ResolutionTable)
{
    const struct {
        const char* directory;
        const char* value;
        const char* resolved;
    } cases[] = {
        {"C:\\Work\\Proj\\", "..\\Common\\Util.bas", "C:\\Work\\Common\\Util.bas"},
        {"C:\\Work\\Proj\\", "..\\..\\Lib\\Calc.cls", "C:\\Lib\\Calc.cls"},
        {"C:\\Proj\\", "..\\Common\\Util.bas", "C:\\Common\\Util.bas"},
        // More steps than folders stop at the root.
        {"C:\\Proj\\", "..\\..\\..\\x.bas", "C:\\x.bas"},
        {"C:\\", "..\\x.bas", "C:\\x.bas"},
        // No ".." at all: the folder whole, nothing dropped.
        {"C:\\Work\\Proj\\", "x.bas", "C:\\Work\\Proj\\x.bas"},
        {"", "x.bas", "x.bas"},
        // "..." holds ".." at two places: two steps up, six characters dropped.
        {"C:\\A\\B\\C\\", "...\\x.bas", "C:\\A\\bas"},
        // 表 is 0x95 0x5C, ソ is 0x83 0x5C: no separators.
        {"C:\\\x95\x5C\x8E\xA6\\\x83\x5C\\", "..\\a.bas", "C:\\\x95\x5C\x8E\xA6\\a.bas"},
    };
    for (const auto& c : cases) {
        std::string out;
        ResolveParentRelative(c.directory, c.value, out);
        EXPECT_EQ(out, c.resolved) << c.directory << " + " << c.value;
    }
}

struct Row {
    std::string kind;
    std::string path;
};

std::vector<Row> Rows(const ProjectLoad& load)
{
    std::vector<Row> rows;
    for (const ModuleEntry& entry : load.table) rows.push_back({std::string(entry.kind, 3), entry.path});
    return rows;
}

bool operator==(const Row& a, const Row& b) { return a.kind == b.kind && a.path == b.path; }

void PrintTo(const Row& row, std::ostream* os) { *os << row.kind << ":" << row.path; }

class LoadProjectTest : public ::testing::Test {
protected:
    std::string Project(std::string_view bytes, std::string_view name = "Demo.vbp")
    {
        return dir.Write(name, bytes);
    }
    std::string In(std::string_view name) const { return dir.Root() + kSep + std::string(name); }

    // The rows of a project that loads.
    std::vector<Row> Loaded(const std::string& path)
    {
        const ProjectLoad load = LoadProject(path, reporter);
        EXPECT_TRUE(load.Loaded()) << path;
        return Rows(load);
    }

    TempDir dir;
    RecordingReporter reporter;
};

TEST_F(LoadProjectTest, FormsThenModulesThenClassesInFileOrder)
{
    const std::string path = Project(
        "Type=Exe\r\n"
        "Class=Class1; Class1.cls\r\n"
        "Module=Module1; Module1.bas\r\n"
        "Form=Main.frm\r\n"
        "IconForm=\"Main\"\r\n"
        "Module=Util; Sub\\Util.bas\r\n"
        "Form=Forms\\About.frm\r\n"
        "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation\r\n");
    EXPECT_EQ(Loaded(path), (std::vector<Row>{{"frm", In("Main.frm")},
                                              {"frm", In("Forms\\About.frm")},
                                              {"bas", In("Module1.bas")},
                                              {"bas", In("Sub\\Util.bas")},
                                              {"cls", In("Class1.cls")}}));
}

TEST_F(LoadProjectTest, KeysInsideALineAndValueCuts)
{
    // "Form=" anywhere: the value still starts at the line's sixth character.
    // "Module="/"Class=": two characters after the first ";"; none: no row.
    const std::string path = Project(
        "xForm=Main.frm\n"
        "Module=NoSemicolon.bas\n"
        "Desc=\"Class=A;B\"\n"
        "Module=Tight;\n"
        "Class=C1; C1.cls");  // last line without newline keeps its value whole
    EXPECT_EQ(Loaded(path), (std::vector<Row>{{"frm", In("=Main.frm")},
                                              {"bas", In("")},
                                              {"cls", In("\"")},
                                              {"cls", In("C1.cls")}}));
}

TEST_F(LoadProjectTest, AbsoluteValuesAreStoredUnchangedParentRelativeOnesResolved)
{
    dir.Folder("Proj");
    const std::string path = dir.Write("Proj/P.vbp",
                                       "Module=A; D:\\Shared\\Util.bas\r\n"
                                       "Module=B; D:\\x\\..\\y.bas\r\n"
                                       "Module=U; ..\\Common\\Util.bas\r\n"
                                       "Class=C; \\\\server\\share\\C.cls\r\n");
    EXPECT_EQ(Loaded(path), (std::vector<Row>{{"bas", "D:\\Shared\\Util.bas"},
                                              {"bas", "D:\\x\\..\\y.bas"},
                                              {"bas", In("Common\\Util.bas")},
                                              {"cls", "\\\\server\\share\\C.cls"}}));
}

TEST_F(LoadProjectTest, ShiftJisFolderWithBackslashTrailByte)
{
    // 表示ソフト: 表 and ソ end in 0x5C.
    const std::string folder = dir.Folder("\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67");
    const std::string vbp = folder + kSep + "P.vbp";
    testing::WriteBytes(vbp, "Form=F.frm\r\nModule=M; ..\\M.bas\r\n");
    EXPECT_EQ(Loaded(vbp), (std::vector<Row>{{"frm", folder + kSep + "F.frm"}, {"bas", In("M.bas")}}));
}

TEST_F(LoadProjectTest, CtrlZEndsTheProjectAndLongLinesArriveInPieces)
{
    std::string bytes = "Form=A.frm\r\n";
    bytes += "Title=\"" + std::string(504, 'x') + "Form=B.frm\"\r\n";  // key in the second piece
    bytes += "Form=C.frm\r\n\x1A" "Form=D.frm\r\n";
    // The first piece fills the 511 bytes; the second is tested as a line of its own.
    EXPECT_EQ(Loaded(Project(bytes)),
              (std::vector<Row>{{"frm", In("A.frm")}, {"frm", In("B.frm\"")}, {"frm", In("C.frm")}}));
}

TEST_F(LoadProjectTest, FilesThatCannotBeOpenedAreTraced)
{
    for (const std::string& path : {In("Missing.vbp"), dir.Folder("folder.vbp")}) {
        reporter.trace.clear();
        const ProjectLoad load = LoadProject(path, reporter);
        EXPECT_EQ(load.failure, LoadFailure::CannotOpen);
        EXPECT_TRUE(load.table.empty());
        EXPECT_EQ(reporter.trace, "  ファイルオープンエラー\n");
    }
}

TEST_F(LoadProjectTest, LimitsRefuseTheWholeProjectAndNameTheLimit)
{
    std::string forms101, mixed256, mixed255;
    for (int i = 0; i < 101; ++i) forms101 += "Form=F" + std::to_string(i) + ".frm\r\n";
    for (int i = 0; i < 256; ++i) {
        const std::string line = (i % 3 == 0   ? "Form=X"
                                  : i % 3 == 1 ? "Module=M; X"
                                               : "Class=C; X") +
                                 std::to_string(i) + "\r\n";
        mixed256 += line;
        if (i < 255) mixed255 += line;
    }
    const std::string longValue = "Form=" + std::string(255, 'v') + "\r\n";
    const std::string okValue = "Form=" + std::string(254, 'v') + "\r\n";

    EXPECT_EQ(Loaded(Project(mixed255)).size(), 255u);
    // 100 forms per kind fit; 254-byte values fit when the folder is short enough.
    const std::pair<std::string, LoadFailure> refused[] = {
        {forms101, LoadFailure::TooManyOfAKind},
        {mixed256, LoadFailure::TooManyModules},
        {longValue, LoadFailure::ValueTooLong},
        {"Form=" + std::string(250, 'v') + "\r\n", LoadFailure::PathTooLong},
    };
    for (const auto& [bytes, failure] : refused) {
        if (failure == LoadFailure::PathTooLong && dir.Root().size() + 1 + 250 <= 256) continue;
        reporter.trace.clear();
        const ProjectLoad load = LoadProject(Project(bytes), reporter);
        EXPECT_EQ(load.failure, failure);
        EXPECT_TRUE(load.table.empty());
        EXPECT_EQ(reporter.trace, "  " + std::string(LimitText(failure)) + "\n");
    }
    // A value that fits but whose resolved path does not (257 bytes or more).
    EXPECT_EQ(LoadProject(Project(okValue), reporter).Loaded(), dir.Root().size() + 1 + 254 <= 256);
}

// The two readers of a project file agree on the forms, standard modules
// and classes of an ordinary project: the member list in file order, the
// module table by kind.
TEST_F(LoadProjectTest, TheMemberListHoldsTheTablesModules)
{
    dir.Folder("App");
    const std::string path = dir.Write("App/App.vbp",
                                       "Type=Exe\r\n"
                                       "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE\r\n"
                                       "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
                                       "Class=Order; Classes\\Order.cls\r\n"
                                       "Form=frmMain.frm\r\n"
                                       "UserControl=Gauge.ctl\r\n"
                                       "Module=Util; ..\\Shared\\Util.bas\r\n"
                                       "IconForm=\"frmMain\"\r\n"
                                       "Form=D:\\Forms\\About.frm\r\n"
                                       "Designer=Report.dsr\r\n"
                                       "Startup=\"frmMain\"\r\n"
                                       "Module=Api; Api.bas\r\n");
    std::vector<Member> members;
    ASSERT_EQ(ReadMemberList(path, members), ProjectStatus::Ok);
    std::vector<Row> fromMembers;
    for (const ModuleKind kind : {ModuleKind::Frm, ModuleKind::Bas, ModuleKind::Cls}) {
        for (const Member& member : members) {
            if (member.kind == kind) fromMembers.push_back({std::string(KindText(kind)), member.path});
        }
    }
    EXPECT_EQ(Loaded(path), fromMembers);
    EXPECT_EQ(members.size(), fromMembers.size() + 2);
}

}  // namespace
}  // namespace kolvane
