// The search through two bytes finds what a plain search finds, at every
// start, near both ends of the text and across its sixteen-byte groups.
#include "project/text/pattern_search.h"
#include "project/text/strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace kolvane {
namespace {

TEST(PatternSearch, FindsWhatAPlainSearchFinds)
{
    const std::string patterns[] = {"Sub ", " _", "Function ", "Property ", " Lib ", "End Sub", "Option ", "x", "aa"};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 7);
    constexpr std::string_view kBytes = " _SubxaE\n";
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int length = round % 70;
        for (int i = 0; i < length; ++i) text.push_back(kBytes[static_cast<std::size_t>(byte(random))]);
        // Whole patterns planted at random places.
        for (const std::string& pattern : patterns) {
            if (round % 3 == 0) text.insert(std::min(text.size(), text.size() / 2 + round % 5), pattern);
        }
        for (const std::string& pattern : patterns) {
            const PatternSearch search(pattern);
            for (std::size_t from = 0; from <= text.size() + 1; ++from) {
                ASSERT_EQ(search.FindIn(text, from), std::string_view(text).find(pattern, from))
                    << "text \"" << text << "\" pattern \"" << pattern << "\" from " << from;
            }
        }
    }
}

// Asked front to back with limits near and far, the occurrences found a
// stretch at a time are those of a plain search, in texts longer than the
// stretch the search looks ahead.
TEST(Occurrences, BoundedAnswersAreThoseOfAPlainSearch)
{
    std::mt19937 random(11);
    for (const std::size_t size : {100u, 40'000u, 70'000u}) {
        std::string text(size, 'a');
        for (int i = 0; i < 12; ++i) text.replace(random() % (size - 2), 2, " _");
        Occurrences places(text, " _");
        std::size_t from = 0;
        while (from < size) {
            const std::size_t limit = random() % 3 == 0 ? std::string_view::npos : from + random() % 30'000;
            std::size_t expected = std::string_view(text).find(" _", from);
            if (expected != std::string_view::npos && expected >= limit) expected = std::string_view::npos;
            ASSERT_EQ(places.NextBefore(from, limit), expected) << "size " << size << " from " << from;
            from += 1 + random() % 5'000;
        }
    }
}

}  // namespace
}  // namespace kolvane
