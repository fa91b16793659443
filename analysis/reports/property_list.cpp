#include "analysis/reports/property_list.h"

#include "analysis/reports/declaration_scan.h"

namespace kolvane {
namespace {

constexpr SectionTexts kPropertySection{
    .heading = false,
    .countFormat = "プロパティは %d 個、存在します。\n\n",
    .noneText = "プロパティは存在しません。\n\n",
};

constexpr std::string_view kPropertyTriggers[] = {"Property "};

// "Property " and one of the three accessor words, anywhere in the line and
// in any order. The first word is not looked at.
bool IsPropertyLine(std::string_view line)
{
    return Contains(line, "Property ") &&
           (Contains(line, " Get ") || Contains(line, " Let ") || Contains(line, " Set "));
}

}  // namespace

int ListProperties(ReportSink& report, std::string_view sourcePath, const ScannedModule& source, Reporter& reporter)
{
    return ListSection(report, sourcePath, source, kCommaContinuation, kPropertySection, kPropertyTriggers,
                       [](const LinePiece& line, DeclarationJoiner& declaration) {
                           // Only comment lines are skipped: a blank line or the empty read at
                           // the end of the data ends a pending declaration.
                           if (IsCommentLine(line)) return LineOutcome::Next;
                           if (declaration.Pending()) return declaration.Continue(line);
                           if (!IsPropertyLine(line.text)) return LineOutcome::Next;
                           return declaration.Start("", line);
                       },
                       reporter);
}

}  // namespace kolvane
