#include "analysis/diff/release_pairs.h"

#include "analysis/source/statement_key.h"
#include "analysis/writer.h"
#include "project/text/path_text.h"
#include "project/text/platform.h"

#include <map>

namespace kolvane {
namespace {

constexpr std::string_view kCurrentFolder = ".";
constexpr std::string_view kParentFolder = "..";

// "C:", the drive of an absolute Windows path.
bool IsDrive(std::string_view part)
{
    return part.size() == 2 && part[1] == ':' && ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

// The key of the name a pair's outputs get: the report name less its suffix.
std::string OutputNameKey(const ReleasePair& pair) { return PathKey(ReportFileName(pair.Named().path, {})); }

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

std::vector<ReleasePair> PairReleases(std::span<const ListedProject> older, std::span<const ListedProject> newer)
{
    std::map<std::string, std::vector<std::size_t>> oldByPath;
    for (std::size_t i = 0; i < older.size(); ++i) oldByPath[PathKey(older[i].relative)].push_back(i);

    // Every new project with its old counterpart if any, then the old
    // projects left over.
    std::vector<ReleasePair> pairs;
    std::map<std::string, std::size_t> seen;
    std::vector<bool> oldMatched(older.size(), false);
    for (const ListedProject& project : newer) {
        const std::string key = PathKey(project.relative);
        const std::size_t occurrence = seen[key]++;
        const auto found = oldByPath.find(key);
        const ListedProject* counterpart = nullptr;
        if (found != oldByPath.end() && occurrence < found->second.size()) {
            const std::size_t index = found->second[occurrence];
            oldMatched[index] = true;
            counterpart = &older[index];
        }
        pairs.push_back({counterpart, &project, {}});
    }
    for (std::size_t i = 0; i < older.size(); ++i) {
        if (!oldMatched[i]) pairs.push_back({&older[i], nullptr, {}});
    }

    // Outputs of the same name go into the pairs' relative folders.
    std::map<std::string, std::size_t> names;
    for (const ReleasePair& pair : pairs) ++names[OutputNameKey(pair)];
    for (ReleasePair& pair : pairs) {
        if (names[OutputNameKey(pair)] > 1) pair.subfolder = SubfolderOf(pair.Named().relative);
    }
    return pairs;
}

}  // namespace kolvane
