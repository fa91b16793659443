#include "analysis/list_banner.h"

#include "analysis/report_texts.h"
#include "project/path_text.h"
#include "project/platform.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kolvane {
namespace {

constexpr std::string_view kRuleLine = "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=\n";
constexpr std::string_view kTitleLine = "      関 数 ・ プ ロ パ テ ィ 一 覧     \n";
constexpr const char* kHeadingFormat = "-- %s --\n";

// The project line as the C library formats it: the path ends at its first NUL.
std::string ProjectLine(std::string_view projectPath)
{
    const std::string path(projectPath);
    const int length = std::snprintf(nullptr, 0, report_text::kProjectLineFormat, path.c_str());
    if (length < 0) return {};
    std::string line(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(line.data(), line.size(), report_text::kProjectLineFormat, path.c_str());
    line.resize(static_cast<std::size_t>(length));
    return line;
}

}  // namespace

int WriteListBanner(SourceFile& report, std::string_view projectPath)
{
    const std::string projectLine = ProjectLine(projectPath);
    for (std::string_view block : {kRuleLine, kTitleLine, kRuleLine, std::string_view(projectLine)}) {
        if (report.WriteBlock(block) != 1) return 0;
    }
    return 1;
}

bool WriteFileHeading(SourceFile& report, std::string_view sourcePath)
{
    const std::string title(FileTitle(sourcePath));
    return report.Print(kHeadingFormat, title.c_str()) >= 0;
}

bool StartListReport(SourceFile& report, std::string_view outputPath, std::string_view projectPath)
{
    if (OpenSourceFile(report, outputPath, kModeWrite) != 1) {
        ShowMessage(report_text::kCannotOpen, report_text::kOutputCaption);
        return false;
    }
    if (WriteListBanner(report, projectPath) != 1) {
        ShowMessage(report_text::kCannotWrite, report_text::kOutputCaption);
        CloseSourceFile(report);
        return false;
    }
    return true;
}

std::string_view ModulePath(const ModuleEntry& row)
{
    const char* end = std::find(row.path, row.path + kPathFieldSize, '\0');
    return {row.path, static_cast<std::size_t>(end - row.path)};
}

int FinishListReport(SourceFile& report)
{
    if (CloseSourceFile(report) != 1) {
        ShowMessage(report_text::kCannotWrite, report_text::kOutputCaption);
        return 0;
    }
    return 1;
}

}  // namespace kolvane
