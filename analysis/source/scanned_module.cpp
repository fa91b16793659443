#include "analysis/source/scanned_module.h"

#include "project/text/source_file.h"

#include <array>

namespace kolvane {
namespace {

constexpr std::array<std::string_view, 3> kSourceStatusTexts = {"ok", "missing", "unreadable"};

}  // namespace

std::string_view SourceStatusText(SourceStatus status)
{
    return kSourceStatusTexts[static_cast<std::size_t>(status)];
}

SourceStatus ScannedModule::Status() const
{
    if (!exists) return SourceStatus::Missing;
    return outcome == ReadOutcome::Read ? SourceStatus::Read : SourceStatus::Unreadable;
}

void ScannedModule::Read(std::string_view filePath, ModuleKind moduleKind)
{
    path = filePath;
    kind = moduleKind;
    spares.Keep(procedures, apis);
    scan.text = {};
    scan.statements.clear();  // its capacity stays for the next module
    exists = FileExists(filePath);
    if (exists) {
        outcome = ReadRawText(filePath, text, &holdsNul);
    } else {
        outcome = ReadOutcome::CannotOpen;
        text.clear();
        holdsNul = false;
    }
}

void ScannedModule::Scan(ScanDepth depth)
{
    if (Status() != SourceStatus::Read || depth == ScanDepth::Text) return;
    ScanModule(text, holdsNul, kind, scan, depth == ScanDepth::Figures ? ScanRecord::Figures : ScanRecord::Statements);
    if (depth >= ScanDepth::Apis) {
        FindProceduresAndApis(scan, procedures, apis, spares);
    } else if (depth >= ScanDepth::Procedures) {
        FindProcedures(scan, procedures, spares);
    }
}

}  // namespace kolvane
