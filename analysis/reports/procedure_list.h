// The procedure list report ("_FncOp.txt"): per module its Sub and Function
// declarations, then its property declarations.
#pragma once

#include "analysis/reports/text_report.h"
#include "project/text/reporter.h"
#include "project/text/source_file.h"

#include <memory>
#include <string_view>

namespace kolvane {

// Writes the report: the banner, then per module its two sections. Stops at
// the first module that fails, leaving what was written.
std::unique_ptr<Writer> MakeProcedureList(std::string_view projectPath, std::string_view reportPath);

// The Sub and Function part of one file's section: the heading, one line per
// declaration, the closing line. 1 on success; 0 when the source could not
// be opened (reported) or read, or a write to the report failed.
// Form and class modules:
int ListProcedures(ReportSink& report, std::string_view sourcePath, const ScannedModule& source, Reporter& reporter);
// Standard modules: blank lines never end a declaration, the empty read at
// the end of the data does, and a line starting "Sub Main()" is copied as it
// is, uncounted.
int ListBasProcedures(ReportSink& report, std::string_view sourcePath, const ScannedModule& source,
                      Reporter& reporter);

}  // namespace kolvane
