// One module of a run as every output takes it: its file read once, whole,
// as stored, and scanned once as far as the run's outputs need.
#pragma once

#include "analysis/source/module_scan.h"
#include "project/model/member_list.h"
#include "project/model/module_table.h"
#include "project/text/source_text.h"
#include "project/text/text_buffer.h"

#include <string_view>
#include <vector>

namespace kolvane {

// What became of a member's file: the one status every output tells.
enum class SourceStatus { Read, Missing, Unreadable };

// "ok", "missing", "unreadable".
std::string_view SourceStatusText(SourceStatus status);

// How far a run scans its modules: not at all (the text is enough), to the
// figures of the step count, to the statements, on to the procedures, or to
// the procedures and the API declarations. A deeper scan does what the
// shallower ones do.
enum class ScanDepth { Text, Figures, Statements, Procedures, Apis };

struct ScannedModule {
    // What the run names: the row of the module table (the text reports),
    // the member of the member list (every other output), or both.
    ModuleKind kind = ModuleKind::Bas;
    std::string_view path;  // resolved
    const ModuleEntry* row = nullptr;
    const Member* member = nullptr;
    std::size_t memberIndex = 0;  // the member's place in the member list

    bool exists = false;  // the path named something before the read
    ReadOutcome outcome = ReadOutcome::CannotOpen;
    TextBuffer text;  // as stored (ReadRawText); kept between modules for its capacity
    bool holdsNul = false;  // the text holds a NUL byte

    ModuleScan scan;  // when read, to the depth asked
    std::vector<Procedure> procedures;
    std::vector<ApiDeclaration> apis;
    DeclarationSpares spares;  // those of the modules read before, for their memory

    SourceStatus Status() const;

    // Reads the file at path, forgetting the module read before.
    void Read(std::string_view filePath, ModuleKind moduleKind);
    // Scans the module read to the depth; a module that could not be read
    // whole is not scanned.
    void Scan(ScanDepth depth);
};

}  // namespace kolvane
