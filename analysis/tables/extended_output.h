// The extended outputs (CSV and JSON) take the modules of a project one at a
// time, in project order: nothing of a module is kept once it is written.
#pragma once

#include "analysis/source/code_page.h"
#include "analysis/source/statement_scan.h"
#include "project/module_kind.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

enum class MemberStatus { Ok, Missing, Unreadable };

// "ok", "missing", "unreadable".
std::string_view MemberStatusText(MemberStatus status);

// One member of a project as the outputs see it. Text fields are UTF-8; the
// scan's names and declarations are in the source code page.
struct ModuleResult {
    ModuleKind kind;
    std::string file;  // the file title of the member's path
    std::string path;  // the value as written in the project file
    MemberStatus status;
    const ModuleStatements* statements;           // null unless ok
    const std::vector<Procedure>* procedures;     // null unless ok
    const std::vector<ApiDeclaration>* apis;      // null unless ok
};

class ExtendedOutput {
public:
    virtual ~ExtendedOutput() = default;
    virtual void Module(const ModuleResult& module) = 0;
    // Ends the output; true when every byte was written.
    virtual bool Close() = 0;
};

// The CSV files, each opened with its header row, or null when the file
// cannot be created. project is the project path in UTF-8.
std::unique_ptr<ExtendedOutput> OpenStepCountCsv(std::string_view path, std::string_view project);
std::unique_ptr<ExtendedOutput> OpenProcedureCsv(std::string_view path, std::string_view project, CodePage codePage);
std::unique_ptr<ExtendedOutput> OpenApiCsv(std::string_view path, std::string_view project, CodePage codePage);

struct JsonParts {
    bool steps;
    bool procedures;
    bool apis;
};

// The one JSON file of a project, holding the chosen parts.
std::unique_ptr<ExtendedOutput> OpenJsonReport(std::string_view path, std::string_view project, JsonParts parts,
                                               CodePage codePage);

}  // namespace kolvane
