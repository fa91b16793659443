#include "analysis/source/module_scan.h"

#include "analysis/source/code_page.h"
#include "analysis/source/step_counter.h"
#include "project/text/strings.h"

#include <algorithm>
#include <iterator>
#include <array>
#include <span>
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

// The scan reads names the same way whatever the code page of the sources.
constexpr LexerOptions kScanLexing{&IsShiftJisLeadByte, false};

bool IsBlank(char c)
{
    return c == kBlank || c == kTab;
}


// The tokens of a line, taken from the front. A keyword is the word,
// whatever type character follows it; the type character is not taken with
// it, so that nothing after it reads as a keyword or a name until the
// reader moves past it (see SkipJoined).
class Words {
public:
    explicit Words(std::string_view text) : lexer_(text, kScanLexing) { Advance(); }

    bool AtEnd() const { return !has_; }

    // Takes the keyword when it is the next word.
    bool Take(std::string_view keyword)
    {
        if (!has_ || atTypeCharacter_ || token_.kind != TokenKind::Identifier || token_.bracketed ||
            !EqualsIgnoringCase(token_.name, keyword)) {
            return false;
        }
        atTypeCharacter_ = token_.typeCharacter != 0;
        Advance();
        return true;
    }

    // The next token when it is a name: an identifier written without
    // brackets (its type character aside); empty otherwise.
    std::string_view TakeName()
    {
        nameTaken_ = has_ && !atTypeCharacter_ && token_.kind == TokenKind::Identifier && !token_.bracketed;
        if (!nameTaken_) return {};
        const std::string_view name = token_.name;
        Advance();
        return name;
    }

    // Takes a string literal when one stands next: its text up to its first
    // inner quote, or to the line's end when it is not closed. cut tells that
    // the literal goes on past that quote: what follows it is not read then.
    std::optional<std::string_view> TakeLiteral(bool& cut)
    {
        if (!has_ || atTypeCharacter_ || token_.kind != TokenKind::String) return std::nullopt;
        const std::string_view inside = token_.text.substr(1);
        Advance();
        const std::size_t close = inside.find(kQuote);
        if (close == std::string_view::npos) return inside;
        cut = close + 1 < inside.size();
        return inside.substr(0, close);
    }

    // After TakeName: passes over whatever stands from there up to the next
    // blank (a type character, a name's remainder, or what stood in place of
    // a name) and the blanks after it.
    void SkipJoined()
    {
        if (atTypeCharacter_) {
            atTypeCharacter_ = false;  // the type character was the keyword's
        } else if (!nameTaken_ && has_) {
            Advance();
        }
        while (has_ && token_.offset == joinedEnd_) Advance();
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
    void Advance()
    {
        joinedEnd_ = has_ ? token_.offset + token_.text.size() : 0;
        has_ = lexer_.Next(token_);
    }

    LineLexer lexer_;
    Token token_;
    bool has_ = false;
    bool atTypeCharacter_ = false;  // the keyword taken last had a type character
    bool nameTaken_ = false;        // TakeName took a name
    std::size_t joinedEnd_ = 0;     // where the token taken last ended
};

// The first words of a line while they are plain: a run of ASCII letters,
// digits and "_" that begins with a letter and ends at the line's end or at
// an ASCII byte that no name holds. Such a word is the identifier the lexer
// reads there, so most declarations and End statements are told without
// making tokens. On anything else (a bracket, a number, a non-ASCII byte,
// the continuation, a type character after a keyword) Take gives nothing
// and Words has to read the line.
class PlainWords {
public:
    explicit PlainWords(std::string_view text) : text_(text) { SkipBlanks(); }

    bool AtEnd() const { return at_ == text_.size(); }

    // The next word, taken; nothing when no plain word stands next.
    std::optional<std::string_view> Take()
    {
        const std::size_t start = at_;
        if (start == text_.size() || !IsAsciiLetter(text_[start])) return std::nullopt;
        std::size_t end = start + 1;
        while (end < text_.size() && IsAsciiNameByte(text_[end])) ++end;
        if (end < text_.size() && static_cast<unsigned char>(text_[end]) >= 0x80) return std::nullopt;
        at_ = end;
        SkipBlanks();
        return text_.substr(start, end - start);
    }

    // Whether a word taken is the keyword (ASCII letters), case aside: the
    // bytes of a word are letters, digits and "_", and setting bit 0x20 puts
    // a letter in lower case and makes no other of them a letter.
    static bool IsKeyword(std::string_view word, std::string_view keyword)
    {
        if (word.size() != keyword.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if ((word[i] | 0x20) != (keyword[i] | 0x20)) return false;
        }
        return true;
    }

private:
    enum ByteIs : unsigned char { kNoNameByte, kLetter, kDigitOrUnderscore };
    static constexpr std::array<ByteIs, 256> kBytes = [] {
        std::array<ByteIs, 256> bytes{};
        for (int c = 'a'; c <= 'z'; ++c) bytes[static_cast<std::size_t>(c)] = kLetter;
        for (int c = 'A'; c <= 'Z'; ++c) bytes[static_cast<std::size_t>(c)] = kLetter;
        for (int c = '0'; c <= '9'; ++c) bytes[static_cast<std::size_t>(c)] = kDigitOrUnderscore;
        bytes['_'] = kDigitOrUnderscore;
        return bytes;
    }();
    static bool IsAsciiLetter(char c) { return kBytes[static_cast<unsigned char>(c)] == kLetter; }
    static bool IsAsciiNameByte(char c) { return kBytes[static_cast<unsigned char>(c)] != kNoNameByte; }
    void SkipBlanks()
    {
        while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

std::optional<Scope> ScopeWord(std::string_view word)
{
    for (std::size_t i = 0; i < kScopeTexts.size(); ++i) {
        if (PlainWords::IsKeyword(word, kScopeTexts[i])) return static_cast<Scope>(i);
    }
    return std::nullopt;
}

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

// "End Sub" and the like as plain words; nothing when they cannot tell.
std::optional<bool> PlainProcedureEnd(std::string_view text)
{
    PlainWords words(text);
    const std::optional<std::string_view> end = words.Take();
    if (!end) return std::nullopt;
    if (!PlainWords::IsKeyword(*end, kEndWord)) return false;
    const std::optional<std::string_view> what = words.Take();
    if (!what) return std::nullopt;
    return PlainWords::IsKeyword(*what, kSubWord) || PlainWords::IsKeyword(*what, kFunctionWord) ||
           PlainWords::IsKeyword(*what, kPropertyWord);
}

bool IsProcedureEnd(std::string_view text)
{
    if (const std::optional<bool> plain = PlainProcedureEnd(text)) return *plain;
    Words words(text);
    return TakeProcedureEnd(words);
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

// A procedure statement's first words as plain words: false when they
// cannot tell, else what they tell in start.
bool ReadPlainProcedureStart(std::string_view firstLine, std::optional<ProcedureStart>& start)
{
    PlainWords words(firstLine);
    std::optional<std::string_view> word = words.Take();
    const auto keyword = [&] {  // the word was a keyword: the next one
        word = words.Take();
        return word.has_value();
    };
    if (!word) return false;
    const std::optional<Scope> scope = ScopeWord(*word);
    if (scope && !keyword()) return false;
    if (PlainWords::IsKeyword(*word, kStaticWord) && !keyword()) return false;
    ProcedureKind kind;
    if (PlainWords::IsKeyword(*word, kSubWord)) {
        kind = ProcedureKind::Sub;
    } else if (PlainWords::IsKeyword(*word, kFunctionWord)) {
        kind = ProcedureKind::Function;
    } else if (PlainWords::IsKeyword(*word, kPropertyWord)) {
        if (!keyword()) return false;
        if (PlainWords::IsKeyword(*word, kGetWord)) {
            kind = ProcedureKind::PropertyGet;
        } else if (PlainWords::IsKeyword(*word, kLetWord)) {
            kind = ProcedureKind::PropertyLet;
        } else if (PlainWords::IsKeyword(*word, kSetWord)) {
            kind = ProcedureKind::PropertySet;
        } else {
            start.reset();
            return true;
        }
    } else {
        start.reset();
        return true;
    }
    if (!keyword()) return false;  // the name
    start = ProcedureStart{kind, scope.value_or(Scope::Public), *word};
    return true;
}

// A start statement's words on its first line.
std::optional<ProcedureStart> ReadProcedureStart(std::string_view firstLine)
{
    if (std::optional<ProcedureStart> start; ReadPlainProcedureStart(firstLine, start)) return start;
    Words words(firstLine);
    const Scope scope = TakeScope(words);
    words.Take(kStaticWord);
    const std::optional<ProcedureKind> kind = TakeProcedureKind(words);
    if (!kind) return std::nullopt;
    const std::string_view name = words.TakeName();
    if (name.empty()) return std::nullopt;
    return ProcedureStart{*kind, scope, name};
}

// The opening of a statement (see Statement) from its first piece.
std::array<char, 2> OpeningOf(std::string_view firstPiece)
{
    std::size_t at = 0;
    while (at < firstPiece.size() && IsBlank(firstPiece[at])) ++at;
    std::array<char, 2> opening{};
    for (std::size_t i = 0; i < opening.size() && at + i < firstPiece.size(); ++i) {
        opening[i] = LowerAscii(firstPiece[at + i]);
    }
    return opening;
}

// The openings of the words a procedure statement (a scope, Static, Sub,
// Function, Property), a Declare statement (a scope, Declare) and an End
// statement begin with.
constexpr std::string_view kProcedureOpenings[] = {"pu", "pr", "fr", "st", "su", "fu"};
constexpr std::string_view kDeclareOpenings[] = {"pu", "pr", "fr", "de"};
constexpr std::string_view kEndOpenings[] = {"en"};

// Whether the statement may open with one of the openings; one whose first
// piece is blank must be read to know.
bool MayOpenWith(const Statement& statement, std::span<const std::string_view> openings)
{
    if (statement.opening[0] == 0) return true;
    for (const std::string_view opening : openings) {
        if (opening[0] == statement.opening[0] && opening[1] == statement.opening[1]) return true;
    }
    return false;
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

// MayBeDeclare on plain words; nothing when they cannot tell.
std::optional<bool> PlainMayBeDeclare(std::string_view firstLine)
{
    PlainWords words(firstLine);
    std::optional<std::string_view> word = words.Take();
    if (!word) return std::nullopt;
    if (ScopeWord(*word)) {
        if (words.AtEnd()) return true;
        word = words.Take();
        if (!word) return std::nullopt;
    }
    return PlainWords::IsKeyword(*word, kDeclareWord);
}

// Whether a statement whose first line is this may be a Declare statement:
// its joined text begins with the same words, so the first line decides
// unless it ends after the scope word.
bool MayBeDeclare(std::string_view firstLine)
{
    if (const std::optional<bool> plain = PlainMayBeDeclare(firstLine)) return *plain;
    Words words(firstLine);
    TakeScope(words);
    return words.AtEnd() || words.Take(kDeclareWord);
}


}  // namespace

namespace {

// The scan past the header: the figures, and with Record the statements.
template <ScanRecord Record>
void ScanCode(PieceClassifier& classify, RawLinePieces& reads, std::uint32_t line, ModuleScan& out)
{
    std::uint32_t steps = 0;
    std::uint32_t comments = 0;
    bool pending = false;  // continued pieces wait for their step
    // The statement being collected: where and on which line it begins, its opening.
    std::size_t start = 0;
    std::uint32_t startLine = 0;
    std::uint16_t firstLength = 0;
    bool firstEndsLine = false;
    std::array<char, 2> opening{};
    while (!reads.AtEnd()) {
        const std::size_t begin = reads.Position();
        const LinePiece piece = reads.Read(kCounterReadSize);
        const std::uint32_t pieceLine = line;
        if (piece.endsLine) ++line;

        std::string_view trimmed;
        const PieceVerdict verdict = classify(piece.text, trimmed);
        if (verdict == PieceVerdict::Comment || verdict == PieceVerdict::Nothing) {
            if (verdict == PieceVerdict::Comment) ++comments;
            pending = false;  // continued pieces without their step
            continue;
        }
        if (verdict == PieceVerdict::Step) ++steps;
        if constexpr (Record == ScanRecord::Statements) {
            if (!pending) {
                start = begin;
                startLine = pieceLine;
                firstLength = static_cast<std::uint16_t>(piece.text.size());
                firstEndsLine = piece.endsLine;
                opening = OpeningOf(trimmed);
            }
            pending = verdict == PieceVerdict::Continued;
            if (verdict == PieceVerdict::Step) {
                out.statements.push_back(
                    Statement{start, reads.Position(), startLine, pieceLine, firstLength, firstEndsLine, opening});
            }
        }
    }
    out.steps = static_cast<std::int32_t>(steps);
    out.comments = static_cast<std::int32_t>(comments);
}

}  // namespace

void ScanModule(std::string_view text, bool holdsNul, ModuleKind kind, ModuleScan& out, ScanRecord record)
{
    out.text = text;
    out.holdsNul = holdsNul;
    out.codeStart = 0;
    out.codeLine = 1;
    out.headerEnded = !HasHeader(kind);
    out.statements.clear();

    RawLinePieces reads(text, holdsNul);
    // A header kind's code begins after the piece that holds the header's end.
    while (!out.headerEnded && !reads.AtEnd()) {
        const LinePiece piece = reads.Read(kCounterReadSize);
        if (piece.endsLine) ++out.codeLine;
        if (Contains(piece.text, kHeaderEnd)) {
            out.headerEnded = true;
            out.codeStart = reads.Position();
        }
    }
    if (!out.headerEnded) {
        out.codeStart = text.size();
        out.codeLine = 1;
        out.steps = 0;
        out.comments = 0;
        return;
    }

    PieceClassifier classify(text);
    if (record == ScanRecord::Figures) {
        ScanCode<ScanRecord::Figures>(classify, reads, out.codeLine, out);
    } else {
        ScanCode<ScanRecord::Statements>(classify, reads, out.codeLine, out);
    }
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
    return module.text.substr(statement.begin, statement.firstLength);
}

std::string_view FirstStatementLine(const ModuleScan& module, const Statement& statement, std::string& storage)
{
    if (statement.firstEndsLine) return FirstPiece(module, statement);
    StatementLines lines(module, statement, storage);
    std::string_view first;
    std::uint32_t number = 0;
    lines.Next(first, number);
    return first;
}

namespace {

// An object for the next entry of a list: one of the spares when there is
// one (its texts' memory serves again), a new one otherwise.
template <typename T>
T& NextEntry(std::vector<T>& list, std::vector<T>* spares)
{
    if (spares != nullptr && !spares->empty()) {
        list.push_back(std::move(spares->back()));
        spares->pop_back();
    } else {
        list.emplace_back();
    }
    return list.back();
}

// The Declare statement whose first line this is, if it is one.
void ReadApiDeclaration(const ModuleScan& module, const Statement& statement, std::uint32_t index,
                        std::string_view firstLine, std::vector<ApiDeclaration>& declarations,
                        std::vector<ApiDeclaration>* spares, std::string& joined)
{
    if (!MayBeDeclare(DeclarationLine(firstLine))) return;
    JoinStatementLines(module, statement, joined);
    Words words(joined);
    const Scope scope = TakeScope(words);
    if (!words.Take(kDeclareWord)) return;
    words.Take(kPtrSafeWord);
    ProcedureKind kind;
    if (words.Take(kSubWord)) {
        kind = ProcedureKind::Sub;
    } else if (words.Take(kFunctionWord)) {
        kind = ProcedureKind::Function;
    } else {
        return;
    }
    ApiDeclaration& declaration = NextEntry(declarations, spares);
    declaration.kind = kind;
    declaration.name.assign(words.TakeName());
    declaration.scope = scope;
    declaration.library.clear();
    declaration.alias.clear();
    declaration.line = statement.line;
    declaration.statement = index;
    words.SkipJoined();  // a type character after the name, say
    bool cut = false;
    if (words.Take(kLibWord)) {
        if (const std::optional<std::string_view> library = words.TakeLiteral(cut)) declaration.library = *library;
        if (!cut && words.Take(kAliasWord)) {
            if (const std::optional<std::string_view> alias = words.TakeLiteral(cut)) declaration.alias = *alias;
        }
    }
    declaration.declaration.swap(joined);  // the words above view joined, read by now
}

// One walk over the statements for the procedures (when procedures is
// given) and the Declare statements (when apis is given): a statement's
// first line is read once for both. A procedure's declaration is never a
// Declare statement (other words follow the scope).
void FindDeclarations(const ModuleScan& module, std::vector<Procedure>* procedures, std::vector<ApiDeclaration>* apis,
                      DeclarationSpares* spares)
{
    std::string storage;
    std::string joined;
    bool open = false;
    for (std::uint32_t index = 0; index < module.statements.size(); ++index) {
        const Statement& statement = module.statements[index];
        const bool inProcedure = open;
        if (inProcedure && MayOpenWith(statement, kEndOpenings) && IsProcedureEnd(FirstPiece(module, statement))) {
            procedures->back().lastStatement = index;
            open = false;
        }
        const bool mayStart = procedures != nullptr && !inProcedure && MayOpenWith(statement, kProcedureOpenings);
        const bool mayDeclare = apis != nullptr && MayOpenWith(statement, kDeclareOpenings);
        if (!mayStart && !mayDeclare) continue;
        const std::string_view firstLine = FirstStatementLine(module, statement, storage);
        const std::optional<ProcedureStart> start =
            mayStart ? ReadProcedureStart(firstLine) : std::optional<ProcedureStart>();
        if (!start) {
            if (mayDeclare) {
                ReadApiDeclaration(module, statement, index, firstLine, *apis,
                                   spares != nullptr ? &spares->apis : nullptr, joined);
            }
            continue;
        }
        Procedure& procedure = NextEntry(*procedures, spares != nullptr ? &spares->procedures : nullptr);
        procedure.kind = start->kind;
        procedure.name.assign(start->name);
        procedure.scope = start->scope;
        procedure.line = statement.line;
        procedure.firstStatement = index;
        procedure.lastStatement = index;
        // A whole procedure on one statement; one stored without ":" is none.
        if (module.text.substr(statement.begin, statement.end - statement.begin).find(kStatementSeparator) !=
            std::string_view::npos) {
            JoinStatementLines(module, statement, joined);
            if (HoldsProcedureEnd(joined)) continue;
        }
        // Until its End statement is met, a procedure runs to the end of the module.
        procedure.lastStatement = static_cast<std::uint32_t>(module.statements.size() - 1);
        open = true;
    }
}

}  // namespace

std::vector<Procedure> FindProcedures(const ModuleScan& module)
{
    std::vector<Procedure> procedures;
    FindDeclarations(module, &procedures, nullptr, nullptr);
    return procedures;
}

std::vector<ApiDeclaration> FindApiDeclarations(const ModuleScan& module)
{
    std::vector<ApiDeclaration> declarations;
    FindDeclarations(module, nullptr, &declarations, nullptr);
    return declarations;
}

namespace {

// The objects of kept join the spares; the shorter list's are moved over
// and the lists swapped when kept is the longer, so that the list left
// empty keeps a capacity.
template <typename T>
void KeepObjects(std::vector<T>& kept, std::vector<T>& spares)
{
    if (kept.size() > spares.size()) {
        std::move(spares.begin(), spares.end(), std::back_inserter(kept));
        spares.clear();
        spares.swap(kept);
        return;
    }
    std::move(kept.begin(), kept.end(), std::back_inserter(spares));
    kept.clear();
}

}  // namespace

void DeclarationSpares::Keep(std::vector<Procedure>& kept, std::vector<ApiDeclaration>& keptApis)
{
    KeepObjects(kept, procedures);
    KeepObjects(keptApis, apis);
}

void FindProcedures(const ModuleScan& module, std::vector<Procedure>& procedures, DeclarationSpares& spares)
{
    FindDeclarations(module, &procedures, nullptr, &spares);
}

void FindProceduresAndApis(const ModuleScan& module, std::vector<Procedure>& procedures,
                           std::vector<ApiDeclaration>& apis, DeclarationSpares& spares)
{
    FindDeclarations(module, &procedures, &apis, &spares);
}

std::string JoinStatementLines(const ModuleScan& module, const Statement& statement)
{
    std::string joined;
    JoinStatementLines(module, statement, joined);
    return joined;
}

void JoinStatementLines(const ModuleScan& module, const Statement& statement, std::string& joined)
{
    joined.clear();
    std::string storage;
    ForEachStatementLine(module, statement, storage, [&](std::string_view line, std::uint32_t, bool) {
        if (!joined.empty()) joined.push_back(kBlank);
        joined.append(DeclarationLine(line));
    });
}

}  // namespace kolvane
