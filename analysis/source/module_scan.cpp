#include "analysis/source/module_scan.h"

#include "analysis/source/code_page.h"
#include "analysis/source/step_counter.h"
#include "project/text/strings.h"

#include <array>
#include <optional>

namespace kolvane {
namespace {

constexpr char kBlank = ' ';
constexpr char kTab = '\t';
constexpr char kQuote = '"';
constexpr char kStatementSeparator = ':';

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

// The scan reads names the same way whatever the code page of the sources.
constexpr LexerOptions kScanLexing{&IsShiftJisLeadByte, false};

bool IsBlank(char c)
{
    return c == kBlank || c == kTab;
}

char InitialOf(std::string_view firstPiece)
{
    for (const char c : firstPiece) {
        if (!IsBlank(c)) return LowerAscii(c);
    }
    return 0;
}

// The tokens of a line, taken from the front.
class Words {
public:
    explicit Words(std::string_view text) : lexer_(text, kScanLexing) { Advance(); }

    bool AtEnd() const { return !has_; }
    const Token& Peek() const { return token_; }

    // Takes the keyword when it is the next token.
    bool Take(std::string_view keyword)
    {
        if (!has_ || !token_.IsWord(keyword)) return false;
        Advance();
        return true;
    }

    // The next token, taken.
    std::optional<Token> TakeAny()
    {
        if (!has_) return std::nullopt;
        Token taken = token_;
        Advance();
        return taken;
    }

private:
    void Advance() { has_ = lexer_.Next(token_); }

    LineLexer lexer_;
    Token token_;
    bool has_ = false;
};

Scope TakeScope(Words& words)
{
    for (std::size_t i = 0; i < kScopeTexts.size(); ++i) {
        if (words.Take(kScopeTexts[i])) return static_cast<Scope>(i);
    }
    return Scope::Public;
}

// Sub, Function or Property Get|Let|Set.
std::optional<ProcedureKind> TakeProcedureKind(Words& words)
{
    if (words.Take(kSubWord)) return ProcedureKind::Sub;
    if (words.Take(kFunctionWord)) return ProcedureKind::Function;
    if (!words.Take(kPropertyWord)) return std::nullopt;
    if (words.Take(kGetWord)) return ProcedureKind::PropertyGet;
    if (words.Take(kLetWord)) return ProcedureKind::PropertyLet;
    if (words.Take(kSetWord)) return ProcedureKind::PropertySet;
    return std::nullopt;
}

// "End Sub", "End Function" or "End Property" as the next tokens.
bool TakeProcedureEnd(Words& words)
{
    return words.Take(kEndWord) && (words.Take(kSubWord) || words.Take(kFunctionWord) || words.Take(kPropertyWord));
}

bool IsProcedureEnd(std::string_view text)
{
    Words words(text);
    return TakeProcedureEnd(words);
}

// The name of a procedure or declaration: an identifier written without
// brackets, its type character aside; empty when none stands next.
std::string_view NameOf(const std::optional<Token>& token)
{
    if (!token || token->kind != TokenKind::Identifier || token->bracketed) return {};
    return token->name;
}

// Whether ": End Sub" (Function, Property) stands in the text outside
// string literals and comments.
bool HoldsProcedureEnd(std::string_view text)
{
    if (text.find(kStatementSeparator) == std::string_view::npos) return false;  // most declarations
    Words words(text);
    while (!words.AtEnd()) {
        const std::optional<Token> token = words.TakeAny();
        if (token->kind == TokenKind::Comment) return false;
        if (token->kind == TokenKind::Separator && TakeProcedureEnd(words)) return true;
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
    Words words(firstLine);
    const Scope scope = TakeScope(words);
    words.Take(kStaticWord);
    const std::optional<ProcedureKind> kind = TakeProcedureKind(words);
    if (!kind) return std::nullopt;
    const std::string_view name = NameOf(words.TakeAny());
    if (name.empty()) return std::nullopt;
    return ProcedureStart{*kind, scope, name};
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

// Whether a statement whose first line is this may be a Declare statement:
// its joined text begins with the same words, so the first line decides
// unless it ends after the scope word.
bool MayBeDeclare(std::string_view firstLine)
{
    Words words(firstLine);
    TakeScope(words);
    return words.AtEnd() || words.Take(kDeclareWord);
}

// Takes a string literal when one stands next: its text up to its first
// inner quote, or to the line's end when it is not closed. cut tells that
// the literal goes on past that quote: what follows it is not read then.
std::optional<std::string_view> TakeLiteral(Words& words, bool& cut)
{
    if (words.AtEnd() || words.Peek().kind != TokenKind::String) return std::nullopt;
    const std::string_view inside = words.TakeAny()->text.substr(1);
    const std::size_t close = inside.find(kQuote);
    if (close == std::string_view::npos) return inside;
    cut = close + 1 < inside.size();
    return inside.substr(0, close);
}

}  // namespace

void ScanModule(std::string_view text, bool holdsNul, ModuleKind kind, ModuleScan& out)
{
    out.text = text;
    out.holdsNul = holdsNul;
    out.codeStart = 0;
    out.codeLine = 1;
    out.headerEnded = false;
    out.steps = 0;
    out.comments = 0;
    out.statements.clear();

    const bool gated = HasHeader(kind);
    PieceClassifier classify(text);
    RawLinePieces reads(text, holdsNul);
    std::uint32_t line = 1;
    bool pending = false;  // continued pieces wait for their step
    Statement next;        // the statement being collected
    do {
        const std::size_t begin = reads.Position();
        const std::uint32_t pieceLine = line;
        const LinePiece piece = reads.Read(kCounterReadSize);
        if (piece.endsLine) ++line;

        if (gated && !out.headerEnded) {
            if (Contains(piece.text, kHeaderEnd)) {
                out.headerEnded = true;
                out.codeStart = reads.Position();
                out.codeLine = line;
            }
            continue;
        }
        const PieceVerdict verdict = classify(piece.text);
        if (verdict == PieceVerdict::Comment) ++out.comments;
        if (verdict == PieceVerdict::Comment || verdict == PieceVerdict::Nothing) {
            pending = false;  // continued pieces without their step
            continue;
        }
        if (!pending) next = Statement{begin, 0, pieceLine, pieceLine, InitialOf(piece.text)};
        pending = verdict == PieceVerdict::Continued;
        if (verdict == PieceVerdict::Step) {
            ++out.steps;
            next.end = reads.Position();
            next.lastLine = pieceLine;
            out.statements.push_back(next);
        }
    } while (!reads.AtEnd());

    if (gated && !out.headerEnded) out.codeStart = text.size();
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

std::string_view FirstPiece(const ModuleScan& module, const Statement& statement)
{
    RawLinePieces reads(module.text, module.holdsNul, statement.begin);
    return reads.Read(kCounterReadSize).text;
}

std::string_view FirstStatementLine(const ModuleScan& module, const Statement& statement, std::string& storage)
{
    std::string_view first;
    ForEachStatementLine(module, statement, storage, [&](std::string_view line, std::uint32_t, bool isFirst) {
        if (isFirst) first = line;
    });
    return first;
}

std::vector<Procedure> FindProcedures(const ModuleScan& module)
{
    std::vector<Procedure> procedures;
    std::string storage;
    bool open = false;
    for (std::uint32_t index = 0; index < module.statements.size(); ++index) {
        const Statement& statement = module.statements[index];
        if (open) {
            if (MayStartWithOneOf(statement.initial, kEndInitial) && IsProcedureEnd(FirstPiece(module, statement))) {
                procedures.back().lastStatement = index;
                open = false;
            }
            continue;
        }
        if (!MayStartWithOneOf(statement.initial, kProcedureStartInitials)) continue;
        const std::optional<ProcedureStart> start = ReadProcedureStart(FirstStatementLine(module, statement, storage));
        if (!start) continue;
        std::string joined = JoinStatementLines(module, statement);
        const bool whole = HoldsProcedureEnd(joined);  // a whole procedure on one statement
        procedures.push_back(Procedure{start->kind, std::string(start->name), start->scope, statement.line, index,
                                       index, std::move(joined)});
        if (whole) continue;
        // Until its End statement is met, a procedure runs to the end of the module.
        procedures.back().lastStatement = static_cast<std::uint32_t>(module.statements.size() - 1);
        open = true;
    }
    return procedures;
}

std::vector<ApiDeclaration> FindApiDeclarations(const ModuleScan& module)
{
    std::vector<ApiDeclaration> declarations;
    std::string storage;
    for (std::uint32_t index = 0; index < module.statements.size(); ++index) {
        const Statement& statement = module.statements[index];
        if (!MayStartWithOneOf(statement.initial, kDeclareInitials)) continue;
        if (!MayBeDeclare(DeclarationLine(FirstStatementLine(module, statement, storage)))) continue;
        std::string joined = JoinStatementLines(module, statement);
        Words words(joined);
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
        ApiDeclaration declaration{kind, {}, scope, {}, {}, statement.line, index, {}};
        // The name, then whatever stands up to the next blank (a type character, say).
        if (std::optional<Token> name = words.TakeAny()) {
            declaration.name = NameOf(name);
            std::size_t end = name->offset + name->text.size();
            while (!words.AtEnd() && words.Peek().offset == end) end += words.TakeAny()->text.size();
        }
        bool cut = false;
        if (words.Take(kLibWord)) {
            if (const std::optional<std::string_view> library = TakeLiteral(words, cut)) declaration.library = *library;
            if (!cut && words.Take(kAliasWord)) {
                if (const std::optional<std::string_view> alias = TakeLiteral(words, cut)) declaration.alias = *alias;
            }
        }
        declaration.declaration = std::move(joined);
        declarations.push_back(std::move(declaration));
    }
    return declarations;
}

std::string JoinStatementLines(const ModuleScan& module, const Statement& statement)
{
    std::string joined;
    std::string storage;
    ForEachStatementLine(module, statement, storage, [&](std::string_view line, std::uint32_t, bool) {
        if (!joined.empty()) joined.push_back(kBlank);
        joined.append(DeclarationLine(line));
    });
    return joined;
}

}  // namespace kolvane
