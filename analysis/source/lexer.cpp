#include "analysis/source/lexer.h"

#include "project/text/path_text.h"

#include <array>
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
// The words Visual Basic reserves: none of them labels a line ("Else:" is
// the Else of an If, "End:" an End statement).
constexpr std::string_view kReservedWords[] = {
    "And",    "As",         "ByRef",      "ByVal",  "Call",       "Case",     "Close", "Const",   "Declare",  "Dim",
    "Do",     "Each",       "Else",       "ElseIf", "Empty",      "End",      "Enum",  "Eqv",     "Erase",    "Error",
    "Event",  "Exit",       "False",      "For",    "Friend",     "Function", "Get",   "Global",  "GoSub",    "GoTo",
    "If",     "Imp",        "Implements", "In",     "Input",      "Is",       "Let",   "Like",    "Line",     "Lock",
    "Loop",   "LSet",       "Me",         "Mod",    "New",        "Next",     "Not",   "Nothing", "Null",     "On",
    "Open",   "Option",     "Optional",   "Or",     "ParamArray", "Preserve", "Print", "Private", "Property", "Public",
    "Put",    "RaiseEvent", "ReDim",      "Rem",    "Resume",     "Return",   "RSet",  "Seek",    "Select",   "Set",
    "Static", "Step",       "Stop",       "Sub",    "Then",       "To",       "True",  "Type",    "TypeOf",   "Unlock",
    "Until",  "Wend",       "While",      "With",   "WithEvents", "Write",    "Xor"};

bool IsBlank(char c) { return c == kBlank || c == kTab; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f'); }
bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }
// What a byte is to the lexer.
enum ByteClass : unsigned char {
    kOther,
    kBlankByte,
    kLetterByte,    // an ASCII letter
    kDigitByte,
    kUnderscoreByte,
    kHighByte,      // non-ASCII: a letter, maybe the lead byte of a double-byte character
    kTypeByte,      // a type character
};

constexpr std::array<ByteClass, 256> kByteClasses = [] {
    std::array<ByteClass, 256> table{};
    for (int c = 0; c < 256; ++c) {
        ByteClass kind = kOther;
        if (c == ' ' || c == '\t') kind = kBlankByte;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) kind = kLetterByte;
        if (c >= '0' && c <= '9') kind = kDigitByte;
        if (c == '_') kind = kUnderscoreByte;
        if (c >= 0x80) kind = kHighByte;
        for (const char type : kTypeCharacters) {
            if (c == static_cast<unsigned char>(type)) kind = kTypeByte;
        }
        table[static_cast<std::size_t>(c)] = kind;
    }
    return table;
}();

ByteClass ClassOf(char c) { return kByteClasses[static_cast<unsigned char>(c)]; }
bool IsTypeCharacter(char c) { return ClassOf(c) == kTypeByte; }

// Whether a line's first token, a number or a name neither bracketed nor
// typed (the name, empty for a number), labels the line when ":" follows.
bool IsLabel(std::string_view name)
{
    for (const std::string_view word : kReservedWords) {
        if (EqualsIgnoringCase(name, word)) return false;
    }
    return true;
}

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
    const std::size_t size = line.size();
    while (at < size) {
        const auto byte = static_cast<unsigned char>(line[at]);
        const ByteClass kind = kByteClasses[byte];
        if (kind == kLetterByte || kind == kDigitByte || kind == kUnderscoreByte) {
            ++at;
        } else if (kind == kHighByte) {
            const bool pair = isLeadByte != nullptr && isLeadByte(byte) && at + 1 < size &&
                              IsTrailByte(static_cast<unsigned char>(line[at + 1]));
            at += pair ? 2 : 1;
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
    const std::size_t first = line.find(kApostrophe);
    if (first == std::string_view::npos) return line.size();  // most lines
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == kApostrophe) return at;
        at = line[at] == kQuote ? StringLiteralEnd(line, at) : at + 1;
    }
    return line.size();
}

LineLexer::LineLexer(std::string_view line, LexerOptions options, LinePlace place)
    : line_(line), options_(options), continuation_(ContinuationStart(line)), mayLabel_(place == LinePlace::Begins)
{
    SkipBlanks();
}

void LineLexer::SkipBlanks()
{
    while (position_ < line_.size() && ClassOf(line_[position_]) == kBlankByte) ++position_;
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
    const std::size_t size = line_.size();
    if (position_ >= size) return false;
    if (position_ == continuation_) {
        position_ = size;
        return false;
    }
    const char* const data = line_.data();
    const std::size_t start = position_;
    const char c = data[start];
    const bool statementStart = statementStart_;
    const bool first = first_;
    const bool afterLabel = afterLabel_;
    statementStart_ = false;
    first_ = false;
    afterLabel_ = false;
    token.offset = start;
    token.bracketed = false;
    token.typeCharacter = 0;
    std::size_t end;
    std::size_t nameStart = start;
    std::size_t nameEnd = 0;  // 0: the name is the text

    switch (ClassOf(c)) {
    case kLetterByte:
    case kHighByte:
        token.kind = TokenKind::Identifier;
        nameEnd = NameEnd(start);
        end = TypeCharacterEnd(nameEnd, token);
        if (options_.remComments && statementStart && nameEnd - start == kRemWord.size() && token.typeCharacter == 0 &&
            EqualsIgnoringCase({data + start, nameEnd - start}, kRemWord) &&
            (end == size || ClassOf(data[end]) == kBlankByte)) {
            token.kind = TokenKind::Comment;
            end = size;
            nameEnd = 0;
        }
        break;
    case kDigitByte:
        token.kind = TokenKind::Number;
        end = start;
        while (end < size && (IsAsciiLetter(data[end]) || IsDigit(data[end]) || data[end] == '.')) ++end;
        end = TypeCharacterEnd(end, token);
        break;
    default:
        if (c == kApostrophe) {
            token.kind = TokenKind::Comment;
            end = size;
        } else if (c == kQuote) {
            token.kind = TokenKind::String;
            end = StringLiteralEnd(line_, start);
            const bool closed = end - start >= 2 && data[end - 1] == kQuote;
            nameStart = start + 1;
            nameEnd = closed ? end - 1 : end;
        } else if (c == kOpenBracket) {
            token.kind = TokenKind::Identifier;
            token.bracketed = true;
            const std::size_t close = CloseBracketAt(start + 1);
            nameStart = start + 1;
            nameEnd = close == std::string_view::npos ? size : close;
            end = close == std::string_view::npos ? size : TypeCharacterEnd(close + 1, token);
        } else if (c == kAmpersand && start + 2 < size &&
                   ((LowerAscii(data[start + 1]) == 'h' && IsHexDigit(data[start + 2])) ||
                    (LowerAscii(data[start + 1]) == 'o' && IsOctalDigit(data[start + 2])))) {
            token.kind = TokenKind::Number;
            end = start + 2;
            while (end < size && (IsAsciiLetter(data[end]) || IsDigit(data[end]) || data[end] == '.')) ++end;
            end = TypeCharacterEnd(end, token);
        } else if (c == kSeparator && !(start + 1 < size && data[start + 1] == kAssignment)) {
            token.kind = TokenKind::Separator;
            end = start + 1;
            statementStart_ = !(afterLabel && IsLabel(labelName_));
        } else {
            token.kind = TokenKind::Symbol;
            end = c == kSeparator ? start + 2 : start + 1;
        }
        break;
    }
    // A token never runs into the continuation (an unclosed literal or
    // bracket, a comment: the " _" is theirs).
    token.text = std::string_view(data + start, end - start);
    token.name = nameEnd != 0 ? std::string_view(data + nameStart, nameEnd - nameStart) : token.text;
    if (first && mayLabel_) {
        const bool name = token.kind == TokenKind::Identifier && !token.bracketed && token.typeCharacter == 0;
        afterLabel_ = name || token.kind == TokenKind::Number;
        labelName_ = name ? token.name : std::string_view();
    }
    position_ = end;
    SkipBlanks();
    return true;
}

}  // namespace kolvane

namespace kolvane {

LineNames::LineNames(std::string_view line, LexerOptions options, LinePlace place)
    : line_(line), options_(options), continuation_(ContinuationStart(line)), mayLabel_(place == LinePlace::Begins)
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
        const bool afterLabel = afterLabel_;
        statementStart_ = false;
        first_ = false;
        afterLabel_ = false;
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
        } else if (IsAsciiLetter(c) || static_cast<unsigned char>(c) >= 0x80) {
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
            afterLabel_ = first && mayLabel_ && read.kind == Kind::Name && read.plain;
            labelName_ = read.text;
        } else if (NumberAt(line_, start)) {
            end = NumberEnd(line_, start);
            afterLabel_ = first && mayLabel_;
            labelName_ = {};
        } else if (c == kSeparator && !(start + 1 < line_.size() && line_[start + 1] == kAssignment)) {
            end = start + 1;
            statementStart_ = !(afterLabel && IsLabel(labelName_));
        } else {
            end = c == kSeparator ? start + 2 : start + 1;
        }
        position_ = end;
        while (position_ < line_.size() && IsBlank(line_[position_])) ++position_;
        if (read.kind != Kind::End) return read;
    }
}

}  // namespace kolvane
