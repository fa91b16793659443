#include "analysis/reports/procedure_list.h"

#include "analysis/reports/property_list.h"
#include "project/model/module_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::Boxes;
using testing::ModuleRow;
using testing::TempDir;
using testing::Written;

constexpr std::string_view kProject = "C:\\Work\\Demo\\Demo.vbp";
const std::string kBanner = testing::ListBanner(kProject);

std::string Report(const TempDir& dir, const std::vector<ModuleEntry>& rows, Boxes* boxes = nullptr)
{
    const std::string output = dir.Path("Demo_FncOp.txt");
    const testing::AnalysisRun run = testing::RunAnalysis(AnalysisId::Procedures, rows, kProject, output);
    EXPECT_EQ(run.written, boxes == nullptr);
    if (boxes != nullptr) *boxes = run.boxes;
    return testing::ReadBytes(output);
}

TEST(ProcedureList, FormExampleSection)
{
    const std::string source =
        "Attribute VB_Name = \"Form1\"\r\n"
        "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n"
        "' Sub Hidden()\r\n"
        "Private Sub Form_Load()\r\n"
        "End Sub\r\n"
        "Sub Refresh(ByVal a As Long, _\r\n"
        "    ByVal b As Long)\r\n"
        "Public Sub Notify() ' Function call\r\n"
        "Function Twice(ByVal x As Long) As Long\r\n"
        "Public Static Sub Counter()\r\n"
        "Friend Function Owner() As Object\r\n"
        "    Public Function Total() As Long ' sum\r\n";
    EXPECT_EQ(Written("Form1.frm", source, {ListProcedures, ListProperties}),
              "-- Form1.frm --\r\n"
              "Private Sub Form_Load()\r\n"
              "Public Sub Refresh(ByVal a As Long, ByVal b As Long)\r\n"
              "Public Function Twice(ByVal x As Long) As Long\r\n"
              "Public Function Total() As Long ' sum\r\n"
              "関数は 4 個、存在します。\r\n\r\n"
              "プロパティは存在しません。\r\n\r\n");
}

constexpr std::string_view kMainModule = "Sub Main()\r\nEnd Sub\r\nPrivate Sub Resize(a As Long, _\r\n\r\n    b As Long)\r\n";

TEST(ProcedureList, MainModuleThroughBothExtractors)
{
    EXPECT_EQ(Written("Module1.bas", kMainModule, {ListBasProcedures, ListProperties}),
              "-- Module1.bas --\r\n"
              "Sub Main()\r\n"
              "Private Sub Resize(a As Long, b As Long)\r\n"
              "関数は 1 個、存在します。\r\n\r\n"
              "プロパティは存在しません。\r\n\r\n");
    EXPECT_EQ(Written("Module1.bas", kMainModule, {ListProcedures, ListProperties}),
              "-- Module1.bas --\r\n"
              "Public Sub Main()\r\n"
              "Private Sub Resize(a As Long, \r\n"
              "関数は 2 個、存在します。\r\n\r\n"
              "プロパティは存在しません。\r\n\r\n");
}

TEST(PropertyList, ClassExampleSection)
{
    const std::string source =
        "Private mName As String\r\n"
        "Public Property Get Name() As String\r\n"
        "    Name = mName\r\n"
        "End Property\r\n"
        "' Property Get Old() As String\r\n"
        "Property Set Owner(ByVal o As Object)\r\n"
        "Friend Property Let Size(ByVal w As Long, _\r\n"
        "    ByVal h As Long)\r\n"
        "Public Property Get Count() As Long ' Set by Add\r\n";
    EXPECT_EQ(Written("Class1.cls", source, {ListProcedures, ListProperties}),
              "-- Class1.cls --\r\n"
              "関数は存在しません。\r\n\r\n"
              "Public Property Get Name() As String\r\n"
              "Property Set Owner(ByVal o As Object)\r\n"
              "Friend Property Let Size(ByVal w As Long, ByVal h As Long)\r\n"
              "Public Property Get Count() As Long ' Set by Add\r\n"
              "プロパティは 4 個、存在します。\r\n\r\n");
}

struct LineCase {
    const char* what;
    testing::ReportStep step;
    std::string source;
    std::string expected;
};

TEST(ProcedureList, LineRules)
{
    const std::string h = "-- M.bas --\r\n";
    const std::string longPiece = "Sub Long(" + std::string(1023 - 9, 'a');
    const LineCase cases[] = {
        {"end and exit lines", ListProcedures, "Sub A()\r\n  Exit Sub\r\nEnd Sub\r\nEnd Sub ' x\r\nExit Sub ' y\r\n",
         h + "Public Sub A()\r\n関数は 1 個、存在します。\r\n\r\n"},
        {"Function in a comment", ListProcedures, "Sub Go() ' calls Function X\r\nFunction F() ' a Sub \r\n",
         h + "Public Function F() ' a Sub \r\n関数は 1 個、存在します。\r\n\r\n"},
        {"tab indent", ListProcedures, "\tPublic Sub T()\r\n", h + "関数は存在しません。\r\n\r\n"},
        {"blank-underscore without comma", ListProcedures, "Public Function F() _\r\n    As Long\r\n",
         h + "Public Function F() _\r\n関数は 1 個、存在します。\r\n\r\n"},
        {"comma-underscore in a comment", ListProcedures, "Sub C() ' a, _ b\r\nPrivate Sub D()\r\n",
         h + "Public Sub C() ' a, _ Private Sub D()\r\n関数は 1 個、存在します。\r\n\r\n"},
        {"continuations with a comment between", ListBasProcedures, "Sub K(a, _\r\n' note\r\n b, _\r\nc)\r\n",
         h + "Public Sub K(a, b, c)\r\n関数は 1 個、存在します。\r\n\r\n"},
        {"pending at the end: dropped", ListProcedures, "Sub P(a, _\r\n", h + "関数は存在しません。\r\n\r\n"},
        {"pending at the end: written", ListBasProcedures, "Sub P(a, _\r\n",
         h + "Public Sub P(a, 関数は 1 個、存在します。\r\n\r\n"},
        {"last line without line end", ListProcedures, "Sub Z()", h + "Public Sub Z()関数は 1 個、存在します。\r\n\r\n"},
        {"decorated Main is ordinary", ListBasProcedures,
         "Public Sub Main()\r\nPrivate Sub Main()\r\nSub Main() ' go\r\n",
         h + "Public Sub Main()\r\nPrivate Sub Main()\r\nSub Main() ' go\r\n関数は 2 個、存在します。\r\n\r\n"},
        {"overlong line in pieces", ListProcedures, longPiece + "Sub Tail()\r\n",
         h + "Public " + longPiece + "Public Sub Tail()\r\n関数は 2 個、存在します。\r\n\r\n"},
        {"properties: tab, end lines, words in a comment", ListProperties,
         "\tPublic Property Get P()\r\nEnd Property\r\nExit Property\r\nx = 1 ' Property Get here\r\n",
         "\tPublic Property Get P()\r\nx = 1 ' Property Get here\r\nプロパティは 2 個、存在します。\r\n\r\n"},
        {"properties: blank line ends a declaration", ListProperties, "Property Let V(a, _\r\n\r\nb)\r\n",
         "Property Let V(a, \r\nプロパティは 1 個、存在します。\r\n\r\n"},
        {"properties: pending at the end is written", ListProperties, "Property Get Q(a, _\r\n",
         "Property Get Q(a, プロパティは 1 個、存在します。\r\n\r\n"},
    };
    for (const LineCase& c : cases) EXPECT_EQ(Written("M.bas", c.source, {c.step}), c.expected) << c.what;
}

TEST(ProcedureList, LongJoinedDeclarationIsWrittenWhole)
{
    std::string source = "Private Sub Big(a000 As Long, _\r\n";
    std::string expected = "-- M.frm --\r\nPrivate Sub Big(a000 As Long, ";
    for (int i = 1; i < 140; ++i) {
        const std::string name = "a" + std::string(i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i);
        source += "    " + name + " As Long, _\r\n";
        expected += name + " As Long, ";
    }
    source += "    z As Long)\r\n";
    expected += "z As Long)\r\n関数は 1 個、存在します。\r\n\r\n";
    ASSERT_GT(expected.size(), 2000u);
    EXPECT_EQ(Written("M.frm", source, {ListProcedures}), expected);
}

TEST(ProcedureListReport, BannerAndTwoModules)
{
    TempDir dir;
    const std::string form = dir.Write("Main.frm", "Private Sub Form_Load()\r\nEnd Sub\r\n");
    const std::string module = dir.Write("Util.bas", "Sub Main()\r\nProperty Get Name() As String\r\n");
    EXPECT_EQ(Report(dir, {ModuleRow("FRM", form), ModuleRow("bas", module)}),
              kBanner +
                  "-- Main.frm --\r\nPrivate Sub Form_Load()\r\n関数は 1 個、存在します。\r\n\r\n"
                  "プロパティは存在しません。\r\n\r\n"
                  "-- Util.bas --\r\nSub Main()\r\n関数は存在しません。\r\n\r\n"
                  "Property Get Name() As String\r\nプロパティは 1 個、存在します。\r\n\r\n");
}

}  // namespace
}  // namespace kolvane
