#include "analysis/run/outputs.h"

#include "analysis/diff/project_diff.h"
#include "analysis/findings/unused_code.h"
#include "analysis/findings/inventory.h"
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
constexpr std::string_view kUnusedSuffix = "_Unused.txt";

constexpr AnalysisRow kAnalyses[] = {
    {.id = AnalysisId::Steps, .option = "steps", .shortOption = 's', .inAll = true,
     .textSource = ModuleSource::Table, .textDepth = ScanDepth::Figures, .depth = ScanDepth::Figures,
     .text = &TextReport<&MakeStepCount, kStepCountSuffix>, .textSuffix = kStepCountSuffix,
     .failureText = "ステップ数・コメント数取得処理", .csv = &MakeStepCountCsv, .jsonPart = &MakeStepCountJson},
    {.id = AnalysisId::Procedures, .option = "procedures", .shortOption = 'p', .inAll = true,
     .textSource = ModuleSource::Table, .textDepth = ScanDepth::Text, .depth = ScanDepth::Procedures,
     .text = &TextReport<&MakeProcedureList, kProcedureSuffix>, .textSuffix = kProcedureSuffix,
     .failureText = "関数取得処理", .csv = &MakeProcedureCsv, .jsonPart = &MakeProcedureJson},
    {.id = AnalysisId::Apis, .option = "apis", .shortOption = 'a', .inAll = true, .textSource = ModuleSource::Table,
     .textDepth = ScanDepth::Text, .depth = ScanDepth::Apis, .text = &TextReport<&MakeApiList, kApiSuffix>,
     .textSuffix = kApiSuffix, .failureText = "API関数取得処理", .csv = &MakeApiCsv, .jsonPart = &MakeApiJson},
    {.id = AnalysisId::Unused, .option = "unused", .textSource = ModuleSource::Members, .textDepth = ScanDepth::Apis,
     .depth = ScanDepth::Apis, .text = &MakeUnusedText, .textSuffix = kUnusedSuffix, .csv = &MakeUnusedCsv,
     .jsonPart = &MakeUnusedJson},
    {.id = AnalysisId::Inventory, .option = "inventory", .depth = ScanDepth::Statements, .csv = &MakeInventoryCsv,
     .jsonPart = &MakeInventoryJson},
    {.id = AnalysisId::Changes, .option = "diff", .textSource = ModuleSource::Members,
     .textDepth = ScanDepth::Procedures, .depth = ScanDepth::Procedures, .text = &MakeDiffText, .csv = &MakeDiffCsv,
     .json = &MakeDiffJson},
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
