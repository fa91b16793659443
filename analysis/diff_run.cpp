#include "analysis/diff_run.h"

#include "analysis/diff_tables.h"
#include "analysis/diff_text_report.h"
#include "analysis/project_diff.h"
#include "project/path_text.h"

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

namespace kolvane {
namespace {

constexpr std::size_t kExtensionLength = 4;  // ".vbp"
constexpr std::array<std::string_view, 3> kSuffixes = {"_Diff.txt", "_Diff.csv", "_Diff.json"};

#ifdef _WIN32
constexpr char kFolderSeparator = '\\';
#else
constexpr char kFolderSeparator = '/';
#endif

bool IsShiftJisLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// Only Shift_JIS has double-byte characters whose second byte can be ASCII.
LeadByteTest LeadBytesOf(CodePage codePage)
{
    return codePage == CodePage::Cp932 ? &IsShiftJisLeadByte : nullptr;
}

std::string InFolder(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && LastSeparator(path) != path.size() - 1) path.push_back(kFolderSeparator);
    path.append(name);
    return path;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Writes bytes as they are (the CSV and JSON texts hold their own line ends).
bool WriteBytes(const std::string& path, std::string_view bytes)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace

std::string DiffReportName(std::string_view newProject, DiffFormat format)
{
    std::string_view title = FileTitle(newProject);
    if (title.size() > kExtensionLength) title.remove_suffix(kExtensionLength);
    std::string name(title);
    name.append(kSuffixes[static_cast<std::size_t>(format)]);
    return name;
}

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
    result.reportPath = InFolder(request.outputFolder, DiffReportName(request.newProject, request.format));
    bool written = false;
    switch (request.format) {
    case DiffFormat::Text: written = WriteDiffTextReport(diff, result.reportPath); break;
    case DiffFormat::Csv: written = WriteBytes(result.reportPath, DiffCsv(diff, request.codePage)); break;
    case DiffFormat::Json: written = WriteBytes(result.reportPath, DiffJson(diff, request.codePage)); break;
    }
    if (!written) result.outcome = DiffOutcome::CannotWrite;
    return result;
}

}  // namespace kolvane
