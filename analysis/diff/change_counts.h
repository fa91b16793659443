// The change figures of one compared pair (a procedure or a declarations
// section): n old and m new statements of which L are common. Every set of
// figures keeps old_steps = unchanged + changed + deleted and
// new_steps = unchanged + changed + added.
#pragma once

#include <cstdint>

namespace kolvane {

struct ChangeCounts {
    std::int64_t added = 0;
    std::int64_t changed = 0;
    std::int64_t deleted = 0;
    std::int64_t unchanged = 0;
    std::int64_t oldSteps = 0;
    std::int64_t newSteps = 0;

    bool AnyChange() const { return added > 0 || changed > 0 || deleted > 0; }
    ChangeCounts& operator+=(const ChangeCounts& other);
};

// A pair present in both versions: what is not common is changed as far as
// both sides allow, the rest is added or deleted.
ChangeCounts CountMatchedPair(std::int64_t oldSteps, std::int64_t newSteps, std::int64_t common);
// A pair present in the new version only, or in the old version only.
ChangeCounts CountAdded(std::int64_t newSteps);
ChangeCounts CountDeleted(std::int64_t oldSteps);

}  // namespace kolvane
