#include "analysis/writer.h"

#include "project/text/path_text.h"

namespace kolvane {
namespace {

constexpr std::size_t kExtensionLength = 4;  // ".vbp"

}  // namespace

std::string ReportFileName(std::string_view projectPath, std::string_view suffix)
{
    std::string_view title = FileTitle(projectPath);
    if (title.size() > kExtensionLength) title.remove_suffix(kExtensionLength);
    std::string name(title);
    name.append(suffix);
    return name;
}

std::string OutputContext::PathFor(std::string_view suffix) const
{
    if (!reportPath.empty()) return reportPath;
    return PathInFolder(folder, ReportFileName(projectPath, suffix));
}

}  // namespace kolvane
