#include "analysis/run/outputs.h"

#include "analysis/diff/project_diff.h"
#include "analysis/reports/api_list.h"
#include "analysis/reports/procedure_list.h"
#include "analysis/reports/step_count_report.h"
#include "analysis/tables/csv_tables.h"

#include <array>
#include <stdexcept>

namespace kolvane {
namespace {

// The text reports are made with the project's path and the report's path.
template <std::unique_ptr<Writer> (*Make)(std::string_view projectPath, std::string_view reportPath),
          const std::string_view& Suffix>
std::unique_ptr<Writer> TextReport(const OutputContext& context)
{
    return Make(context.projectPath, context.PathFor(Suffix));
}

constexpr std::string_view kStepCountSuffix = "_StCnt.txt";
constexpr std::string_view kProcedureSuffix = "_FncOp.txt";
constexpr std::string_view kApiSuffix = "_APIOp.txt";

constexpr AnalysisRow kAnalyses[] = {
    {AnalysisId::Steps, "steps", 's', true, ModuleSource::Table, ScanDepth::Statements, ScanDepth::Statements,
     &TextReport<&MakeStepCount, kStepCountSuffix>, kStepCountSuffix, "ステップ数・コメント数取得処理",
     &MakeStepCountCsv, &MakeStepCountJson, nullptr},
    {AnalysisId::Procedures, "procedures", 'p', true, ModuleSource::Table, ScanDepth::Text, ScanDepth::Procedures,
     &TextReport<&MakeProcedureList, kProcedureSuffix>, kProcedureSuffix, "関数取得処理", &MakeProcedureCsv,
     &MakeProcedureJson, nullptr},
    {AnalysisId::Apis, "apis", 'a', true, ModuleSource::Table, ScanDepth::Text, ScanDepth::Apis, &TextReport<&MakeApiList, kApiSuffix>,
     kApiSuffix, "API関数取得処理", &MakeApiCsv, &MakeApiJson, nullptr},
    {AnalysisId::Changes, "diff", 0, false, ModuleSource::Members, ScanDepth::Procedures, ScanDepth::Procedures, &MakeDiffText, {}, {}, &MakeDiffCsv,
     nullptr, &MakeDiffJson},
};

}  // namespace

std::span<const AnalysisRow> AnalysisTable()
{
    return kAnalyses;
}

const AnalysisRow& RowOf(AnalysisId id)
{
    for (const AnalysisRow& row : kAnalyses) {
        if (row.id == id) return row;
    }
    throw std::out_of_range("an analysis without its row in the table");
}

const AnalysisRow* RowOfOption(std::string_view option)
{
    for (const AnalysisRow& row : kAnalyses) {
        if (row.option == option) return &row;
    }
    return nullptr;
}

}  // namespace kolvane
