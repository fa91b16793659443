#include "analysis/source/lexer.h"

#include "project/text/path_text.h"

#include <string_view>

namespace kolvane {
namespace {

constexpr char kBlank = ' ';
constexpr char kTab = '\t';
constexpr char kQuote = '"';
constexpr char kApostrophe = '\'';
constexpr char kSeparator = ':';
constexpr char kAssignment = '=';  // ":=" names an argument
constexpr char kUnderscore = '_';
constexpr char kOpenBracket = '[';
constexpr char kCloseBracket = ']';
constexpr char kAmpersand = '&';
constexpr std::string_view kTypeCharacters = "%&!#@$";
constexpr std::string_view kRemWord = "Rem";

bool IsBlank(char c) { return c == kBlank || c == kTab; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNonAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }
bool IsHexDigit(char c) { return IsDigit(c) || (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f'); }
bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }
bool IsTypeCharacter(char c) { return kTypeCharacters.find(c) != std::string_view::npos; }

// Whether a number begins at start: a digit, or "&H"/"&O" (any case) and a
// digit of its base.
bool NumberAt(std::string_view line, std::size_t start)
{
    const char c = line[start];
    return IsDigit(c) || (c == kAmpersand && start + 2 < line.size() &&
                          ((LowerAscii(line[start + 1]) == 'h' && IsHexDigit(line[start + 2])) ||
                           (LowerAscii(line[start + 1]) == 'o' && IsOctalDigit(line[start + 2]))));
}

// Past the number that begins at start.
std::size_t NumberEnd(std::string_view line, std::size_t start)
{
    std::size_t end = line[start] == kAmpersand ? start + 2 : start;
    while (end < line.size() && (IsAsciiLetter(line[end]) || IsDigit(line[end]) || line[end] == '.')) ++end;
    return end < line.size() && IsTypeCharacter(line[end]) ? end + 1 : end;
}

// Past the letters, digits, underscores and non-ASCII characters from from
// (a double-byte character whole).
std::size_t NameEndIn(std::string_view line, std::size_t from, LeadByteTest isLeadByte)
{
    std::size_t at = from;
    while (at < line.size()) {
        const char c = line[at];
        if (IsNonAscii(c)) {
            const bool pair = isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(c)) &&
                              at + 1 < line.size() && IsTrailByte(static_cast<unsigned char>(line[at + 1]));
            at += pair ? 2 : 1;
        } else if (IsAsciiLetter(c) || IsDigit(c) || c == kUnderscore) {
            ++at;
        } else {
            break;
        }
    }
    return at;
}

// The first "]" from from on that is no trail byte of a double-byte
// character; npos when there is none.
std::size_t CloseBracketIn(std::string_view line, std::size_t from, LeadByteTest isLeadByte)
{
    for (std::size_t at = from; at < line.size(); ++at) {
        const auto byte = static_cast<unsigned char>(line[at]);
        if (byte == static_cast<unsigned char>(kCloseBracket)) return at;
        if (byte >= 0x80 && isLeadByte != nullptr && isLeadByte(byte) && at + 1 < line.size() &&
            IsTrailByte(static_cast<unsigned char>(line[at + 1]))) {
            ++at;  // the pair whole: its trail byte may be "]"
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t ContinuationStart(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1])) --end;
    if (end >= 2 && line[end - 1] == kUnderscore && line[end - 2] == kBlank) return end - 1;
    return line.size();
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

bool Token::IsWord(std::string_view word) const
{
    return kind == TokenKind::Identifier && !bracketed && typeCharacter == 0 && EqualsIgnoringCase(name, word);
}

bool EndsWithContinuation(std::string_view line)
{
    return ContinuationStart(line) < line.size();
}

std::size_t StringLiteralEnd(std::string_view line, std::size_t quote)
{
    std::size_t at = quote + 1;
    for (;;) {
        const std::size_t close = line.find(kQuote, at);
        if (close == std::string_view::npos) return line.size();
        if (close + 1 < line.size() && line[close + 1] == kQuote) {
            at = close + 2;  // a doubled quote inside the literal
            continue;
        }
        return close + 1;
    }
}

std::size_t CommentStart(std::string_view line)
{
    std::size_t at = line.find_first_of("\"'");
    while (at != std::string_view::npos) {
        if (line[at] == kApostrophe) return at;
        at = line.find_first_of("\"'", StringLiteralEnd(line, at));
    }
    return line.size();
}

LineLexer::LineLexer(std::string_view line, LexerOptions options)
    : line_(line), options_(options), continuation_(ContinuationStart(line))
{
    SkipBlanks();
}

void LineLexer::SkipBlanks()
{
    while (position_ < line_.size() && IsBlank(line_[position_])) ++position_;
}

std::size_t LineLexer::NameEnd(std::size_t from) const
{
    return NameEndIn(line_, from, options_.isLeadByte);
}

std::size_t LineLexer::CloseBracketAt(std::size_t from) const
{
    return CloseBracketIn(line_, from, options_.isLeadByte);
}

// Past a type character at from, which the token takes.
std::size_t LineLexer::TypeCharacterEnd(std::size_t from, Token& token) const
{
    if (from < line_.size() && IsTypeCharacter(line_[from])) {
        token.typeCharacter = line_[from];
        return from + 1;
    }
    return from;
}

bool LineLexer::Next(Token& token)
{
    if (position_ >= line_.size()) return false;
    if (position_ == continuation_) {
        position_ = line_.size();
        return false;
    }
    token = Token{};
    token.offset = position_;
    const std::size_t start = position_;
    const char c = line_[start];
    std::size_t end;
    const bool statementStart = statementStart_;
    statementStart_ = false;

    if (c == kApostrophe) {
        token.kind = TokenKind::Comment;
        end = line_.size();
    } else if (c == kQuote) {
        token.kind = TokenKind::String;
        end = StringLiteralEnd(line_, start);
        const bool closed = end - start >= 2 && line_[end - 1] == kQuote;
        token.name = line_.substr(start + 1, end - start - 1 - (closed ? 1 : 0));
    } else if (c == kOpenBracket) {
        token.kind = TokenKind::Identifier;
        token.bracketed = true;
        const std::size_t close = CloseBracketAt(start + 1);
        const std::size_t nameEnd = close == std::string_view::npos ? line_.size() : close;
        token.name = line_.substr(start + 1, nameEnd - start - 1);
        end = close == std::string_view::npos ? line_.size() : TypeCharacterEnd(close + 1, token);
    } else if (IsAsciiLetter(c) || IsNonAscii(c)) {
        token.kind = TokenKind::Identifier;
        const std::size_t nameEnd = NameEnd(start);
        token.name = line_.substr(start, nameEnd - start);
        end = TypeCharacterEnd(nameEnd, token);
        if (options_.remComments && statementStart && token.IsWord(kRemWord) &&
            (end == line_.size() || IsBlank(line_[end]))) {
            token = Token{TokenKind::Comment, {}, {}, false, 0, start};
            end = line_.size();
        }
    } else if (NumberAt(line_, start)) {
        token.kind = TokenKind::Number;
        end = NumberEnd(line_, start);
        if (IsTypeCharacter(line_[end - 1])) token.typeCharacter = line_[end - 1];
    } else if (c == kSeparator && !(start + 1 < line_.size() && line_[start + 1] == kAssignment)) {
        token.kind = TokenKind::Separator;
        end = start + 1;
        statementStart_ = true;
    } else {
        token.kind = TokenKind::Symbol;
        end = c == kSeparator ? start + 2 : start + 1;
    }
    // A token never runs into the continuation (an unclosed literal or
    // bracket, a comment: the " _" is theirs).
    token.text = line_.substr(start, end - start);
    if (token.kind == TokenKind::Number || token.kind == TokenKind::Symbol || token.kind == TokenKind::Separator ||
        token.kind == TokenKind::Comment) {
        token.name = token.text;
    }
    position_ = end;
    SkipBlanks();
    return true;
}

}  // namespace kolvane

namespace kolvane {

LineNames::LineNames(std::string_view line, LexerOptions options)
    : line_(line), options_(options), continuation_(ContinuationStart(line))
{
    while (position_ < line_.size() && IsBlank(line_[position_])) ++position_;
}

// The same reading as LineLexer::Next, token by token, keeping only what
// names something and where a comment begins.
LineNames::Read LineNames::Next()
{
    for (;;) {
        if (position_ >= line_.size() || position_ == continuation_) return {};
        const std::size_t start = position_;
        const char c = line_[start];
        const bool statementStart = statementStart_;
        const bool first = first_;
        statementStart_ = false;
        first_ = false;
        Read read;
        read.first = first;
        std::size_t end;
        if (c == kApostrophe) {
            read.kind = Kind::Comment;
            end = line_.size();
        } else if (c == kQuote) {
            // As StringLiteralEnd, byte by byte: most literals are short.
            read.kind = Kind::String;
            end = start + 1;
            bool closed = false;
            while (end < line_.size()) {
                if (line_[end++] != kQuote) continue;
                if (end < line_.size() && line_[end] == kQuote) {
                    ++end;  // a doubled quote inside the literal
                    continue;
                }
                closed = true;
                break;
            }
            read.text = line_.substr(start + 1, end - start - 1 - (closed ? 1 : 0));
        } else if (c == kOpenBracket) {
            read.kind = Kind::Name;
            const std::size_t close = CloseBracketIn(line_, start + 1, options_.isLeadByte);
            const std::size_t nameEnd = close == std::string_view::npos ? line_.size() : close;
            read.text = line_.substr(start + 1, nameEnd - start - 1);
            end = close == std::string_view::npos ? line_.size()
                  : close + 1 < line_.size() && IsTypeCharacter(line_[close + 1]) ? close + 2
                                                                                    : close + 1;
        } else if (IsAsciiLetter(c) || IsNonAscii(c)) {
            read.kind = Kind::Name;
            const std::size_t nameEnd = NameEndIn(line_, start, options_.isLeadByte);
            read.text = line_.substr(start, nameEnd - start);
            read.plain = !(nameEnd < line_.size() && IsTypeCharacter(line_[nameEnd]));
            end = read.plain ? nameEnd : nameEnd + 1;
            if (options_.remComments && statementStart && read.plain && EqualsIgnoringCase(read.text, kRemWord) &&
                (end == line_.size() || IsBlank(line_[end]))) {
                read = {Kind::Comment, {}, first, false};
                end = line_.size();
            }
        } else if (NumberAt(line_, start)) {
            end = NumberEnd(line_, start);
        } else if (c == kSeparator && !(start + 1 < line_.size() && line_[start + 1] == kAssignment)) {
            end = start + 1;
            statementStart_ = true;
        } else {
            end = c == kSeparator ? start + 2 : start + 1;
        }
        position_ = end;
        while (position_ < line_.size() && IsBlank(line_[position_])) ++position_;
        if (read.kind != Kind::End) return read;
    }
}

}  // namespace kolvane
