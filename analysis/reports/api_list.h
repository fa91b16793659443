// The API declaration list report ("_APIOp.txt").
#pragma once

#include "analysis/reports/text_report.h"
#include "project/text/reporter.h"
#include "project/text/source_file.h"

#include <memory>
#include <string_view>

namespace kolvane {

// Writes the report: the banner, then per module its section. Stops at the
// first module that fails, leaving what was written.
std::unique_ptr<Writer> MakeApiList(std::string_view projectPath, std::string_view reportPath);

// One file's section: the heading, every line holding " Lib " (a line
// continued with " _" joined to the next), the closing line. The scan ends
// at the first "End Sub" or "End Function" line met with nothing pending,
// and in a class module (classModule not 0) at "End Property" as well.
// 1 on success; 0 when the source could not be opened (reported) or read, or
// a write to the report failed.
int ListApiDeclarations(ReportSink& report, std::string_view sourcePath, const ScannedModule& source, int classModule,
                        Reporter& reporter);

}  // namespace kolvane
