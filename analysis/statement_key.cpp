#include "analysis/statement_key.h"

#include "project/path_text.h"

#include <array>

namespace kolvane {
namespace {

constexpr char kQuote = '"';
constexpr char kApostrophe = '\'';
constexpr std::string_view kContinuation = " _";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Every byte as itself but the ASCII upper-case letters, in lower case.
constexpr std::array<char, 256> kLower = [] {
    std::array<char, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = static_cast<char>(i >= 'A' && i <= 'Z' ? i - 'A' + 'a' : i);
    return table;
}();

// Where the comment that ends the line begins, or the line's size. The
// string state starts afresh on every physical line.
std::size_t CommentStart(std::string_view line)
{
    const std::size_t first = line.find(kApostrophe);
    if (first == std::string_view::npos) return line.size();
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == kQuote) {
            inString = !inString;  // "" inside a literal closes and reopens it
        } else if (line[i] == kApostrophe && !inString) {
            return i;
        }
    }
    return line.size();
}

std::string_view TrimEnd(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    return text.substr(0, end);
}

std::string_view TrimStart(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    return text.substr(start);
}

// Folds the ASCII letters of text in place, outside string literals when
// keepStrings is set; a double-byte character is kept whole. Lead bytes are
// above 0x80 in every code page, so ASCII bytes never ask the test.
void FoldInPlace(char* text, std::size_t size, LeadByteTest isLeadByte, bool keepStrings)
{
    bool inString = false;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (keepStrings && c == kQuote) {
            inString = !inString;
        } else if (inString) {
            continue;
        } else if (static_cast<unsigned char>(c) < 0x80) {
            text[i] = kLower[static_cast<unsigned char>(c)];
        } else if (isLeadByte != nullptr && i + 1 < size && isLeadByte(static_cast<unsigned char>(c)) &&
                   IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            ++i;  // the trail byte as it is
        }
    }
}

void AppendFolded(std::string_view text, LeadByteTest isLeadByte, bool keepStrings, std::string& out)
{
    const std::size_t start = out.size();
    out.append(text);
    FoldInPlace(out.data() + start, text.size(), isLeadByte, keepStrings);
}

}  // namespace

std::string FoldCase(std::string_view text, LeadByteTest isLeadByte)
{
    std::string folded;
    AppendFolded(text, isLeadByte, false, folded);
    return folded;
}

void AppendLineKey(std::string_view line, LeadByteTest isLeadByte, std::string& key)
{
    std::string_view text = TrimEnd(line.substr(0, CommentStart(line)));
    if (text.ends_with(kContinuation)) text = TrimEnd(text.substr(0, text.size() - kContinuation.size()));
    AppendFolded(TrimStart(text), isLeadByte, true, key);
}

void AppendStatementKey(std::span<const StatementPiece> pieces, LeadByteTest isLeadByte, std::string& key)
{
    std::string joined;  // only for a line that came in several pieces
    for (std::size_t i = 0; i < pieces.size();) {
        std::size_t next = i + 1;
        while (next < pieces.size() && pieces[next].line == pieces[i].line) ++next;
        std::string_view line = pieces[i].text;
        if (next > i + 1) {
            joined.clear();
            for (std::size_t j = i; j < next; ++j) joined.append(pieces[j].text);
            line = joined;
        }
        if (i > 0) key.push_back(' ');
        AppendLineKey(line, isLeadByte, key);
        i = next;
    }
}

std::string StatementKey(std::span<const StatementPiece> pieces, LeadByteTest isLeadByte)
{
    std::string key;
    AppendStatementKey(pieces, isLeadByte, key);
    return key;
}

}  // namespace kolvane
