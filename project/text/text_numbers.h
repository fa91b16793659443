// Texts, each with a number from 0 on in the order they came: open
// addressing over their 64-bit hashes (the caller's, so that a text hashed
// once, or hashed its own way, is not hashed again). The texts are copied in,
// one after the other.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

class TextNumbers {
public:
    static constexpr std::uint32_t kNoNumber = std::numeric_limits<std::uint32_t>::max();

    TextNumbers() : slots_(kInitialSlots, 0) {}

    std::uint32_t Size() const { return static_cast<std::uint32_t>(ends_.size()); }
    std::string_view Text(std::uint32_t number) const
    {
        const std::uint32_t begin = number == 0 ? 0 : ends_[number - 1];
        return std::string_view(texts_).substr(begin, ends_[number] - begin);
    }
    std::uint64_t Hash(std::uint32_t number) const { return hashes_[number]; }

    // The text's number; kNoNumber when it has none.
    std::uint32_t Find(std::string_view text, std::uint64_t hash) const
    {
        for (std::size_t slot = hash & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
            const std::uint32_t entry = slots_[slot];
            if (entry == 0) return kNoNumber;
            if (hashes_[entry - 1] == hash && Text(entry - 1) == text) return entry - 1;
        }
    }

    // The text's number, given one (the next) when it is new.
    std::uint32_t Number(std::string_view text, std::uint64_t hash)
    {
        std::size_t slot = hash & (slots_.size() - 1);
        for (;; slot = (slot + 1) & (slots_.size() - 1)) {
            const std::uint32_t entry = slots_[slot];
            if (entry == 0) break;
            if (hashes_[entry - 1] == hash && Text(entry - 1) == text) return entry - 1;
        }
        const std::uint32_t number = Size();
        texts_.append(text);
        ends_.push_back(static_cast<std::uint32_t>(texts_.size()));
        hashes_.push_back(hash);
        slots_[slot] = number + 1;
        if (2 * ends_.size() > slots_.size()) Grow();
        return number;
    }

private:
    static constexpr std::size_t kInitialSlots = 256;  // a power of two

    void Grow()
    {
        std::vector<std::uint32_t> slots(slots_.size() * 2, 0);
        for (std::uint32_t number = 0; number < Size(); ++number) {
            std::size_t slot = hashes_[number] & (slots.size() - 1);
            while (slots[slot] != 0) slot = (slot + 1) & (slots.size() - 1);
            slots[slot] = number + 1;
        }
        slots_ = std::move(slots);
    }

    std::string texts_;
    std::vector<std::uint32_t> ends_;    // where each text ends in texts_
    std::vector<std::uint64_t> hashes_;  // each text's hash
    std::vector<std::uint32_t> slots_;   // a text's number + 1; 0 for a free slot
};

}  // namespace kolvane
