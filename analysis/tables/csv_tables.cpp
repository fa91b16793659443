#include "analysis/tables/csv_tables.h"

#include "analysis/tables/member_output.h"
#include "project/text/path_text.h"

namespace kolvane {
namespace {

constexpr std::string_view kStepCountSuffix = "_StCnt.csv";
constexpr std::string_view kProcedureSuffix = "_FncOp.csv";
constexpr std::string_view kApiSuffix = "_APIOp.csv";

class StepCountCsv final : public CsvTable {
public:
    explicit StepCountCsv(const OutputContext& context)
        : CsvTable(context, kStepCountSuffix, {"project", "file", "kind", "path", "status", "steps", "comments"})
    {
    }

private:
    void Rows(const ScannedModule& module, std::string_view, CsvRows& csv) const override
    {
        const MemberColumns columns = ColumnsOf(module, context_.codePage);
        csv.Text(context_.project);
        csv.Text(columns.file);
        csv.Text(columns.kind);
        csv.Text(columns.path);
        csv.Text(columns.status);
        if (module.Status() == SourceStatus::Read) {
            csv.Number(module.scan.steps);
            csv.Number(module.scan.comments);
        } else {
            csv.Empty();
            csv.Empty();
        }
        csv.EndRow();
    }
};

class ProcedureCsv final : public CsvTable {
public:
    explicit ProcedureCsv(const OutputContext& context)
        : CsvTable(context, kProcedureSuffix,
                   {"project", "file", "kind", "procedure", "name", "scope", "line", "steps", "declaration"})
    {
    }

private:
    void Rows(const ScannedModule& module, std::string_view rowStart, CsvRows& csv) const override
    {
        std::string declaration;
        for (const Procedure& procedure : module.procedures) {
            JoinDeclaration(module.scan, procedure, declaration);
            csv.Fields(rowStart);
            csv.Text(ProcedureKindText(procedure.kind));
            csv.Converted(procedure.name, context_.codePage);
            csv.Text(ScopeText(procedure.scope));
            csv.Number(procedure.line);
            csv.Number(procedure.Steps());
            csv.Converted(declaration, context_.codePage);
            csv.EndRow();
        }
    }
};

class ApiCsv final : public CsvTable {
public:
    explicit ApiCsv(const OutputContext& context)
        : CsvTable(context, kApiSuffix,
                   {"project", "file", "kind", "procedure", "name", "scope", "library", "alias", "line", "declaration"})
    {
    }

private:
    void Rows(const ScannedModule& module, std::string_view rowStart, CsvRows& csv) const override
    {
        for (const ApiDeclaration& api : module.apis) {
            csv.Fields(rowStart);
            csv.Text(ProcedureKindText(api.kind));
            csv.Converted(api.name, context_.codePage);
            csv.Text(ScopeText(api.scope));
            csv.Converted(api.library, context_.codePage);
            csv.Converted(api.alias, context_.codePage);
            csv.Number(api.line);
            csv.Converted(api.declaration, context_.codePage);
            csv.EndRow();
        }
    }
};

}  // namespace

CsvTable::CsvTable(const OutputContext& context, std::string_view suffix,
                   std::initializer_list<std::string_view> columns)
    : context_(context), path_(context.PathFor(suffix)), columns_(columns)
{
}

bool CsvTable::Begin(Reporter& reporter)
{
    if (csv_.Open(path_, columns_)) return true;
    ReportCannotCreate(reporter, path_);
    return false;
}

namespace {

// The first columns of a member's rows: project, file, kind.
CsvRows RowStart(const OutputContext& context, const ScannedModule& module)
{
    CsvRows start;
    start.Text(context.project);
    start.Text(ToUtf8(FileTitle(module.member->path), context.codePage));
    start.Text(KindText(module.kind));
    return start;
}

// A member's rows, made ahead of its turn.
struct PreparedRows final : PreparedModule {
    CsvRows rows;
};

}  // namespace

std::unique_ptr<PreparedModule> CsvTable::Prepare(const ModuleTurn& turn) const
{
    if (turn.module == nullptr || turn.module->member == nullptr) return nullptr;
    auto prepared = std::make_unique<PreparedRows>();
    Rows(*turn.module, RowStart(context_, *turn.module).Bytes(), prepared->rows);
    return prepared;
}

bool CsvTable::Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter&)
{
    if (turn.module->member == nullptr) return true;
    if (prepared != nullptr) {
        csv_.Append(static_cast<const PreparedRows*>(prepared)->rows);
    } else {
        CsvRows rows;
        Rows(*turn.module, RowStart(context_, *turn.module).Bytes(), rows);
        csv_.Append(rows);
    }
    return true;
}

bool CsvTable::Finish(Reporter& reporter)
{
    if (csv_.Close()) return true;
    ReportCannotWrite(reporter, path_);
    return false;
}


std::unique_ptr<Writer> MakeStepCountCsv(const OutputContext& context)
{
    return std::make_unique<StepCountCsv>(context);
}

std::unique_ptr<Writer> MakeProcedureCsv(const OutputContext& context)
{
    return std::make_unique<ProcedureCsv>(context);
}

std::unique_ptr<Writer> MakeApiCsv(const OutputContext& context)
{
    return std::make_unique<ApiCsv>(context);
}

}  // namespace kolvane
