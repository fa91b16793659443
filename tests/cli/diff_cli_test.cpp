// kolvane-cli --diff end to end: two versions of a project made here (the
// text report byte for byte), the bundled demo against its older version
// (every CSV row, both identities on each, the CSV and JSON read back by
// Python), and projects that cannot be read.
#include "tests/support/cli_run.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::TempDir;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

using CliRun = testing::ProgramRun;
using testing::RunCli;
using testing::RunProgram;

// One module re-cased, reordered and edited; one form whose file is gone.
void MakeTwoVersions(const TempDir& dir)
{
    dir.Folder("old");
    dir.Folder("new");
    dir.Write("old/Old.vbp", "Module=Calc; Calc.bas\r\nForm=Gone.frm\r\n");
    dir.Write("new/New.vbp", "Module=Calc; calc.bas\r\nForm=Gone.frm\r\n");
    dir.Write("old/Calc.bas",
              "Attribute VB_Name = \"Calc\"\r\nOption Explicit\r\nDim total As Long\r\n"
              "Sub Add(ByVal n As Long)\r\n    total = total + n\r\nEnd Sub\r\n"
              "Function Twice(ByVal n As Long) As Long\r\n    Twice = n * 2\r\nEnd Function\r\n");
    dir.Write("new/calc.bas",
              "Attribute VB_Name = \"Calc\"\r\nOption Explicit\r\nDim Total As Long ' sum\r\n"
              "Function Twice(ByVal n As Long) As Long\r\n    Twice = n * 2\r\nEnd Function\r\n"
              "Sub Add(ByVal n As Long)\r\n    Total = Total + n + 0\r\n    Debug.Print Total\r\nEnd Sub\r\n"
              "Sub Reset()\r\n    Total = 0\r\nEnd Sub\r\n");
    dir.Write("old/Gone.frm",
              "VERSION 5.00\r\nBegin VB.Form Gone\r\nEnd\r\nAttribute VB_Name = \"Gone\"\r\n"
              "Attribute VB_Exposed = False\r\nPrivate Sub Form_Load()\r\nEnd Sub\r\n");
}

TEST(DiffCli, TextReportOfTwoVersions)
{
    TempDir dir;
    MakeTwoVersions(dir);
    const CliRun run = RunCli(dir.Root(), {"--diff", "old/Old.vbp", "new/New.vbp"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "New_Diff.txt\n");
    EXPECT_EQ(dir.Read("New_Diff.txt"),
              "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\r\n"
              "       ソースコード 変更ステップ数       \r\n"
              "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\r\n"
              "旧プロジェクトファイル ： old/Old.vbp\r\n"
              "新プロジェクトファイル ： new/New.vbp\r\n\r\n\r\n"
              "ファイル名 ： calc.bas\r\n"
              "状態       ： 修正\r\n"
              "新規       ：        4 行\r\n"
              "修正       ：        1 行\r\n"
              "削除       ：        0 行\r\n"
              "変更なし   ：        6 行\r\n"
              "  修正 Sub Add ： 新規 1 行、修正 1 行、削除 0 行\r\n"
              "  新規 Sub Reset ： 新規 3 行、修正 0 行、削除 0 行\r\n"
              "\r\n"
              "ファイル名 ： Gone.frm\r\n"
              "状態       ： ファイルなし\r\n"
              "  ファイルなし (宣言部)\r\n"
              "  ファイルなし Sub Form_Load\r\n"
              "\r\n"
              "                   新規        修正        削除    変更なし\r\n"
              "frmファイル         0行         0行         0行         0行\r\n"
              "basファイル         4行         1行         0行         6行\r\n"
              "clsファイル         0行         0行         0行         0行\r\n"
              "ctlファイル         0行         0行         0行         0行\r\n"
              "pagファイル         0行         0行         0行         0行\r\n"
              "dobファイル         0行         0行         0行         0行\r\n"
              "dsrファイル         0行         0行         0行         0行\r\n"
              "合計                4行         1行         0行         6行\r\n\r\n\r\n");
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

TEST(DiffCli, DemoAgainstItsOlderVersion)
{
    TempDir dir;
    const std::string samples = KOLVANE_SAMPLES;
    for (const char* format : {"csv", "json"}) {
        const CliRun run = RunCli(dir.Root(),
                                  {"--diff", "--format", format, samples + "/Demo-1.0/Demo.vbp", samples + "/Demo/Demo.vbp"});
        ASSERT_EQ(run.status, 0) << run.err;
    }
    const CliRun python =
        RunProgram(dir.Root(), KOLVANE_PYTHON, {KOLVANE_CHECK_OUTPUTS, "Demo_Diff.csv", "Demo_Diff.json"});
    EXPECT_EQ(python.status, 0) << python.out;

    const std::string csv = dir.Read("Demo_Diff.csv");
    ASSERT_TRUE(csv.starts_with(kBom));
    std::vector<std::string> changedRows;
    std::stringstream lines(csv.substr(kBom.size()));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "file,kind,procedure,name,status,added,changed,deleted,unchanged,old_steps,new_steps,"
                    "designer_changed\r");
    int rows = 0;
    while (std::getline(lines, line)) {
        ASSERT_TRUE(line.ends_with('\r')) << line;
        line.pop_back();
        const std::vector<std::string> f = Fields(line);
        ASSERT_EQ(f.size(), 12u) << line;
        const long added = std::stol(f[5]), changed = std::stol(f[6]), deleted = std::stol(f[7]);
        const long unchanged = std::stol(f[8]), oldSteps = std::stol(f[9]), newSteps = std::stol(f[10]);
        EXPECT_EQ(oldSteps, unchanged + changed + deleted) << line;
        EXPECT_EQ(newSteps, unchanged + changed + added) << line;
        if (f[4] != "unchanged" || f[11] == "yes") changedRows.push_back(line);
        ++rows;
    }
    EXPECT_EQ(rows, 52);
    // Moved (FormatYen), re-cased (Class_Initialize) and comment-edited
    // (frmMain's declarations) rows are unchanged; the rest is here.
    EXPECT_EQ(changedRows, (std::vector<std::string>{
                               "frmMain.frm,frm,Sub,RefreshList,changed,0,1,0,8,9,9,",
                               "frmAbout.frm,frm,(declarations),,unchanged,0,0,0,0,0,0,yes",
                               "modMain.bas,bas,Function,ToHalfWidth,added,4,0,0,0,0,4,",
                               "modMain.bas,bas,Sub,ClearLog,deleted,0,0,4,0,4,0,",
                               "CCustomer.cls,cls,Function,CanOrder,changed,0,1,0,2,3,3,",
                               "ucGauge.ctl,ctl,(declarations),,added,2,0,0,0,0,2,yes",
                               "ucGauge.ctl,ctl,Property Get,Value,added,3,0,0,0,0,3,",
                               "ucGauge.ctl,ctl,Property Let,Value,added,8,0,0,0,0,8,",
                               "ucGauge.ctl,ctl,Sub,UserControl_Resize,added,3,0,0,0,0,3,",
                               "ucGauge.ctl,ctl,Sub,Redraw,added,4,0,0,0,0,4,",
                               "ppGauge.pag,pag,(declarations),,added,0,0,0,0,0,0,yes",
                               "ppGauge.pag,pag,Sub,txtValue_Change,added,3,0,0,0,0,3,",
                               "ppGauge.pag,pag,Sub,PropertyPage_ApplyChanges,added,3,0,0,0,0,3,",
                               "ppGauge.pag,pag,Sub,PropertyPage_SelectionChanged,added,3,0,0,0,0,3,",
                           }));
}

TEST(DiffCli, AProjectThatCannotBeReadWritesNothing)
{
    TempDir dir;
    MakeTwoVersions(dir);
    const CliRun missingOld = RunCli(dir.Root(), {"--diff", "old/None.vbp", "new/New.vbp"});
    EXPECT_EQ(missingOld.status, 2);
    EXPECT_EQ(missingOld.err, testing::Utf8(u8"kolvane-cli: old/None.vbp: プロジェクトファイルが見つかりません\n"));
    const CliRun folderAsNew = RunCli(dir.Root(), {"--diff", "old/Old.vbp", "new"});
    EXPECT_EQ(folderAsNew.status, 2);
    EXPECT_EQ(folderAsNew.err, testing::Utf8(u8"kolvane-cli: new: VBPファイル読みこみエラー\n"));
    EXPECT_FALSE(testing::PathExists(dir.Path("New_Diff.txt")));
    EXPECT_FALSE(testing::PathExists(dir.Path("new_Diff.txt")));
    EXPECT_EQ(RunCli(dir.Root(), {"--diff", "old/Old.vbp"}).status, 2);
}

}  // namespace
}  // namespace kolvane
