#include "analysis/step_count_report.h"

#include "analysis/report_texts.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

// The next allocation of the program fails once when this is set.
static bool g_failNextAllocation = false;

void* operator new(std::size_t size)
{
    if (g_failNextAllocation) {
        g_failNextAllocation = false;
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
// The pair of the operator new above; GCC takes it for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

namespace kolvane {
namespace {

using testing::Boxes;
using testing::kTotalsHeader;
using testing::MessageRecorder;
using testing::TempDir;
using testing::TraceRecorder;
using testing::ModuleRow;

constexpr const char* kProject = "C:\\Work\\Demo\\Demo.vbp";
const std::string kBanner = testing::StepBanner(kProject);
const Boxes kRunFailed = {{"処理に失敗しました", "あ～あ"}};

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
    ModuleEntry table[] = {ModuleRow("frm", dir.Write("Form1.frm", kForm1)), ModuleRow("bas", dir.Write("Module1.bas", kModule1))};
    MessageRecorder messages;

    EXPECT_EQ(RunStepCount(table, 2, kProject, dir.Path("Demo_StCnt.txt")), 1);

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
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(table[1].steps, 3);
    EXPECT_EQ(table[1].comments, 1);
}

TEST(StepCountReport, EmptyTableGivesBannerAndZeroTotals)
{
    TempDir dir;
    EXPECT_EQ(RunStepCount(nullptr, 0, kProject, dir.Path("r.txt")), 1);
    EXPECT_EQ(dir.Read("r.txt"), kBanner + std::string(kTotalsHeader) +
                                     "frmファイル         0行         0行         0行\r\n"
                                     "basファイル         0行         0行         0行\r\n"
                                     "clsファイル         0行         0行         0行\r\n\r\n\r\n");
}

TEST(StepCountReport, MixedCaseKindsAndAnEmptyStandardModule)
{
    TempDir dir;
    ModuleEntry table[] = {ModuleRow("Bas", dir.Write("Empty.bas", "")),
                           ModuleRow("cLS", dir.Write("Class1.cls", "Attribute VB_Exposed = True\r\n'\r\nx\r\n")),
                           ModuleRow("BAS", dir.Write("One.bas", "'\r\n'\r\n"))};
    EXPECT_EQ(RunStepCount(table, 3, kProject, dir.Path("r.txt")), 1);
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
    ModuleEntry table[] = {ModuleRow("frm", "C:\\Work\\Form1.frm"), ModuleRow("bas", "C:\\Work\\" + longName + ".bas"),
                           ModuleRow("cls", "C:\\Work\\"), ModuleRow("cls", "C:\\Work\\表")};
    table[0].steps = INT_MIN;
    table[0].comments = INT_MAX;
    const KindCounts totals{INT_MIN, 0, 0, 0, 0, 0};
    EXPECT_EQ(WriteStepCountReport(table, 4, totals, kProject, dir.Path("r.txt")), 1);
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
        ModuleEntry table[] = {ModuleRow("bas", dir.Write("A.bas", "x\r\n")), ModuleRow("bas", failing.path),
                               ModuleRow("bas", dir.Write("C.bas", "y\r\n"))};
        dir.Write("Old_StCnt.txt", "old");
        MessageRecorder messages;
        TraceRecorder trace;

        EXPECT_EQ(RunStepCount(table, 3, kProject, dir.Path("Old_StCnt.txt")), 0);
        // C.bas is never opened.
        EXPECT_EQ(trace.lines, "  ファイルを開きました\n  ファイルを閉じました\n" + std::string(failing.note));
        EXPECT_EQ(RunStepCount(table, 3, kProject, dir.Path("New_StCnt.txt")), 0);

        EXPECT_EQ(messages.boxes, (Boxes{kRunFailed[0], kRunFailed[0]}));
        EXPECT_EQ(dir.Read("Old_StCnt.txt"), "old");
        EXPECT_FALSE(testing::PathExists(dir.Path("New_StCnt.txt")));
    }
}

// An unknown kind, and a per-file record that cannot be allocated, stop the
// run before the report is created.
TEST(StepCountReport, StopsBeforeTheReportWithTheStepsOwnBox)
{
    TempDir dir;
    const std::string report = dir.Path("r.txt");
    for (const bool failAllocation : {false, true}) {
        ModuleEntry table[] = {ModuleRow(failAllocation ? "bas" : "txt", dir.Write("a.txt", "x\r\n"))};
        MessageRecorder messages;
        messages.boxes.reserve(1);
        g_failNextAllocation = failAllocation;  // the per-file record
        EXPECT_EQ(RunStepCount(table, 1, kProject, report), 0);
        const std::string box = failAllocation ? "Memory Allocation Error" : std::string(report_text::kUnexpected);
        EXPECT_EQ(messages.boxes, (Boxes{{box, "エラー"}}));
        EXPECT_FALSE(testing::PathExists(report));
    }
}

TEST(StepCountReport, ReportThatCannotBeCreated)
{
    TempDir dir;
    MessageRecorder messages;
    EXPECT_EQ(RunStepCount(nullptr, 0, kProject, dir.Path("NoFolder/r.txt")), 0);
    EXPECT_EQ(messages.boxes, (Boxes{{"ファイルを開けませんでした", "出力処理 - エラー"}, kRunFailed[0]}));
}

#ifndef _WIN32
// A full disk shows either while writing a line or only when the final
// close flushes the buffer; both are failures.
TEST(StepCountReport, FullDiskIsAWriteFailure)
{
    TempDir dir;
    const std::string module = dir.Write("M.bas", "x\r\n");
    for (std::int32_t rows : {1, kModuleCapacity}) {
        SCOPED_TRACE(rows);
        std::vector<ModuleEntry> table(static_cast<std::size_t>(rows), ModuleRow("bas", module));
        MessageRecorder messages;
        EXPECT_EQ(RunStepCount(table.data(), rows, kProject, "/dev/full"), 0);
        EXPECT_EQ(messages.boxes,
                  (Boxes{{"ファイルに書き込むことが出来ませんでした", "出力処理 - エラー"}, kRunFailed[0]}));
    }
}
#endif

}  // namespace
}  // namespace kolvane
