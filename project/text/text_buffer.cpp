#include "project/text/text_buffer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace kolvane {

void TextBuffer::resize(std::size_t size)
{
    if (size > capacity_) {
        // Growth by doubling: a file read block by block is copied a few times at
        // most. A quarter more than asked: a buffer kept for the next module
        // holds one a little larger without growing into fresh memory.
        const std::size_t page = static_cast<std::size_t>(kPage);
        const std::size_t limit = std::numeric_limits<std::size_t>::max() - page;  // rounds up without wrapping
        if (size > limit) throw std::bad_alloc();
        const std::size_t larger = size <= limit - size / 4 ? size + size / 4 : size;
        const std::size_t doubled = capacity_ <= limit / 2 ? capacity_ * 2 : capacity_;
        const std::size_t capacity = (std::max(larger, doubled) + page - 1) / page * page;
        std::unique_ptr<char, Release> grown(static_cast<char*>(::operator new(capacity, kPage)));
        if (size_ > 0) std::memcpy(grown.get(), storage_.get(), size_);
        storage_ = std::move(grown);
        capacity_ = capacity;
    }
    size_ = size;
}

}  // namespace kolvane
