#include "project/text/pattern_search.h"

#include <algorithm>
#include <array>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kolvane {
namespace {

constexpr std::string_view kLettersByFrequency = "etaoinsrhldcumfpgwybvkxjqz";

// How often a byte stands in Visual Basic source, as a rank: lower is rarer.
constexpr std::array<unsigned char, 256> MakeRanks()
{
    std::array<unsigned char, 256> ranks{};
    for (std::size_t byte = 0; byte < ranks.size(); ++byte) ranks[byte] = 90;  // punctuation
    for (std::size_t byte = 0x80; byte < ranks.size(); ++byte) ranks[byte] = 120;  // double-byte text
    for (char digit = '0'; digit <= '9'; ++digit) ranks[static_cast<unsigned char>(digit)] = 100;
    for (char upper = 'A'; upper <= 'Z'; ++upper) ranks[static_cast<unsigned char>(upper)] = 60;
    for (std::size_t i = 0; i < kLettersByFrequency.size(); ++i) {
        ranks[static_cast<unsigned char>(kLettersByFrequency[i])] = static_cast<unsigned char>(200 - 5 * i);
    }
    ranks[' '] = 255;
    ranks['\t'] = 250;
    return ranks;
}

constexpr std::array<unsigned char, 256> kRanks = MakeRanks();

unsigned char RankAt(std::string_view pattern, std::size_t place)
{
    return kRanks[static_cast<unsigned char>(pattern[place])];
}

}  // namespace

PatternSearch::PatternSearch(std::string_view pattern) : pattern_(pattern), first_(0), second_(0)
{
    for (std::size_t place = 1; place < pattern.size(); ++place) {
        if (RankAt(pattern, place) < RankAt(pattern, first_)) first_ = place;
    }
    second_ = first_ == 0 && pattern.size() > 1 ? 1 : 0;
    for (std::size_t place = 0; place < pattern.size(); ++place) {
        if (place != first_ && RankAt(pattern, place) < RankAt(pattern, second_)) second_ = place;
    }
}

std::size_t PatternSearch::FindIn(std::string_view text, std::size_t from, std::size_t limit) const
{
    const std::size_t size = pattern_.size();
    if (size > text.size() || from > text.size() - size || from >= limit) return std::string_view::npos;
    const std::size_t lastStart = std::min(text.size() - size, limit - 1);
    const char* data = text.data();
    const char firstByte = pattern_[first_];
    const char secondByte = pattern_[second_];
    const char* pattern = pattern_.data();

    std::size_t start = from;
#ifdef __SSE2__
    constexpr std::size_t kLanes = 16;
    const __m128i firsts = _mm_set1_epi8(firstByte);
    const __m128i seconds = _mm_set1_epi8(secondByte);
    const auto matches = [&](std::size_t at) {
        // Sixteen starts at once; the last byte loaded is at most lastStart + size - 1.
        const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + first_));
        const __m128i atSecond = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + second_));
        return _mm_and_si128(_mm_cmpeq_epi8(atFirst, firsts), _mm_cmpeq_epi8(atSecond, seconds));
    };
    while (start + (kLanes - 1) <= lastStart) {
        // Four groups at a time while no candidate stands in them.
        while (start + (4 * kLanes - 1) <= lastStart) {
            const __m128i any = _mm_or_si128(_mm_or_si128(matches(start), matches(start + kLanes)),
                                             _mm_or_si128(matches(start + 2 * kLanes), matches(start + 3 * kLanes)));
            if (_mm_movemask_epi8(any) != 0) break;
            start += 4 * kLanes;
        }
        if (start + (kLanes - 1) > lastStart) break;
        for (unsigned both = static_cast<unsigned>(_mm_movemask_epi8(matches(start))); both != 0; both &= both - 1) {
            const std::size_t candidate = start + static_cast<std::size_t>(__builtin_ctz(both));
            if (std::memcmp(data + candidate, pattern, size) == 0) return candidate;
        }
        start += kLanes;
    }
#endif
    for (; start <= lastStart; ++start) {
        if (data[start + first_] == firstByte && data[start + second_] == secondByte &&
            std::memcmp(data + start, pattern, size) == 0) {
            return start;
        }
    }
    return std::string_view::npos;
}

}  // namespace kolvane
