#include "analysis/diff/diff_tables.h"

#include "analysis/tables/csv_writer.h"
#include "analysis/tables/member_output.h"
#include "analysis/tables/json_text.h"

#include <array>
#include <memory>
#include <optional>

namespace kolvane {
namespace {

constexpr std::string_view kDeclarations = "(declarations)";
constexpr std::string_view kYes = "yes";
constexpr std::string_view kNo = "no";

constexpr std::string_view kFile = "file";
constexpr std::string_view kKind = "kind";
constexpr std::string_view kProcedure = "procedure";
constexpr std::string_view kName = "name";
constexpr std::string_view kStatus = "status";
constexpr std::array<std::string_view, 6> kFigureColumns = {"added",     "changed",   "deleted",
                                                            "unchanged", "old_steps", "new_steps"};
constexpr std::string_view kDesignerChanged = "designer_changed";
constexpr std::string_view kOldProject = "old_project";
constexpr std::string_view kNewProject = "new_project";
constexpr std::string_view kModules = "modules";
constexpr std::string_view kRows = "rows";
constexpr std::string_view kModuleSeparator = ",";
constexpr std::string_view kEnd = "]}\n";

// The columns of a row after file and kind; text in UTF-8.
struct RowColumns {
    std::string procedure;
    std::string name;
    std::string_view status;
    std::array<std::optional<std::int64_t>, 6> figures;  // in the order of kFigureColumns
    std::string_view designer;                           // empty: none
};

RowColumns ColumnsOf(const ModuleDiff& module, const DiffRow& row, CodePage codePage)
{
    RowColumns columns;
    columns.procedure = row.declarations ? std::string(kDeclarations) : std::string(ProcedureKindText(row.kind));
    if (!row.declarations) columns.name = ToUtf8(row.name, codePage);
    columns.status = RowStatusText(row.status);
    if (row.counts) {
        const ChangeCounts& c = *row.counts;
        columns.figures = {c.added, c.changed, c.deleted, c.unchanged, c.oldSteps, c.newSteps};
    }
    if (row.declarations && module.designer != DesignerChange::NotApplicable) {
        columns.designer = module.designer == DesignerChange::Yes ? kYes : kNo;
    }
    return columns;
}

class DiffCsvFormat final : public DiffFormat {
public:
    explicit DiffCsvFormat(CodePage codePage) : codePage_(codePage) {}

    std::string Head(const DiffHeading&) const override
    {
        return CsvHead(std::array<std::string_view, 12>{kFile, kKind, kProcedure, kName, kStatus, kFigureColumns[0],
                                                        kFigureColumns[1], kFigureColumns[2], kFigureColumns[3],
                                                        kFigureColumns[4], kFigureColumns[5], kDesignerChanged});
    }

    void AppendModule(const ModuleDiff& module, std::string& part) const override
    {
        CsvRows csv;
        const std::string file = ToUtf8(module.file, codePage_);
        for (const DiffRow& row : module.rows) {
            const RowColumns columns = ColumnsOf(module, row, codePage_);
            csv.Text(file);
            csv.Text(KindText(module.kind));
            csv.Text(columns.procedure);
            csv.Text(columns.name);
            csv.Text(columns.status);
            for (const std::optional<std::int64_t>& figure : columns.figures) {
                if (figure) {
                    csv.Number(*figure);
                } else {
                    csv.Empty();
                }
            }
            csv.Text(columns.designer);
            csv.EndRow();
        }
        part.append(csv.Bytes());
    }

    std::string Tail(const DiffTotals&) const override { return {}; }

private:
    CodePage codePage_;
};

class DiffJsonFormat final : public DiffFormat {
public:
    explicit DiffJsonFormat(CodePage codePage) : codePage_(codePage) {}

    std::string Head(const DiffHeading& heading) const override
    {
        std::string json = "{";
        AppendJsonField(json, kOldProject, PathToUtf8(heading.oldProject));
        AppendJsonField(json, kNewProject, PathToUtf8(heading.newProject));
        json.push_back(',');
        AppendJsonName(json, kModules);
        json.push_back('[');
        return json;
    }

    void AppendModule(const ModuleDiff& module, std::string& json) const override
    {
        json.push_back('{');
        AppendJsonField(json, kFile, ToUtf8(module.file, codePage_));
        AppendJsonField(json, kKind, KindText(module.kind));
        AppendJsonField(json, kStatus, RowStatusText(module.status));
        json.push_back(',');
        AppendJsonName(json, kRows);
        json.push_back('[');
        for (std::size_t r = 0; r < module.rows.size(); ++r) {
            const RowColumns columns = ColumnsOf(module, module.rows[r], codePage_);
            json.append(r == 0 ? "{" : ",{");
            AppendJsonField(json, kProcedure, columns.procedure);
            AppendJsonField(json, kName, columns.name);
            AppendJsonField(json, kStatus, columns.status);
            for (std::size_t i = 0; i < columns.figures.size(); ++i) {
                AppendJsonField(json, kFigureColumns[i], columns.figures[i]);
            }
            if (columns.designer.empty()) {
                AppendJsonField(json, kDesignerChanged, std::nullopt);
            } else {
                AppendJsonField(json, kDesignerChanged, columns.designer);
            }
            json.push_back('}');
        }
        json.append("]}");
    }

    std::string_view Separator() const override { return kModuleSeparator; }

    std::string Tail(const DiffTotals&) const override { return std::string(kEnd); }

private:
    CodePage codePage_;
};

}  // namespace

std::unique_ptr<DiffFormat> MakeDiffCsvFormat(CodePage codePage)
{
    return std::make_unique<DiffCsvFormat>(codePage);
}

std::unique_ptr<DiffFormat> MakeDiffJsonFormat(CodePage codePage)
{
    return std::make_unique<DiffJsonFormat>(codePage);
}

std::string DiffJson(const ProjectDiff& diff, CodePage codePage)
{
    return DiffDocument(DiffJsonFormat(codePage), {diff.oldProject, diff.newProject}, diff.modules);
}

}  // namespace kolvane
