#include "project/model/project_search.h"

#include "project/model/member_list.h"
#include "project/text/messages.h"
#include "project/model/project_reader.h"
#include "project/text/source_text.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <system_error>

namespace kolvane {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 2> kGroupKeys = {"Project=", "StartupProject="};
constexpr std::string_view kProjectExtension = ".vbp";
constexpr std::string_view kGroupExtension = ".vbg";

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    if (text.size() < suffix.size()) return false;
    const std::string_view end = text.substr(text.size() - suffix.size());
    return std::equal(end.begin(), end.end(), suffix.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

void ReportFolder(Reporter& reporter, const fs::path& folder)
{
    std::string text(message::kFolderUnreadable);
    text.append(folder.string());
    reporter.Message(text, message::kErrorCaption);
}

// Collects the project files under folder; visited holds the folders
// already searched, by their canonical path.
void Search(const fs::path& folder, std::set<fs::path>& visited, std::vector<std::string>& found, Reporter& reporter)
{
    std::error_code error;
    const fs::path canonical = fs::canonical(folder, error);
    if (error) {
        ReportFolder(reporter, folder);
        return;
    }
    if (!visited.insert(canonical).second) return;  // met before, through a link

    fs::directory_iterator entries(folder, error);
    if (error) {
        ReportFolder(reporter, folder);
        return;
    }
    std::vector<fs::path> subfolders;
    for (const fs::directory_entry& entry : entries) {
        std::error_code kindError;
        if (entry.is_directory(kindError)) {
            subfolders.push_back(entry.path());
        } else if (entry.is_regular_file(kindError) && EndsWithIgnoringCase(entry.path().string(), kProjectExtension)) {
            found.push_back(entry.path().string());
        }
    }
    for (const fs::path& subfolder : subfolders) Search(subfolder, visited, found, reporter);
}

}  // namespace

void ReadProjectGroup(std::string_view groupPath, std::string_view text, std::vector<std::string>& projects)
{
    ForEachProjectLine(text, [&](std::string_view line) {
        for (const std::string_view key : kGroupKeys) {
            if (line.starts_with(key)) {
                projects.push_back(ResolveMemberPath(groupPath, line.substr(key.size())));
                break;
            }
        }
    });
}

void AddProjectsOf(std::string_view argument, std::vector<std::string>& projects, Reporter& reporter)
{
    const fs::path path{std::string(argument)};
    std::error_code error;
    if (fs::is_directory(path, error)) {
        std::set<fs::path> visited;
        std::vector<std::string> found;
        Search(path, visited, found, reporter);
        std::sort(found.begin(), found.end());
        projects.insert(projects.end(), found.begin(), found.end());
        return;
    }
    if (EndsWithIgnoringCase(argument, kGroupExtension)) {
        TextBuffer text;
        if (ReadSourceText(argument, text) == ReadOutcome::Read) {
            ReadProjectGroup(argument, text, projects);
            return;
        }
    }
    projects.emplace_back(argument);
}

}  // namespace kolvane
