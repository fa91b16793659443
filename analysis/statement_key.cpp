#include "analysis/statement_key.h"

#include "project/path_text.h"

namespace kolvane {
namespace {

constexpr char kQuote = '"';
constexpr char kApostrophe = '\'';
constexpr std::string_view kContinuation = " _";
constexpr std::string_view kBlanks = " \t";

bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }

// Where the comment that ends the line begins, or the line's size. The
// string state starts afresh on every physical line.
std::size_t CommentStart(std::string_view line)
{
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
    const std::size_t last = text.find_last_not_of(kBlanks);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view TrimStart(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// Appends the character at text[i] with an ASCII letter in lower case and
// returns the index after it; a double-byte character is copied whole.
std::size_t AppendFoldedCharacter(std::string_view text, std::size_t i, LeadByteTest isLeadByte, std::string& out)
{
    const char c = text[i];
    if (isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size() &&
        IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
        out.append(text.substr(i, 2));
        return i + 2;
    }
    out.push_back(IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c);
    return i + 1;
}

// Appends text with ASCII letters outside string literals in lower case.
void AppendFolded(std::string_view text, LeadByteTest isLeadByte, std::string& key)
{
    bool inString = false;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == kQuote) inString = !inString;
        if (inString || text[i] == kQuote) {
            key.push_back(text[i++]);
        } else {
            i = AppendFoldedCharacter(text, i, isLeadByte, key);
        }
    }
}

}  // namespace

std::string FoldCase(std::string_view text, LeadByteTest isLeadByte)
{
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) i = AppendFoldedCharacter(text, i, isLeadByte, folded);
    return folded;
}

void AppendLineKey(std::string_view line, LeadByteTest isLeadByte, std::string& key)
{
    std::string_view text = TrimEnd(line.substr(0, CommentStart(line)));
    if (text.ends_with(kContinuation)) text = TrimEnd(text.substr(0, text.size() - kContinuation.size()));
    AppendFolded(TrimStart(text), isLeadByte, key);
}

std::string StatementKey(std::span<const StatementPiece> pieces, LeadByteTest isLeadByte)
{
    std::string key;
    std::string line;
    for (std::size_t i = 0; i < pieces.size();) {
        line.assign(pieces[i].text);
        std::size_t next = i + 1;
        for (; next < pieces.size() && pieces[next].line == pieces[i].line; ++next) line.append(pieces[next].text);
        if (i > 0) key.push_back(' ');
        AppendLineKey(line, isLeadByte, key);
        i = next;
    }
    return key;
}

}  // namespace kolvane
