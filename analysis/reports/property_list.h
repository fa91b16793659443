// The property half of each file's section in the procedure list report:
// every Property Get, Let and Set declaration, then their number.
#pragma once

#include "analysis/reports/text_report.h"
#include "project/text/reporter.h"
#include "project/text/source_file.h"

#include <string_view>

namespace kolvane {

// Lists the property declarations of one module's source into the open
// report. 1 on success; 0 when the source could not be opened (reported) or
// read, or a write to the report failed.
int ListProperties(ReportSink& report, std::string_view sourcePath, const ScannedModule& source, Reporter& reporter);

}  // namespace kolvane
