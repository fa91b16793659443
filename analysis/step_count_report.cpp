#include "analysis/step_count_report.h"

#include "analysis/module_kind.h"
#include "analysis/report_texts.h"
#include "project/path_text.h"
#include "project/platform.h"
#include "project/source_file.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>

namespace kolvane {
namespace {

constexpr std::string_view kBannerRule = "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\n";
constexpr std::string_view kBannerTitle = "   ソースコード ステップ数・コメント数   \n";
constexpr const char* kFileNameFormat = "ファイル名 ： %.*s\n";
constexpr const char* kStepsFormat = "ステップ数 ： %8ld 行\n";
constexpr const char* kCommentsFormat = "コメント数 ： %8ld 行\n\n";
constexpr std::string_view kTotalsHeader = "             ステップ数   コメント数        合計\n";
constexpr const char* kFormTotalsFormat = "frmファイル%10ld行%10ld行%10ld行\n";
constexpr const char* kStandardTotalsFormat = "basファイル%10ld行%10ld行%10ld行\n";
constexpr const char* kClassTotalsFormat = "clsファイル%10ld行%10ld行%10ld行\n\n\n";

constexpr std::string_view kMemoryError = "Memory Allocation Error";
constexpr std::string_view kRunFailed = "処理に失敗しました";
constexpr std::string_view kRunFailedCaption = "あ～あ";

// The counter of each kind of module and the two fields it adds to.
struct KindCounter {
    int (*count)(std::string_view path, KindCounts& counts);
    std::int32_t KindCounts::*steps;
    std::int32_t KindCounts::*comments;
};

constexpr PerKind<KindCounter> kCounters{{
    {&CountFrmLines, &KindCounts::frmSteps, &KindCounts::frmComments},
    {&CountBasLines, &KindCounts::basSteps, &KindCounts::basComments},
    {&CountClsLines, &KindCounts::clsSteps, &KindCounts::clsComments},
}};

// The 32-bit sum of a kind's steps and comments, as a 32-bit counter keeps it.
long Sum(std::int32_t steps, std::int32_t comments)
{
    return static_cast<std::int32_t>(static_cast<std::int64_t>(steps) + comments);
}

bool WriteLines(SourceFile& report, const ModuleEntry* table, std::int32_t count, const KindCounts& totals,
                std::string_view projectPath)
{
    if (report.WriteBlock(kBannerRule) != 1 || report.WriteBlock(kBannerTitle) != 1 ||
        report.WriteBlock(kBannerRule) != 1 ||
        report.Print(report_text::kProjectLineFormat, std::string(projectPath).c_str()) < 0) {
        return false;
    }

    for (std::int32_t row = 0; row < count; ++row) {
        const ModuleEntry& entry = table[row];
        const std::string_view title = FileTitle(ModulePath(entry));
        if (report.Print(kFileNameFormat, static_cast<int>(title.size()), title.data()) < 0 ||
            report.Print(kStepsFormat, static_cast<long>(entry.steps)) < 0 ||
            report.Print(kCommentsFormat, static_cast<long>(entry.comments)) < 0) {
            return false;
        }
    }

    return report.WriteBlock(kTotalsHeader) == 1 &&
           report.Print(kFormTotalsFormat, static_cast<long>(totals.frmSteps), static_cast<long>(totals.frmComments),
                        Sum(totals.frmSteps, totals.frmComments)) >= 0 &&
           report.Print(kStandardTotalsFormat, static_cast<long>(totals.basSteps),
                        static_cast<long>(totals.basComments), Sum(totals.basSteps, totals.basComments)) >= 0 &&
           report.Print(kClassTotalsFormat, static_cast<long>(totals.clsSteps), static_cast<long>(totals.clsComments),
                        Sum(totals.clsSteps, totals.clsComments)) >= 0;
}

// Counts every row, then writes the report; 1 on success. Failures of the
// rows and of the report are followed by the one box of a failed run.
int CountAndWrite(ModuleEntry* table, std::int32_t count, std::string_view projectPath, std::string_view reportPath)
{
    const auto perFile = std::make_unique<KindCounts>();
    const auto totals = std::make_unique<KindCounts>();

    bool counted = true;
    for (std::int32_t row = 0; row < count; ++row) {
        *perFile = KindCounts{};
        ModuleEntry& entry = table[row];
        const KindCounter* counter = StepFor(entry, kCounters);
        if (counter == nullptr) {
            ShowMessage(report_text::kUnexpected, report_text::kErrorCaption);
            return 0;
        }
        if (const int result = counter->count(ModulePath(entry), *perFile); result == 0 || result == -1) {
            counted = false;
            break;
        }
        entry.steps = (*perFile).*counter->steps;
        entry.comments = (*perFile).*counter->comments;
        (*totals).*counter->steps += entry.steps;
        (*totals).*counter->comments += entry.comments;
    }

    if (counted && WriteStepCountReport(table, count, *totals, projectPath, reportPath) == 1) return 1;
    ShowMessage(kRunFailed, kRunFailedCaption);
    return 0;
}

}  // namespace

int RunStepCount(ModuleEntry* table, std::int32_t count, std::string_view projectPath, std::string_view reportPath)
{
    try {
        return CountAndWrite(table, count, projectPath, reportPath);
    } catch (const std::bad_alloc&) {
        ShowMessage(kMemoryError, report_text::kErrorCaption);
        return 0;
    }
}

int WriteStepCountReport(const ModuleEntry* table, std::int32_t count, const KindCounts& totals,
                         std::string_view projectPath, std::string_view reportPath)
{
    SourceFile report;
    if (OpenSourceFile(report, reportPath, kModeWrite) != 1) {
        ShowMessage(report_text::kCannotOpen, report_text::kOutputCaption);
        return 0;
    }
    // Closing flushes what is still buffered: a failed close lost lines too.
    const bool written = WriteLines(report, table, count, totals, projectPath);
    if (CloseSourceFile(report) != 1 || !written) {
        ShowMessage(report_text::kCannotWrite, report_text::kOutputCaption);
        return 0;
    }
    return 1;
}

}  // namespace kolvane
