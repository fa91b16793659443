// The API declaration list report ("_APIOp.txt").
#pragma once

#include "project/module_table.h"
#include "project/source_file.h"

#include <cstdint>
#include <string_view>

namespace kolvane {

int WriteApiListReport(const ModuleEntry* rows, std::int32_t count, std::string_view projectPath,
                       std::string_view outputPath);

// One file's section: the heading, every line holding " Lib " (a line
// continued with " _" joined to the next), the closing line. The scan ends
// at the first "End Sub" or "End Function" line met with nothing pending,
// and in a class module (classModule not 0) at "End Property" as well.
// 1 on success; 0 when the source could not be opened (shown) or read, or a
// write to the report failed.
int ListApiDeclarations(SourceFile& report, std::string_view sourcePath, int classModule);

}  // namespace kolvane
