#include "cli/run_projects.h"

#include "analysis/report_texts.h"
#include "project/module_table.h"
#include "project/path_text.h"
#include "project/platform.h"
#include "project/project_reader.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kolvane::cli {
namespace {

constexpr std::string_view kLoadFailed = "VBPファイル読みこみエラー";
constexpr std::string_view kLoadCaption = "ありゃりゃ";
constexpr std::string_view kNoModules = "プロジェクトファイルが指定されていません";
constexpr std::string_view kNoModulesCaption = "ん？";

#ifdef _WIN32
constexpr char kFolderSeparator = '\\';
#else
constexpr char kFolderSeparator = '/';
#endif

// The folder, a separator unless it ends in one already, and the name.
std::string ReportPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && LastSeparator(path) != path.size() - 1) path.push_back(kFolderSeparator);
    path.append(name);
    return path;
}

bool NameOnStandardOutput(std::string_view path)
{
    std::string line(path);
    line.push_back('\n');
    return std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && std::fflush(stdout) == 0;
}

// The status of one project: loads it, then writes every chosen report.
int RunProject(const Options& options, const std::string& project)
{
    ClearModuleTable();
    if (LoadProject(project) != 1) {
        ShowMessage(kLoadFailed, kLoadCaption);
        return kExitUsage;
    }
    if (ModuleCount == 0) {
        ShowMessage(kNoModules, kNoModulesCaption);
        return kExitUsage;
    }

    int status = kExitSuccess;
    for (const AnalysisKind kind : options.analyses) {
        const Analysis& analysis = AnalysisFor(kind);
        const std::string reportPath = ReportPath(options.outputFolder, ReportFileName(project, analysis));
        if (analysis.writer(ModuleTable, ModuleCount, project, reportPath) == 0) {
            ShowMessage(analysis.failureText, report_text::kErrorCaption);
            status = kExitAnalysisFailed;
        } else if (!NameOnStandardOutput(reportPath)) {
            status = kExitAnalysisFailed;
        }
    }
    return status;
}

}  // namespace

int RunProjects(const Options& options)
{
    int status = kExitSuccess;
    for (const std::string& project : options.projects) {
        status = std::max(status, RunProject(options, project));
    }
    return status;
}

}  // namespace kolvane::cli
