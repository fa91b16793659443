#include "analysis/reports/api_list.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::Boxes;
using testing::ModuleRow;
using testing::TempDir;

constexpr std::string_view kProject = "C:\\Work\\Demo\\Demo.vbp";
const std::string kBanner = testing::ListBanner(kProject);

std::string Report(const TempDir& dir, const std::vector<ModuleEntry>& rows, Boxes* boxes = nullptr)
{
    const std::string output = dir.Path("Demo_APIOp.txt");
    const testing::AnalysisRun run = testing::RunAnalysis(AnalysisId::Apis, rows, kProject, output);
    EXPECT_EQ(run.written, boxes == nullptr);
    if (boxes != nullptr) *boxes = run.boxes;
    return testing::ReadBytes(output);
}

// The section ListApiDeclarations writes for a source file M.bas.
std::string Section(std::string_view source, int classModule)
{
    return testing::Written("M.bas", source, {[classModule](ReportSink& report, std::string_view path, const ScannedModule& source,
                                          Reporter& reporter) {
                                return ListApiDeclarations(report, path, source, classModule, reporter);
                            }});
}

TEST(ApiListReport, ModuleExample)
{
    TempDir dir;
    const std::string module = dir.Write(
        "Module1.bas",
        "Attribute VB_Name = \"Module1\"\r\n"
        "Option Explicit\r\n"
        "Public Declare Function SendMessage Lib \"user32\" Alias \"SendMessageA\" _\r\n"
        "    (ByVal hWnd As Long, ByVal wMsg As Long) As Long\r\n"
        "' Private Declare Sub Old Lib \"kernel32\" ()\r\n"
        "Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\r\n"
        "Sub Main()\r\n"
        "End Sub\r\n"
        "Private Declare Sub Beep Lib \"kernel32\" ()\r\n");
    EXPECT_EQ(Report(dir, {ModuleRow("bas", module)}),
              kBanner +
                  "-- Module1.bas --\r\n"
                  "Public Declare Function SendMessage Lib \"user32\" Alias \"SendMessageA\" "
                  "(ByVal hWnd As Long, ByVal wMsg As Long) As Long\r\n"
                  "Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\r\n"
                  "API関数は 2 個、存在します。\r\n\r\n");
}

TEST(ApiList, StopRuleEndsTheScanAndEndPropertyOnlyInClasses)
{
    const std::string source =
        "End Property\r\n"
        "Declare Sub A Lib \"k\" ()\r\n"
        "Declare Sub B Lib \"k\" _\r\n"
        "End Sub\r\n"
        "    End Function ' done\r\n"
        "Declare Sub C Lib \"k\" ()\r\n";
    EXPECT_EQ(Section(source, 0), "-- M.bas --\r\n"
                                  "Declare Sub A Lib \"k\" ()\r\n"
                                  "Declare Sub B Lib \"k\" End Sub\r\n"
                                  "API関数は 2 個、存在します。\r\n\r\n");
    EXPECT_EQ(Section(source, 1), "-- M.bas --\r\nAPI関数は存在しません。\r\n\r\n");
}

TEST(ApiList, LineRules)
{
    const struct {
        const char* what;
        std::string_view source;
        std::string_view expected;
    } cases[] = {
        {"no Lib lines", "Sub Main()\r\n", "API関数は存在しません。\r\n\r\n"},
        {"any line with the word, not a comment", "x = 1 ' uses Lib here\r\n'Declare Sub A Lib \"k\" ()\r\n",
         "x = 1 ' uses Lib here\r\nAPI関数は 1 個、存在します。\r\n\r\n"},
        {"blank-underscore inside a string", "Declare Sub A Lib \"a _b\" ()\r\n(x)\r\n",
         "Declare Sub A Lib \"a _b\" ((x)\r\nAPI関数は 1 個、存在します。\r\n\r\n"},
        {"blank line ends a declaration", "Declare Sub A Lib \"k\" _\r\n\r\n()\r\n",
         "Declare Sub A Lib \"k\" \r\nAPI関数は 1 個、存在します。\r\n\r\n"},
        {"pending at the end is dropped", "Declare Sub A Lib \"k\" _\r\n", "API関数は存在しません。\r\n\r\n"},
        {"last line without line end", "Declare Sub A Lib \"k\" ()",
         "Declare Sub A Lib \"k\" ()API関数は 1 個、存在します。\r\n\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Section(c.source, 0), "-- M.bas --\r\n" + std::string(c.expected)) << c.what;
    }
}

}  // namespace
}  // namespace kolvane
