#include "project/text/text_buffer.h"

#include <algorithm>
#include <cstring>

namespace kolvane {

void TextBuffer::resize(std::size_t size)
{
    if (size > capacity_) {
        // Growth by doubling: a file read block by block is copied a few times at
        // most.
        const std::size_t page = static_cast<std::size_t>(kPage);
        const std::size_t capacity = (std::max(size, capacity_ * 2) + page - 1) / page * page;
        std::unique_ptr<char, Release> grown(static_cast<char*>(::operator new(capacity, kPage)));
        if (size_ > 0) std::memcpy(grown.get(), storage_.get(), size_);
        storage_ = std::move(grown);
        capacity_ = capacity;
    }
    size_ = size;
}

}  // namespace kolvane
