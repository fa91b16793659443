#include "analysis/source/statement_key.h"

#include "project/text/path_text.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace kolvane {
namespace {

constexpr char kQuote = '"';
constexpr std::string_view kContinuation = " _";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Every byte as itself but the ASCII upper-case letters, in lower case.
constexpr std::array<char, 256> kLower = [] {
    std::array<char, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = static_cast<char>(i >= 'A' && i <= 'Z' ? i - 'A' + 'a' : i);
    return table;
}();

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

constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// Eight ASCII bytes with no double quote among them when keepStrings is set.
bool IsPlainAsciiWord(std::uint64_t word, bool keepStrings)
{
    if ((word & kHighBits) != 0) return false;
    if (!keepStrings) return true;
    const std::uint64_t quotes = word ^ (kEveryByte * static_cast<unsigned char>(kQuote));
    return ((quotes - kEveryByte) & ~quotes & kHighBits) == 0;  // no byte equal to the quote
}

// The eight ASCII bytes with their upper-case letters in lower case.
std::uint64_t LowerAsciiWord(std::uint64_t word)
{
    const std::uint64_t fromA = word + kEveryByte * (0x80 - 'A');     // high bit: byte >= 'A'
    const std::uint64_t pastZ = word + kEveryByte * (0x80 - 'Z' - 1); // high bit: byte > 'Z'
    return word | (((fromA ^ pastZ) & kHighBits) >> 2);              // 0x20 on 'A'..'Z'
}

// Folds the ASCII letters of text in place, outside string literals when
// keepStrings is set; a double-byte character is kept whole. Lead bytes are
// above 0x80 in every code page, so ASCII bytes never ask the test; eight
// ASCII bytes without a quote are folded at once.
void FoldInPlace(char* text, std::size_t size, LeadByteTest isLeadByte, bool keepStrings)
{
    std::size_t i = 0;
    while (i < size) {
        std::uint64_t word;
        if (size - i >= sizeof word) {
            std::memcpy(&word, text + i, sizeof word);
            if (IsPlainAsciiWord(word, keepStrings)) {
                word = LowerAsciiWord(word);
                std::memcpy(text + i, &word, sizeof word);
                i += sizeof word;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if (keepStrings && byte == kQuote) {  // a string literal as it is
            i = StringLiteralEnd({text, size}, i);
        } else if (byte < 0x80) {
            text[i] = kLower[byte];
            ++i;
        } else if (isLeadByte != nullptr && i + 1 < size && isLeadByte(byte) &&
                   IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            i += 2;  // the trail byte as it is
        } else {
            ++i;
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

void AppendStatementKey(const ModuleScan& module, const Statement& statement, LeadByteTest isLeadByte,
                        std::string& key)
{
    std::string storage;
    ForEachStatementLine(module, statement, storage, [&](std::string_view line, std::uint32_t, bool first) {
        if (!first) key.push_back(' ');
        AppendLineKey(line, isLeadByte, key);
    });
}

std::string StatementKey(const ModuleScan& module, const Statement& statement, LeadByteTest isLeadByte)
{
    std::string key;
    AppendStatementKey(module, statement, isLeadByte, key);
    return key;
}

}  // namespace kolvane
