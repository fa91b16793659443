// A source file read once, whole, with the Windows text-mode rules applied
// once: CR LF becomes LF, a lone CR stays, Ctrl-Z (0x1A) ends the data.
// Every analysis works on this text; LinePieces gives back the C library's
// line reads over it, byte for byte.
#pragma once

#include "project/text/text_buffer.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kolvane {

enum class ReadOutcome {
    Read,  // the whole data is in text
    CannotOpen,  // nothing read; text is empty
    ReadError,  // text holds what was read before the error
    CloseError,  // text holds the whole data, but closing reported an error
};

// Reads the file named by path (as a project names it; see HostPath) into
// text, replacing its content. The caller may keep one buffer for many
// files: its capacity stays, so memory is bounded by the largest file.
ReadOutcome ReadSourceText(std::string_view path, TextBuffer& text);

// The size of the file in bytes as the system gives it; 0 when it gives none.
std::size_t SourceSize(std::string_view path);

// Applies the text-mode rules to raw bytes in place and returns the new size.
std::size_t ApplyTextMode(char* data, std::size_t size);

// Where the data in raw bytes ends (at the first Ctrl-Z, else at their end)
// and whether a NUL stands before that: one pass over the bytes.
struct DataExtent {
    std::size_t size;
    bool holdsNul;
};
DataExtent FindDataExtent(std::string_view bytes);

// Reads the file's bytes up to its first Ctrl-Z, line ends as stored: the
// text for RawLinePieces, which applies the CR LF rule as it reads. With
// holdsNul, also tells whether the text holds a NUL.
ReadOutcome ReadRawText(std::string_view path, TextBuffer& text, bool* holdsNul = nullptr);

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

// One line read, without its line end. A read of a text holding a NUL ends
// at the NUL, as a C string does, and then has no line end.
struct LinePiece {
    std::string_view text;
    bool lineEnd = false;  // the read ended with a newline
    bool endsLine = false;  // the read took the newline (whether or not a NUL cut its text short)
};

// LinePieces over a text whose CR LF pairs are still there (see
// ReadRawText): the same reads, each as a LinePiece, with no decoding pass.
// The CR of a CR LF pair only ever stands before the newline of its line,
// so a read that stops short of the newline is the stored bytes as they are.
class RawLinePieces {
public:
    explicit RawLinePieces(std::string_view text) : RawLinePieces(text, text.find('\0') != std::string_view::npos) {}
    // For a text known to hold a NUL or not (see ReadRawText); reads begin
    // at start, which must be where one of the reads from the front began.
    RawLinePieces(std::string_view text, bool holdsNul, std::size_t start = 0)
        : text_(text), position_(start), mayHoldNul_(holdsNul)
    {
    }

    LinePiece Read(std::size_t size)
    {
        const std::size_t limit = size - 1;
        const std::size_t available = text_.size() - position_;
        // A newline within the limit may stand one stored byte further, after its CR.
        const std::size_t window = available < limit + 1 ? available : limit + 1;
        const char* start = text_.data() + position_;
        const void* found = window == 0 ? nullptr : std::memchr(start, '\n', window);
        LinePiece piece;
        std::size_t consumed;
        if (found != nullptr) {
            const std::size_t lineFeed = static_cast<std::size_t>(static_cast<const char*>(found) - start);
            const bool pair = lineFeed > 0 && start[lineFeed - 1] == '\r';
            const std::size_t length = pair ? lineFeed - 1 : lineFeed;  // stored bytes before the line end
            if (length + 1 <= limit) {
                piece = {{start, length}, true, true};
                consumed = lineFeed + 1;
            } else {
                piece = {{start, limit}, false};
                consumed = limit;
            }
        } else if (available < limit) {
            piece = {{start, available}, false};
            consumed = available;
            atEnd_ = true;  // the read met the end of the data
        } else {
            piece = {{start, limit}, false};
            consumed = limit;
        }
        position_ += consumed;
        if (mayHoldNul_) {
            const std::size_t nul = piece.text.find('\0');
            if (nul != std::string_view::npos) piece = {piece.text.substr(0, nul), false, piece.endsLine};
        }
        return piece;
    }

    bool AtEnd() const { return atEnd_; }
    // The stored bytes consumed so far.
    std::size_t Position() const { return position_; }

    // Passes over the lines before the one holding the byte at position
    // (the next read begins that line): reads restart at every line, so
    // the reads from there on are those of reading every line.
    void SkipToLineOf(std::size_t position)
    {
        std::size_t lineStart = position;
        while (lineStart > position_ && text_[lineStart - 1] != '\n') --lineStart;
        position_ = lineStart;
    }

private:
    std::string_view text_;
    std::size_t position_;
    bool atEnd_ = false;
    bool mayHoldNul_;
};

}  // namespace kolvane
