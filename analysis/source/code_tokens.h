// The code of a module as the analyses that follow names and constructs
// read it: every physical line after the header, grouped into statements and
// lexed line by line.
//
// - The code is the text after the header of a header kind (see ScanModule),
//   the whole text of a standard module.
// - Statements are those of the scan, continued lines included; a line that
//   belongs to no statement of the scan (a comment line, a blank or Option
//   line, a continued line whose statement never came) is a statement of its
//   own; statements of the scan that share a physical line (a line longer
//   than the counter's read) are one, lexed as that line, whole.
// - Comments: an apostrophe outside a string literal, or Rem (any case)
//   followed by a blank or the line's end as the first word of a physical
//   line or right after a ":" separator, runs to the end of its physical
//   line, and on to the next line only when the line ends in " _" (blanks
//   and tabs may follow it).
// - The first word of a statement: the first token of a statement's first
//   line, the first token after a ":" separator, the first token after Then
//   when tokens follow that Then in the statement (a single-line If), and the
//   first token after an Else that follows such a Then. A line number or a
//   label before a statement is its first word; the word after it is not.
// - A line whose first token is the word Attribute (any case) is an
//   attribute line: its tokens are marked, and most readers pass over them.
#pragma once

#include "analysis/source/lexer.h"
#include "analysis/source/module_scan.h"

#include "project/text/path_text.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kolvane {

struct CodeToken {
    Token token;  // comments included, as TokenKind::Comment
    std::uint32_t line = 0;     // its physical line
    bool firstWord = false;     // the first word of a statement
    bool attributeLine = false; // it stands on an attribute line
};

struct CodeStatement {
    std::uint32_t firstLine = 0;  // the physical line it begins on; its region is decided by this line
    std::uint32_t lastLine = 0;
};

// Reads a module's code statement by statement. visitor.Statement(statement)
// is called before the statement's tokens, visitor.Token(token) for each of
// them, in order. Token texts view the module's text.
template <typename Visitor>
void ReadCode(const ModuleScan& module, LeadByteTest isLeadByte, Visitor& visitor);

// A physical line of the code where reading can begin as if from the start:
// no statement and no comment of an earlier line goes on into it. The first
// line of the code is one, and so is every line after a line that holds no
// " _".
struct CodeLine {
    std::size_t offset = 0;  // where it begins in the module's text
    std::uint32_t number = 0;
};

// The first line of the code.
CodeLine FirstCodeLine(const ModuleScan& module);

// Reads stretches of a module's code exactly as ReadCode reads those lines,
// front to back: the lines between the stretches are passed over unread.
class CodeReader;

// Where the reading of the line that holds the byte at offset (line number)
// begins: that line, or the first of the lines before it that " _" joins to
// it; never before the line floor.
CodeLine ReadingStart(const ModuleScan& module, std::size_t offset, std::uint32_t number, CodeLine floor);

// Calls word(text) for every maximal run of identifier characters (letters,
// digits, "_", and non-ASCII characters, a double-byte character whole) in
// the text of a string literal: the words of a string.
template <typename Word>
void ForEachStringWord(std::string_view literal, LeadByteTest isLeadByte, Word&& word);

// The physical lines of a stretch of text, from its first byte: calls
// line(text, number) with each line's text without its line end (LF, or CR
// LF), numbered from first on.
template <typename Line>
void ForEachPhysicalLine(std::string_view text, std::uint32_t first, Line&& line);

// --- implementation ----------------------------------------------------------

namespace code_tokens {

// The last lines of the scan's statements, merged where they share a line,
// asked for front to back.
class StatementRanges {
public:
    explicit StatementRanges(const ModuleScan& module) : module_(module) {}

    // The last line of the statement of the code that begins on line number
    // (which no earlier statement reaches): the last line of the statements
    // of the scan that hold it, or the line itself when none does.
    std::uint32_t LastLine(std::uint32_t number);

private:
    std::uint32_t LastLineOf(std::size_t statement) const;

    const ModuleScan& module_;
    std::size_t next_ = 0;  // the next statement of the scan not yet in a range
    bool held_ = false;  // first_ and last_ hold a range
    std::uint32_t first_ = 0;
    std::uint32_t last_ = 0;
};

// Reads the tokens of one line as part of a statement, keeping what carries
// from token to token and from line to line: a comment continued, the first
// words.
class LineReader {
public:
    explicit LineReader(LeadByteTest isLeadByte) : options_{isLeadByte, true} {}

    // The line read last ends in a comment that goes on to the next line.
    bool CommentGoesOn() const { return commentGoesOn_; }

    void BeginStatement()
    {
        nextIsFirst_ = true;
        afterThen_ = false;
        thenWithTokens_ = false;
    }

    template <typename Visitor>
    void Line(std::string_view text, std::uint32_t number, Visitor& visitor)
    {
        CodeToken code;
        code.line = number;
        if (commentGoesOn_) {  // the whole line is the comment continued
            commentGoesOn_ = EndsWithContinuation(text);
            code.token = Token{TokenKind::Comment, text, text, false, 0, 0};
            visitor.Token(code);
            return;
        }
        LineLexer lexer(text, options_);
        bool firstOfLine = true;
        while (lexer.Next(code.token)) {
            const Token& token = code.token;
            if (firstOfLine) code.attributeLine = token.IsWord(kAttributeWord);
            firstOfLine = false;
            if (token.kind == TokenKind::Comment) {
                commentGoesOn_ = EndsWithContinuation(text);
                code.firstWord = false;
                visitor.Token(code);
                return;
            }
            thenWithTokens_ = thenWithTokens_ || afterThen_;  // a token follows Then: a single-line If
            afterThen_ = token.IsWord(kThenWord);
            code.firstWord = nextIsFirst_;
            nextIsFirst_ = token.kind == TokenKind::Separator || afterThen_ ||
                           (token.IsWord(kElseWord) && thenWithTokens_);
            visitor.Token(code);
        }
    }

private:
    static constexpr std::string_view kAttributeWord = "Attribute";
    static constexpr std::string_view kThenWord = "Then";
    static constexpr std::string_view kElseWord = "Else";

    LexerOptions options_;
    bool commentGoesOn_ = false;
    bool nextIsFirst_ = true;
    bool afterThen_ = false;
    bool thenWithTokens_ = false;
};

}  // namespace code_tokens

template <typename Line>
void ForEachPhysicalLine(std::string_view text, std::uint32_t first, Line&& line)
{
    std::uint32_t number = first;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view current = text.substr(0, end);
        if (end != std::string_view::npos && current.ends_with('\r')) current.remove_suffix(1);
        line(current, number++);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

class CodeReader {
public:
    CodeReader(const ModuleScan& module, LeadByteTest isLeadByte)
        : module_(module), isLeadByte_(isLeadByte), ranges_(module)
    {
    }

    // Reads from the line from through the line that holds the byte at
    // through, and on to the next line where reading can begin, which it
    // returns (at the text's end: its size, and the number a next line would
    // have). Each stretch begins at or after the line the one before ended.
    template <typename Visitor>
    CodeLine Read(CodeLine from, std::size_t through, Visitor& visitor)
    {
        const std::string_view text = module_.text;
        code_tokens::LineReader reader(isLeadByte_);
        CodeLine line = from;
        std::uint32_t statementEnd = 0;  // the last line of the statement being read; 0 before the first
        while (line.offset < text.size()) {
            if (line.number > statementEnd) {
                // Past the line asked for, the first line that begins afresh ends the stretch.
                if (line.offset > through && !reader.CommentGoesOn()) break;
                const CodeStatement statement{line.number, ranges_.LastLine(line.number)};
                statementEnd = statement.lastLine;
                reader.BeginStatement();
                visitor.Statement(statement);
            }
            const std::size_t end = text.find('\n', line.offset);
            std::string_view current = text.substr(line.offset, end - line.offset);
            if (end != std::string_view::npos && current.ends_with('\r')) current.remove_suffix(1);
            reader.Line(current, line.number, visitor);
            line.offset = end == std::string_view::npos ? text.size() : end + 1;
            ++line.number;
        }
        return line;
    }

private:
    const ModuleScan& module_;
    LeadByteTest isLeadByte_;
    code_tokens::StatementRanges ranges_;
};

template <typename Visitor>
void ReadCode(const ModuleScan& module, LeadByteTest isLeadByte, Visitor& visitor)
{
    CodeReader(module, isLeadByte).Read(FirstCodeLine(module), std::string_view::npos, visitor);
}

template <typename Word>
void ForEachStringWord(std::string_view literal, LeadByteTest isLeadByte, Word&& word)
{
    const auto isWordByte = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               static_cast<unsigned char>(c) >= 0x80;
    };
    std::size_t at = 0;
    while (at < literal.size()) {
        if (!isWordByte(literal[at])) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        while (at < literal.size() && isWordByte(literal[at])) {
            const auto byte = static_cast<unsigned char>(literal[at]);
            const bool pair = byte >= 0x80 && isLeadByte != nullptr && isLeadByte(byte) && at + 1 < literal.size() &&
                              IsTrailByte(static_cast<unsigned char>(literal[at + 1]));
            at += pair ? 2 : 1;
        }
        word(literal.substr(start, at - start));
    }
}

}  // namespace kolvane
