// The scan of one module: its header, its statements as the step count sees
// them, the figures of the step count, and the procedures and API
// declarations the statements form. Every output stands on this one scan of
// a module's text.
//
// How a module's text becomes statements:
// - The text is read as stored (CR LF kept, see ReadRawText) in the step
//   counter's pieces (RawLinePieces::Read(511): at most 510 bytes of a line,
//   CR LF counting as the line end); a piece's text ends at its first NUL.
//   Every piece belongs to a 1-based physical line (lines end at LF only; a
//   lone CR does not end one); the pieces of a long line share its number.
// - Header kinds (every kind but bas) skip the pieces up to and including
//   the first that holds "Attribute VB_Exposed"; the header is the text up to
//   the end of that piece, the code the rest. Without such a piece the whole
//   module is header and has no statements.
// - Each later piece is classified as the step counter classifies it
//   (PieceClassifier): nothing, comment, continued or step.
// - A statement is a step piece together with the continued pieces just
//   before it. Continued pieces followed by a nothing or comment piece belong
//   to no statement. A statement is kept as the stretch of text its pieces
//   cover; its pieces are read again from there when they are needed.
#pragma once

#include "analysis/source/lexer.h"
#include "project/model/module_kind.h"
#include "project/text/source_text.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// The counter's pieces: reads of at most 510 bytes up to and including LF.
inline constexpr std::size_t kCounterReadSize = 511;
static_assert(kCounterReadSize <= 0xFFFF, "a piece's length is kept in 16 bits");

struct Statement {
    std::size_t begin = 0;    // where its first piece begins in the text
    std::size_t end = 0;      // where the reads stood after its last piece
    std::uint32_t line = 0;   // the physical line of its first piece
    std::uint32_t lastLine = 0;  // the physical line of its last piece
    // Its first piece (as the reads give it) is the text's firstLength bytes
    // from begin; firstEndsLine: that piece took its line's newline.
    std::uint16_t firstLength = 0;
    bool firstEndsLine = false;
    // The first two bytes after the leading blanks, ASCII letters in lower
    // case; zeros when the first piece is blank. The searches for procedures
    // and declarations pass over the statements that cannot open with their
    // words.
    std::array<char, 2> opening{};
};

struct ModuleScan {
    std::string_view text;       // the module as stored (see ReadRawText)
    bool holdsNul = false;       // the text holds a NUL
    std::size_t codeStart = 0;   // where the code begins: past the header of a header kind
    std::uint32_t codeLine = 1;  // the physical line at codeStart
    bool headerEnded = false;    // header kinds: the "Attribute VB_Exposed" piece was found
    std::int32_t steps = 0;      // the step count's figures, the standard module's -1 included
    std::int32_t comments = 0;
    std::vector<Statement> statements;

    // Header kinds: the text through the header-end piece (the whole text
    // when there is none); empty for a standard module.
    std::string_view Header() const { return text.substr(0, codeStart); }
};

// What a scan keeps: the figures and the header alone, or the statements too.
enum class ScanRecord { Figures, Statements };

// Scans a module's text as stored. The scan views the text; it is used
// again for the next module, for its memory.
void ScanModule(std::string_view text, bool holdsNul, ModuleKind kind, ModuleScan& out,
                ScanRecord record = ScanRecord::Statements);

enum class ProcedureKind { Sub, Function, PropertyGet, PropertyLet, PropertySet };
enum class Scope { Public, Private, Friend };

// "Sub", "Function", "Property Get", ...; "Public", "Private", "Friend".
std::string_view ProcedureKindText(ProcedureKind kind);
std::string_view ScopeText(Scope scope);

struct Procedure {
    ProcedureKind kind;
    std::string name;              // source bytes (code page of the source)
    Scope scope;                   // Public when none is written
    std::uint32_t line;            // first physical line of the declaration statement
    std::uint32_t firstStatement;  // the declaration statement
    std::uint32_t lastStatement;   // its End statement (inclusive), or the module's last statement
    std::int32_t Steps() const { return static_cast<std::int32_t>(lastStatement - firstStatement + 1); }
};

struct ApiDeclaration {
    ProcedureKind kind;  // Sub or Function
    std::string name;
    Scope scope;
    std::string library;  // empty when there is no Lib "..."
    std::string alias;    // empty when there is no Alias "..."
    std::uint32_t line;
    std::uint32_t statement;
    std::string declaration;
};

// A procedure runs from a Sub, Function or Property Get|Let|Set statement
// (a scope and Static may stand before) to the next End Sub|Function|Property
// statement, or to the end of the module; one whose declaration statement
// holds ": End Sub" (Function, Property) is whole on that statement. In file
// order.
std::vector<Procedure> FindProcedures(const ModuleScan& module);
// The Declare statements anywhere in the module, in file order.
std::vector<ApiDeclaration> FindApiDeclarations(const ModuleScan& module);

// Procedures and declarations of modules read before, kept for the memory
// of their texts: the next module's take it over instead of allocating.
struct DeclarationSpares {
    std::vector<Procedure> procedures;
    std::vector<ApiDeclaration> apis;

    // Takes over the objects of the lists, which are left empty.
    void Keep(std::vector<Procedure>& procedures, std::vector<ApiDeclaration>& apis);
};

// The same into empty lists, with objects taken from the spares: the
// procedures, or both in one walk over the statements.
void FindProcedures(const ModuleScan& module, std::vector<Procedure>& procedures, DeclarationSpares& spares);
void FindProceduresAndApis(const ModuleScan& module, std::vector<Procedure>& procedures,
                           std::vector<ApiDeclaration>& apis, DeclarationSpares& spares);

// The pieces of a statement, read again over the text: calls
// piece(text, line) for each, in order.
template <typename Piece>
void ForEachStatementPiece(const ModuleScan& module, const Statement& statement, Piece&& piece)
{
    RawLinePieces reads(module.text, module.holdsNul, statement.begin);
    std::uint32_t line = statement.line;
    while (reads.Position() < statement.end) {
        const LinePiece read = reads.Read(kCounterReadSize);
        piece(read.text, line);
        if (read.endsLine) ++line;
    }
}

// The physical lines of a statement, in order: the texts of its pieces on
// each line, put together. A line is viewed where it stands unless a NUL cut
// one of its pieces short; it is joined in storage then.
class StatementLines {
public:
    StatementLines(const ModuleScan& module, const Statement& statement, std::string& storage)
        : reads_(module.text, module.holdsNul, statement.begin), end_(statement.end), holdsNul_(module.holdsNul),
          storage_(storage), number_(statement.line),
          onePiece_(statement.firstEndsLine && statement.line == statement.lastLine)
    {
        if (onePiece_) single_ = module.text.substr(statement.begin, statement.firstLength);
    }

    // The next line and its number; false after the last.
    bool Next(std::string_view& line, std::uint32_t& number)
    {
        if (onePiece_) {  // most statements: one line, its piece known from the scan
            if (singleRead_) return false;
            singleRead_ = true;
            number = number_;
            line = single_;
            return true;
        }
        if (reads_.Position() >= end_) return false;
        number = number_++;
        LinePiece read = reads_.Read(kCounterReadSize);
        if (read.endsLine || reads_.Position() >= end_) {
            line = read.text;
            return true;
        }
        const char* begin = read.text.data();
        if (holdsNul_) storage_.assign(read.text);
        while (!read.endsLine && reads_.Position() < end_) {
            read = reads_.Read(kCounterReadSize);
            if (holdsNul_) storage_.append(read.text);
        }
        line = holdsNul_ ? std::string_view(storage_)
                         : std::string_view(begin, static_cast<std::size_t>(read.text.data() + read.text.size() - begin));
        return true;
    }

private:
    RawLinePieces reads_;
    std::size_t end_;
    bool holdsNul_;
    std::string& storage_;
    std::uint32_t number_;
    bool onePiece_;
    bool singleRead_ = false;
    std::string_view single_;
};

// Calls line(text, number, first) for each physical line of a statement, in
// order (see StatementLines).
template <typename Line>
void ForEachStatementLine(const ModuleScan& module, const Statement& statement, std::string& storage, Line&& line)
{
    StatementLines lines(module, statement, storage);
    std::string_view text;
    std::uint32_t number = 0;
    for (bool first = true; lines.Next(text, number); first = false) line(text, number, first);
}

// The first piece of a statement.
std::string_view FirstPiece(const ModuleScan& module, const Statement& statement);

// The first physical line of a statement (see ForEachStatementLine).
std::string_view FirstStatementLine(const ModuleScan& module, const Statement& statement, std::string& storage);

// A statement's physical lines, each trimmed of blanks and tabs at both ends
// and of a trailing " _" (with the blanks before it), joined with one blank.
std::string JoinStatementLines(const ModuleScan& module, const Statement& statement);
// The same into joined, replacing what it held.
void JoinStatementLines(const ModuleScan& module, const Statement& statement, std::string& joined);

// A procedure's declaration as the tables show it: the lines of its
// declaration statement joined so, into joined.
inline void JoinDeclaration(const ModuleScan& module, const Procedure& procedure, std::string& joined)
{
    JoinStatementLines(module, module.statements[procedure.firstStatement], joined);
}

}  // namespace kolvane
