#include "analysis/findings/inventory.h"

#include "analysis/diff/project_diff.h"
#include "analysis/source/code_tokens.h"
#include "analysis/tables/csv_writer.h"
#include "analysis/tables/json_text.h"
#include "analysis/tables/member_output.h"
#include "project/model/member_list.h"
#include "project/text/path_text.h"

#include <algorithm>
#include <bit>
#include <initializer_list>
#include <iterator>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kolvane {
namespace {

// --- references ----------------------------------------------------------------

constexpr std::string_view kReferenceKey = "Reference=";
constexpr std::string_view kObjectKey = "Object=";
constexpr std::string_view kTypeLibraryMark = "*\\G";
constexpr std::string_view kProjectMark = "*\\A";
constexpr char kFieldSeparator = '#';
constexpr char kFileSeparator = ';';
constexpr char kQuote = '"';
constexpr std::size_t kReferenceFields = 5;  // GUID, version, locale, path, description
constexpr std::size_t kComponentFields = 3;  // GUID, version, locale

constexpr std::array<std::string_view, 4> kReferenceKindTexts = {"reference", "project", "component", "unknown"};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The text without the quotes around it, when it has them.
std::string_view WithoutQuotes(std::string_view text)
{
    if (text.size() >= 2 && text.front() == kQuote && text.back() == kQuote) text = text.substr(1, text.size() - 2);
    return text;
}

// The text without blanks at both ends and then without the quotes around it.
std::string_view Unquoted(std::string_view text)
{
    return WithoutQuotes(TrimBlanks(text));
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", hexadecimal digits in any case.
bool IsBracedGuid(std::string_view text)
{
    constexpr std::string_view kShape = "{........-....-....-....-............}";
    if (text.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (kShape[i] == '.' ? !IsHexDigit(text[i]) : text[i] != kShape[i]) return false;
    }
    return true;
}

// The text split at its first count - 1 separators, the last field taking
// the rest; nullopt when it has fewer.
template <std::size_t Count>
std::optional<std::array<std::string_view, Count>> SplitFields(std::string_view text)
{
    std::array<std::string_view, Count> fields;
    for (std::size_t i = 0; i + 1 < Count; ++i) {
        const std::size_t separator = text.find(kFieldSeparator);
        if (separator == std::string_view::npos) return std::nullopt;
        fields[i] = text.substr(0, separator);
        text.remove_prefix(separator + 1);
    }
    fields[Count - 1] = text;
    return fields;
}

Reference Unknown(std::string_view value)
{
    Reference reference;
    reference.description = value;
    return reference;
}

Reference ProjectReference(std::string_view file)
{
    Reference reference;
    reference.kind = ReferenceKind::Project;
    reference.file = file;
    return reference;
}

// --- designer headers ------------------------------------------------------------

constexpr std::string_view kObjectWord = "Object";
constexpr std::string_view kBeginWord = "Begin";
constexpr char kAssignment = '=';
constexpr char kTypeSeparator = '.';

// A header line's text: a NUL ends it, as it ends a project file's line.
std::string_view LineText(std::string_view line)
{
    return line.substr(0, line.find('\0'));
}

// The next word of a line (blanks and tabs separate them), taken off it;
// empty at the line's end.
std::string_view NextWord(std::string_view& line)
{
    line = TrimBlanks(line);
    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    const std::string_view word = line.substr(0, end);
    line.remove_prefix(end);
    return word;
}

// --- constructs ----------------------------------------------------------------

// The tokens the constructs are made of; Other for every other token.
enum class Word : std::uint8_t {
    Other,
    GoSub,
    GoTo,
    On,
    Local,
    Error,
    Resume,
    Next,
    As,
    Any,
    Variant,
    Object,
    String,
    Star,  // the symbol *
    Zero,  // the number token 0
    CreateObject,
    GetObject,
    CallByName,
    Pointer,  // VarPtr, StrPtr, ObjPtr
    DefType,  // DefBool ... DefVar
    Option,
    Base,
    LSet,  // LSet, RSet
    End,
    BlockEnd,  // the words after End that close a block: Sub, Function, ...
    DoEvents,  // the last
};

struct Keyword {
    std::string_view text;
    Word word;
};

// By length, so that a name is compared with the few of its own length.
constexpr Keyword kKeywords[] = {
    {"On", Word::On},
    {"As", Word::As},
    {"If", Word::BlockEnd},
    {"Any", Word::Any},
    {"End", Word::End},
    {"Sub", Word::BlockEnd},
    {"GoTo", Word::GoTo},
    {"Next", Word::Next},
    {"Base", Word::Base},
    {"LSet", Word::LSet},
    {"RSet", Word::LSet},
    {"With", Word::BlockEnd},
    {"Type", Word::BlockEnd},
    {"Enum", Word::BlockEnd},
    {"GoSub", Word::GoSub},
    {"Local", Word::Local},
    {"Error", Word::Error},
    {"Resume", Word::Resume},
    {"Object", Word::Object},
    {"String", Word::String},
    {"VarPtr", Word::Pointer},
    {"StrPtr", Word::Pointer},
    {"ObjPtr", Word::Pointer},
    {"DefInt", Word::DefType},
    {"DefLng", Word::DefType},
    {"DefCur", Word::DefType},
    {"DefSng", Word::DefType},
    {"DefDbl", Word::DefType},
    {"DefDec", Word::DefType},
    {"DefStr", Word::DefType},
    {"DefObj", Word::DefType},
    {"DefVar", Word::DefType},
    {"Option", Word::Option},
    {"Select", Word::BlockEnd},
    {"Variant", Word::Variant},
    {"DefBool", Word::DefType},
    {"DefByte", Word::DefType},
    {"DefDate", Word::DefType},
    {"Function", Word::BlockEnd},
    {"Property", Word::BlockEnd},
    {"DoEvents", Word::DoEvents},
    {"GetObject", Word::GetObject},
    {"CallByName", Word::CallByName},
    {"CreateObject", Word::CreateObject},
};
constexpr std::size_t kLongestKeyword = 12;
static_assert(std::is_sorted(std::begin(kKeywords), std::end(kKeywords),
                             [](const Keyword& a, const Keyword& b) { return a.text.size() < b.text.size(); }) &&
              std::size(kKeywords) > 0 && std::end(kKeywords)[-1].text.size() == kLongestKeyword);

// Where the keywords of each length begin in kKeywords (and end: the next length's start).
constexpr std::array<std::size_t, kLongestKeyword + 2> kKeywordsOfLength = [] {
    std::array<std::size_t, kLongestKeyword + 2> starts{};
    for (std::size_t length = 0; length < starts.size(); ++length) {
        std::size_t at = 0;
        while (at < std::size(kKeywords) && kKeywords[at].text.size() < length) ++at;
        starts[length] = at;
    }
    return starts;
}();

constexpr std::string_view kStar = "*";
constexpr std::string_view kZero = "0";
constexpr std::string_view kTypeCharacters = "%&!#@$";

constexpr bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The bytes of a name: letters, digits, "_" and every non-ASCII byte.
constexpr std::array<bool, 256> kNameBytes = [] {
    std::array<bool, 256> bytes{};
    for (std::size_t byte = 0; byte < bytes.size(); ++byte) {
        const auto c = static_cast<char>(byte);
        bytes[byte] = IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || byte >= 0x80;
    }
    return bytes;
}();

bool IsNameByte(char c)
{
    return kNameBytes[static_cast<unsigned char>(c)];
}

// Equal without regard to ASCII case, the keyword's length known equal.
bool SameLetters(std::string_view keyword, std::string_view name)
{
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        if (LowerAscii(keyword[i]) != LowerAscii(name[i])) return false;
    }
    return true;
}

Word WordOfName(std::string_view name)
{
    if (name.size() > kLongestKeyword) return Word::Other;
    for (std::size_t at = kKeywordsOfLength[name.size()]; at < kKeywordsOfLength[name.size() + 1]; ++at) {
        if (SameLetters(kKeywords[at].text, name)) return kKeywords[at].word;
    }
    return Word::Other;
}

Word WordOf(const Token& token)
{
    switch (token.kind) {
    case TokenKind::Identifier:
        return token.bracketed || token.typeCharacter != 0 ? Word::Other : WordOfName(token.name);
    case TokenKind::Symbol:
        return token.text == kStar ? Word::Star : Word::Other;
    case TokenKind::Number:
        return token.text == kZero ? Word::Zero : Word::Other;
    default:
        return Word::Other;
    }
}

// --- where a construct can begin -------------------------------------------------
//
// Most lines of code hold none of the constructs. The code is first looked
// through, 64 bytes at a time, for the words that can begin one; only the
// lines that hold such a word are read, each with the lines " _" joins to it
// (CodeReader). The look errs on the side of reading: it sees string
// literals and comments as code, a word after "_" as a token, and a word
// whose next token is out of its sight (on the next line, after a comment)
// as one that may begin a construct.

// The text after the blanks and tabs from at.
std::string_view AfterBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    return text.substr(at);
}

// Whether the line of text that holds the byte at holds " _": only then can
// a statement or a comment go on to the next line.
bool LineIsJoined(std::string_view text, std::size_t at)
{
    constexpr std::string_view kContinuation = " _";
    const std::size_t before = at == 0 ? std::string_view::npos : text.rfind('\n', at - 1);
    const std::size_t begin = before == std::string_view::npos ? 0 : before + 1;
    return text.substr(begin, text.find('\n', at) - begin).find(kContinuation) != std::string_view::npos;
}

// The next token, which rest (of text) begins before, is out of sight: the
// line goes on (" _"), or it ends or a comment follows on a line that a
// statement of the scan may join to the next. The token may then stand on
// a later line of the statement.
bool NextTokenOutOfSight(std::string_view text, std::string_view rest)
{
    if (rest.starts_with('_')) return true;
    const bool lineEnds = rest.empty() || rest.front() == '\r' || rest.front() == '\n' || rest.front() == '\'';
    return lineEnds && LineIsJoined(text, static_cast<std::size_t>(rest.data() - text.data()));
}

// The text begins with one of the words, ASCII case aside.
bool BeginsWithAny(std::string_view text, std::initializer_list<std::string_view> words)
{
    return std::any_of(words.begin(), words.end(), [text](std::string_view word) {
        return text.size() >= word.size() && SameLetters(word, text);
    });
}

// A whole word that closes a block (End If, End Sub, ...) begins the text.
bool BeginsWithBlockWord(std::string_view text)
{
    std::size_t end = 0;
    while (end < text.size() && IsAsciiLetter(text[end])) ++end;
    if (end < text.size() && (IsNameByte(text[end]) || kTypeCharacters.find(text[end]) != std::string_view::npos)) {
        return false;
    }
    return WordOfName(text.substr(0, end)) == Word::BlockEnd;
}

// A fixed-length string's "String *" can begin the rest of text.
bool MayBeginFixedString(std::string_view text, std::string_view rest)
{
    constexpr std::string_view kString = "String";
    if (rest.size() < kString.size() || !SameLetters(kString, rest)) return false;
    if (rest.size() > kString.size() && IsNameByte(rest[kString.size()])) return false;
    const std::string_view next = AfterBlanks(rest, kString.size());
    return next.starts_with(kStar) || NextTokenOutOfSight(text, next);
}

// The words that begin a construct (the first token of each pattern), and
// what must follow each for the construct to be possible.
enum class Follow {
    None,          // the word begins no construct
    Anything,
    LocalOrError,  // On Local Error, On Error
    ChangedType,   // As Any, As Variant, As Object, As String * n
    Base,          // Option Base
    NoBlockWord,   // End, but not End If, End Sub, ...
};

struct PatternStart {
    Word word;
    Follow follow;
};

constexpr PatternStart kPatternStarts[] = {
    {Word::GoSub, Follow::Anything},
    {Word::GoTo, Follow::Anything},
    {Word::CreateObject, Follow::Anything},
    {Word::GetObject, Follow::Anything},
    {Word::CallByName, Follow::Anything},
    {Word::Pointer, Follow::Anything},
    {Word::DoEvents, Follow::Anything},
    {Word::DefType, Follow::Anything},
    {Word::LSet, Follow::Anything},
    {Word::On, Follow::LocalOrError},
    {Word::As, Follow::ChangedType},
    {Word::Option, Follow::Base},
    {Word::End, Follow::NoBlockWord},
};

constexpr std::size_t kWordCount = static_cast<std::size_t>(Word::DoEvents) + 1;

// Per word, what must follow it for it to begin a construct.
constexpr std::array<Follow, kWordCount> kFollows = [] {
    std::array<Follow, kWordCount> follows{};
    for (const PatternStart& start : kPatternStarts) follows[static_cast<std::size_t>(start.word)] = start.follow;
    return follows;
}();

constexpr Follow FollowOf(Word word)
{
    return kFollows[static_cast<std::size_t>(word)];
}

constexpr std::size_t kLetters = 26;

// The place in the alphabet of an ASCII letter, in either case.
constexpr std::size_t LetterIndex(char letter)
{
    constexpr char kLowerCaseBit = 0x20;
    return static_cast<std::size_t>((letter | kLowerCaseBit) - 'a');
}

// Per length and first letter, the last letters (as bits, a the lowest) of
// the words that begin a pattern: most words are told apart by this alone.
constexpr std::array<std::uint32_t, (kLongestKeyword + 1) * kLetters> kPatternEnds = [] {
    std::array<std::uint32_t, (kLongestKeyword + 1) * kLetters> ends{};
    for (const Keyword& keyword : kKeywords) {
        if (FollowOf(keyword.word) == Follow::None) continue;
        ends[keyword.text.size() * kLetters + LetterIndex(keyword.text.front())] |= 1u << LetterIndex(keyword.text.back());
    }
    return ends;
}();

// Whether the letters of text [start, end) are a word that, given what
// follows it, can begin a construct.
bool MayBeginConstruct(std::string_view text, std::size_t start, std::size_t end)
{
    const std::size_t length = end - start;
    if (length > kLongestKeyword ||
        (kPatternEnds[length * kLetters + LetterIndex(text[start])] & (1u << LetterIndex(text[end - 1]))) == 0) {
        return false;
    }
    const std::string_view rest = AfterBlanks(text, end);
    switch (FollowOf(WordOfName(text.substr(start, length)))) {
    case Follow::None: return false;
    case Follow::Anything: return true;
    case Follow::LocalOrError: return BeginsWithAny(rest, {"Local", "Error"}) || NextTokenOutOfSight(text, rest);
    case Follow::ChangedType:
        return BeginsWithAny(rest, {"Any", "Variant", "Object"}) || MayBeginFixedString(text, rest) ||
               NextTokenOutOfSight(text, rest);
    case Follow::Base: return BeginsWithAny(rest, {"Base"}) || NextTokenOutOfSight(text, rest);
    case Follow::NoBlockWord: return !BeginsWithBlockWord(rest);
    }
    return false;
}

// 64 bytes of text as bit masks, bit i for the byte at i.
struct ByteMasks {
    std::uint64_t letters = 0;   // ASCII letters
    std::uint64_t plain = 0;     // letters, digits and non-ASCII bytes: what a word never follows
    std::uint64_t names = 0;     // those and "_": what a word is never followed by
    std::uint64_t lineEnds = 0;  // LF
};

constexpr std::size_t kBlock = 64;

#ifdef __SSE2__
ByteMasks MasksOf(const char* bytes)
{
    constexpr int kLanes = 16;
    const auto within = [](__m128i value, char low, char span) {  // low <= value <= low + span, as unsigned
        const __m128i offset = _mm_sub_epi8(value, _mm_set1_epi8(low));
        return _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(span)), offset);
    };
    const auto bits = [](__m128i mask, int lane) {
        return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(mask))) << (lane * kLanes);
    };
    ByteMasks masks;
    for (int lane = 0; lane < 4; ++lane) {
        const __m128i value = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + lane * kLanes));
        const __m128i letter = within(_mm_or_si128(value, _mm_set1_epi8(0x20)), 'a', 'z' - 'a');
        const __m128i plain = _mm_or_si128(_mm_or_si128(letter, within(value, '0', 9)),
                                           _mm_cmplt_epi8(value, _mm_setzero_si128()));
        masks.letters |= bits(letter, lane);
        masks.plain |= bits(plain, lane);
        masks.names |= bits(_mm_or_si128(plain, _mm_cmpeq_epi8(value, _mm_set1_epi8('_'))), lane);
        masks.lineEnds |= bits(_mm_cmpeq_epi8(value, _mm_set1_epi8('\n')), lane);
    }
    return masks;
}
#else
ByteMasks MasksOf(const char* bytes)
{
    ByteMasks masks;
    for (std::size_t i = 0; i < kBlock; ++i) {
        const char c = bytes[i];
        const std::uint64_t bit = std::uint64_t{1} << i;
        if (IsAsciiLetter(c)) masks.letters |= bit;
        if (IsNameByte(c) && c != '_') masks.plain |= bit;
        if (IsNameByte(c)) masks.names |= bit;
        if (c == '\n') masks.lineEnds |= bit;
    }
    return masks;
}
#endif

// Calls candidate(offset, line) for every word of the code that can begin a
// construct, in order, with the number of its line.
template <typename Candidate>
void ForEachCandidate(const ModuleScan& module, Candidate&& candidate)
{
    const std::string_view text = module.text;
    std::uint32_t line = module.codeLine;
    bool afterPlain = false;  // the byte before the block is a letter, a digit or non-ASCII
    std::array<char, kBlock> last{};  // the last, partial block, padded with blanks
    for (std::size_t base = module.codeStart; base < text.size(); base += kBlock) {
        const char* bytes = text.data() + base;
        if (text.size() - base < kBlock) {
            last.fill(' ');
            std::copy(bytes, text.data() + text.size(), last.begin());
            bytes = last.data();
        }
        const ByteMasks masks = MasksOf(bytes);
        std::uint64_t starts = masks.letters & ~((masks.plain << 1) | (afterPlain ? 1 : 0));
        afterPlain = (masks.plain >> (kBlock - 1)) != 0;
        while (starts != 0) {
            const auto start = static_cast<std::size_t>(std::countr_zero(starts));
            starts &= starts - 1;
            const std::uint64_t others = ~masks.letters >> start;  // the letters of the word end at the first
            std::size_t end = others != 0 ? start + static_cast<std::size_t>(std::countr_zero(others)) : kBlock;
            if (end == kBlock) {  // the word goes on into the next block
                end = base + kBlock;
                while (end < text.size() && IsAsciiLetter(text[end])) ++end;
                if (end < text.size() && IsNameByte(text[end])) continue;
                end -= base;
            } else if ((masks.names >> end) & 1) {
                continue;  // letters and then a digit, "_" or non-ASCII: no keyword
            }
            if (end - start >= 2 && MayBeginConstruct(text, base + start, base + end)) {
                const std::uint64_t before = start == 0 ? 0 : masks.lineEnds & (~std::uint64_t{0} >> (kBlock - start));
                candidate(base + start, line + static_cast<std::uint32_t>(std::popcount(before)));
            }
        }
        line += static_cast<std::uint32_t>(std::popcount(masks.lineEnds));
    }
}

// One token of a statement as the constructs see it.
struct Item {
    Word word;
    bool firstWord;
};

// Counts the constructs statement by statement, as ReadCode gives them.
class ConstructCounter {
public:
    void Statement(const CodeStatement&)
    {
        Count();
        items_.clear();
    }

    void Token(const CodeToken& code)
    {
        if (code.token.kind == TokenKind::Comment || code.attributeLine) return;
        items_.push_back({WordOf(code.token), code.firstWord});
    }

    ConstructCounts Finish()
    {
        Count();
        items_.clear();
        return counts_;
    }

private:
    // The word of the statement's item at, or Other past its end.
    Word At(std::size_t at) const { return at < items_.size() ? items_[at].word : Word::Other; }

    void Add(Construct construct) { ++counts_[static_cast<std::size_t>(construct)]; }

    // On [Local] Error Resume Next, On [Local] Error GoTo TOKEN (not 0).
    void OnError(std::size_t on)
    {
        std::size_t at = on + 1;
        if (At(at) == Word::Local) ++at;
        if (At(at) != Word::Error) return;
        if (At(at + 1) == Word::Resume && At(at + 2) == Word::Next) Add(Construct::OnErrorResumeNext);
        if (At(at + 1) == Word::GoTo && at + 2 < items_.size() && At(at + 2) != Word::Zero) {
            Add(Construct::OnErrorGoTo);
        }
    }

    void As(std::size_t as)
    {
        switch (At(as + 1)) {
        case Word::Any: Add(Construct::AsAny); break;
        case Word::Variant: Add(Construct::AsVariant); break;
        case Word::Object: Add(Construct::AsObject); break;
        case Word::String:
            if (At(as + 2) == Word::Star) Add(Construct::FixedStrings);
            break;
        default: break;
        }
    }

    void Count()
    {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const Item& item = items_[i];
            switch (item.word) {
            case Word::GoSub: Add(Construct::GoSub); break;
            case Word::GoTo:
                if (i == 0 || items_[i - 1].word != Word::Error) Add(Construct::GoTo);
                break;
            case Word::On: OnError(i); break;
            case Word::As: As(i); break;
            case Word::CreateObject: Add(Construct::CreateObject); break;
            case Word::GetObject: Add(Construct::GetObject); break;
            case Word::CallByName: Add(Construct::CallByName); break;
            case Word::Pointer: Add(Construct::Pointers); break;
            case Word::DoEvents: Add(Construct::DoEvents); break;
            case Word::Option:
                if (At(i + 1) == Word::Base) Add(Construct::OptionBase);
                break;
            case Word::DefType:
                if (item.firstWord) Add(Construct::DefType);
                break;
            case Word::LSet:
                if (item.firstWord) Add(Construct::LSetRSet);
                break;
            case Word::End:
                if (item.firstWord && At(i + 1) != Word::BlockEnd) Add(Construct::EndStatements);
                break;
            default: break;
            }
        }
    }

    std::vector<Item> items_;
    ConstructCounts counts_{};
};

// --- a member's part -------------------------------------------------------------

// What the inventory takes of one member: the Object lines of its header,
// its controls and its counts. The texts view the member's text.
struct MemberInventory final : PreparedModule {
    std::vector<Reference> references;
    std::vector<ControlType> controls;
    std::optional<ConstructCounts> constructs;  // none when the member could not be read
};

MemberInventory InventoryOf(const ScannedModule& module, CodePage codePage)
{
    MemberInventory inventory;
    if (module.member == nullptr || module.Status() != SourceStatus::Read) return inventory;
    const std::string_view header = module.scan.Header();
    for (const std::string_view value : HeaderObjects(header)) inventory.references.push_back(ReadObjectValue(value));
    inventory.controls = CountControls(header);
    ConstructCounts counts = CountConstructs(module.scan, LeadBytesOf(codePage));
    // The API declarations the run found, or (when it scanned less deep, or
    // found none) those found now: the same either way.
    const std::size_t apis = module.apis.empty() ? FindApiDeclarations(module.scan).size() : module.apis.size();
    counts[static_cast<std::size_t>(Construct::Declares)] = static_cast<std::int64_t>(apis);
    inventory.constructs = counts;
    return inventory;
}

// The member's part as prepared, or worked out now when it was not.
template <typename Use>
void WithInventory(const ModuleTurn& turn, const PreparedModule* prepared, CodePage codePage, Use&& use)
{
    if (const auto* ready = dynamic_cast<const MemberInventory*>(prepared)) {
        use(*ready);
    } else {
        use(InventoryOf(*turn.module, codePage));
    }
}

// The source of the .vbp's rows: the project file's title as given.
std::string ProjectSource(const OutputContext& context)
{
    return PathToUtf8(FileTitle(context.projectPath));
}

// --- CSV -------------------------------------------------------------------------

constexpr std::string_view kReferencesSuffix = "_References.csv";
constexpr std::string_view kControlsSuffix = "_Controls.csv";
constexpr std::string_view kConstructsSuffix = "_Constructs.csv";

constexpr std::array<std::string_view, 7> kReferenceColumns = {"project", "source",  "kind",       "guid",
                                                               "version", "file", "description"};
constexpr std::array<std::string_view, 6> kControlColumns = {"project", "file", "kind", "library", "type", "count"};
constexpr std::array<std::string_view, 5> kMemberColumns = {"project", "file", "kind", "status", "steps"};

class InventoryCsv final : public Writer {
public:
    explicit InventoryCsv(const OutputContext& context)
        : context_(context),
          referencesPath_(context.PathFor(kReferencesSuffix)),
          controlsPath_(context.PathFor(kControlsSuffix)),
          constructsPath_(context.PathFor(kConstructsSuffix))
    {
    }

    bool Begin(Reporter& reporter) override
    {
        std::vector<std::string_view> constructColumns(kMemberColumns.begin(), kMemberColumns.end());
        constructColumns.insert(constructColumns.end(), kConstructColumns.begin(), kConstructColumns.end());
        if (!Open(references_, referencesPath_, kReferenceColumns, reporter) ||
            !Open(controls_, controlsPath_, kControlColumns, reporter) ||
            !Open(constructs_, constructsPath_, constructColumns, reporter)) {
            return false;
        }
        const std::string source = ProjectSource(context_);
        for (const Reference& reference : ProjectReferences(context_.projectText)) {
            WriteReference(source, reference);
        }
        return true;
    }

    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override
    {
        return std::make_unique<MemberInventory>(InventoryOf(*turn.module, context_.codePage));
    }

    bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter&) override
    {
        const ScannedModule& module = *turn.module;
        if (module.member == nullptr) return true;
        const MemberColumns columns = ColumnsOf(module, context_.codePage);
        WithInventory(turn, prepared, context_.codePage, [&](const MemberInventory& inventory) {
            for (const Reference& reference : inventory.references) {
                WriteReference(columns.file, reference);
            }
            for (const ControlType& control : inventory.controls) {
                StartRow(controls_, columns);
                controls_.Converted(control.library, context_.codePage);
                controls_.Converted(control.type, context_.codePage);
                controls_.Number(control.count);
                controls_.EndRow();
            }
            StartRow(constructs_, columns);
            constructs_.Text(columns.status);
            if (inventory.constructs) {
                constructs_.Number(module.scan.steps);
                for (const std::int64_t count : *inventory.constructs) constructs_.Number(count);
            } else {
                constructs_.Empty();  // steps
                for (std::size_t i = 0; i < kConstructCount; ++i) constructs_.Empty();
            }
            constructs_.EndRow();
        });
        return true;
    }

    bool Finish(Reporter& reporter) override
    {
        bool written = Close(references_, referencesPath_, reporter);
        written = Close(controls_, controlsPath_, reporter) && written;
        return Close(constructs_, constructsPath_, reporter) && written;
    }

    std::vector<std::string> Files() const override { return {referencesPath_, controlsPath_, constructsPath_}; }

private:
    static bool Open(CsvWriter& csv, const std::string& path, std::span<const std::string_view> columns,
                     Reporter& reporter)
    {
        if (csv.Open(path, columns)) return true;
        ReportCannotCreate(reporter, path);
        return false;
    }

    static bool Close(CsvWriter& csv, const std::string& path, Reporter& reporter)
    {
        if (csv.Close()) return true;
        ReportCannotWrite(reporter, path);
        return false;
    }

    void StartRow(CsvWriter& csv, const MemberColumns& columns)
    {
        csv.Text(context_.project);
        csv.Text(columns.file);
        csv.Text(columns.kind);
    }

    // A row of NAME_References.csv: the source in UTF-8, the fields as read.
    void WriteReference(std::string_view source, const Reference& reference)
    {
        const CodePage codePage = context_.codePage;
        references_.Text(context_.project);
        references_.Text(source);
        references_.Text(ReferenceKindText(reference.kind));
        references_.Converted(reference.guid, codePage);
        references_.Converted(reference.version, codePage);
        references_.Converted(reference.file, codePage);
        references_.Converted(reference.description, codePage);
        references_.EndRow();
    }

    const OutputContext& context_;
    std::string referencesPath_;
    std::string controlsPath_;
    std::string constructsPath_;
    CsvWriter references_;
    CsvWriter controls_;
    CsvWriter constructs_;
};

// --- JSON ------------------------------------------------------------------------

constexpr std::string_view kInventoryField = "inventory";
constexpr std::string_view kReferencesField = "references";
constexpr std::string_view kControlsField = "controls";
constexpr std::string_view kConstructsField = "constructs";

// The fields of one JSON object, each as "name":value after the first.
class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_.push_back('{'); }
    ~JsonObject() { out_.push_back('}'); }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    void Text(std::string_view name, std::string_view utf8)
    {
        Name(name);
        AppendJsonString(out_, utf8);
    }
    void Number(std::string_view name, std::optional<std::int64_t> value)
    {
        Name(name);
        AppendJsonNumber(out_, value);
    }

private:
    void Name(std::string_view name)
    {
        if (out_.back() != '{') out_.push_back(',');
        AppendJsonName(out_, name);
    }
    std::string& out_;
};

class InventoryJson final : public JsonPart {
public:
    explicit InventoryJson(const OutputContext& context) : context_(context) {}

    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override
    {
        return std::make_unique<MemberInventory>(InventoryOf(*turn.module, context_.codePage));
    }

    void Module(const ScannedModule& module, const PreparedModule* prepared, std::string&) override
    {
        if (module.member == nullptr) return;
        const MemberColumns columns = ColumnsOf(module, context_.codePage);
        WithInventory({&module, nullptr}, prepared, context_.codePage, [&](const MemberInventory& inventory) {
            for (const Reference& reference : inventory.references) {
                AddReference(memberReferences_, columns.file, reference, context_.codePage);
            }
            for (const ControlType& control : inventory.controls) {
                JsonObject row(StartRow(controls_));
                row.Text("file", columns.file);
                row.Text("kind", columns.kind);
                row.Text("library", ToUtf8(control.library, context_.codePage));
                row.Text("type", ToUtf8(control.type, context_.codePage));
                row.Number("count", control.count);
            }
            JsonObject row(StartRow(constructs_));
            row.Text("file", columns.file);
            row.Text("kind", columns.kind);
            row.Text("status", columns.status);
            const bool read = inventory.constructs.has_value();
            row.Number("steps", read ? std::optional<std::int64_t>(module.scan.steps) : std::nullopt);
            for (std::size_t i = 0; i < kConstructCount; ++i) {
                row.Number(kConstructColumns[i], read ? std::optional<std::int64_t>((*inventory.constructs)[i])
                                                      : std::nullopt);
            }
        });
    }

    // The .vbp's rows come first; its text is there once the members are.
    void ProjectFields(std::string& object) override
    {
        std::string references;
        const std::string source = ProjectSource(context_);
        for (const Reference& reference : ProjectReferences(context_.projectText)) {
            AddReference(references, source, reference, context_.codePage);
        }
        if (!references.empty() && !memberReferences_.empty()) references.push_back(',');
        references.append(memberReferences_);
        object.push_back(',');
        AppendJsonName(object, kInventoryField);
        object.push_back('{');
        List(object, kReferencesField, references);
        object.push_back(',');
        List(object, kControlsField, controls_);
        object.push_back(',');
        List(object, kConstructsField, constructs_);
        object.push_back('}');
    }

private:
    // A new row of a list, on a line of its own.
    static std::string& StartRow(std::string& list)
    {
        list.append(list.empty() ? "\n" : ",\n");
        return list;
    }

    static void List(std::string& object, std::string_view name, const std::string& rows)
    {
        AppendJsonName(object, name);
        object.push_back('[');
        object.append(rows);
        if (!rows.empty()) object.push_back('\n');
        object.push_back(']');
    }

    static void AddReference(std::string& list, std::string_view source, const Reference& reference,
                             CodePage codePage)
    {
        JsonObject row(StartRow(list));
        row.Text("source", source);
        row.Text("kind", ReferenceKindText(reference.kind));
        row.Text("guid", ToUtf8(reference.guid, codePage));
        row.Text("version", ToUtf8(reference.version, codePage));
        row.Text("file", ToUtf8(reference.file, codePage));
        row.Text("description", ToUtf8(reference.description, codePage));
    }

    const OutputContext& context_;
    std::string memberReferences_;  // the rows of the members' headers
    std::string controls_;
    std::string constructs_;
};

}  // namespace

const std::array<std::string_view, kConstructCount> kConstructColumns = {
    "gosub",         "goto",       "on_error_resume_next", "on_error_goto", "as_any",      "as_variant",
    "as_object",     "fixed_strings", "createobject",      "getobject",     "callbyname",  "pointers",
    "deftype",       "option_base",   "lset_rset",         "end_statements", "doevents",   "declares"};

std::string_view ReferenceKindText(ReferenceKind kind)
{
    return kReferenceKindTexts[static_cast<std::size_t>(kind)];
}

Reference ReadReferenceValue(std::string_view value)
{
    if (value.starts_with(kProjectMark)) return ProjectReference(value.substr(kProjectMark.size()));
    if (!value.starts_with(kTypeLibraryMark)) return Unknown(value);
    const auto fields = SplitFields<kReferenceFields>(value.substr(kTypeLibraryMark.size()));
    if (!fields || !IsBracedGuid((*fields)[0])) return Unknown(value);
    Reference reference;
    reference.kind = ReferenceKind::Reference;
    reference.guid = (*fields)[0];
    reference.version = (*fields)[1];
    reference.file = (*fields)[3];
    reference.description = (*fields)[4];
    return reference;
}

Reference ReadObjectValue(std::string_view value)
{
    const std::string_view whole = WithoutQuotes(value);
    if (whole.starts_with(kProjectMark)) return ProjectReference(whole.substr(kProjectMark.size()));
    const std::size_t semicolon = value.find(kFileSeparator);
    if (semicolon == std::string_view::npos) return Unknown(value);
    const std::string_view id = Unquoted(value.substr(0, semicolon));
    const auto fields = SplitFields<kComponentFields>(id);
    if (!fields || (*fields)[2].find(kFieldSeparator) != std::string_view::npos || !IsBracedGuid((*fields)[0])) {
        return Unknown(value);
    }
    Reference reference;
    reference.kind = ReferenceKind::Component;
    reference.guid = (*fields)[0];
    reference.version = (*fields)[1];
    reference.file = Unquoted(value.substr(semicolon + 1));
    return reference;
}

std::vector<Reference> ProjectReferences(std::string_view projectText)
{
    std::vector<Reference> references;
    ForEachProjectLine(projectText, [&](std::string_view line) {
        if (line.starts_with(kReferenceKey)) {
            references.push_back(ReadReferenceValue(line.substr(kReferenceKey.size())));
        } else if (line.starts_with(kObjectKey)) {
            references.push_back(ReadObjectValue(line.substr(kObjectKey.size())));
        }
    });
    return references;
}

std::vector<std::string_view> HeaderObjects(std::string_view header)
{
    std::vector<std::string_view> values;
    ForEachPhysicalLine(header, 1, [&](std::string_view line, std::uint32_t) {
        std::string_view rest = TrimBlanks(LineText(line));
        if (rest.size() < kObjectWord.size() || !EqualsIgnoringCase(rest.substr(0, kObjectWord.size()), kObjectWord)) {
            return;
        }
        rest = TrimBlanks(rest.substr(kObjectWord.size()));  // "=" must follow the word itself
        if (rest.starts_with(kAssignment)) values.push_back(TrimBlanks(rest.substr(1)));
    });
    return values;
}

std::vector<ControlType> CountControls(std::string_view header)
{
    std::vector<ControlType> controls;
    bool moduleSeen = false;  // the first Begin line: the module itself
    ForEachPhysicalLine(header, 1, [&](std::string_view line, std::uint32_t) {
        std::string_view rest = LineText(line);
        if (!EqualsIgnoringCase(NextWord(rest), kBeginWord)) return;
        const std::string_view libraryType = NextWord(rest);
        if (!moduleSeen) {
            moduleSeen = true;
            return;
        }
        const std::size_t dot = libraryType.find(kTypeSeparator);
        if (dot == 0 || dot == std::string_view::npos || dot + 1 == libraryType.size()) return;  // "Begin {GUID}"
        const std::string_view library = libraryType.substr(0, dot);
        const std::string_view type = libraryType.substr(dot + 1);
        const auto known = std::find_if(controls.begin(), controls.end(), [&](const ControlType& control) {
            return control.library == library && control.type == type;
        });
        if (known != controls.end()) {
            ++known->count;
        } else {
            controls.push_back({library, type, 1});
        }
    });
    return controls;
}

ConstructCounts CountConstructs(const ModuleScan& module, LeadByteTest isLeadByte, CodeReading reading)
{
    ConstructCounter counter;
    if (reading == CodeReading::EveryLine) {
        ReadCode(module, isLeadByte, counter);
        return counter.Finish();
    }
    CodeReader reader(module, isLeadByte);
    CodeLine readTo = FirstCodeLine(module);  // the lines before it are read or passed over
    ForEachCandidate(module, [&](std::size_t offset, std::uint32_t line) {
        if (offset >= readTo.offset) readTo = reader.Read(ReadingStart(module, offset, line, readTo), offset, counter);
    });
    return counter.Finish();
}

std::unique_ptr<Writer> MakeInventoryCsv(const OutputContext& context)
{
    return std::make_unique<InventoryCsv>(context);
}

std::unique_ptr<JsonPart> MakeInventoryJson(const OutputContext& context)
{
    return std::make_unique<InventoryJson>(context);
}

}  // namespace kolvane
