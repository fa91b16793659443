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
//   label ("Retry:") before a statement is its first word; the word after it
//   is not, and a Rem there starts no comment (see LineLexer).
// - A line whose first token is the word Attribute (any case) is an
//   attribute line: its tokens are marked, and most readers pass over them.
#pragma once

#include "analysis/source/lexer.h"
#include "analysis/source/module_scan.h"

#include "project/text/path_text.h"

#include <cstdint>
#include <string_view>
#include <type_traits>
#include <utility>
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
    std::uint32_t steps = 0;  // the scan's statements it holds (its counted steps); 0 for a line of its own
};

// Reads a module's code statement by statement. visitor.Statement(statement)
// is called before the statement's tokens, visitor.Token(token) for each of
// them, in order. Token texts view the module's text.
//
// A visitor that wants only the names of some statements returns false from
// Statement for them: visitor.Name(text) is then called for each name the
// statement's tokens would spell (an identifier's name, each word of a
// string), in order, comments and attribute lines aside; the tokens of its
// attribute lines still come to visitor.Token. A visitor with a member
// NameLine(text, number, reader) is given those lines instead, to read them
// with reader.Names or to replay what it remembers of an equal line (see
// LineReader::CommentGoesOn).
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

// The physical line ranges of the scan's statements, merged where they
// share a line: the statements of the code, lines of their own aside.
struct LineRange {
    std::uint32_t first;
    std::uint32_t last;
    std::uint32_t statements;  // the scan's statements merged into it
};

// The ranges, asked for lines front to back; the lines between stretches
// read may be passed over.
class StatementRanges {
public:
    explicit StatementRanges(const ModuleScan& module) : statements_(module.statements) {}

    // The range holding the line; null when none does.
    const LineRange* At(std::uint32_t line);

private:
    const std::vector<Statement>& statements_;
    std::size_t next_ = 0;  // the next statement of the scan not yet in a range
    LineRange current_{};
    bool held_ = false;  // current_ holds a range
};

// Reads the tokens of one line as part of a statement, keeping what carries
// from token to token and from line to line: a comment continued, the first
// words.
class LineReader {
public:
    explicit LineReader(LeadByteTest isLeadByte) : options_{isLeadByte, true} {}

    void BeginStatement()
    {
        place_ = LinePlace::Begins;
        nextIsFirst_ = true;
        afterThen_ = false;
        thenWithTokens_ = false;
    }

    template <typename Visitor>
    void Line(std::string_view text, std::uint32_t number, Visitor& visitor)
    {
        const LinePlace place = std::exchange(place_, LinePlace::Continues);
        CodeToken code;
        code.line = number;
        if (commentGoesOn_) {  // the whole line is the comment continued
            commentGoesOn_ = EndsWithContinuation(text);
            code.token = Token{TokenKind::Comment, text, text, false, 0, 0};
            visitor.Token(code);
            return;
        }
        LineLexer lexer(text, options_, place);
        bool firstOfLine = true;
        while (lexer.Next(code.token)) {
            const Token& token = code.token;
            if (firstOfLine) code.attributeLine = token.IsWord(kAttributeWord);
            firstOfLine = false;
            if (token.kind == TokenKind::Comment) {
                // The comment ends the line; the statement's lines after it
                // begin no statement.
                commentGoesOn_ = EndsWithContinuation(text);
                code.firstWord = false;
                nextIsFirst_ = false;
                visitor.Token(code);
                return;
            }
            thenWithTokens_ = thenWithTokens_ || afterThen_;  // a token follows Then: a single-line If
            afterThen_ = token.IsWord(kThenWord);
            code.firstWord = nextIsFirst_;
            nextIsFirst_ = (token.kind == TokenKind::Separator && lexer.AtStatementStart()) || afterThen_ ||
                           (token.IsWord(kElseWord) && thenWithTokens_);
            visitor.Token(code);
        }
    }

    // Whether the next line is the comment of the line before, continued,
    // and whether it continues its statement (see LinePlace). What a line
    // leaves here, and the names it spells, depend on its text alone when
    // it is neither.
    bool CommentGoesOn() const { return commentGoesOn_; }
    bool NextLineContinues() const { return place_ == LinePlace::Continues; }
    // A line read elsewhere stands for the next line: what it left.
    void Replayed(bool commentGoesOn)
    {
        place_ = LinePlace::Continues;
        commentGoesOn_ = commentGoesOn;
    }

    // The names of one line, as the tokens Line would give spell them (see
    // ReadCode): visitor.Name(text) for each; an attribute line goes to Line.
    template <typename Visitor>
    void Names(std::string_view text, std::uint32_t number, Visitor& visitor)
    {
        const LinePlace place = std::exchange(place_, LinePlace::Continues);
        if (commentGoesOn_) {  // the whole line is the comment continued
            commentGoesOn_ = EndsWithContinuation(text);
            return;
        }
        LineNames names(text, options_, place);
        for (;;) {
            const LineNames::Read read = names.Next();
            switch (read.kind) {
            case LineNames::Kind::End:
                return;
            case LineNames::Kind::Comment:
                commentGoesOn_ = EndsWithContinuation(text);
                return;
            case LineNames::Kind::String:
                ForEachStringWord(read.text, options_.isLeadByte, [&](std::string_view word) { visitor.Name(word); });
                break;
            case LineNames::Kind::Name:
                if (read.first && read.plain && EqualsIgnoringCase(read.text, kAttributeWord)) {
                    place_ = place;
                    Line(text, number, visitor);
                    return;
                }
                if (!read.text.empty()) visitor.Name(read.text);
                break;
            }
        }
    }

private:
    static constexpr std::string_view kAttributeWord = "Attribute";
    static constexpr std::string_view kThenWord = "Then";
    static constexpr std::string_view kElseWord = "Else";

    LexerOptions options_;
    LinePlace place_ = LinePlace::Begins;  // of the next line
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
    // The visitor is as ReadCode's.
    template <typename Visitor>
    CodeLine Read(CodeLine from, std::size_t through, Visitor& visitor)
    {
        constexpr bool kMayAskNames =
            std::is_same_v<decltype(visitor.Statement(std::declval<CodeStatement>())), bool>;
        bool names = false;  // the statement being read is read for its names
        const std::string_view text = module_.text;
        code_tokens::LineReader reader(isLeadByte_);
        CodeLine line = from;
        std::uint32_t statementEnd = 0;  // the last line of the statement being read; 0 before the first
        while (line.offset < text.size()) {
            if (line.number > statementEnd) {
                // Past the line asked for, the first line that begins afresh ends the stretch.
                if (line.offset > through && !reader.CommentGoesOn()) break;
                CodeStatement statement{line.number, line.number, 0};
                if (const code_tokens::LineRange* range = ranges_.At(line.number)) {
                    statement.lastLine = range->last;
                    statement.steps = range->statements;
                }
                statementEnd = statement.lastLine;
                reader.BeginStatement();
                if constexpr (kMayAskNames) {
                    names = !visitor.Statement(statement);
                } else {
                    visitor.Statement(statement);
                }
            }
            const std::size_t end = text.find('\n', line.offset);
            std::string_view current = text.substr(line.offset, end - line.offset);
            if (end != std::string_view::npos && current.ends_with('\r')) current.remove_suffix(1);
            ReadLine(current, line.number, names, reader, visitor);
            line.offset = end == std::string_view::npos ? text.size() : end + 1;
            ++line.number;
        }
        return line;
    }

private:
    template <typename Visitor>
    static void ReadLine(std::string_view text, std::uint32_t number, bool names, code_tokens::LineReader& reader,
                         Visitor& visitor)
    {
        if constexpr (std::is_same_v<decltype(visitor.Statement(std::declval<CodeStatement>())), bool>) {
            if (names) {
                if constexpr (requires { visitor.NameLine(text, number, reader); }) {
                    visitor.NameLine(text, number, reader);
                } else {
                    reader.Names(text, number, visitor);
                }
                return;
            }
        }
        reader.Line(text, number, visitor);
    }

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
