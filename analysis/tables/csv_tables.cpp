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
    void Rows(const ScannedModule& module) override
    {
        const MemberColumns columns = ColumnsOf(module, context_.codePage);
        csv_.Text(context_.project);
        csv_.Text(columns.file);
        csv_.Text(columns.kind);
        csv_.Text(columns.path);
        csv_.Text(columns.status);
        if (module.Status() == SourceStatus::Read) {
            csv_.Number(module.scan.steps);
            csv_.Number(module.scan.comments);
        } else {
            csv_.Empty();
            csv_.Empty();
        }
        csv_.EndRow();
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
    void Rows(const ScannedModule& module) override
    {
        for (const Procedure& procedure : module.procedures) {
            StartRow(module);
            csv_.Text(ProcedureKindText(procedure.kind));
            csv_.Converted(procedure.name, context_.codePage);
            csv_.Text(ScopeText(procedure.scope));
            csv_.Number(procedure.line);
            csv_.Number(procedure.Steps());
            csv_.Converted(procedure.declaration, context_.codePage);
            csv_.EndRow();
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
    void Rows(const ScannedModule& module) override
    {
        for (const ApiDeclaration& api : module.apis) {
            StartRow(module);
            csv_.Text(ProcedureKindText(api.kind));
            csv_.Converted(api.name, context_.codePage);
            csv_.Text(ScopeText(api.scope));
            csv_.Converted(api.library, context_.codePage);
            csv_.Converted(api.alias, context_.codePage);
            csv_.Number(api.line);
            csv_.Converted(api.declaration, context_.codePage);
            csv_.EndRow();
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

bool CsvTable::Take(const ModuleTurn& turn, const PreparedModule*, Reporter&)
{
    if (turn.module->member == nullptr) return true;
    file_ = ToUtf8(FileTitle(turn.module->member->path), context_.codePage);
    Rows(*turn.module);
    return true;
}

bool CsvTable::Finish(Reporter& reporter)
{
    if (csv_.Close()) return true;
    ReportCannotWrite(reporter, path_);
    return false;
}

void CsvTable::StartRow(const ScannedModule& module)
{
    csv_.Text(context_.project);
    csv_.Text(file_);
    csv_.Text(KindText(module.kind));
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
