#include "project/model/project_search.h"

#include "project/model/project_reader.h"
#include "project/text/messages.h"
#include "project/text/source_file.h"
#include "project/text/source_text.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
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

// The project files under a folder, each with its path relative to the
// folder searched first.
class FolderSearch {
public:
    explicit FolderSearch(Reporter& reporter) : reporter_(reporter) {}

    // Searches folder, whose path relative to the first is relative.
    void Search(const fs::path& folder, const fs::path& relative)
    {
        std::error_code error;
        const fs::path canonical = fs::canonical(folder, error);
        if (error) return Unreadable(folder);
        if (!visited_.insert(canonical).second) return;  // met before, through a link

        fs::directory_iterator entries(folder, error);
        if (error) return Unreadable(folder);
        std::vector<fs::path> subfolders;
        for (const fs::directory_entry& entry : entries) {
            std::error_code kindError;
            if (entry.is_directory(kindError)) {
                subfolders.push_back(entry.path());
            } else if (entry.is_regular_file(kindError) &&
                       EndsWithIgnoringCase(entry.path().string(), kProjectExtension)) {
                found_.push_back({entry.path().string(), (relative / entry.path().filename()).string()});
            }
        }
        for (const fs::path& subfolder : subfolders) Search(subfolder, relative / subfolder.filename());
    }

    // What was found, in byte order of the paths.
    std::vector<ListedProject> Found()
    {
        std::sort(found_.begin(), found_.end(),
                  [](const ListedProject& a, const ListedProject& b) { return a.path < b.path; });
        return std::move(found_);
    }

    bool AllRead() const { return allRead_; }

private:
    void Unreadable(const fs::path& folder)
    {
        ReportFolder(reporter_, folder);
        allRead_ = false;
    }

    Reporter& reporter_;
    std::set<fs::path> visited_;  // the folders searched, by their canonical paths
    std::vector<ListedProject> found_;
    bool allRead_ = true;
};

// Calls visit(value) for the value of every Project= and StartupProject=
// line of a group file's text, in file order.
template <typename Visit>
void ForEachGroupProject(std::string_view text, Visit&& visit)
{
    ForEachProjectLine(text, [&](std::string_view line) {
        for (const std::string_view key : kGroupKeys) {
            if (line.starts_with(key)) {
                visit(line.substr(key.size()));
                break;
            }
        }
    });
}

bool IsFolder(std::string_view argument)
{
    std::error_code error;
    return fs::is_directory(fs::path{std::string(argument)}, error);
}

// Appends the projects under a folder; false when a folder under it could
// not be searched (reported).
bool AddFolderProjects(std::string_view folder, std::vector<ListedProject>& projects, Reporter& reporter)
{
    FolderSearch search(reporter);
    search.Search(fs::path{std::string(folder)}, fs::path());
    std::vector<ListedProject> found = search.Found();
    std::move(found.begin(), found.end(), std::back_inserter(projects));
    return search.AllRead();
}

// Appends the projects a group file lists; the group as read, or why not.
ProjectStatus AddGroupProjects(std::string_view group, std::vector<ListedProject>& projects)
{
    TextBuffer text;
    const ReadOutcome read = ReadSourceText(group, text);
    if (read == ReadOutcome::CannotOpen && !FileExists(group)) return ProjectStatus::NotFound;
    if (read != ReadOutcome::Read) return ProjectStatus::Unreadable;
    ForEachGroupProject(text, [&](std::string_view value) {
        projects.push_back({ResolveMemberPath(group, value), std::string(value)});
    });
    return ProjectStatus::Ok;
}

}  // namespace

ArgumentKind KindOfArgument(std::string_view argument)
{
    if (IsFolder(argument)) return ArgumentKind::Folder;
    return EndsWithIgnoringCase(argument, kGroupExtension) ? ArgumentKind::Group : ArgumentKind::Project;
}

void ReadProjectGroup(std::string_view groupPath, std::string_view text, std::vector<std::string>& projects)
{
    ForEachGroupProject(text, [&](std::string_view value) { projects.push_back(ResolveMemberPath(groupPath, value)); });
}

bool AddProjectsOf(std::string_view argument, std::vector<ListedProject>& projects, Reporter& reporter)
{
    switch (KindOfArgument(argument)) {
    case ArgumentKind::Folder:
        return AddFolderProjects(argument, projects, reporter);
    case ArgumentKind::Group:
        if (AddGroupProjects(argument, projects) == ProjectStatus::Ok) return true;
        break;  // it fails as a project
    case ArgumentKind::Project:
        break;
    }
    projects.push_back({std::string(argument), std::string(argument)});
    return true;
}

ProjectStatus ListProjectsOf(std::string_view argument, std::vector<ListedProject>& projects, Reporter& reporter)
{
    projects.clear();
    if (!IsFolder(argument)) return AddGroupProjects(argument, projects);
    return AddFolderProjects(argument, projects, reporter) ? ProjectStatus::Ok : ProjectStatus::Unreadable;
}

}  // namespace kolvane
