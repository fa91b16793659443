#include "analysis/reports/step_count_report.h"

#include "analysis/reports/text_report.h"
#include "project/text/path_text.h"
#include "project/text/source_file.h"
#include "project/text/trace.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kolvane {
namespace {

constexpr std::string_view kBannerRule = "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\n";
constexpr std::string_view kBannerTitle = "   ソースコード ステップ数・コメント数   \n";
constexpr const char* kFileNameFormat = "ファイル名 ： %.*s\n";
constexpr const char* kStepsFormat = "ステップ数 ： %8ld 行\n";
constexpr const char* kCommentsFormat = "コメント数 ： %8ld 行\n\n";
constexpr std::string_view kTotalsHeader = "             ステップ数   コメント数        合計\n";
constexpr std::array<const char*, kTableKindCount> kTotalsFormats = {
    "frmファイル%10ld行%10ld行%10ld行\n",
    "basファイル%10ld行%10ld行%10ld行\n",
    "clsファイル%10ld行%10ld行%10ld行\n\n\n",
};

constexpr std::string_view kRunFailed = "処理に失敗しました";
constexpr std::string_view kRunFailedCaption = "あ～あ";

bool WriteLines(SourceFile& report, std::span<const ModuleEntry> rows, std::span<const Figures> figures,
                const KindCounts& totals, std::string_view projectPath)
{
    if (report.WriteBlock(kBannerRule) != 1 || report.WriteBlock(kBannerTitle) != 1 ||
        report.WriteBlock(kBannerRule) != 1 ||
        report.Print(message::kProjectLineFormat, std::string(projectPath).c_str()) < 0) {
        return false;
    }

    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::string_view title = FileTitle(ModulePath(rows[row]));
        if (report.Print(kFileNameFormat, static_cast<int>(title.size()), title.data()) < 0 ||
            report.Print(kStepsFormat, static_cast<long>(figures[row].steps)) < 0 ||
            report.Print(kCommentsFormat, static_cast<long>(figures[row].comments)) < 0) {
            return false;
        }
    }

    if (report.WriteBlock(kTotalsHeader) != 1) return false;
    for (std::size_t kind = 0; kind < kTableKindCount; ++kind) {
        const Figures& total = totals[kind];
        if (report.Print(kTotalsFormats[kind], static_cast<long>(total.steps), static_cast<long>(total.comments),
                         static_cast<long>(Sum32(total.steps, total.comments))) < 0) {
            return false;
        }
    }
    return true;
}

// The counts of every row, kept until the report is written.
class StepCount final : public TextReport {
public:
    using TextReport::TextReport;

    bool Begin(Reporter&) override { return true; }

    bool Take(const ModuleTurn& turn, const PreparedModule*, Reporter& reporter) override
    {
        const ModuleEntry* row = RowOf(turn);
        if (row == nullptr) return true;
        const std::optional<ModuleKind> kind = KnownTableKind(*row, reporter);
        if (!kind) return false;
        const ScannedModule& source = *turn.module;
        if (!Counted(source, reporter)) {
            reporter.Message(kRunFailed, kRunFailedCaption);
            return false;
        }
        const Figures figures{source.scan.steps, source.scan.comments};
        AddFigures(totals_[static_cast<std::size_t>(*kind)], figures);
        rows_.push_back(*row);
        figures_.push_back(figures);
        return true;
    }

    bool Finish(Reporter& reporter) override
    {
        if (WriteStepCountReport(rows_, figures_, totals_, projectPath_, reportPath_, reporter)) return true;
        reporter.Message(kRunFailed, kRunFailedCaption);
        return false;
    }

private:
    // The trace of one module's reading, as the counter reports it; true
    // when the module was read whole.
    static bool Counted(const ScannedModule& source, Reporter& reporter)
    {
        if (!source.exists) {
            TraceBare(reporter, trace_text::kNotFound);
            return false;
        }
        if (source.outcome == ReadOutcome::CannotOpen) {
            Trace(reporter, trace_text::kOpenError);
            return false;
        }
        Trace(reporter, trace_text::kOpened);
        switch (source.outcome) {
        case ReadOutcome::CloseError:
            Trace(reporter, trace_text::kCloseError);
            return false;
        case ReadOutcome::ReadError:
            Trace(reporter, trace_text::kReadError);
            return false;
        default:
            Trace(reporter, trace_text::kClosed);
            return true;
        }
    }

    std::vector<ModuleEntry> rows_;
    std::vector<Figures> figures_;
    KindCounts totals_{};
};

}  // namespace

std::unique_ptr<Writer> MakeStepCount(std::string_view projectPath, std::string_view reportPath)
{
    return std::make_unique<StepCount>(projectPath, reportPath);
}

bool WriteStepCountReport(std::span<const ModuleEntry> rows, std::span<const Figures> figures, const KindCounts& totals,
                          std::string_view projectPath, std::string_view reportPath, Reporter& reporter)
{
    SourceFile report;
    if (OpenSourceFile(report, reportPath, kModeWrite) != 1) {
        reporter.Message(message::kCannotOpen, message::kOutputCaption);
        return false;
    }
    // Closing flushes what is still buffered: a failed close lost lines too.
    const bool written = WriteLines(report, rows, figures, totals, projectPath);
    if (CloseSourceFile(report) != 1 || !written) {
        reporter.Message(message::kCannotWrite, message::kOutputCaption);
        return false;
    }
    return true;
}

}  // namespace kolvane
