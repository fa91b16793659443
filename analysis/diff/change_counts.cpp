#include "analysis/diff/change_counts.h"

#include <algorithm>

namespace kolvane {

ChangeCounts& ChangeCounts::operator+=(const ChangeCounts& other)
{
    added += other.added;
    changed += other.changed;
    deleted += other.deleted;
    unchanged += other.unchanged;
    oldSteps += other.oldSteps;
    newSteps += other.newSteps;
    return *this;
}

ChangeCounts CountMatchedPair(std::int64_t oldSteps, std::int64_t newSteps, std::int64_t common)
{
    const std::int64_t deletedAll = oldSteps - common;
    const std::int64_t addedAll = newSteps - common;
    ChangeCounts counts;
    counts.changed = std::min(deletedAll, addedAll);
    counts.added = addedAll - counts.changed;
    counts.deleted = deletedAll - counts.changed;
    counts.unchanged = common;
    counts.oldSteps = oldSteps;
    counts.newSteps = newSteps;
    return counts;
}

ChangeCounts CountAdded(std::int64_t newSteps) { return CountMatchedPair(0, newSteps, 0); }

ChangeCounts CountDeleted(std::int64_t oldSteps) { return CountMatchedPair(oldSteps, 0, 0); }

}  // namespace kolvane
