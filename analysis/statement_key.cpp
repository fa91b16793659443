#include "analysis/statement_key.h"

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

// Appends text with ASCII letters outside string literals in lower case.
void AppendFolded(std::string_view text, LeadByteTest isLeadByte, std::string& key)
{
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == kQuote) {
            inString = !inString;
            key.push_back(c);
        } else if (inString) {
            key.push_back(c);
        } else if (isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            key.push_back(c);
            key.push_back(text[++i]);  // the trail byte as it is
        } else {
            key.push_back(IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c);
        }
    }
}

}  // namespace

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
