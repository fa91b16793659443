#include "analysis/diff_tables.h"

#include <array>
#include <cstdio>

namespace kolvane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kCsvHeader =
    "file,kind,procedure,name,status,added,changed,deleted,unchanged,old_steps,new_steps,designer_changed";
constexpr std::string_view kDeclarations = "(declarations)";
constexpr std::string_view kYes = "yes";
constexpr std::string_view kNo = "no";
constexpr std::string_view kNull = "null";

std::string_view DesignerText(DesignerChange designer)
{
    switch (designer) {
    case DesignerChange::Yes: return kYes;
    case DesignerChange::No: return kNo;
    case DesignerChange::NotApplicable: break;
    }
    return {};
}

// The columns after file and kind, as text; an empty figure is empty.
struct RowColumns {
    std::string procedure;
    std::string name;
    std::string_view status;
    std::array<std::string, 6> figures;  // added, changed, deleted, unchanged, old_steps, new_steps
    std::string_view designer;
};

constexpr std::array<std::string_view, 6> kFigureNames = {"added",     "changed",   "deleted",
                                                          "unchanged", "old_steps", "new_steps"};

RowColumns ColumnsOf(const ModuleDiff& module, const DiffRow& row, CodePage codePage)
{
    RowColumns columns;
    columns.procedure = row.declarations ? std::string(kDeclarations) : std::string(ProcedureKindText(row.kind));
    columns.name = row.declarations ? std::string() : ToUtf8(row.name, codePage);
    columns.status = RowStatusText(row.status);
    if (row.counts) {
        const ChangeCounts& c = *row.counts;
        const std::array<std::int64_t, 6> values = {c.added, c.changed, c.deleted, c.unchanged, c.oldSteps, c.newSteps};
        for (std::size_t i = 0; i < values.size(); ++i) columns.figures[i] = std::to_string(values[i]);
    }
    if (row.declarations) columns.designer = DesignerText(module.designer);
    return columns;
}

// RFC 4180: quoted when it holds a comma, a double quote, CR or LF.
void AppendCsvField(std::string_view field, std::string& out)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (const char c : field) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

void AppendJsonString(std::string_view text, std::string& out)
{
    out.push_back('"');
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte < 0x20) {
            std::array<char, 7> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", static_cast<unsigned>(byte));
            out.append(escaped.data());
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void AppendJsonMember(std::string_view name, std::string& out)
{
    AppendJsonString(name, out);
    out.push_back(':');
}

// Project paths are given in the host's own encoding: UTF-8 off Windows.
std::string PathText(std::string_view path, CodePage codePage)
{
#ifdef _WIN32
    return ToUtf8(path, codePage);
#else
    (void)codePage;
    return ToUtf8(path, CodePage::Utf8);
#endif
}

}  // namespace

std::string DiffCsv(const ProjectDiff& diff, CodePage codePage)
{
    std::string csv(kByteOrderMark);
    csv.append(kCsvHeader).append(kLineEnd);
    for (const ModuleDiff& module : diff.modules) {
        const std::string file = ToUtf8(module.file, codePage);
        for (const DiffRow& row : module.rows) {
            const RowColumns columns = ColumnsOf(module, row, codePage);
            AppendCsvField(file, csv);
            csv.append(",").append(KindText(module.kind)).append(",");
            AppendCsvField(columns.procedure, csv);
            csv.push_back(',');
            AppendCsvField(columns.name, csv);
            csv.append(",").append(columns.status);
            for (const std::string& figure : columns.figures) csv.append(",").append(figure);
            csv.append(",").append(columns.designer).append(kLineEnd);
        }
    }
    return csv;
}

std::string DiffJson(const ProjectDiff& diff, CodePage codePage)
{
    std::string json = "{";
    AppendJsonMember("old_project", json);
    AppendJsonString(PathText(diff.oldProject, codePage), json);
    json.push_back(',');
    AppendJsonMember("new_project", json);
    AppendJsonString(PathText(diff.newProject, codePage), json);
    json.push_back(',');
    AppendJsonMember("modules", json);
    json.push_back('[');
    for (std::size_t m = 0; m < diff.modules.size(); ++m) {
        const ModuleDiff& module = diff.modules[m];
        json.append(m == 0 ? "{" : ",{");
        AppendJsonMember("file", json);
        AppendJsonString(ToUtf8(module.file, codePage), json);
        json.push_back(',');
        AppendJsonMember("kind", json);
        AppendJsonString(KindText(module.kind), json);
        json.push_back(',');
        AppendJsonMember("status", json);
        AppendJsonString(RowStatusText(module.status), json);
        json.push_back(',');
        AppendJsonMember("rows", json);
        json.push_back('[');
        for (std::size_t r = 0; r < module.rows.size(); ++r) {
            const RowColumns columns = ColumnsOf(module, module.rows[r], codePage);
            json.append(r == 0 ? "{" : ",{");
            AppendJsonMember("procedure", json);
            AppendJsonString(columns.procedure, json);
            json.push_back(',');
            AppendJsonMember("name", json);
            AppendJsonString(columns.name, json);
            json.push_back(',');
            AppendJsonMember("status", json);
            AppendJsonString(columns.status, json);
            for (std::size_t i = 0; i < columns.figures.size(); ++i) {
                json.push_back(',');
                AppendJsonMember(kFigureNames[i], json);
                json.append(columns.figures[i].empty() ? kNull : std::string_view(columns.figures[i]));
            }
            json.push_back(',');
            AppendJsonMember("designer_changed", json);
            if (columns.designer.empty()) {
                json.append(kNull);
            } else {
                AppendJsonString(columns.designer, json);
            }
            json.push_back('}');
        }
        json.append("]}");
    }
    json.append("]}\n");
    return json;
}

}  // namespace kolvane
