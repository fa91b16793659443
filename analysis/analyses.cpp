#include "analysis/analyses.h"

#include "analysis/api_list.h"
#include "analysis/procedure_list.h"
#include "analysis/step_count_report.h"
#include "project/path_text.h"

namespace kolvane {
namespace {

constexpr std::size_t kExtensionLength = 4;  // ".vbp"

int WriteProcedureList(ModuleEntry* rows, std::int32_t count, std::string_view projectPath,
                       std::string_view reportPath)
{
    return WriteProcedureListReport(rows, count, projectPath, reportPath);
}

int WriteApiList(ModuleEntry* rows, std::int32_t count, std::string_view projectPath, std::string_view reportPath)
{
    return WriteApiListReport(rows, count, projectPath, reportPath);
}

constexpr std::array<Analysis, 3> kAnalyses = {{
    {AnalysisKind::StepCount, "_StCnt.txt", &RunStepCount, "ステップ数・コメント数取得処理"},
    {AnalysisKind::ProcedureList, "_FncOp.txt", &WriteProcedureList, "関数取得処理"},
    {AnalysisKind::ApiList, "_APIOp.txt", &WriteApiList, "API関数取得処理"},
}};

}  // namespace

const Analysis& AnalysisFor(AnalysisKind kind)
{
    return kAnalyses[static_cast<std::size_t>(kind)];
}

std::string ReportFileName(std::string_view projectPath, const Analysis& analysis)
{
    std::string_view title = FileTitle(projectPath);
    if (title.size() > kExtensionLength) title.remove_suffix(kExtensionLength);
    std::string name(title);
    name.append(analysis.suffix);
    return name;
}

}  // namespace kolvane
