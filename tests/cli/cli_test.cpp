// Runs the built kolvane-cli on projects made here and compares what it
// writes byte for byte. Narrow literals are Shift_JIS (the reports); u8
// literals are UTF-8 (what the terminal gets).
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::TempDir;

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string Quoted(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// Runs kolvane-cli in the folder with the arguments.
CliRun RunCli(const std::string& folder, const std::vector<std::string>& arguments)
{
    TempDir capture;
    std::string command = "cd " + Quoted(folder) + " && " + Quoted(KOLVANE_CLI);
    for (const std::string& argument : arguments) command += " " + Quoted(argument);
    command += " >" + Quoted(capture.Path("out")) + " 2>" + Quoted(capture.Path("err"));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, capture.Read("out"), capture.Read("err")};
}

using testing::kTotalsHeader;
using testing::ListBanner;
using testing::StepBanner;

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

TEST(KolvaneCli, AllThreeReportsAreWrittenIntoTheOutputFolder)
{
    TempDir dir;
    dir.Folder("My Demo");
    dir.Folder("out");
    const std::string project = dir.Write("My Demo/Demo.vbp",
                                          "Type=Exe\r\n"
                                          "Class=Shop; Shop.cls\r\n"
                                          "Module=Util; Util.bas\r\n"
                                          "Form=Main.frm\r\n"
                                          "Startup=\"Sub Main\"\r\n");
    dir.Write("My Demo/Main.frm", kForm);
    dir.Write("My Demo/Util.bas", kModule);
    dir.Write("My Demo/Shop.cls", kClass);

    const CliRun run = RunCli(dir.Root(), {"--all", "-o", dir.Path("out"), project});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, dir.Path("out/Demo_StCnt.txt") + "\n" + dir.Path("out/Demo_FncOp.txt") + "\n" +
                           dir.Path("out/Demo_APIOp.txt") + "\n");
    EXPECT_EQ(dir.Read("out/Demo_StCnt.txt"), StepBanner(project) +
                                                  "ファイル名 ： Main.frm\r\n"
                                                  "ステップ数 ：        4 行\r\n"
                                                  "コメント数 ：        1 行\r\n"
                                                  "\r\n"
                                                  "ファイル名 ： Util.bas\r\n"
                                                  "ステップ数 ：        7 行\r\n"
                                                  "コメント数 ：        0 行\r\n"
                                                  "\r\n"
                                                  "ファイル名 ： Shop.cls\r\n"
                                                  "ステップ数 ：        7 行\r\n"
                                                  "コメント数 ：        1 行\r\n"
                                                  "\r\n" +
                                                  std::string(kTotalsHeader) +
                                                  "frmファイル         4行         1行         5行\r\n"
                                                  "basファイル         7行         0行         7行\r\n"
                                                  "clsファイル         7行         1行         8行\r\n"
                                                  "\r\n"
                                                  "\r\n");
    EXPECT_EQ(dir.Read("out/Demo_FncOp.txt"), ListBanner(project) +
                                                  "-- Main.frm --\r\n"
                                                  "Private Sub Form_Load()\r\n"
                                                  "関数は 1 個、存在します。\r\n"
                                                  "\r\n"
                                                  "プロパティは存在しません。\r\n"
                                                  "\r\n"
                                                  "-- Util.bas --\r\n"
                                                  "Sub Main()\r\n"
                                                  "Public Function Twice(ByVal x As Long) As Long\r\n"
                                                  "関数は 1 個、存在します。\r\n"
                                                  "\r\n"
                                                  "プロパティは存在しません。\r\n"
                                                  "\r\n"
                                                  "-- Shop.cls --\r\n"
                                                  "関数は存在しません。\r\n"
                                                  "\r\n"
                                                  "Public Property Get Owner() As Object\r\n"
                                                  "Public Property Set Owner(ByVal newOwner As Object)\r\n"
                                                  "プロパティは 2 個、存在します。\r\n"
                                                  "\r\n");
    EXPECT_EQ(dir.Read("out/Demo_APIOp.txt"), ListBanner(project) +
                                                  "-- Main.frm --\r\n"
                                                  "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n"
                                                  "API関数は 1 個、存在します。\r\n"
                                                  "\r\n"
                                                  "-- Util.bas --\r\n"
                                                  "Public Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\r\n"
                                                  "API関数は 1 個、存在します。\r\n"
                                                  "\r\n"
                                                  "-- Shop.cls --\r\n"
                                                  "API関数は存在しません。\r\n"
                                                  "\r\n");
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
    EXPECT_EQ(dir.Read("Demo_StCnt.txt"), StepBanner("Demo.vbp") +
                                              "ファイル名 ： UTIL.BAS\r\n"
                                              "ステップ数 ：        1 行\r\n"
                                              "コメント数 ：        0 行\r\n"
                                              "\r\n"
                                              "ファイル名 ： 表示.cls\r\n"
                                              "ステップ数 ：        1 行\r\n"
                                              "コメント数 ：        0 行\r\n"
                                              "\r\n" +
                                              std::string(kTotalsHeader) +
                                              "frmファイル         0行         0行         0行\r\n"
                                              "basファイル         1行         0行         1行\r\n"
                                              "clsファイル         1行         0行         1行\r\n"
                                              "\r\n"
                                              "\r\n");
}

TEST(KolvaneCli, SeveralProjectsAreEachLoadedAfresh)
{
    TempDir dir;
    dir.Folder("one");
    dir.Folder("two");
    dir.Write("one/First.vbp", "Module=A; A.bas\r\nModule=B; B.bas\r\n");
    dir.Write("one/A.bas", "x = 1\r\ny = 2\r\n");
    dir.Write("one/B.bas", "' note\r\nz = 3\r\n");
    dir.Write("two/Second.vbp", "Module=C; C.bas\r\n");
    dir.Write("two/C.bas", "Sub Main()\r\nEnd Sub\r\n");

    const CliRun run = RunCli(dir.Root(), {"-s", "one/First.vbp", "two/Second.vbp"});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "First_StCnt.txt\nSecond_StCnt.txt\n");
    EXPECT_EQ(dir.Read("Second_StCnt.txt"), StepBanner("two/Second.vbp") +
                                                "ファイル名 ： C.bas\r\n"
                                                "ステップ数 ：        1 行\r\n"
                                                "コメント数 ：        0 行\r\n"
                                                "\r\n" +
                                                std::string(kTotalsHeader) +
                                                "frmファイル         0行         0行         0行\r\n"
                                                "basファイル         1行         0行         1行\r\n"
                                                "clsファイル         0行         0行         0行\r\n"
                                                "\r\n"
                                                "\r\n");
    EXPECT_NE(dir.Read("First_StCnt.txt").find("basファイル         1行         1行         2行\r\n"),
              std::string::npos);
}

TEST(KolvaneCli, UnreadableAndEmptyProjectsAreReportedAndTheRestStillRuns)
{
    TempDir dir;
    dir.Write("Empty.vbp", "Type=Exe\r\nIconForm=\"Main\"\r\n");
    dir.Write("Good.vbp", "Module=A; A.bas\r\n");
    dir.Write("A.bas", "x = 1\r\n");

    const CliRun run = RunCli(dir.Root(), {"Missing.vbp", "Empty.vbp", "Good.vbp"});

    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, Utf8(u8"kolvane-cli: ありゃりゃ: VBPファイル読みこみエラー\n"
                            u8"kolvane-cli: ん？: プロジェクトファイルが指定されていません\n"));
    EXPECT_EQ(run.out, "Good_StCnt.txt\n");
    EXPECT_FALSE(testing::PathExists(dir.Path("Empty_StCnt.txt")));
    EXPECT_FALSE(testing::PathExists(dir.Path("Missing_StCnt.txt")));
}

TEST(KolvaneCli, FailedAnalysisExitsWithOneAndWritesNoReport)
{
    TempDir dir;
    dir.Write("Demo.vbp", "Form=Gone.frm\r\n");

    const CliRun run = RunCli(dir.Root(), {"Demo.vbp"});

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, Utf8(u8"kolvane-cli: あ～あ: 処理に失敗しました\n"
                            u8"kolvane-cli: エラー: ステップ数・コメント数取得処理\n"));
    EXPECT_FALSE(testing::PathExists(dir.Path("Demo_StCnt.txt")));
}

TEST(KolvaneCli, VerboseShowsTheTraceLinesOnStandardError)
{
    TempDir dir;
    dir.Write("Demo.vbp", "Module=A; A.bas\r\n");
    dir.Write("A.bas", "x = 1\r\n");

    const CliRun run = RunCli(dir.Root(), {"--verbose", "Demo.vbp"});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Demo_StCnt.txt\n");
    EXPECT_EQ(run.err, Utf8(u8"  ファイルを開きました\n  ファイルを閉じました\n"));
}

TEST(KolvaneCli, UsageErrorsExitWithTwo)
{
    TempDir dir;
    const std::vector<std::vector<std::string>> commandLines = {
        {}, {"-x", "Demo.vbp"}, {"--output"}, {"--steps", "-o"}, {"--bogus", "Demo.vbp"},
        {"-o", "no-such-folder", "Demo.vbp"}};
    for (const auto& arguments : commandLines) {
        const CliRun run = RunCli(dir.Root(), arguments);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("kolvane-cli: ", 0), 0u) << run.err;
    }
}

TEST(KolvaneCli, HelpAndVersionExitWithZero)
{
    TempDir dir;
    const CliRun help = RunCli(dir.Root(), {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: kolvane-cli", 0), 0u);

    const CliRun version = RunCli(dir.Root(), {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "kolvane-cli " KOLVANE_VERSION "\n");
}

}  // namespace
}  // namespace kolvane
