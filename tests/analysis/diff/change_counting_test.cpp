#include "analysis/diff/change_counts.h"
#include "analysis/diff/common_subsequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace kolvane {
namespace {

using Symbols = std::vector<std::uint32_t>;

// The textbook quadratic table, to check the fast search against.
std::size_t QuadraticLength(const Symbols& a, const Symbols& b)
{
    std::vector<std::size_t> row(b.size() + 1, 0), previous(b.size() + 1, 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            row[j] = a[i - 1] == b[j - 1] ? previous[j - 1] + 1 : std::max(previous[j], row[j - 1]);
        }
        std::swap(row, previous);
    }
    return previous[b.size()];
}

TEST(CommonSubsequence, AgreesWithTheQuadraticTableOnRandomSequences)
{
    std::mt19937 random(15);
    for (int round = 0; round < 500; ++round) {
        Symbols a(random() % 30), b(random() % 30);
        const std::uint32_t alphabet = 1 + random() % 5;
        for (auto& s : a) s = random() % alphabet;
        for (auto& s : b) s = random() % alphabet;
        ASSERT_EQ(CommonSubsequenceLength(a, b), QuadraticLength(a, b)) << "round " << round;
    }
}

TEST(CommonSubsequence, TwentyThousandStatementsWithOnePercentChanged)
{
    Symbols older(20000);
    for (std::uint32_t i = 0; i < older.size(); ++i) older[i] = i;
    Symbols newer = older;
    for (std::size_t i = 50; i < newer.size(); i += 100) newer[i] = 1000000 + static_cast<std::uint32_t>(i);
    EXPECT_EQ(CommonSubsequenceLength(older, newer), 20000u - 200u);
}

TEST(ChangeCounts, MatchedPairKeepsBothIdentities)
{
    struct Case {
        std::int64_t n, m, common, added, changed, deleted;
    };
    const Case cases[] = {
        {5, 5, 5, 0, 0, 0}, {5, 7, 4, 2, 1, 0}, {7, 5, 4, 0, 1, 2}, {3, 3, 0, 0, 3, 0}, {0, 4, 0, 4, 0, 0},
    };
    for (const Case& c : cases) {
        const ChangeCounts counts = CountMatchedPair(c.n, c.m, c.common);
        EXPECT_EQ(counts.added, c.added);
        EXPECT_EQ(counts.changed, c.changed);
        EXPECT_EQ(counts.deleted, c.deleted);
        EXPECT_EQ(counts.oldSteps, counts.unchanged + counts.changed + counts.deleted);
        EXPECT_EQ(counts.newSteps, counts.unchanged + counts.changed + counts.added);
    }
}

}  // namespace
}  // namespace kolvane
