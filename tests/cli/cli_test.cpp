// Runs the built kolvane-cli on projects made here and compares what it
// writes byte for byte. Narrow literals are Shift_JIS (the reports); u8
// literals are UTF-8 (what the terminal gets).
#include "analysis/run/outputs.h"
#include "project/model/module_table.h"
#include "project/model/project_reader.h"
#include "tests/support/cli_run.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::TempDir;

using testing::RunCli;
using testing::Utf8;
using CliRun = testing::ProgramRun;

using testing::ListBanner;

// A form with one API declaration, one comment and one event handler:
// 4 steps, 1 comment.
constexpr std::string_view kForm =
    "VERSION 5.00\r\n"
    "Begin VB.Form Main\r\n"
    "End\r\n"
    "Attribute VB_Name = \"Main\"\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Option Explicit\r\n"
    "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n"
    "' 起動\r\n"
    "Private Sub Form_Load()\r\n"
    "    Caption = \"x\"\r\n"
    "End Sub\r\n";

// A standard module with a continued declaration, Sub Main and an
// undecorated function: 8 steps less the one every module loses, no comment.
constexpr std::string_view kModule =
    "Attribute VB_Name = \"Util\"\r\n"
    "Option Explicit\r\n"
    "Public Declare Sub Sleep Lib \"kernel32\" _\r\n"
    "    (ByVal ms As Long)\r\n"
    "Sub Main()\r\n"
    "    Sleep 10\r\n"
    "End Sub\r\n"
    "Function Twice(ByVal x As Long) As Long\r\n"
    "    Twice = x * 2\r\n"
    "End Function\r\n";

// A class with a property Get and Set: 7 steps, 1 comment.
constexpr std::string_view kClass =
    "VERSION 1.0 CLASS\r\n"
    "BEGIN\r\n"
    "  MultiUse = -1  'True\r\n"
    "END\r\n"
    "Attribute VB_Name = \"Shop\"\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Private mOwner As Object\r\n"
    "' 店の持ち主\r\n"
    "Public Property Get Owner() As Object\r\n"
    "    Set Owner = mOwner\r\n"
    "End Property\r\n"
    "Public Property Set Owner(ByVal newOwner As Object)\r\n"
    "    Set mOwner = newOwner\r\n"
    "End Property\r\n";

// The reports the core writes for the project, read back.
std::vector<std::string> CoreReports(const std::string& project, const TempDir& dir)
{
    testing::RecordingReporter quiet;
    const ProjectLoad load = LoadProject(project, quiet);
    EXPECT_TRUE(load.Loaded());
    std::vector<std::string> reports;
    for (const AnalysisId id : {AnalysisId::Steps, AnalysisId::Procedures, AnalysisId::Apis}) {
        const std::string path = dir.Path("core" + ReportFileName(project, RowOf(id).textSuffix));
        EXPECT_TRUE(testing::RunAnalysis(id, load.table, project, path).written);
        reports.push_back(testing::ReadBytes(path));
    }
    return reports;
}

// A project whose members stand beside it, in a sub-folder and in a
// sibling folder of its folder.
struct DemoProject {
    explicit DemoProject(const TempDir& dir)
    {
        dir.Folder("work");
        dir.Folder("work/My Demo");
        dir.Folder("work/My Demo/Forms");
        dir.Folder("work/Shared");
        dir.Folder("out");
        project = dir.Write("work/My Demo/Demo.vbp",
                            "Type=Exe\r\n"
                            "Class=Shop; Shop.cls\r\n"
                            "Module=Util; ..\\Shared\\Util.bas\r\n"
                            "Form=Forms\\Main.frm\r\n"
                            "Startup=\"Sub Main\"\r\n");
        dir.Write("work/My Demo/Forms/Main.frm", kForm);
        dir.Write("work/Shared/Util.bas", kModule);
        dir.Write("work/My Demo/Shop.cls", kClass);
    }
    std::string project;
};

const char* const kReportNames[] = {"Demo_StCnt.txt", "Demo_FncOp.txt", "Demo_APIOp.txt"};

TEST(KolvaneCli, AllThreeReportsAreTheCoresIntoTheOutputFolder)
{
    TempDir dir;
    const DemoProject demo(dir);
    const std::vector<std::string> core = CoreReports(demo.project, dir);

    const CliRun run = RunCli(dir.Root(), {"--all", "-o", dir.Path("out"), demo.project});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, dir.Path("out/Demo_StCnt.txt") + "\n" + dir.Path("out/Demo_FncOp.txt") + "\n" +
                           dir.Path("out/Demo_APIOp.txt") + "\n");
    for (std::size_t i = 0; i < core.size(); ++i) EXPECT_EQ(dir.Read(std::string("out/") + kReportNames[i]), core[i]);
    EXPECT_NE(core[0].find("basファイル         7行         0行         7行\r\n"), std::string::npos);
}

// A relative project path finds members in "..\" folders as the absolute
// one does: the reports differ in the banner's project path alone.
TEST(KolvaneCli, RelativeProjectPathsFindTheirParentRelativeMembers)
{
    TempDir dir;
    const DemoProject demo(dir);
    const std::vector<std::string> core = CoreReports(demo.project, dir);
    const struct {
        std::string folder;
        std::string project;
    } starts[] = {{dir.Path("work/My Demo"), "Demo.vbp"},
                  {dir.Path("work"), "My Demo/Demo.vbp"},
                  {dir.Root(), demo.project}};
    for (const auto& start : starts) {
        SCOPED_TRACE(start.project);
        const CliRun run = RunCli(start.folder, {"-A", "-o", dir.Path("out"), start.project});
        EXPECT_EQ(run.status, 0) << run.err;
        for (std::size_t i = 0; i < core.size(); ++i) {
            std::string expected = core[i];
            const std::string banner = "プロジェクトファイル ： ";
            expected.replace(expected.find(banner) + banner.size(), demo.project.size(), start.project);
            EXPECT_EQ(dir.Read(std::string("out/") + kReportNames[i]), expected) << kReportNames[i];
        }
    }
}

// With several analyses each module is read once for all, yet each
// analysis reports as if it ran alone, in report order.
TEST(KolvaneCli, AllWithAMissingModuleReportsEachAnalysisInTurn)
{
    TempDir dir;
    dir.Write("Demo.vbp", "Form=Gone.frm\r\n");

    const CliRun run = RunCli(dir.Root(), {"--all", "Demo.vbp"});

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, Utf8(u8"kolvane-cli: Demo.vbp: 処理に失敗しました\n"
                            u8"kolvane-cli: Demo.vbp: ステップ数・コメント数取得処理エラー\n"
                            u8"kolvane-cli: Demo.vbp: ファイルを開けませんでした\n"
                            u8"kolvane-cli: Demo.vbp: frmモジュール 関数読み取りエラー\n"
                            u8"kolvane-cli: Demo.vbp: 関数取得処理エラー\n"
                            u8"kolvane-cli: Demo.vbp: ファイルを開けませんでした\n"
                            u8"kolvane-cli: Demo.vbp: frmモジュール API関数読み取りエラー\n"
                            u8"kolvane-cli: Demo.vbp: API関数取得処理エラー\n"));
    EXPECT_FALSE(testing::PathExists(dir.Path("Demo_StCnt.txt")));
    EXPECT_EQ(dir.Read("Demo_APIOp.txt"), ListBanner("Demo.vbp"));
}

// The text reports list forms, modules and classes only: a missing designer
// fails none of them, while the tables that list it say so in exit status 1.
TEST(KolvaneCli, AMemberOnlyTheTablesListFailsOnlyThem)
{
    TempDir dir;
    dir.Write("Demo.vbp", "Module=A; A.bas\r\nDesigner=Gone.dsr\r\n");
    dir.Write("A.bas", "x = 1\r\n");

    const CliRun text = RunCli(dir.Root(), {"-s", "--summary", "s.csv", "Demo.vbp"});
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.err, "");
    const CliRun csv = RunCli(dir.Root(), {"-s", "--format", "csv", "Demo.vbp"});
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(csv.err, Utf8(u8"kolvane-cli: Demo.vbp: ファイルが見つかりません: Gone.dsr\n"));
}

TEST(KolvaneCli, AcceptedOptionForms)
{
    const struct {
        std::vector<std::string> arguments;
        std::string out;
    } cases[] = {
        {{"--output=out", "Demo.vbp"}, "out/Demo_StCnt.txt\n"},
        {{"-oout", "Demo.vbp"}, "out/Demo_StCnt.txt\n"},
        {{"-sp", "Demo.vbp"}, "Demo_StCnt.txt\nDemo_FncOp.txt\n"},
        {{"-vao", "out", "Demo.vbp"}, "out/Demo_APIOp.txt\n"},
        {{"--", "-Demo.vbp"}, "-Demo_StCnt.txt\n"},
        {{"-o", "made/deeper", "Demo.vbp"}, "made/deeper/Demo_StCnt.txt\n"},  // made with its parents
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.Folder("out");
        dir.Write("Demo.vbp", "Module=A; A.bas\r\n");
        dir.Write("-Demo.vbp", "Module=A; A.bas\r\n");
        dir.Write("A.bas", "x = 1\r\n");
        const CliRun run = RunCli(dir.Root(), c.arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.out) << c.arguments.front();
    }
}

TEST(KolvaneCli, ModulesNamedTheWindowsWayAreFound)
{
    TempDir dir;
    dir.Folder("classes");
    // The project names UTIL.BAS and Classes\表示.cls (Shift_JIS, with a 0x5C
    // trail byte); on disk they are Util.bas and classes/表示.cls in UTF-8.
    dir.Write("Demo.vbp",
              "Module=Util; UTIL.BAS\r\n"
              "Class=Display; Classes\\表示.cls\r\n");
    dir.Write("Util.bas", "Public Total As Long\r\nPublic Count As Long\r\n");
    dir.Write("classes/" + Utf8(u8"表示.cls"), "Attribute VB_Exposed = False\r\nPrivate mText As String\r\n");

    const CliRun run = RunCli(dir.Root(), {"Demo.vbp"});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "Demo_StCnt.txt\n");
    const std::string report = dir.Read("Demo_StCnt.txt");
    EXPECT_NE(report.find("ファイル名 ： UTIL.BAS\r\nステップ数 ：        1 行\r\n"), std::string::npos);
    EXPECT_NE(report.find("ファイル名 ： 表示.cls\r\nステップ数 ：        1 行\r\n"), std::string::npos);
}

// Each project is loaded afresh; --verbose shows the file layer's notes.
TEST(KolvaneCli, SeveralProjectsAreEachLoadedAfreshAndVerboseShowsTheTrace)
{
    TempDir dir;
    dir.Folder("one");
    dir.Folder("two");
    dir.Write("one/First.vbp", "Module=A; A.bas\r\nModule=B; B.bas\r\n");
    dir.Write("one/A.bas", "x = 1\r\ny = 2\r\n");
    dir.Write("one/B.bas", "' note\r\nz = 3\r\n");
    dir.Write("two/Second.vbp", "Module=C; C.bas\r\n");
    dir.Write("two/C.bas", "Sub Main()\r\nEnd Sub\r\n");

    const CliRun run = RunCli(dir.Root(), {"-sv", "one/First.vbp", "two/Second.vbp"});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "First_StCnt.txt\nSecond_StCnt.txt\n");
    std::string trace;
    for (int module = 0; module < 3; ++module) trace += Utf8(u8"  ファイルを開きました\n  ファイルを閉じました\n");
    EXPECT_EQ(run.err, trace);
    EXPECT_NE(dir.Read("Second_StCnt.txt").find("basファイル         1行         0行         1行\r\n"),
              std::string::npos);
    EXPECT_NE(dir.Read("First_StCnt.txt").find("basファイル         1行         1行         2行\r\n"),
              std::string::npos);
}

// A project the text reports refuse is named with the reason, the limit it
// passed included; the projects after it still run.
TEST(KolvaneCli, RefusedProjectsAreNamedWithTheReasonAndTheRestStillRuns)
{
    TempDir dir;
    dir.Write("Empty.vbp", "Type=Exe\r\nIconForm=\"Main\"\r\n");
    dir.Write("Good.vbp", "Module=A; A.bas\r\n");
    dir.Write("A.bas", "x = 1\r\n");
    std::string modules;
    for (int i = 0; i < 101; ++i) modules += "Module=M; M" + std::to_string(i) + ".bas\r\n";
    dir.Write("Big.vbp", modules);
    dir.Write("Long.vbp", "Form=" + std::string(255, 'f') + "\r\n");
    // A folder and a group that stand for no project.
    dir.Folder("NoProjects");
    dir.Write("NoProjects/readme.txt", "");
    dir.Write("None.vbg", "VBGROUP 5.0\r\n");

    const CliRun run =
        RunCli(dir.Root(), {"NoProjects", "None.vbg", "Missing.vbp", "Empty.vbp", "Big.vbp", "Long.vbp", "Good.vbp"});

    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              Utf8(u8"kolvane-cli: NoProjects: プロジェクトファイルが見つかりません\n"
                   u8"kolvane-cli: None.vbg: プロジェクトファイルが見つかりません\n"
                   u8"kolvane-cli: Missing.vbp: プロジェクトファイルが見つかりません\n"
                   u8"kolvane-cli: Empty.vbp: プロジェクトファイルが指定されていません\n"
                   u8"kolvane-cli: Big.vbp: VBPファイル読みこみエラー: "
                   u8"Form=、Module=、Class= の行が多すぎます (各100行まで)\n"
                   u8"kolvane-cli: Long.vbp: VBPファイル読みこみエラー: ファイル名が長すぎます (254バイトまで)\n"));
    EXPECT_EQ(run.out, "Good_StCnt.txt\n");
    EXPECT_FALSE(testing::PathExists(dir.Path("Empty_StCnt.txt")));
    EXPECT_FALSE(testing::PathExists(dir.Path("Missing_StCnt.txt")));
}

// Two projects of one title ("Project1.vbp", the name Visual Basic gives a
// new project) would write reports of one name: each writes into the folder
// of its path relative to what was searched, the others into the output
// folder itself.
TEST(KolvaneCli, ProjectsOfOneTitleWriteIntoTheirOwnFolders)
{
    TempDir dir;
    for (const std::string folder : {"sys", "sys/Sales", "sys/Stock", "a", "b"}) dir.Folder(folder);
    for (const std::string project :
         {"sys/Sales/Project1.vbp", "sys/Stock/PROJECT1.vbp", "sys/Top.vbp", "a/P.vbp", "b/P.vbp"}) {
        dir.Write(project, "Module=A; A.bas\r\n");
        dir.Write(project.substr(0, project.rfind('/')) + "/A.bas", "x = 1\r\n");
    }

    const CliRun run = RunCli(dir.Root(), {"--steps", "-o", "out", "sys"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "out/Sales/Project1_StCnt.txt\nout/Stock/PROJECT1_StCnt.txt\nout/Top_StCnt.txt\n");
    EXPECT_NE(dir.Read("out/Sales/Project1_StCnt.txt").find("sys/Sales/Project1.vbp"), std::string::npos);
    EXPECT_NE(dir.Read("out/Stock/PROJECT1_StCnt.txt").find("sys/Stock/PROJECT1.vbp"), std::string::npos);
    // Each at the top of a folder searched: the folders as given.
    const CliRun tops = RunCli(dir.Root(), {"--steps", "-o", "tops", "sys/Sales", "sys/Stock"});
    EXPECT_EQ(tops.out, "tops/sys/Sales/Project1_StCnt.txt\ntops/sys/Stock/PROJECT1_StCnt.txt\n");

    // Projects named one by one, into the current folder; a project that
    // cannot be read leaves no folder behind.
    const CliRun named = RunCli(dir.Root(), {"--unused", "--format", "csv", "a/P.vbp", "b/P.vbp", "c/P.vbp"});
    EXPECT_EQ(named.status, 2);
    EXPECT_EQ(named.out, "a/P_Unused.csv\nb/P_Unused.csv\n");
    EXPECT_FALSE(testing::PathExists(dir.Path("c")));
}

// Usage errors exit with 2, print nothing and name the program on standard
// error; help and version exit with 0.
TEST(KolvaneCli, UsageErrorsHelpAndVersion)
{
    TempDir dir;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, ""}, {{"-x", "Demo.vbp"}, ""}, {{"--output"}, ""}, {{"--steps", "-o"}, ""}, {{"--bogus", "Demo.vbp"}, ""},
        {{"--help"}, "Usage: kolvane-cli"},
        {{"--version"}, "kolvane-cli " KOLVANE_VERSION "\n"}};
    for (const auto& [arguments, outStart] : cases) {
        const CliRun run = RunCli(dir.Root(), arguments);
        EXPECT_EQ(run.status, outStart.empty() ? 2 : 0) << run.err;
        EXPECT_TRUE(outStart.empty() ? run.out.empty() : run.out.starts_with(outStart)) << run.out;
        EXPECT_EQ(run.err.rfind("kolvane-cli: ", 0) == 0, outStart.empty()) << run.err;
    }
}

}  // namespace
}  // namespace kolvane
