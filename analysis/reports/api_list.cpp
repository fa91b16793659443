#include "analysis/reports/api_list.h"

#include "analysis/reports/declaration_scan.h"
#include "analysis/reports/list_banner.h"
#include "project/text/messages.h"

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

// The lines that start a declaration or end the scan hold one of these.
constexpr std::string_view kApiTriggers[] = {kLibrary, kEndSub, kEndFunction, kEndProperty};

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

constexpr std::array<ModuleStep, kTableKindCount> kSteps{{
    {0, "frmモジュール API関数読み取りエラー"},
    {0, "basモジュール API関数読み取りエラー"},
    {1, "clsモジュール API関数読み取りエラー"},
}};

}  // namespace

int ListApiDeclarations(ReportSink& report, std::string_view sourcePath, const ScannedModule& source, int classModule,
                        Reporter& reporter)
{
    return ListSection(report, sourcePath, source, kBlankContinuation, kApiSection, kApiTriggers,
                       [classModule](const LinePiece& line, DeclarationJoiner& declaration) {
                           // The empty read at the end of the data is skipped, so a declaration
                           // pending there is dropped; a blank line ends one.
                           if (IsCommentLine(line) || IsEmptyRead(line)) return LineOutcome::Next;
                           if (declaration.Pending() || Contains(line.text, kLibrary)) {
                               return declaration.Continue(line);
                           }
                           if (EndsScan(line.text, classModule)) return LineOutcome::EndScan;
                           return LineOutcome::Next;
                       },
                       reporter);
}

namespace {

// Per module its section.
class ApiList final : public ListReport {
public:
    using ListReport::ListReport;

protected:
    bool Section(ReportSink& report, const ModuleEntry& row, const ScannedModule& source,
                 Reporter& reporter) const override
    {
        const std::optional<ModuleKind> kind = KnownTableKind(row, reporter);
        if (!kind) return false;
        const ModuleStep& step = kSteps[static_cast<std::size_t>(*kind)];
        if (ListApiDeclarations(report, ModulePath(row), source, step.classModule, reporter) == 0) {
            reporter.Message(step.failure, message::kOopsCaption);
            return false;
        }
        return true;
    }
};

}  // namespace

std::unique_ptr<Writer> MakeApiList(std::string_view projectPath, std::string_view reportPath)
{
    return std::make_unique<ApiList>(projectPath, reportPath);
}

}  // namespace kolvane
