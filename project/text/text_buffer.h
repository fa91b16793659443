// A growable byte buffer whose data begins on a page boundary. The system's
// copy of a file into whole pages runs several times faster than into memory
// at any other offset, so every source is read into one of these; a reader
// keeps one between files for its capacity.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <string_view>

namespace kolvane {

class TextBuffer {
public:
    // Never null, even before the first resize: the C library's search
    // functions must not be given a null pointer, whatever the size.
    char* data() { return storage_ ? storage_.get() : &empty_; }
    const char* data() const { return storage_ ? storage_.get() : &empty_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data(), size_}; }
    operator std::string_view() const { return view(); }

    std::size_t capacity() const { return capacity_; }
    void clear() { size_ = 0; }

    // Keeps the first min(size, size()) bytes; bytes past them are not set.
    void resize(std::size_t size);

private:
    static constexpr std::align_val_t kPage{4096};

    struct Release {
        void operator()(char* data) const { ::operator delete(data, kPage); }
    };

    std::unique_ptr<char, Release> storage_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    char empty_ = '\0';
};

}  // namespace kolvane
