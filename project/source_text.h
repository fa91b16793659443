// A source file read once, whole, with the Windows text-mode rules applied
// once: CR LF becomes LF, a lone CR stays, Ctrl-Z (0x1A) ends the data.
// Every analysis works on this text; LinePieces gives back the C library's
// line reads over it, byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kolvane {

enum class ReadOutcome {
    Read,        // the whole data is in text
    CannotOpen,  // nothing read; text is empty
    ReadError,   // text holds what was read before the error
    CloseError,  // text holds the whole data, but closing reported an error
};

// Reads the file named by path (as a project names it; see HostPath) into
// text, replacing its content. The caller may keep one string for many
// files: its capacity stays, so memory is bounded by the largest file.
ReadOutcome ReadSourceText(std::string_view path, std::string& text);

// Applies the text-mode rules to raw bytes in place and returns the new size.
std::size_t ApplyTextMode(char* data, std::size_t size);

// The line reads of a text-mode stream over a decoded text. Read(size) is
// fgets with a buffer of size bytes: at most size - 1 bytes, up to and
// including the first LF. A read that stops at the limit does not look
// ahead; a read that needs a byte past the end sets AtEnd.
class LinePieces {
public:
    explicit LinePieces(std::string_view text) : text_(text) {}

    std::string_view Read(std::size_t size)
    {
        const std::size_t limit = size - 1;
        const std::size_t available = text_.size() - position_;
        const std::size_t window = available < limit ? available : limit;
        const std::size_t lineFeed = text_.substr(position_, window).find('\n');
        std::size_t length = window;
        if (lineFeed != std::string_view::npos) {
            length = lineFeed + 1;
        } else if (available < limit) {
            atEnd_ = true;  // the read met the end of the data
        }
        const std::string_view piece = text_.substr(position_, length);
        position_ += length;
        return piece;
    }

    bool AtEnd() const { return atEnd_; }
    // Bytes of the text consumed so far.
    std::size_t Position() const { return position_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    bool atEnd_ = false;
};

}  // namespace kolvane
