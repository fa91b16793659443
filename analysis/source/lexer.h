// The Visual Basic lexer: the tokens of one physical line of code. Every
// reader of code stands on it: the statement scan (procedure and Declare
// statements), the statement keys of the change counts, and the analyses
// that follow names through a project.
//
// - Blanks are the space and the tab; they separate tokens and are no token.
// - An identifier is a letter (an ASCII letter, or any non-ASCII character,
//   a double-byte character taken whole) followed by letters, digits, "_"
//   and non-ASCII characters, with an optional type character (% & ! # @ $);
//   "[...]" is one identifier (to the line's end when "]" is missing; a
//   double-byte character inside it is read whole, so its trail byte never
//   closes it), also with an optional type character after it.
// - A number begins with a digit, or is "&H" or "&O" (any case) followed by
//   a digit of its base; it runs over ASCII letters, digits and ".", plus one
//   type character.
// - A string literal runs from a double quote to the next one that is not
//   doubled ("" inside it is a quote), or to the line's end.
// - A comment runs from an apostrophe outside a string literal to the line's
//   end; with remComments, so does the word Rem (any case, not bracketed)
//   followed by a blank or the line's end, when it is the line's first token
//   or follows a ":" separator that begins a statement.
// - ":" is the statement separator, ":=" a symbol of its own. A ":" right
//   after a line label begins no statement: the label is the first token of
//   a line that begins a statement (not of one that continues the line
//   before), when that token is a number, or a name neither bracketed nor
//   typed that Visual Basic does not reserve ("Else:" is no label); a final " _"
//   (blanks and tabs may follow it) is the line's continuation and no token;
//   every other character is a symbol of one byte.
#pragma once

#include <cstddef>
#include <string_view>

namespace kolvane {

// Whether a byte begins a double-byte character in the source's code page;
// null for code pages without double-byte characters (or whose multibyte
// characters are made of bytes above 0x7F only, as UTF-8's are).
using LeadByteTest = bool (*)(unsigned char byte);

// ASCII letters in lower case, every other byte as it is.
constexpr char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal without regard to ASCII case.
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

enum class TokenKind { Identifier, Number, String, Comment, Separator, Symbol };

struct Token {
    TokenKind kind = TokenKind::Symbol;
    std::string_view text;  // as written: brackets, quotes and type character included
    std::string_view name;  // identifiers: without brackets and type character; strings: between the quotes
    bool bracketed = false;
    char typeCharacter = 0;  // 0 when there is none
    std::size_t offset = 0;  // where the token begins in the line

    // The identifier spelled word (ASCII case aside), neither bracketed nor
    // typed: how keywords are matched.
    bool IsWord(std::string_view word) const
    {
        return kind == TokenKind::Identifier && !bracketed && typeCharacter == 0 && EqualsIgnoringCase(name, word);
    }
};

struct LexerOptions {
    LeadByteTest isLeadByte = nullptr;
    bool remComments = false;
};

// Where a physical line stands in its statement: a statement's first line
// may begin with a line label; a line that a final " _" joins to the line
// before continues the statement, and its first token labels nothing.
enum class LinePlace { Begins, Continues };

class LineLexer {
public:
    LineLexer(std::string_view line, LexerOptions options, LinePlace place = LinePlace::Begins);

    // The next token; false at the line's end.
    bool Next(Token& token);
    // Where the next token is looked for.
    std::size_t Position() const { return position_; }
    // Whether the next token begins a statement: the line's first, or the
    // first after a ":" that is no line label's.
    bool AtStatementStart() const { return statementStart_; }

private:
    void SkipBlanks();
    std::size_t NameEnd(std::size_t from) const;
    std::size_t CloseBracketAt(std::size_t from) const;
    std::size_t TypeCharacterEnd(std::size_t from, Token& token) const;

    std::string_view line_;
    LexerOptions options_;
    std::size_t position_ = 0;
    std::size_t continuation_;  // where the final " _" stands (the line's size when there is none)
    bool statementStart_ = true;  // the next token is the line's first or follows a statement's ":"
    bool first_ = true;  // the next token is the line's first
    bool mayLabel_ = true;  // the line's first token may label it
    bool afterLabel_ = false;  // the token read last is the line's first, a number or a plain name
    std::string_view labelName_;  // that name (empty for a number)
};

// The names of one physical line as LineLexer reads them, without making
// its tokens: the readers that want only the names a line spells (and which
// line is a comment) take them from here, at a fraction of the cost.
class LineNames {
public:
    enum class Kind {
        Name,     // an identifier's name (brackets and type character aside)
        String,   // a string literal's text between its quotes
        Comment,  // a comment begins: the rest of the line is one
        End,      // the line's end (or its continuation)
    };
    struct Read {
        Kind kind = Kind::End;
        std::string_view text;
        bool first = false;  // the line's first token
        bool plain = false;  // a name neither bracketed nor typed: a keyword can be spelled so
    };

    LineNames(std::string_view line, LexerOptions options, LinePlace place = LinePlace::Begins);

    // The next name, string or comment, passing over numbers and symbols.
    Read Next();

private:
    std::string_view line_;
    LexerOptions options_;
    std::size_t position_ = 0;
    std::size_t continuation_;
    bool statementStart_ = true;
    bool first_ = true;
    bool mayLabel_ = true;
    bool afterLabel_ = false;
    std::string_view labelName_;
};

// Where the line's final " _" stands, its trailing blanks and tabs aside;
// the line's size when it has none.
std::size_t ContinuationStart(std::string_view line);

// Whether the line, its trailing blanks and tabs aside, ends in " _".
bool EndsWithContinuation(std::string_view line);

// Where the comment that ends the line begins: the first apostrophe outside
// a string literal; the line's size when there is none.
std::size_t CommentStart(std::string_view line);

// The end of the string literal whose opening quote stands at quote: past
// its closing quote, or the line's size when it is not closed. A doubled
// quote closes the literal and opens the next, which reads the same.
std::size_t StringLiteralEnd(std::string_view line, std::size_t quote);

}  // namespace kolvane
