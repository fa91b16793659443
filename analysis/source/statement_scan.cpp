#include "analysis/source/statement_scan.h"

#include "analysis/source/code_page.h"
#include "analysis/source/step_counter.h"
#include "project/path_text.h"
#include "project/source_text.h"
#include "project/strings.h"

#include <array>
#include <optional>

namespace kolvane {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kBlank = ' ';
constexpr char kTab = '\t';
constexpr char kQuote = '"';
constexpr char kCommentMark = '\'';
constexpr char kStatementSeparator = ':';
constexpr char kUnderscore = '_';

constexpr std::string_view kContinuation = " _";
constexpr std::int32_t kStandardModuleStepsAfterLastLine = -1;

constexpr std::string_view kStaticWord = "Static";
constexpr std::string_view kSubWord = "Sub";
constexpr std::string_view kFunctionWord = "Function";
constexpr std::string_view kPropertyWord = "Property";
constexpr std::string_view kGetWord = "Get";
constexpr std::string_view kLetWord = "Let";
constexpr std::string_view kSetWord = "Set";
constexpr std::string_view kEndWord = "End";
constexpr std::string_view kDeclareWord = "Declare";
constexpr std::string_view kPtrSafeWord = "PtrSafe";
constexpr std::string_view kLibWord = "Lib";
constexpr std::string_view kAliasWord = "Alias";

constexpr std::array<std::string_view, 5> kProcedureKindTexts = {"Sub", "Function", "Property Get", "Property Let",
                                                                 "Property Set"};
constexpr std::array<std::string_view, 3> kScopeTexts = {"Public", "Private", "Friend"};
// The initials, in lower case, of the words a procedure start (a scope,
// Static, Sub, Function, Property) and a Declare statement (a scope,
// Declare) can begin with.
constexpr std::string_view kProcedureStartInitials = "pfs";
constexpr std::string_view kDeclareInitials = "pfd";
constexpr std::string_view kEndInitial = "e";

std::string_view WithoutLineFeed(std::string_view piece)
{
    if (piece.ends_with(kLineFeed)) piece.remove_suffix(1);
    return piece;
}

// A piece as the counter sees it: up to its first NUL, without its LF.
std::string_view UpToNul(std::string_view piece)
{
    return piece.substr(0, piece.find('\0'));
}

bool IsBlank(char c)
{
    return c == kBlank || c == kTab;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsNonAscii(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameCharacter(char c)
{
    return IsAsciiLetter(c) || IsDigit(c) || c == kUnderscore || IsNonAscii(c);
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char InitialOf(std::string_view firstPiece)
{
    for (const char c : firstPiece) {
        if (!IsBlank(c)) return LowerAscii(c);
    }
    return 0;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

// Reads a statement's words from the front: keywords without regard to case,
// each ending where no name character follows.
class WordReader {
public:
    explicit WordReader(std::string_view text) : text_(text) { SkipBlanks(); }

    // Takes the keyword when it is the next word.
    bool Take(std::string_view keyword)
    {
        const std::string_view rest = text_.substr(position_);
        if (rest.size() < keyword.size() || !EqualsIgnoringCase(rest.substr(0, keyword.size()), keyword)) {
            return false;
        }
        if (rest.size() > keyword.size() && IsNameCharacter(rest[keyword.size()])) return false;
        position_ += keyword.size();
        SkipBlanks();
        return true;
    }

    // The first of the keywords that is the next word.
    template <std::size_t N>
    std::optional<std::size_t> TakeOneOf(const std::array<std::string_view, N>& keywords)
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (Take(keywords[i])) return i;
        }
        return std::nullopt;
    }

    // A name: a letter (or a non-ASCII character, a Shift_JIS pair whole),
    // then letters, digits and underscores. Empty when none stands here.
    std::string_view TakeName()
    {
        const std::size_t start = position_;
        if (AtEnd() || !(IsAsciiLetter(text_[position_]) || IsNonAscii(text_[position_]))) return {};
        while (!AtEnd() && IsNameCharacter(text_[position_])) {
            if (IsShiftJisLeadByte(static_cast<unsigned char>(text_[position_])) && position_ + 1 < text_.size() &&
                IsTrailByte(static_cast<unsigned char>(text_[position_ + 1]))) {
                ++position_;  // the pair is one character
            }
            ++position_;
        }
        return text_.substr(start, position_ - start);
    }

    // Skips whatever stands up to the next blank (a type character, say).
    void SkipToBlank()
    {
        while (!AtEnd() && !IsBlank(text_[position_])) ++position_;
        SkipBlanks();
    }

    // A string literal: the text up to the next double quote, or to the end
    // when it is not closed. nullopt when no literal stands here.
    std::optional<std::string_view> TakeString()
    {
        if (AtEnd() || text_[position_] != kQuote) return std::nullopt;
        const std::size_t start = position_ + 1;
        std::size_t end = text_.find(kQuote, start);
        if (end == std::string_view::npos) end = text_.size();
        position_ = end == text_.size() ? end : end + 1;
        SkipBlanks();
        return text_.substr(start, end - start);
    }

    bool AtEnd() const { return position_ >= text_.size(); }

private:
    void SkipBlanks()
    {
        while (!AtEnd() && IsBlank(text_[position_])) ++position_;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

Scope TakeScope(WordReader& words)
{
    const std::optional<std::size_t> scope = words.TakeOneOf(kScopeTexts);
    return scope ? static_cast<Scope>(*scope) : Scope::Public;
}

// Sub, Function or Property Get|Let|Set.
std::optional<ProcedureKind> TakeProcedureKind(WordReader& words)
{
    if (words.Take(kSubWord)) return ProcedureKind::Sub;
    if (words.Take(kFunctionWord)) return ProcedureKind::Function;
    if (!words.Take(kPropertyWord)) return std::nullopt;
    if (words.Take(kGetWord)) return ProcedureKind::PropertyGet;
    if (words.Take(kLetWord)) return ProcedureKind::PropertyLet;
    if (words.Take(kSetWord)) return ProcedureKind::PropertySet;
    return std::nullopt;
}

// "End Sub", "End Function" or "End Property" as the next words.
bool TakeProcedureEnd(WordReader& words)
{
    return words.Take(kEndWord) && (words.Take(kSubWord) || words.Take(kFunctionWord) || words.Take(kPropertyWord));
}

bool IsProcedureEnd(std::string_view text)
{
    WordReader words(text);
    return TakeProcedureEnd(words);
}

// Whether ": End Sub" (Function, Property) stands in the text outside
// string literals and comments.
bool HoldsProcedureEnd(std::string_view text)
{
    if (text.find(kStatementSeparator) == std::string_view::npos) return false;  // most declarations
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == kQuote) {
            inString = !inString;
        } else if (!inString && c == kCommentMark) {
            return false;
        } else if (!inString && c == kStatementSeparator && IsProcedureEnd(text.substr(i + 1))) {
            return true;
        }
    }
    return false;
}

struct ProcedureStart {
    ProcedureKind kind;
    Scope scope;
    std::string_view name;
};

// A start statement's words on its first line.
std::optional<ProcedureStart> ReadProcedureStart(std::string_view firstLine)
{
    WordReader words(firstLine);
    const Scope scope = TakeScope(words);
    words.Take(kStaticWord);
    const std::optional<ProcedureKind> kind = TakeProcedureKind(words);
    if (!kind) return std::nullopt;
    const std::string_view name = words.TakeName();
    if (name.empty()) return std::nullopt;
    return ProcedureStart{*kind, scope, name};
}

// The statement's first physical line: its pieces that share the first one's
// line number. Most first lines are one piece, viewed where it stands; a
// longer one is joined in storage.
std::string_view FirstLine(std::span<const StatementPiece> pieces, std::string& storage)
{
    if (pieces.size() < 2 || pieces[1].line != pieces.front().line) return pieces.front().text;
    storage.assign(pieces.front().text);
    for (std::size_t i = 1; i < pieces.size() && pieces[i].line == pieces.front().line; ++i) {
        storage.append(pieces[i].text);
    }
    return storage;
}

// Whether a statement with this initial (see Statement) may start with one
// of the words; 0 stands for a statement that must be read whole.
bool MayStartWithOneOf(char initial, std::string_view initials)
{
    return initial == 0 || initials.find(initial) != std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A physical line of a declaration: trimmed, a trailing " _" and the blanks before it gone.
std::string_view DeclarationLine(std::string_view line)
{
    line = TrimBlanks(line);
    if (line.ends_with(kContinuation)) line = TrimBlanks(line.substr(0, line.size() - 1));
    return line;
}

// Whether a statement whose first line, trimmed, is this may be a Declare
// statement: its joined text begins with the same words, so the first line
// decides unless it ends after the scope word.
bool MayBeDeclare(std::string_view firstLine)
{
    WordReader words(firstLine);
    TakeScope(words);
    return words.AtEnd() || words.Take(kDeclareWord);
}

}  // namespace

void ScanStatements(std::string_view text, ModuleKind kind, ModuleStatements& out)
{
    out.header = {};
    out.headerEnded = false;
    out.steps = 0;
    out.comments = 0;
    out.pieces.clear();
    out.statements.clear();

    const bool gated = HasHeader(kind);
    PieceClassifier classify(text);
    // Most texts hold no NUL: their pieces are then not searched for one.
    const bool mayHoldNul = text.find('\0') != std::string_view::npos;
    LinePieces reads(text);
    std::uint32_t line = 1;
    std::size_t pendingFrom = 0;  // first continued piece waiting for its step
    do {
        const std::string_view piece = reads.Read(kCounterReadSize);
        const std::uint32_t pieceLine = line;
        if (piece.ends_with(kLineFeed)) ++line;
        const std::string_view seen = mayHoldNul ? UpToNul(WithoutLineFeed(piece)) : WithoutLineFeed(piece);

        if (gated && !out.headerEnded) {
            if (Contains(seen, kHeaderEnd)) {
                out.headerEnded = true;
                out.header = text.substr(0, reads.Position());
            }
            continue;
        }
        switch (classify(seen)) {
        case PieceVerdict::Comment:
            ++out.comments;
            out.pieces.resize(pendingFrom);  // continued pieces without their step
            break;
        case PieceVerdict::Nothing:
            out.pieces.resize(pendingFrom);
            break;
        case PieceVerdict::Continued:
            out.pieces.push_back({seen, pieceLine});
            break;
        case PieceVerdict::Step:
            ++out.steps;
            out.pieces.push_back({seen, pieceLine});
            out.statements.push_back({static_cast<std::uint32_t>(pendingFrom),
                                      static_cast<std::uint32_t>(out.pieces.size() - pendingFrom),
                                      InitialOf(out.pieces[pendingFrom].text)});
            pendingFrom = out.pieces.size();
            break;
        }
    } while (!reads.AtEnd());
    out.pieces.resize(pendingFrom);

    if (gated && !out.headerEnded) out.header = text;
    if (kind == ModuleKind::Bas) out.steps += kStandardModuleStepsAfterLastLine;
}

std::string_view ProcedureKindText(ProcedureKind kind)
{
    return kProcedureKindTexts[static_cast<std::size_t>(kind)];
}

std::string_view ScopeText(Scope scope)
{
    return kScopeTexts[static_cast<std::size_t>(scope)];
}

std::vector<Procedure> FindProcedures(const ModuleStatements& module)
{
    std::vector<Procedure> procedures;
    std::string firstLine;
    bool open = false;
    for (std::uint32_t index = 0; index < module.statements.size(); ++index) {
        const Statement& statement = module.statements[index];
        const std::span<const StatementPiece> pieces = module.PiecesOf(statement);
        if (open) {
            if (MayStartWithOneOf(statement.initial, kEndInitial) && IsProcedureEnd(pieces.front().text)) {
                procedures.back().lastStatement = index;
                open = false;
            }
            continue;
        }
        if (!MayStartWithOneOf(statement.initial, kProcedureStartInitials)) continue;
        const std::optional<ProcedureStart> start = ReadProcedureStart(FirstLine(pieces, firstLine));
        if (!start) continue;
        std::string joined = JoinStatementLines(pieces);
        const bool whole = HoldsProcedureEnd(joined);  // a whole procedure on one statement
        procedures.push_back(Procedure{start->kind, std::string(start->name), start->scope, pieces.front().line, index,
                                       index, std::move(joined)});
        if (whole) continue;
        // Until its End statement is met, a procedure runs to the end of the module.
        procedures.back().lastStatement = static_cast<std::uint32_t>(module.statements.size() - 1);
        open = true;
    }
    return procedures;
}

std::vector<ApiDeclaration> FindApiDeclarations(const ModuleStatements& module)
{
    std::vector<ApiDeclaration> declarations;
    std::string firstLine;
    for (std::uint32_t index = 0; index < module.statements.size(); ++index) {
        const Statement& statement = module.statements[index];
        if (!MayStartWithOneOf(statement.initial, kDeclareInitials)) continue;
        const std::span<const StatementPiece> pieces = module.PiecesOf(statement);
        if (!MayBeDeclare(DeclarationLine(FirstLine(pieces, firstLine)))) continue;
        std::string joined = JoinStatementLines(pieces);
        WordReader words(joined);
        const Scope scope = TakeScope(words);
        if (!words.Take(kDeclareWord)) continue;
        words.Take(kPtrSafeWord);
        ProcedureKind kind;
        if (words.Take(kSubWord)) {
            kind = ProcedureKind::Sub;
        } else if (words.Take(kFunctionWord)) {
            kind = ProcedureKind::Function;
        } else {
            continue;
        }
        ApiDeclaration declaration{kind, std::string(words.TakeName()), scope, {}, {}, pieces.front().line, index, {}};
        words.SkipToBlank();  // a type character after the name
        if (words.Take(kLibWord)) {
            if (const std::optional<std::string_view> library = words.TakeString()) declaration.library = *library;
            if (words.Take(kAliasWord)) {
                if (const std::optional<std::string_view> alias = words.TakeString()) declaration.alias = *alias;
            }
        }
        declaration.declaration = std::move(joined);
        declarations.push_back(std::move(declaration));
    }
    return declarations;
}

std::string JoinStatementLines(std::span<const StatementPiece> pieces)
{
    std::string joined;
    std::string storage;
    ForEachStatementLine(pieces, storage, [&](std::string_view line, bool) {
        if (!joined.empty()) joined.push_back(kBlank);
        joined.append(DeclarationLine(line));
    });
    return joined;
}

}  // namespace kolvane
