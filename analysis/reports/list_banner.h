// The parts shared by the procedure list and the API list reports: opening
// the report with its banner, the heading of each file's section, and the
// checked close at the end.
#pragma once

#include "analysis/reports/text_report.h"
#include "project/text/reporter.h"
#include "project/text/source_file.h"

#include <string>
#include <string_view>

namespace kolvane {

// The rule line, the title line, the rule line again and the project line
// with two empty lines after it, each as one block. 1 when all four were
// written, else 0 (nothing shown).
int WriteListBanner(ReportSink& report, std::string_view projectPath);

// "-- TITLE --" with the file title of the source path. False when the
// formatted write failed.
bool WriteFileHeading(ReportSink& report, std::string_view sourcePath);

// Creates the report (an existing file is emptied) and writes the banner.
// False after a failure, which has been reported; the report is then closed.
bool StartListReport(SourceFile& report, std::string_view outputPath, std::string_view projectPath, Reporter& reporter);

// Closes the report. A close that fails (the last buffered bytes could not
// be written) is reported as a write failure.
bool FinishListReport(SourceFile& report, Reporter& reporter);

// A list report open from Begin to Finish; what each module of the table
// adds to it is the subclass's Section. The sections are recorded ahead of
// their turn (see RecordedModule) and played into the report in table order.
class ListReport : public TextReport {
public:
    using TextReport::TextReport;

    bool Begin(Reporter& reporter) final { return StartListReport(report_, reportPath_, projectPath_, reporter); }
    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const final;
    bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter& reporter) final;
    bool Finish(Reporter& reporter) final { return FinishListReport(report_, reporter); }

protected:
    // Writes what the module adds to the report. False when the analysis
    // failed (already reported). Touches nothing but report and reporter.
    virtual bool Section(ReportSink& report, const ModuleEntry& row, const ScannedModule& source,
                         Reporter& reporter) const = 0;

private:
    SourceFile report_;  // closed when the analysis ends, on every path
};

}  // namespace kolvane
