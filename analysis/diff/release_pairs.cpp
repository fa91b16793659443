#include "analysis/diff/release_pairs.h"

#include "analysis/run/output_folders.h"

#include <map>

namespace kolvane {

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
    std::vector<const ListedProject*> named;
    for (const ReleasePair& pair : pairs) named.push_back(&pair.Named());
    std::vector<std::string> subfolders = OutputSubfolders(named);
    for (std::size_t i = 0; i < pairs.size(); ++i) pairs[i].subfolder = std::move(subfolders[i]);
    return pairs;
}

}  // namespace kolvane
