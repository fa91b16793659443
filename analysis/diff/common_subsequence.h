// The length of a longest common subsequence of two sequences of symbols
// (statements already reduced to numbers: equal numbers, equal statements).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kolvane {

// Myers' greedy search for the shortest edit script, forward only: time
// O((n + m) * D) and memory O(n + m), where D is the number of symbols
// deleted from the first or inserted into the second. Only the length is
// wanted, so no script is kept. The common head and tail are skipped first.
std::size_t CommonSubsequenceLength(std::span<const std::uint32_t> older, std::span<const std::uint32_t> newer);

}  // namespace kolvane
