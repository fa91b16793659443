// The procedure list report ("_FncOp.txt"): per module its Sub and Function
// declarations, then its property declarations.
#pragma once

#include "project/module_table.h"
#include "project/source_file.h"

#include <cstdint>
#include <string_view>

namespace kolvane {

int WriteProcedureListReport(const ModuleEntry* rows, std::int32_t count, std::string_view projectPath,
                             std::string_view outputPath);

// The Sub and Function part of one file's section: the heading, one line per
// declaration, the closing line. 1 on success; 0 when the source could not
// be opened (shown) or read, or a write to the report failed.
// Form and class modules:
int ListProcedures(SourceFile& report, std::string_view sourcePath);
// Standard modules: blank lines never end a declaration, the empty read at
// the end of the data does, and a line starting "Sub Main()" is copied as it
// is, uncounted.
int ListBasProcedures(SourceFile& report, std::string_view sourcePath);

}  // namespace kolvane
