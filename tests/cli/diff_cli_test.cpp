// kolvane-cli --diff end to end: two versions of a project made here (the
// text report byte for byte), the bundled demo against its older version
// (every CSV row, both identities on each, the CSV and JSON read back by
// Python), projects that cannot be read, and two releases made of the
// samples (two folders, two groups: the summary byte for byte, each pair's
// files as the two-project run writes them).
#include "tests/support/cli_run.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
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
    // OLD and NEW are both project files, both groups or both folders.
    const CliRun folderAsNew = RunCli(dir.Root(), {"--diff", "old/Old.vbp", "new"});
    EXPECT_EQ(folderAsNew.status, 2);
    EXPECT_EQ(folderAsNew.err, testing::Utf8(u8"kolvane-cli: new: 旧と新は、両方ともプロジェクトファイル (.vbp)、"
                                             u8"両方ともグループファイル (.vbg)、または両方ともフォルダで指定してください\n"));
    const CliRun missingOldFolder = RunCli(dir.Root(), {"--diff", "gone", "new"});
    EXPECT_EQ(missingOldFolder.status, 2);
    EXPECT_EQ(missingOldFolder.err, testing::Utf8(u8"kolvane-cli: gone: プロジェクトファイルが見つかりません\n"));
    EXPECT_FALSE(testing::PathExists(dir.Path("New_Diff.txt")));
    EXPECT_FALSE(testing::PathExists(dir.Path("new_Diff.txt")));
    EXPECT_EQ(RunCli(dir.Root(), {"--diff", "old/Old.vbp"}).status, 2);
}

// The output is written as the modules come; one that cannot be made is
// told, in every format, before the members that could not be read, and
// fails the run.
TEST(DiffCli, AnOutputThatCannotBeMadeFailsTheRun)
{
    for (const char* format : {"text", "csv", "json"}) {
        TempDir dir;
        MakeTwoVersions(dir);
        dir.Folder(std::string("New_Diff.") + (format == std::string_view("text") ? "txt" : format));
        const CliRun run = RunCli(dir.Root(), {"--diff", "--format", format, "old/Old.vbp", "new/New.vbp"});
        EXPECT_EQ(run.status, 1) << format;
        EXPECT_EQ(run.err, testing::Utf8(u8"kolvane-cli: new/New.vbp: ファイルに書き込むことが出来ませんでした\n"
                                         u8"kolvane-cli: new/New.vbp: ファイルが見つかりません: Gone.frm\n"))
            << format;
        EXPECT_EQ(run.out, "") << format;
    }
}

// Two releases made of the samples: Demo 1.0 and the current Demo (its
// folder spelt in capitals in the new release), Tools as it is, a project
// dropped (Retired) and one added (Extra\Tools.vbp, the title of another).
void MakeTwoReleases(const TempDir& dir)
{
    namespace fs = std::filesystem;
    const fs::path samples = KOLVANE_SAMPLES;
    const auto copy = [&](const char* from, const char* to) {
        fs::copy(samples / from, dir.Folder(to), fs::copy_options::recursive);
    };
    dir.Folder("old");
    dir.Folder("new");
    copy("Common", "old/Common");
    copy("Demo-1.0", "old/Demo");
    copy("Tools", "old/Tools");
    copy("Common", "new/Common");
    copy("Demo", "new/DEMO");
    copy("Tools", "new/Tools");
    dir.Folder("old/Retired");
    dir.Write("old/Retired/Retired.vbp", "Module=Old; Old.bas\r\n");
    dir.Write("old/Retired/Old.bas", "Attribute VB_Name = \"Old\"\r\nSub Tidy()\r\n    Kill \"*.tmp\"\r\nEnd Sub\r\n");
    dir.Folder("new/Extra");
    dir.Write("new/Extra/Tools.vbp", "Module=Extra; Extra.bas\r\n");
    dir.Write("new/Extra/Extra.bas",
              "Attribute VB_Name = \"Extra\"\r\nPublic Count As Long\r\nSub Bump()\r\n    Count = Count + 1\r\nEnd Sub\r\n");
}

// The summary's rows after its header, each split into its fields; every
// row ends in CR LF.
std::vector<std::vector<std::string>> SummaryRows(const std::string& csv)
{
    EXPECT_TRUE(csv.starts_with(kBom));
    std::vector<std::vector<std::string>> rows;
    std::stringstream lines(csv.substr(kBom.size()));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        EXPECT_TRUE(line.ends_with('\r')) << line;
        line.pop_back();
        rows.push_back(Fields(line));
    }
    return rows;
}

// old_steps = unchanged + changed + deleted and new_steps = unchanged +
// changed + added on every row read; the total row adds up the others.
void ExpectSummaryIdentities(const std::vector<std::vector<std::string>>& rows)
{
    ASSERT_FALSE(rows.empty());
    std::vector<long> sums(7, 0);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<std::string>& f = rows[r];
        ASSERT_EQ(f.size(), 10u);
        if (f[3].empty()) continue;  // a project that could not be read
        std::vector<long> figures;
        for (std::size_t i = 3; i < 10; ++i) figures.push_back(std::stol(f[i]));
        const long added = figures[0], changed = figures[1], deleted = figures[2], unchanged = figures[3];
        EXPECT_EQ(figures[4], unchanged + changed + deleted) << f[0];
        EXPECT_EQ(figures[5], unchanged + changed + added) << f[0];
        if (r + 1 == rows.size()) {
            EXPECT_EQ(f[0], "total");
            EXPECT_EQ(figures, sums);
        } else {
            for (std::size_t i = 0; i < sums.size(); ++i) sums[i] += figures[i];
        }
    }
}

TEST(DiffCli, ReleaseFoldersPairTheirProjects)
{
    TempDir dir;
    MakeTwoReleases(dir);
    const CliRun run = RunCli(dir.Root(), {"--diff", "--summary", "summary.csv", "-o", "out", "old", "new"});
    EXPECT_EQ(run.status, 0) << run.err;  // Tools lists a designer that is in neither release: said, not failed
    EXPECT_EQ(run.err,
              testing::Utf8(u8"kolvane-cli: old/Tools/Tools.vbp: ファイルが見つかりません: Reports\\rptDaily.dsr\n"
                            u8"kolvane-cli: new/Tools/Tools.vbp: ファイルが見つかりません: Reports\\rptDaily.dsr\n"));
    // NEW's projects in byte order of their paths, then the dropped one;
    // the two Tools reports in their projects' folders.
    EXPECT_EQ(run.out, "out/Demo_Diff.txt\nout/Extra/Tools_Diff.txt\nout/Tools/Tools_Diff.txt\nout/Retired_Diff.txt\n"
                       "summary.csv\n");
    const std::string summary = dir.Read("summary.csv");
    EXPECT_EQ(summary, std::string(kBom) +
                           "old_project,new_project,status,added,changed,deleted,unchanged,old_steps,new_steps,"
                           "designer_changed_modules\r\n"
                           "old/Demo/Demo.vbp,new/DEMO/Demo.vbp,changed,33,2,4,192,198,227,3\r\n"
                           ",new/Extra/Tools.vbp,added,4,0,0,0,0,4,0\r\n"
                           "old/Tools/Tools.vbp,new/Tools/Tools.vbp,unchanged,0,0,0,14,14,14,0\r\n"
                           "old/Retired/Retired.vbp,,deleted,0,0,3,0,3,0,0\r\n"
                           "total,,,37,2,7,206,215,245,3\r\n");
    ExpectSummaryIdentities(SummaryRows(summary));

    // The dropped project, compared with nothing, is named after itself.
    EXPECT_EQ(dir.Read("out/Retired_Diff.txt"),
              "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\r\n"
              "       ソースコード 変更ステップ数       \r\n"
              "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\r\n"
              "旧プロジェクトファイル ： old/Retired/Retired.vbp\r\n"
              "新プロジェクトファイル ： \r\n\r\n\r\n"
              "ファイル名 ： Old.bas\r\n"
              "状態       ： 削除\r\n"
              "新規       ：        0 行\r\n"
              "修正       ：        0 行\r\n"
              "削除       ：        3 行\r\n"
              "変更なし   ：        0 行\r\n"
              "  削除 (宣言部) ： 新規 0 行、修正 0 行、削除 0 行\r\n"
              "  削除 Sub Tidy ： 新規 0 行、修正 0 行、削除 3 行\r\n"
              "\r\n"
              "                   新規        修正        削除    変更なし\r\n"
              "frmファイル         0行         0行         0行         0行\r\n"
              "basファイル         0行         0行         3行         0行\r\n"
              "clsファイル         0行         0行         0行         0行\r\n"
              "ctlファイル         0行         0行         0行         0行\r\n"
              "pagファイル         0行         0行         0行         0行\r\n"
              "dobファイル         0行         0行         0行         0行\r\n"
              "dsrファイル         0行         0行         0行         0行\r\n"
              "合計                0行         0行         3行         0行\r\n\r\n\r\n");
}

TEST(DiffCli, APairWritesWhatTheTwoProjectRunWrites)
{
    TempDir dir;
    MakeTwoReleases(dir);
    for (const char* format : {"text", "csv", "json"}) {
        const std::string release = std::string("release-") + format;
        const std::string pair = std::string("pair-") + format;
        ASSERT_EQ(RunCli(dir.Root(), {"--diff", "--format", format, "-o", release, "old", "new"}).status, 0);
        ASSERT_EQ(RunCli(dir.Root(), {"--diff", "--format", format, "-o", pair + "/Demo", "old/Demo/Demo.vbp",
                                      "new/DEMO/Demo.vbp"}).status, 0);
        ASSERT_EQ(RunCli(dir.Root(), {"--diff", "--format", format, "-o", pair + "/Tools", "old/Tools/Tools.vbp",
                                      "new/Tools/Tools.vbp"}).status, 0);
        const std::string suffix = std::string("_Diff.") + (format == std::string("text") ? "txt" : format);
        EXPECT_EQ(dir.Read(release + "/Demo" + suffix), dir.Read(pair + "/Demo/Demo" + suffix)) << format;
        EXPECT_EQ(dir.Read(release + "/Tools/Tools" + suffix), dir.Read(pair + "/Tools/Tools" + suffix)) << format;
        EXPECT_FALSE(dir.Read(release + "/Demo" + suffix).empty()) << format;
    }
}

TEST(DiffCli, GroupsPairTheProjectsTheyListAndAProjectNotFoundWritesNothing)
{
    TempDir dir;
    MakeTwoReleases(dir);
    dir.Write("old/Sys.vbg", "VBGROUP 5.0\r\nStartupProject=Demo\\Demo.vbp\r\nProject=Tools\\Tools.vbp\r\n");
    dir.Write("new/Sys.vbg", "VBGROUP 5.0\r\nProject=tools/Tools.vbp\r\nStartupProject=DEMO\\Demo.vbp\r\n"
                             "Project=Lost\\Lost.vbp\r\n");
    const CliRun run =
        RunCli(dir.Root(), {"--diff", "--summary", "summary.csv", "-o", "out", "old/Sys.vbg", "new/Sys.vbg"});
    const std::string root = dir.Root() + "/";
    EXPECT_EQ(run.status, 2);
    const std::string dsrMissing = testing::Utf8(u8": ファイルが見つかりません: Reports\\rptDaily.dsr\n");
    EXPECT_EQ(run.err, "kolvane-cli: " + root + "old/Tools\\Tools.vbp" + dsrMissing + "kolvane-cli: " + root +
                           "new/tools/Tools.vbp" + dsrMissing + "kolvane-cli: " + root +
                           "new/Lost\\Lost.vbp: " + testing::Utf8(u8"プロジェクトファイルが見つかりません\n"));
    EXPECT_EQ(run.out, "out/Tools_Diff.txt\nout/Demo_Diff.txt\nsummary.csv\n");
    EXPECT_EQ(dir.Read("summary.csv"),
              std::string(kBom) +
                  "old_project,new_project,status,added,changed,deleted,unchanged,old_steps,new_steps,"
                  "designer_changed_modules\r\n" +
                  root + "old/Tools\\Tools.vbp," + root + "new/tools/Tools.vbp,unchanged,0,0,0,14,14,14,0\r\n" +
                  root + "old/Demo\\Demo.vbp," + root + "new/DEMO\\Demo.vbp,changed,33,2,4,192,198,227,3\r\n" +
                  "," + root + "new/Lost\\Lost.vbp,not found,,,,,,,\r\n"
                  "total,,,33,2,4,206,212,241,3\r\n");
    ASSERT_EQ(RunCli(dir.Root(), {"--diff", "-o", "pair", root + "old/Demo\\Demo.vbp", root + "new/DEMO\\Demo.vbp"})
                  .status,
              0);
    EXPECT_EQ(dir.Read("out/Demo_Diff.txt"), dir.Read("pair/Demo_Diff.txt"));
    EXPECT_FALSE(testing::PathExists(dir.Path("out/Lost_Diff.txt")));

    // Two groups that list no project leave nothing to compare.
    dir.Write("old/None.vbg", "VBGROUP 5.0\r\n");
    dir.Write("new/None.vbg", "VBGROUP 5.0\r\n");
    const CliRun none = RunCli(dir.Root(), {"--diff", "-o", "none", "old/None.vbg", "new/None.vbg"});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, testing::Utf8(u8"kolvane-cli: old/None.vbg: プロジェクトファイルが見つかりません\n"
                                      u8"kolvane-cli: new/None.vbg: プロジェクトファイルが見つかりません\n"));
    EXPECT_EQ(none.out, "");
}

}  // namespace
}  // namespace kolvane
