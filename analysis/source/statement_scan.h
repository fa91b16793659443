// The statements of one module, as the step count sees them, with the
// procedures and API declarations they form. The extended outputs (per-file,
// per-procedure and per-declaration rows) and the comparison of two versions
// both stand on this one scan of a module's decoded text.
//
// How a module's text becomes statements:
// - The text is read in the step counter's pieces (LinePieces::Read(511):
//   at most 510 bytes up to and including an LF); a piece's text ends at its
//   first NUL and loses its LF. Every piece has the 1-based number of the
//   physical line it belongs to (lines end at LF only; a lone CR does not
//   end one); the pieces of a long line share that number.
// - Header kinds (every kind but bas) skip the pieces up to and including
//   the first that holds "Attribute VB_Exposed"; the header is the text up
//   to the end of that piece. Without such a piece the whole module is
//   header and has no statements.
// - Each later piece is classified as the step counter classifies it
//   (leading blanks removed; empty, "Option Explicit", "Option Private
//   Module" or one holding "Option Base"/"Option Compare": nothing; "'" first:
//   comment; holding " _": continued; otherwise a step).
// - A statement is a step piece together with the continued pieces just
//   before it. Continued pieces followed by a nothing or comment piece
//   belong to no statement.
#pragma once

#include "project/module_kind.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

struct StatementPiece {
    std::string_view text;  // as the counter sees it: up to the first NUL, no LF, leading blanks kept
    std::uint32_t line;     // 1-based physical line
};

struct Statement {
    std::uint32_t firstPiece;  // index into ModuleStatements::pieces
    std::uint32_t pieceCount;
    char initial = 0;  // the first byte after the leading blanks, in lower case; 0 when the first piece is blank
};

struct ModuleStatements {
    std::string_view header;        // header kinds: the text through the header-end piece
    bool headerEnded = false;       // header kinds: the "Attribute VB_Exposed" piece was found
    std::int32_t steps = 0;         // the step count's figures, the standard module's -1 included
    std::int32_t comments = 0;
    std::vector<StatementPiece> pieces;  // the pieces of statements only
    std::vector<Statement> statements;

    std::span<const StatementPiece> PiecesOf(const Statement& statement) const
    {
        return std::span<const StatementPiece>(pieces).subspan(statement.firstPiece, statement.pieceCount);
    }
};

// Scans a decoded module text (see ReadSourceText). The views point into text.
void ScanStatements(std::string_view text, ModuleKind kind, ModuleStatements& out);

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

// The procedures in file order (see the extended outputs' rules).
std::vector<Procedure> FindProcedures(const ModuleStatements& module);
// The Declare statements anywhere in the module, in file order.
std::vector<ApiDeclaration> FindApiDeclarations(const ModuleStatements& module);

// A statement's physical lines, each trimmed of blanks and tabs at both ends
// and of a trailing " _" (with the blanks before it), joined with one blank;
// the pieces of one line join without a blank.
std::string JoinStatementLines(std::span<const StatementPiece> pieces);

// Calls line(text, first) for each physical line of a statement's pieces,
// in order. A line that came in one piece is viewed where it stands; a line
// that came in several is joined in storage.
template <typename Line>
void ForEachStatementLine(std::span<const StatementPiece> pieces, std::string& storage, Line&& line)
{
    for (std::size_t i = 0; i < pieces.size();) {
        std::size_t next = i + 1;
        while (next < pieces.size() && pieces[next].line == pieces[i].line) ++next;
        std::string_view text = pieces[i].text;
        if (next > i + 1) {
            storage.clear();
            for (std::size_t j = i; j < next; ++j) storage.append(pieces[j].text);
            text = storage;
        }
        line(text, i == 0);
        i = next;
    }
}

}  // namespace kolvane
