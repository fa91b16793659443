#include "analysis/reports/list_banner.h"

#include "analysis/reports/recorded_module.h"
#include "project/text/messages.h"
#include "project/text/path_text.h"
#include "project/text/strings.h"

#include <string>

namespace kolvane {
namespace {

constexpr std::string_view kRuleLine = "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=\n";
constexpr std::string_view kTitleLine = "      関 数 ・ プ ロ パ テ ィ 一 覧     \n";
constexpr const char* kHeadingFormat = "-- %s --\n";

}  // namespace

int WriteListBanner(ReportSink& report, std::string_view projectPath)
{
    const std::string projectLine = FormatText(message::kProjectLineFormat, std::string(projectPath).c_str());
    for (std::string_view block : {kRuleLine, kTitleLine, kRuleLine, std::string_view(projectLine)}) {
        if (report.WriteBlock(block) != 1) return 0;
    }
    return 1;
}

bool WriteFileHeading(ReportSink& report, std::string_view sourcePath)
{
    const std::string title(FileTitle(sourcePath));
    return report.Print(kHeadingFormat, title.c_str()) >= 0;
}

bool StartListReport(SourceFile& report, std::string_view outputPath, std::string_view projectPath, Reporter& reporter)
{
    if (OpenSourceFile(report, outputPath, kModeWrite) != 1) {
        reporter.Message(message::kCannotOpen, message::kOutputCaption);
        return false;
    }
    if (WriteListBanner(report, projectPath) != 1) {
        reporter.Message(message::kCannotWrite, message::kOutputCaption);
        CloseSourceFile(report);
        return false;
    }
    return true;
}

bool FinishListReport(SourceFile& report, Reporter& reporter)
{
    if (CloseSourceFile(report) != 1) {
        reporter.Message(message::kCannotWrite, message::kOutputCaption);
        return false;
    }
    return true;
}

std::unique_ptr<PreparedModule> ListReport::Prepare(const ModuleTurn& turn) const
{
    const ModuleEntry* row = RowOf(turn);
    if (row == nullptr) return nullptr;
    auto recorded = std::make_unique<RecordedModule>();
    recorded->result = Section(*recorded, *row, *turn.module, *recorded);
    return recorded;
}

bool ListReport::Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter& reporter)
{
    const ModuleEntry* row = RowOf(turn);
    if (row == nullptr) return true;
    const auto* recorded = dynamic_cast<const RecordedModule*>(prepared);
    if (recorded == nullptr) return Section(report_, *row, *turn.module, reporter);
    const std::size_t refused = recorded->PlayBack(report_, reporter);
    if (refused == RecordedModule::kAllWritten) return recorded->result;
    ResumedAfterRefusal resumed(report_, reporter, refused);
    return Section(resumed, *row, *turn.module, resumed);
}

}  // namespace kolvane
