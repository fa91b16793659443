#include "analysis/reports/procedure_list.h"

#include "analysis/reports/declaration_scan.h"
#include "analysis/reports/list_banner.h"
#include "analysis/reports/property_list.h"
#include "project/text/messages.h"

namespace kolvane {
namespace {

constexpr SectionTexts kProcedureSection{
    .heading = true,
    .countFormat = "関数は %d 個、存在します。\n\n",
    .noneText = "関数は存在しません。\n\n",
};

constexpr std::string_view kLibrary = " Lib ";
constexpr std::string_view kMainLine = "Sub Main()";
constexpr std::string_view kPublic = "Public ";
constexpr std::string_view kPrivate = "Private ";

// A procedure word and the only two decorated openings accepted for it.
struct ProcedureWord {
    std::string_view word;
    std::string_view publicOpening;
    std::string_view privateOpening;
};

constexpr ProcedureWord kFunction{"Function ", "Public Function ", "Private Function "};
constexpr ProcedureWord kSub{"Sub ", "Public Sub ", "Private Sub "};

// A line that starts no procedure holds neither word ("Sub Main()" included).
constexpr std::string_view kProcedureTriggers[] = {kFunction.word, kSub.word};

// A line with no declaration pending: "Function " anywhere makes it a
// Function line, else "Sub " a Sub line. A line opening with an access word
// is taken only when the word is followed directly by its procedure word,
// and is copied as it is; any other line only when it opens with the
// procedure word, and gets "Public " in front.
LineOutcome StartProcedure(const LinePiece& line, DeclarationJoiner& declaration)
{
    const std::string_view text = line.text;
    const ProcedureWord* kind = Contains(text, kFunction.word) ? &kFunction
                                : Contains(text, kSub.word)    ? &kSub
                                                               : nullptr;
    if (kind == nullptr) return LineOutcome::Next;

    if (text.starts_with(kPublic) || text.starts_with(kPrivate)) {
        if (!text.starts_with(kind->publicOpening) && !text.starts_with(kind->privateOpening)) {
            return LineOutcome::Next;
        }
        return declaration.Start("", line);
    }
    if (!text.starts_with(kind->word)) return LineOutcome::Next;
    return declaration.Start(kPublic, line);
}

// "Sub Main()" of a standard module: copied unchanged, not counted.
LineOutcome WriteMainLine(ReportSink& report, const LinePiece& line)
{
    return report.Print("%.*s%s", static_cast<int>(line.text.size()), line.text.data(), line.lineEnd ? "\n" : "") >= 0
               ? LineOutcome::Next
               : LineOutcome::WriteFailed;
}

// The steps of one module and the texts shown when one of them fails.
struct ModuleSteps {
    int (*listProcedures)(ReportSink& report, std::string_view sourcePath, const ScannedModule& source,
                          Reporter& reporter);
    std::string_view procedureFailure;
    std::string_view propertyFailure;
};

constexpr std::array<ModuleSteps, kTableKindCount> kSteps{{
    {&ListProcedures, "frmモジュール 関数読み取りエラー", "frmモジュール プロパティ読み取りエラー"},
    {&ListBasProcedures, "basモジュール 関数読み取りエラー", "basモジュール プロパティ読み取りエラー"},
    {&ListProcedures, "clsモジュール 関数読み取りエラー", "clsモジュール プロパティ読み取りエラー"},
}};

}  // namespace

int ListProcedures(ReportSink& report, std::string_view sourcePath, const ScannedModule& source, Reporter& reporter)
{
    return ListSection(report, sourcePath, source, kCommaContinuation, kProcedureSection, kProcedureTriggers,
                       [](const LinePiece& line, DeclarationJoiner& declaration) {
                           // The empty read at the end of the data is skipped, so a declaration
                           // pending there is dropped; a blank line ends one.
                           if (IsCommentLine(line) || IsEmptyRead(line)) return LineOutcome::Next;
                           if (declaration.Pending()) return declaration.Continue(line);
                           if (Contains(line.text, kLibrary)) return LineOutcome::Next;
                           return StartProcedure(line, declaration);
                       },
                       reporter);
}

int ListBasProcedures(ReportSink& report, std::string_view sourcePath, const ScannedModule& source,
                      Reporter& reporter)
{
    return ListSection(report, sourcePath, source, kCommaContinuation, kProcedureSection, kProcedureTriggers,
                       [&report](const LinePiece& line, DeclarationJoiner& declaration) {
                           // Blank lines are skipped, so a pending declaration goes on past them;
                           // the empty read at the end of the data ends it, without a line end.
                           if (IsCommentLine(line) || IsBlankLine(line)) return LineOutcome::Next;
                           if (declaration.Pending()) return declaration.Continue(line);
                           if (Contains(line.text, kLibrary)) return LineOutcome::Next;
                           if (line.text.starts_with(kMainLine)) return WriteMainLine(report, line);
                           return StartProcedure(line, declaration);
                       },
                       reporter);
}

namespace {

// Per module its two sections.
class ProcedureList final : public ListReport {
public:
    using ListReport::ListReport;

protected:
    bool Section(ReportSink& report, const ModuleEntry& row, const ScannedModule& source,
                 Reporter& reporter) const override
    {
        const std::optional<ModuleKind> kind = KnownTableKind(row, reporter);
        if (!kind) return false;
        const ModuleSteps& steps = kSteps[static_cast<std::size_t>(*kind)];
        const std::string_view path = ModulePath(row);
        if (steps.listProcedures(report, path, source, reporter) == 0) {
            reporter.Message(steps.procedureFailure, message::kOopsCaption);
            return false;
        }
        if (ListProperties(report, path, source, reporter) == 0) {
            reporter.Message(steps.propertyFailure, message::kOopsCaption);
            return false;
        }
        return true;
    }
};

}  // namespace

std::unique_ptr<Writer> MakeProcedureList(std::string_view projectPath, std::string_view reportPath)
{
    return std::make_unique<ProcedureList>(projectPath, reportPath);
}

}  // namespace kolvane
