#include "analysis/run/output_folders.h"

#include "analysis/source/statement_key.h"
#include "analysis/writer.h"
#include "project/text/path_text.h"
#include "project/text/platform.h"

#include <map>
#include <set>

namespace kolvane {
namespace {

constexpr std::string_view kCurrentFolder = ".";
constexpr std::string_view kParentFolder = "..";

// "C:", the drive of an absolute Windows path.
bool IsDrive(std::string_view part)
{
    return part.size() == 2 && part[1] == ':' && ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

// The key of the name a project's outputs get: the report name less its suffix.
std::string OutputNameKey(const ListedProject& project) { return PathKey(ReportFileName(project.path, {})); }

}  // namespace

std::string PathKey(std::string_view path)
{
    std::string key = FoldCase(path, &IsLeadByte);
    ForEachSeparator(key, [&](std::size_t at) { key[at] = '/'; });
    return key;
}

std::string SubfolderOf(std::string_view relative)
{
    std::string subfolder;
    std::size_t start = 0;
    bool first = true;
    ForEachSeparator(relative, [&](std::size_t end) {
        const std::string_view part = relative.substr(start, end - start);
        const bool drive = first && IsDrive(part);
        if (!part.empty() && part != kCurrentFolder && part != kParentFolder && !drive) {
            subfolder = PathInFolder(subfolder, part);
        }
        start = end + 1;
        first = false;
    });
    return subfolder;  // the part after the last separator is the file's name
}

std::vector<std::string> OutputSubfolders(std::span<const ListedProject* const> projects)
{
    std::map<std::string, std::size_t> names;
    for (const ListedProject* project : projects) ++names[OutputNameKey(*project)];
    std::vector<std::string> subfolders;
    subfolders.reserve(projects.size());
    for (const ListedProject* project : projects) {
        subfolders.push_back(names[OutputNameKey(*project)] > 1 ? SubfolderOf(project->relative) : std::string());
    }
    return subfolders;
}

void SeparateByPathsAsFound(std::span<const ListedProject* const> projects, std::vector<std::string>& subfolders)
{
    // Per place (subfolder and output name), the projects that write there.
    std::map<std::string, std::set<std::string>> places;
    const auto placeKey = [&](std::size_t i) { return PathKey(subfolders[i]) + '/' + OutputNameKey(*projects[i]); };
    for (std::size_t i = 0; i < projects.size(); ++i) places[placeKey(i)].insert(PathKey(projects[i]->path));
    std::vector<bool> alike(projects.size());
    for (std::size_t i = 0; i < projects.size(); ++i) alike[i] = places[placeKey(i)].size() > 1;
    for (std::size_t i = 0; i < projects.size(); ++i) {
        if (alike[i]) subfolders[i] = SubfolderOf(projects[i]->path);
    }
}

}  // namespace kolvane
