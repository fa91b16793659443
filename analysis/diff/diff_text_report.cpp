#include "analysis/diff/diff_text_report.h"

#include "analysis/diff/report_style.h"
#include "project/text/strings.h"

#include <array>
#include <cstdint>

namespace kolvane {
namespace {

using namespace report_style;

constexpr std::string_view kBannerTitle = "       ソースコード 変更ステップ数       \n";
constexpr const char* kOldProjectFormat = "旧プロジェクトファイル ： %s\n";
constexpr const char* kNewProjectFormat = "新プロジェクトファイル ： %s\n\n\n";
constexpr const char* kDesignerFormat = "デザイン   ： %s\n";
constexpr const char* kAddedFormat = "新規       ： %8lld 行\n";
constexpr const char* kChangedFormat = "修正       ： %8lld 行\n";
constexpr const char* kDeletedFormat = "削除       ： %8lld 行\n";
constexpr const char* kUnchangedFormat = "変更なし   ： %8lld 行\n";
// A row: "  STATUS LABEL ： 新規 N 行、修正 N 行、削除 N 行", or "  STATUS LABEL"
// when it has no figures.
constexpr std::string_view kRowIndent = "  ";
constexpr std::string_view kRowAdded = " ： 新規 ";
constexpr std::string_view kRowChanged = " 行、修正 ";
constexpr std::string_view kRowDeleted = " 行、削除 ";
constexpr std::string_view kRowEnd = " 行\n";
constexpr std::string_view kDeclarations = "(宣言部)";
constexpr std::string_view kDesignerChanged = "変更あり";
constexpr std::string_view kDesignerSame = "変更なし";
constexpr std::string_view kTotalsHeader = "                   新規        修正        削除    変更なし\n";

// 新規, 修正, 削除, 変更なし, and the two failures, in RowStatus order.
constexpr std::array<std::string_view, 6> kStatusTexts = {"新規", "修正", "削除", "変更なし", "ファイルなし",
                                                          "読込エラー"};

std::string_view StatusText(RowStatus status) { return kStatusTexts[static_cast<std::size_t>(status)]; }

// The row's label, "(宣言部)" or the procedure's kind and name; like every
// text of the report it ends at a NUL byte (a bracketed name may hold one).
void AppendRowLabel(const DiffRow& row, std::string& report)
{
    if (row.declarations) {
        report += kDeclarations;
        return;
    }
    report += ProcedureKindText(row.kind);
    report += ' ';
    const std::string_view name = row.name;
    report += name.substr(0, name.find('\0'));
}

void AppendRow(const DiffRow& row, std::string& report)
{
    report += kRowIndent;
    report += StatusText(row.status);
    report += ' ';
    AppendRowLabel(row, report);
    if (!row.counts) {
        report += '\n';
        return;
    }
    report += kRowAdded;
    report_style::AppendNumber(report, row.counts->added);
    report += kRowChanged;
    report_style::AppendNumber(report, row.counts->changed);
    report += kRowDeleted;
    report_style::AppendNumber(report, row.counts->deleted);
    report += kRowEnd;
}

void AppendModuleText(const ModuleDiff& module, std::string& report)
{
    const ChangeCounts totals = module.Totals();
    report += FormatText(kFileNameFormat, module.file.c_str());
    report += FormatText(kStatusFormat, std::string(StatusText(module.status)).c_str());
    if (module.designer != DesignerChange::NotApplicable) {
        const std::string_view designer = module.designer == DesignerChange::Yes ? kDesignerChanged : kDesignerSame;
        report += FormatText(kDesignerFormat, std::string(designer).c_str());
    }
    if (module.status != RowStatus::Missing && module.status != RowStatus::Unreadable) {
        report += FormatText(kAddedFormat, static_cast<long long>(totals.added));
        report += FormatText(kChangedFormat, static_cast<long long>(totals.changed));
        report += FormatText(kDeletedFormat, static_cast<long long>(totals.deleted));
        report += FormatText(kUnchangedFormat, static_cast<long long>(totals.unchanged));
    }
    for (const DiffRow& row : module.rows) {
        if (!row.counts || row.status != RowStatus::Unchanged) AppendRow(row, report);
    }
    report += '\n';
}

class DiffTextFormat final : public DiffFormat {
public:
    std::string Head(const DiffHeading& heading) const override
    {
        std::string head;
        AppendBanner(head, kBannerTitle);
        head += FormatText(kOldProjectFormat, std::string(heading.oldProject).c_str());
        head += FormatText(kNewProjectFormat, std::string(heading.newProject).c_str());
        return head;
    }

    void AppendModule(const ModuleDiff& module, std::string& part) const override { AppendModuleText(module, part); }

    std::string Tail(const DiffTotals& totals) const override
    {
        const auto columns = [](const ChangeCounts& c) { return Columns{c.added, c.changed, c.deleted, c.unchanged}; };
        std::array<Columns, kModuleKindCount> kindColumns{};
        for (std::size_t kind = 0; kind < kModuleKindCount; ++kind) kindColumns[kind] = columns(totals.perKind[kind]);
        std::string tail;
        AppendTotals(tail, kTotalsHeader, kindColumns, columns(totals.figures.counts));
        return tail;
    }

    bool TextMode() const override { return true; }
};

}  // namespace

std::unique_ptr<DiffFormat> MakeDiffTextFormat()
{
    return std::make_unique<DiffTextFormat>();
}

std::string DiffTextReport(const ProjectDiff& diff)
{
    return DiffDocument(DiffTextFormat(), {diff.oldProject, diff.newProject}, diff.modules);
}

}  // namespace kolvane
