#include "analysis/diff/common_subsequence.h"

#include <algorithm>
#include <vector>

namespace kolvane {
namespace {

// The least number of deletions and insertions that turn older into newer.
std::size_t EditDistance(std::span<const std::uint32_t> older, std::span<const std::uint32_t> newer)
{
    const auto n = static_cast<std::ptrdiff_t>(older.size());
    const auto m = static_cast<std::ptrdiff_t>(newer.size());
    const std::ptrdiff_t most = n + m;
    // furthest[k + most]: the furthest x reached on diagonal k = x - y.
    std::vector<std::ptrdiff_t> furthest(static_cast<std::size_t>(2 * most + 3), 0);
    const auto at = [&](std::ptrdiff_t k) -> std::ptrdiff_t& {
        return furthest[static_cast<std::size_t>(k + most + 1)];
    };
    for (std::ptrdiff_t d = 0; d <= most; ++d) {
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            std::ptrdiff_t x = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
            std::ptrdiff_t y = x - k;
            while (x < n && y < m && older[static_cast<std::size_t>(x)] == newer[static_cast<std::size_t>(y)]) {
                ++x;
                ++y;
            }
            at(k) = x;
            if (x >= n && y >= m) return static_cast<std::size_t>(d);
        }
    }
    return static_cast<std::size_t>(most);
}

}  // namespace

std::size_t CommonSubsequenceLength(std::span<const std::uint32_t> older, std::span<const std::uint32_t> newer)
{
    const auto head = static_cast<std::size_t>(
        std::mismatch(older.begin(), older.end(), newer.begin(), newer.end()).first - older.begin());
    older = older.subspan(head);
    newer = newer.subspan(head);
    const auto tail = static_cast<std::size_t>(
        std::mismatch(older.rbegin(), older.rend(), newer.rbegin(), newer.rend()).first - older.rbegin());
    older = older.first(older.size() - tail);
    newer = newer.first(newer.size() - tail);
    if (older.empty() || newer.empty()) return head + tail;
    const std::size_t distance = EditDistance(older, newer);
    return head + tail + (older.size() + newer.size() - distance) / 2;
}

}  // namespace kolvane
