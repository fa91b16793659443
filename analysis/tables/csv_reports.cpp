// The three CSV outputs: one row per member, per procedure, per API
// declaration.
#include "analysis/tables/csv_writer.h"
#include "analysis/tables/extended_output.h"

namespace kolvane {
namespace {

class CsvOutput : public ExtendedOutput {
public:
    explicit CsvOutput(std::string_view project) : project_(project) {}
    bool Open(std::string_view path, std::initializer_list<std::string_view> columns)
    {
        return csv_.Open(path, columns);
    }
    bool Close() override { return csv_.Close(); }

protected:
    // The first columns of every row: project, file, kind.
    void StartRow(const ModuleResult& module)
    {
        csv_.Text(project_);
        csv_.Text(module.file);
        csv_.Text(KindText(module.kind));
    }

    CsvWriter csv_;

private:
    std::string project_;
};

class StepCountCsv : public CsvOutput {
public:
    using CsvOutput::CsvOutput;
    void Module(const ModuleResult& module) override
    {
        StartRow(module);
        csv_.Text(module.path);
        csv_.Text(MemberStatusText(module.status));
        if (module.statements != nullptr) {
            csv_.Number(module.statements->steps);
            csv_.Number(module.statements->comments);
        } else {
            csv_.Empty();
            csv_.Empty();
        }
        csv_.EndRow();
    }
};

class ProcedureCsv : public CsvOutput {
public:
    ProcedureCsv(std::string_view project, CodePage codePage) : CsvOutput(project), codePage_(codePage) {}
    void Module(const ModuleResult& module) override
    {
        if (module.procedures == nullptr) return;
        for (const Procedure& procedure : *module.procedures) {
            StartRow(module);
            csv_.Text(ProcedureKindText(procedure.kind));
            csv_.Converted(procedure.name, codePage_);
            csv_.Text(ScopeText(procedure.scope));
            csv_.Number(procedure.line);
            csv_.Number(procedure.Steps());
            csv_.Converted(procedure.declaration, codePage_);
            csv_.EndRow();
        }
    }

private:
    CodePage codePage_;
};

class ApiCsv : public CsvOutput {
public:
    ApiCsv(std::string_view project, CodePage codePage) : CsvOutput(project), codePage_(codePage) {}
    void Module(const ModuleResult& module) override
    {
        if (module.apis == nullptr) return;
        for (const ApiDeclaration& api : *module.apis) {
            StartRow(module);
            csv_.Text(ProcedureKindText(api.kind));
            csv_.Converted(api.name, codePage_);
            csv_.Text(ScopeText(api.scope));
            csv_.Converted(api.library, codePage_);
            csv_.Converted(api.alias, codePage_);
            csv_.Number(api.line);
            csv_.Converted(api.declaration, codePage_);
            csv_.EndRow();
        }
    }

private:
    CodePage codePage_;
};

template <typename Output>
std::unique_ptr<ExtendedOutput> OpenCsv(std::unique_ptr<Output> output, std::string_view path,
                                        std::initializer_list<std::string_view> columns)
{
    if (!output->Open(path, columns)) return nullptr;
    return output;
}

}  // namespace

std::unique_ptr<ExtendedOutput> OpenStepCountCsv(std::string_view path, std::string_view project)
{
    return OpenCsv(std::make_unique<StepCountCsv>(project), path,
                   {"project", "file", "kind", "path", "status", "steps", "comments"});
}

std::unique_ptr<ExtendedOutput> OpenProcedureCsv(std::string_view path, std::string_view project, CodePage codePage)
{
    return OpenCsv(std::make_unique<ProcedureCsv>(project, codePage), path,
                   {"project", "file", "kind", "procedure", "name", "scope", "line", "steps", "declaration"});
}

std::unique_ptr<ExtendedOutput> OpenApiCsv(std::string_view path, std::string_view project, CodePage codePage)
{
    return OpenCsv(std::make_unique<ApiCsv>(project, codePage), path,
                   {"project", "file", "kind", "procedure", "name", "scope", "library", "alias", "line",
                    "declaration"});
}

}  // namespace kolvane
