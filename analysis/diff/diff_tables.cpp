#include "analysis/diff/diff_tables.h"

#include "analysis/tables/csv_writer.h"
#include "analysis/tables/member_output.h"
#include "analysis/tables/json_text.h"

#include <array>
#include <cstdio>
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

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool WriteDiffCsv(const ProjectDiff& diff, std::string_view path, CodePage codePage)
{
    CsvWriter csv;
    if (!csv.Open(path, {kFile, kKind, kProcedure, kName, kStatus, kFigureColumns[0], kFigureColumns[1],
                         kFigureColumns[2], kFigureColumns[3], kFigureColumns[4], kFigureColumns[5],
                         kDesignerChanged})) {
        return false;
    }
    for (const ModuleDiff& module : diff.modules) {
        const std::string file = ToUtf8(module.file, codePage);
        for (const DiffRow& row : module.rows) {
            const RowColumns columns = ColumnsOf(module, row, codePage);
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
    }
    return csv.Close();
}

std::string DiffJson(const ProjectDiff& diff, CodePage codePage)
{
    std::string json = "{";
    AppendJsonName(json, kOldProject);
    AppendJsonString(json, PathToUtf8(diff.oldProject));
    json.push_back(',');
    AppendJsonName(json, kNewProject);
    AppendJsonString(json, PathToUtf8(diff.newProject));
    json.push_back(',');
    AppendJsonName(json, kModules);
    json.push_back('[');
    for (std::size_t m = 0; m < diff.modules.size(); ++m) {
        const ModuleDiff& module = diff.modules[m];
        json.append(m == 0 ? "{" : ",{");
        AppendJsonName(json, kFile);
        AppendJsonString(json, ToUtf8(module.file, codePage));
        json.push_back(',');
        AppendJsonName(json, kKind);
        AppendJsonString(json, KindText(module.kind));
        json.push_back(',');
        AppendJsonName(json, kStatus);
        AppendJsonString(json, RowStatusText(module.status));
        json.push_back(',');
        AppendJsonName(json, kRows);
        json.push_back('[');
        for (std::size_t r = 0; r < module.rows.size(); ++r) {
            const RowColumns columns = ColumnsOf(module, module.rows[r], codePage);
            json.append(r == 0 ? "{" : ",{");
            AppendJsonName(json, kProcedure);
            AppendJsonString(json, columns.procedure);
            json.push_back(',');
            AppendJsonName(json, kName);
            AppendJsonString(json, columns.name);
            json.push_back(',');
            AppendJsonName(json, kStatus);
            AppendJsonString(json, columns.status);
            for (std::size_t i = 0; i < columns.figures.size(); ++i) {
                json.push_back(',');
                AppendJsonName(json, kFigureColumns[i]);
                AppendJsonNumber(json, columns.figures[i]);
            }
            json.push_back(',');
            AppendJsonName(json, kDesignerChanged);
            if (columns.designer.empty()) {
                AppendJsonNumber(json, std::nullopt);
            } else {
                AppendJsonString(json, columns.designer);
            }
            json.push_back('}');
        }
        json.append("]}");
    }
    json.append("]}\n");
    return json;
}

bool WriteDiffJson(const ProjectDiff& diff, std::string_view path, CodePage codePage)
{
    const std::string json = DiffJson(diff, codePage);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(std::string(path).c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(json.data(), 1, json.size(), file.get()) == json.size();
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace kolvane
