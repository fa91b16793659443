#include "analysis/reports/step_count_report.h"

#include "project/text/messages.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::Boxes;
using testing::kTotalsHeader;
using testing::ModuleRow;
using testing::TempDir;

constexpr const char* kProject = "C:\\Work\\Demo\\Demo.vbp";
const std::string kBanner = testing::StepBanner(kProject);
const Boxes kRunFailed = {{"処理に失敗しました", "あ～あ"}};

testing::AnalysisRun CountSteps(const std::vector<ModuleEntry>& rows, const std::string& report)
{
    return testing::RunAnalysis(AnalysisId::Steps, rows, kProject, report);
}

// The worked examples of the counter: 3 steps and 1 comment each.
constexpr std::string_view kForm1 = "VERSION 5.00\r\n"
                                    "Begin VB.Form Form1\r\n"
                                    "End\r\n"
                                    "Attribute VB_Exposed = False\r\n"
                                    "Option Explicit\r\n"
                                    "\r\n"
                                    "' Form start-up\r\n"
                                    "Private Sub Form_Load()\r\n"
                                    "    Count = 0 ' reset\r\n"
                                    "End Sub\r\n";
constexpr std::string_view kModule1 = "Option Explicit\r\n"
                                      "Public Total As Long\r\n"
                                      "' Adds a value\r\n"
                                      "Public Sub Add(ByVal n As Long)\r\n"
                                      "    Total = Total + _\r\n"
                                      "        n\r\n"
                                      "End Sub\r\n";

TEST(StepCountReport, WorkedExample)
{
    TempDir dir;
    const testing::AnalysisRun run = CountSteps({ModuleRow("frm", dir.Write("Form1.frm", kForm1)),
                                          ModuleRow("bas", dir.Write("Module1.bas", kModule1))},
                                         dir.Path("Demo_StCnt.txt"));
    EXPECT_TRUE(run.written);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(dir.Read("Demo_StCnt.txt"), kBanner +
                                              "ファイル名 ： Form1.frm\r\n"
                                              "ステップ数 ：        3 行\r\n"
                                              "コメント数 ：        1 行\r\n"
                                              "\r\n"
                                              "ファイル名 ： Module1.bas\r\n"
                                              "ステップ数 ：        3 行\r\n"
                                              "コメント数 ：        1 行\r\n"
                                              "\r\n" +
                                              std::string(kTotalsHeader) +
                                              "frmファイル         3行         1行         4行\r\n"
                                              "basファイル         3行         1行         4行\r\n"
                                              "clsファイル         0行         0行         0行\r\n"
                                              "\r\n"
                                              "\r\n");
}

TEST(StepCountReport, MixedCaseKindsAndAnEmptyStandardModule)
{
    TempDir dir;
    ASSERT_TRUE(CountSteps({ModuleRow("Bas", dir.Write("Empty.bas", "")),
                     ModuleRow("cLS", dir.Write("Class1.cls", "Attribute VB_Exposed = True\r\n'\r\nx\r\n")),
                     ModuleRow("BAS", dir.Write("One.bas", "'\r\n'\r\n"))},
                    dir.Path("r.txt"))
                    .written);
    const std::string report = dir.Read("r.txt");
    EXPECT_NE(report.find("ファイル名 ： Empty.bas\r\n"
                          "ステップ数 ：       -1 行\r\n"
                          "コメント数 ：        0 行\r\n"),
              std::string::npos);
    EXPECT_NE(report.find("frmファイル         0行         0行         0行\r\n"
                          "basファイル        -2行         2行         0行\r\n"
                          "clsファイル         1行         1行         2行\r\n"),
              std::string::npos);
}

TEST(StepCountReport, FileNameIsTheWholeLastComponentAndNumbersAreNeverCut)
{
    TempDir dir;
    const std::string longName(240, 'n');
    const ModuleEntry rows[] = {ModuleRow("frm", "C:\\Work\\Form1.frm"),
                                ModuleRow("bas", "C:\\Work\\" + longName + ".bas"), ModuleRow("cls", "C:\\Work\\"),
                                ModuleRow("cls", "C:\\Work\\表")};
    const Figures figures[] = {{INT_MIN, INT_MAX}, {}, {}, {}};
    const KindCounts totals{{{INT_MIN, 0}, {}, {}}};
    testing::RecordingReporter reporter;
    EXPECT_TRUE(WriteStepCountReport(rows, figures, totals, kProject, dir.Path("r.txt"), reporter));
    const std::string report = dir.Read("r.txt");
    EXPECT_NE(report.find("ファイル名 ： Form1.frm\r\n"
                          "ステップ数 ： -2147483648 行\r\n"
                          "コメント数 ： 2147483647 行\r\n"),
              std::string::npos);
    EXPECT_NE(report.find("ファイル名 ： " + longName + ".bas\r\n"), std::string::npos);
    EXPECT_NE(report.find("ファイル名 ： \r\n"), std::string::npos);
    EXPECT_NE(report.find("frmファイル-2147483648行         0行-2147483648行\r\n"), std::string::npos);
    // The trail byte of "表" is 0x5C, not a separator.
    EXPECT_NE(report.find("ファイル名 ： 表\r\n"), std::string::npos);
}

// Totals past 2^31 (100 modules of 21.5 million lines) wrap as a 32-bit
// counter does, in defined arithmetic (a sanitizer build checks it).
TEST(StepCountReport, TotalsPastTwoToTheThirtyOneWrap)
{
    Figures total{};
    for (int module = 0; module < 100; ++module) AddFigures(total, {21'500'000, 23'000'000});
    EXPECT_EQ(total.steps, 2'150'000'000 - 4'294'967'296);
    EXPECT_EQ(total.comments, 2'300'000'000 - 4'294'967'296);
    EXPECT_EQ(Sum32(total.steps, total.comments), 4'450'000'000 - 4'294'967'296);
}

TEST(StepCountReport, ModuleThatCannotBeCountedStopsTheRunAndLeavesTheReport)
{
    TempDir dir;
    const struct {
        std::string path;
        std::string_view note;
    } cases[] = {{dir.Path("Missing.bas"), "ファイルが存在しません\n"},
                 {dir.Folder("Folder.bas"), "  ファイルオープンエラー\n"}};
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.path);
        const std::vector<ModuleEntry> rows = {ModuleRow("bas", dir.Write("A.bas", "x\r\n")),
                                               ModuleRow("bas", failing.path),
                                               ModuleRow("bas", dir.Write("C.bas", "y\r\n"))};
        dir.Write("Old_StCnt.txt", "old");
        const testing::AnalysisRun run = CountSteps(rows, dir.Path("Old_StCnt.txt"));
        EXPECT_FALSE(run.written);
        // C.bas is never opened.
        EXPECT_EQ(run.trace, "  ファイルを開きました\n  ファイルを閉じました\n" + std::string(failing.note));
        EXPECT_EQ(run.boxes, kRunFailed);
        EXPECT_EQ(dir.Read("Old_StCnt.txt"), "old");
    }
}

}  // namespace
}  // namespace kolvane
