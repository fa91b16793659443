#include "analysis/diff/diff_run.h"

#include "analysis/diff/diff_tables.h"
#include "analysis/diff/diff_text_report.h"
#include "analysis/diff/project_diff.h"
#include "project/path_text.h"

#include <vector>

namespace kolvane {
namespace {

constexpr std::string_view kTextSuffix = "_Diff.txt";
constexpr std::string_view kCsvSuffix = "_Diff.csv";
constexpr std::string_view kJsonSuffix = "_Diff.json";

// Only Shift_JIS has double-byte characters whose second byte can be ASCII.
LeadByteTest LeadBytesOf(CodePage codePage)
{
    return codePage == CodePage::Cp932 ? &IsShiftJisLeadByte : nullptr;
}

}  // namespace

DiffResult RunDiff(const DiffRequest& request)
{
    DiffResult result;
    std::vector<Member> older, newer;
    if (result.projectStatus = ReadMemberList(request.oldProject, older); result.projectStatus != ProjectStatus::Ok) {
        result.outcome = DiffOutcome::OldProjectFailed;
        return result;
    }
    if (result.projectStatus = ReadMemberList(request.newProject, newer); result.projectStatus != ProjectStatus::Ok) {
        result.outcome = DiffOutcome::NewProjectFailed;
        return result;
    }

    const ProjectDiff diff =
        DiffProjects(request.oldProject, older, request.newProject, newer, LeadBytesOf(request.codePage));
    const auto path = [&](std::string_view suffix) {
        return PathInFolder(request.outputFolder, ExtendedFileName(request.newProject, suffix));
    };
    bool written = false;
    switch (request.format) {
    case OutputFormat::Text:
        result.reportPath = path(kTextSuffix);
        written = WriteDiffTextReport(diff, result.reportPath);
        break;
    case OutputFormat::Csv:
        result.reportPath = path(kCsvSuffix);
        written = WriteDiffCsv(diff, result.reportPath, request.codePage);
        break;
    case OutputFormat::Json:
        result.reportPath = path(kJsonSuffix);
        written = WriteDiffJson(diff, result.reportPath, request.codePage);
        break;
    }
    if (!written) result.outcome = DiffOutcome::CannotWrite;
    return result;
}

}  // namespace kolvane
