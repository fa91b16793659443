#include "project/text/source_text.h"

#include "project/text/source_file.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::TempDir;

// The pieces the line reads of a text-mode stream give, the last one being
// the read that set the end-of-file indicator.
std::vector<std::string> StreamPieces(const std::string& path, std::size_t size)
{
    SourceFile file;
    EXPECT_EQ(OpenSourceFile(file, path, kModeRead), 1);
    std::vector<char> buffer(size);
    std::vector<std::string> pieces;
    ForEachLine(file, buffer, [&](char* text) {
        pieces.emplace_back(text, std::char_traits<char>::length(text));
        return true;
    });
    return pieces;
}

std::vector<std::string> TextPieces(const std::string& path, std::size_t size)
{
    TextBuffer text;
    EXPECT_EQ(ReadSourceText(path, text), ReadOutcome::Read);
    LinePieces lines(text);
    std::vector<std::string> pieces;
    do {
        const std::string_view piece = lines.Read(size);
        // The stream's text ends at a NUL; compare what a reader sees.
        pieces.emplace_back(piece.substr(0, piece.find('\0')));
    } while (!lines.AtEnd());
    return pieces;
}

// The same reads over the stored bytes, each given back with its newline.
std::vector<std::string> RawPieces(const std::string& path, std::size_t size)
{
    TextBuffer text;
    bool holdsNul = false;
    EXPECT_EQ(ReadRawText(path, text, &holdsNul), ReadOutcome::Read);
    EXPECT_EQ(holdsNul, text.view().find('\0') != std::string_view::npos);
    RawLinePieces lines(text, holdsNul);
    std::vector<std::string> pieces;
    do {
        const LinePiece piece = lines.Read(size);
        pieces.push_back(std::string(piece.text) + (piece.lineEnd ? "\n" : ""));
    } while (!lines.AtEnd());
    return pieces;
}

// The one read of a whole file gives the pieces of the stream's line reads,
// for the counter's 511-byte and the lists' 1,024-byte buffers, decoded
// once or as the reads go.
TEST(SourceText, PiecesEqualTheStreamsLineReads)
{
    const std::string cr1MiB = std::string((1 << 20) - 1, 'a') + "\r\n" + std::string(5000, 'b') + "\r\n";
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"no line end", "Sub A()"},
        {"line end last", "x\r\ny\r\n"},
        {"lines of 509, 510, 511, 1022, 1023 and 1024 bytes",
         std::string(509, 'a') + "\r\n" + std::string(510, 'b') + "\r\n" + std::string(511, 'c') + "\r\n" +
             std::string(1022, 'd') + "\r\n" + std::string(1023, 'e') + "\r\n" + std::string(1024, 'f') + "\r\n"},
        {"510 bytes at the end of the data", std::string(510, 'a')},
        {"1023 bytes at the end of the data", std::string(1023, 'a')},
        {"lone CR, LF alone, CR CR LF", "a\rb\nc\r\r\nd\r"},
        {"CR LF across the 510 limit", std::string(509, 'a') + "\r\n" + std::string(510, 'a') + "\r\nz"},
        {"Ctrl-Z ends the data", "a\r\nb\x1A" "c\r\n"},
        {"Ctrl-Z right after a full piece", std::string(510, 'a') + "\x1A"},
        {"NUL inside a line", std::string("a\0b\r\nc\r\n", 8)},
        {"CR before Ctrl-Z", "a\r\x1A"},
        {"CR LF across the 1023 limit", std::string(1022, 'a') + "\r\n" + std::string(1023, 'b') + "\r\r\n"},
        {"CR at the limit, LF after it", std::string(510, 'a') + "\r\n" + std::string(1023, 'a') + "\r\n"},
        {"NUL before CR LF", std::string("ab\0\r\ncd", 8)},
        {"NUL only after the Ctrl-Z, past a 16-byte group", std::string(20, 'a') + "\x1A" + std::string(1, '\0')},
        {"NUL in a later group than the Ctrl-Z's first byte", std::string(17, 'a') + std::string(1, '\0') + "b\x1A"},
        {"larger than one read block, CR LF across the block edge", cr1MiB},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.Write("m.bas", c.bytes);
        for (const std::size_t size : {511u, 1024u}) {
            const std::vector<std::string> stream = StreamPieces(path, size);
            EXPECT_EQ(TextPieces(path, size), stream) << size;
            EXPECT_EQ(RawPieces(path, size), stream) << size;
        }
    }
}

// One buffer serves module after module, larger and smaller than the one
// before; a size no buffer can hold is refused, not wrapped round.
TEST(SourceText, OneBufferReadsEveryFileWhole)
{
    TempDir dir;
    TextBuffer text;
    for (const std::size_t size : {10u, 5000u, 3u, 6300u, (1u << 20) + 7, 0u, 4096u}) {
        std::string bytes(size, 'x');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 26);
        const std::string path = dir.Write("m.bas", bytes);
        EXPECT_EQ(ReadRawText(path, text), ReadOutcome::Read);
        EXPECT_EQ(text.view(), bytes) << size;
    }
    EXPECT_THROW(text.resize(std::numeric_limits<std::size_t>::max()), std::bad_alloc);
}

}  // namespace
}  // namespace kolvane
