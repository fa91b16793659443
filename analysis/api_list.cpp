#include "analysis/api_list.h"

#include "analysis/declaration_scan.h"
#include "analysis/list_banner.h"
#include "analysis/module_kind.h"
#include "analysis/report_texts.h"
#include "project/platform.h"

namespace kolvane {
namespace {

constexpr SectionTexts kApiSection{
    .heading = true,
    .countFormat = "API関数は %d 個、存在します。\n\n",
    .noneText = "API関数は存在しません。\n\n",
};

constexpr std::string_view kLibrary = " Lib ";
constexpr std::string_view kEndSub = "End Sub";
constexpr std::string_view kEndFunction = "End Function";
constexpr std::string_view kEndProperty = "End Property";

// The end of the first procedure: declarations stand before it.
bool EndsScan(std::string_view line, int classModule)
{
    return line.starts_with(kEndSub) || line.starts_with(kEndFunction) ||
           (classModule != 0 && line.starts_with(kEndProperty));
}

// The call for one module and the text shown when it fails.
struct ModuleStep {
    int classModule;
    std::string_view failure;
};

constexpr PerKind<ModuleStep> kSteps{{
    {0, "frmモジュール API関数読み取りエラー"},
    {0, "basモジュール API関数読み取りエラー"},
    {1, "clsモジュール API関数読み取りエラー"},
}};

}  // namespace

int ListApiDeclarations(SourceFile& report, std::string_view sourcePath, int classModule)
{
    return ListSection(report, sourcePath, kBlankContinuation, kApiSection,
                       [classModule](std::string_view line, DeclarationJoiner& declaration) {
                           // The empty read at the end of the data is skipped, so a declaration
                           // pending there is dropped; a blank line ends one.
                           if (IsCommentLine(line) || line.empty()) return LineOutcome::Next;
                           if (declaration.Pending() || Contains(line, kLibrary)) return declaration.Continue(line);
                           if (EndsScan(line, classModule)) return LineOutcome::EndScan;
                           return LineOutcome::Next;
                       });
}

int WriteApiListReport(const ModuleEntry* rows, std::int32_t count, std::string_view projectPath,
                       std::string_view outputPath)
{
    SourceFile report;  // closed when it goes out of scope after a failure
    if (!StartListReport(report, outputPath, projectPath)) return 0;

    for (std::int32_t i = 0; i < count; ++i) {
        const ModuleStep* step = StepFor(rows[i], kSteps);
        if (step == nullptr) {
            ShowMessage(report_text::kUnexpected, report_text::kErrorCaption);
            return 0;
        }
        if (ListApiDeclarations(report, ModulePath(rows[i]), step->classModule) == 0) {
            ShowMessage(step->failure, report_text::kModuleCaption);
            return 0;
        }
    }
    return FinishListReport(report);
}

}  // namespace kolvane
