// Unused code (--unused): the declarations of a project that nothing can
// reach from its start, with a count of the references to each (issue 21,
// completed by issue 25).
//
// Every module of the project is read once, on any thread (Read): its code
// as statements of tokens (ReadCode), its declarations, and for each region
// (a procedure, a property's accessors, a declaring statement, a Type or
// Enum block, the module's other statements and its designer header) the
// names its tokens spell. The modules are then added in turn (Add): names
// are interned once per project, each module keeps its regions' names as
// sorted lists of its own name numbers, delta-coded. Finish follows the
// references from the roots (the standard modules, the startup object, the
// component's entry points, what the runtime calls) over groups of
// same-named declarations until nothing new is reached, and counts every
// declaration's references as the tokens naming it in the regions that see
// it less those in its own region.
//
// The outputs: NAME_Unused.csv, NAME_Unused.txt (Shift_JIS, CR LF) and the
// "unused" array of each member in NAME.json.
#pragma once

#include "analysis/source/module_scan.h"
#include "analysis/source/scanned_module.h"
#include "analysis/tables/json_report.h"
#include "analysis/writer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

enum class UnusedStatus { Live, Dead, Exposed, Unknown, Missing, Unreadable };

// "live", "dead", "exposed", "unknown", "missing", "unreadable".
std::string_view UnusedStatusText(UnusedStatus status);

enum class DeclarationMember {
    Module,
    Sub,
    Function,
    PropertyGet,
    PropertyLet,
    PropertySet,
    Declare,
    Event,
    Type,
    Enum,
    Const,
    Variable,
};

// "Module", "Sub", "Function", "Property Get", ..., "Const", "Variable".
std::string_view DeclarationMemberText(DeclarationMember member);

// One row of the outputs: a declaration, or a member's Module row.
struct UnusedRow {
    DeclarationMember member = DeclarationMember::Module;
    std::string_view name;  // source bytes; empty when there is none
    std::optional<Scope> scope;  // the effective one; none on Module rows
    std::optional<std::uint32_t> line;  // the declaration's first physical line
    UnusedStatus status = UnusedStatus::Live;
    std::optional<std::int64_t> references;  // none for a member that could not be read
    std::optional<std::int64_t> steps;
};

// One member of the project with its rows: the Module row first (header
// kinds, and every member that could not be read), then the declarations in
// line order.
struct UnusedModuleView {
    ModuleKind kind = ModuleKind::Bas;
    std::string_view file;  // the file title, source bytes
    SourceStatus status = SourceStatus::Read;
    UnusedStatus moduleStatus = UnusedStatus::Live;  // a standard module's, which has no Module row, is live
    std::span<const UnusedRow> rows;
};

// What the analysis reads of one member.
struct UnusedSource {
    ModuleKind kind = ModuleKind::Bas;
    std::string_view file;  // the file title, source bytes
    std::size_t memberIndex = 0;  // its place in the project's member list
    SourceStatus status = SourceStatus::Read;
    const ModuleScan* scan = nullptr;  // when read
    std::span<const Procedure> procedures;
    std::span<const ApiDeclaration> apis;
};

// The source of a scanned member (scanned to ScanDepth::Apis).
UnusedSource UnusedSourceOf(const ScannedModule& module);

class UnusedCode {
public:
    explicit UnusedCode(CodePage codePage);
    ~UnusedCode();
    UnusedCode(const UnusedCode&) = delete;
    UnusedCode& operator=(const UnusedCode&) = delete;

    // What one member gives the project, read on any thread.
    std::unique_ptr<PreparedModule> Read(const UnusedSource& source) const;
    // Adds a member with what Read made of it (read here when null).
    void Add(const UnusedSource& source, const PreparedModule* prepared);
    // After the last member: follows the references from the roots (the
    // project file as read names the startup object and the project's type)
    // and sets every status.
    void Finish(std::string_view projectText);

    // After Finish: the members in project order with their rows.
    void ForEachModule(const std::function<void(const UnusedModuleView&)>& visit) const;
    // After Finish: the member of that place in the member list, when it was added.
    void VisitModule(std::size_t memberIndex, const std::function<void(const UnusedModuleView&)>& visit) const;
    // The steps of the live and of the dead declarations (Module rows aside).
    std::int64_t LiveSteps() const;
    std::int64_t DeadSteps() const;

private:
    struct Project;
    std::unique_ptr<Project> project_;
};

// The text report (NAME_Unused.txt) of a finished analysis, with LF line
// ends, in the code page of the sources for names and paths: given to write
// a module at a time, or whole.
void WriteUnusedTextReport(const UnusedCode& unused, std::string_view projectPath,
                           const std::function<void(std::string_view)>& write);
std::string UnusedTextReport(const UnusedCode& unused, std::string_view projectPath);

// The outputs of the row of --unused.
std::unique_ptr<Writer> MakeUnusedText(const OutputContext& context);
std::unique_ptr<Writer> MakeUnusedCsv(const OutputContext& context);
std::unique_ptr<JsonPart> MakeUnusedJson(const OutputContext& context);

}  // namespace kolvane
