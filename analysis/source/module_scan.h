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

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// The counter's pieces: reads of at most 510 bytes up to and including LF.
inline constexpr std::size_t kCounterReadSize = 511;

struct Statement {
    std::size_t begin = 0;    // where its first piece begins in the text
    std::size_t end = 0;      // where the reads stood after its last piece
    std::uint32_t line = 0;   // the physical line of its first piece
    std::uint32_t lastLine = 0;  // the physical line of its last piece
    char initial = 0;  // the first byte after the leading blanks, in lower case; 0 when the first piece is blank
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

// Scans a module's text as stored. The scan views the text; it is used
// again for the next module, for its memory.
void ScanModule(std::string_view text, bool holdsNul, ModuleKind kind, ModuleScan& out);

enum class ProcedureKind { Sub, Function, PropertyGet, PropertyLet, PropertySet };
enum class Scope { Public, Private, Friend };

// "Sub", "Function", "Property Get", ...; "Public", "Private", "Friend".
std::string_view ProcedureKindText(ProcedureKind kind);
std::string_view ScopeText(Scope scope);

struct Procedure {
    ProcedureKind kind;
    std::string name;         // source bytes (code page of the source)
    Scope scope;              // Public when none is written
    std::uint32_t line;       // first physical line of the declaration statement
    std::uint32_t firstStatement;  // the declaration statement
    std::uint32_t lastStatement;   // its End statement (inclusive), or the module's last statement
    std::string declaration;  // the declaration's lines, trimmed, " _" removed, joined with one blank
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

// Calls line(text, number, first) for each physical line of a statement, in
// order: the texts of its pieces on that line, put together. A line is
// viewed where it stands unless a NUL cut one of its pieces short; it is
// joined in storage then.
template <typename Line>
void ForEachStatementLine(const ModuleScan& module, const Statement& statement, std::string& storage, Line&& line)
{
    RawLinePieces reads(module.text, module.holdsNul, statement.begin);
    std::uint32_t number = statement.line;
    bool first = true;
    while (reads.Position() < statement.end) {
        LinePiece read = reads.Read(kCounterReadSize);
        const char* begin = read.text.data();
        std::size_t pieces = 1;
        bool joined = false;
        while (!read.endsLine && reads.Position() < statement.end) {
            if (pieces == 1 && module.holdsNul) storage.assign(read.text);
            read = reads.Read(kCounterReadSize);
            ++pieces;
            if (module.holdsNul) {
                storage.append(read.text);
                joined = true;
            }
        }
        const char* end = read.text.data() + read.text.size();
        line(joined ? std::string_view(storage) : std::string_view(begin, static_cast<std::size_t>(end - begin)),
             number, first);
        first = false;
        ++number;
    }
}

// The first piece of a statement.
std::string_view FirstPiece(const ModuleScan& module, const Statement& statement);

// The first physical line of a statement (see ForEachStatementLine).
std::string_view FirstStatementLine(const ModuleScan& module, const Statement& statement, std::string& storage);

// A statement's physical lines, each trimmed of blanks and tabs at both ends
// and of a trailing " _" (with the blanks before it), joined with one blank.
std::string JoinStatementLines(const ModuleScan& module, const Statement& statement);

}  // namespace kolvane
