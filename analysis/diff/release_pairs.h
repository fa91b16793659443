// The projects of two releases of a system (two folders, or two groups),
// paired for their change counts. A project of the old release and one of
// the new are a pair when their relative paths are equal without regard to
// ASCII case, '\' and '/' alike; the k-th project of such a path in the new
// release pairs with the k-th in the old. The pairs come in the new
// release's order, then the old projects left over in theirs.
#pragma once

#include "project/model/project_search.h"

#include <span>
#include <string>
#include <vector>

namespace kolvane {

struct ReleasePair {
    const ListedProject* older = nullptr;  // null: a project of the new release only
    const ListedProject* newer = nullptr;  // null: a project of the old release only
    // Where the pair's outputs go, under the output folder: empty for the
    // folder itself. When the outputs of two pairs would have the same name
    // (any ASCII case), each goes into its relative folder.
    std::string subfolder;

    // The project the outputs are named after: the new one, else the old.
    const ListedProject& Named() const { return newer != nullptr ? *newer : *older; }
};

std::vector<ReleasePair> PairReleases(std::span<const ListedProject> older, std::span<const ListedProject> newer);

}  // namespace kolvane
