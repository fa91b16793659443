#include "analysis/findings/unused_code.h"

#include "analysis/diff/report_style.h"
#include "analysis/source/code_page.h"
#include "analysis/source/code_tokens.h"
#include "analysis/tables/csv_writer.h"
#include "analysis/tables/json_text.h"
#include "analysis/tables/member_output.h"
#include "project/model/member_list.h"
#include "project/text/path_text.h"
#include "project/text/source_file.h"
#include "project/text/strings.h"
#include "project/text/text_hash.h"
#include "project/text/text_numbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

namespace kolvane {
namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

constexpr std::array<std::string_view, 6> kStatusTexts = {"live",    "dead",    "exposed",
                                                          "unknown", "missing", "unreadable"};
constexpr std::array<std::string_view, 12> kMemberTexts = {"Module",       "Sub",          "Function", "Property Get",
                                                           "Property Let", "Property Set", "Declare",  "Event",
                                                           "Type",         "Enum",         "Const",    "Variable"};

// --- words ------------------------------------------------------------------

constexpr std::string_view kAttributeWord = "Attribute";
constexpr std::string_view kNameAttribute = "VB_Name";
constexpr std::string_view kExposedAttribute = "VB_Exposed";
constexpr std::string_view kUserMemIdAttribute = "VB_UserMemId";
constexpr std::string_view kTrueWord = "True";
constexpr std::string_view kBeginWord = "Begin";
constexpr std::string_view kImplementsWord = "Implements";
constexpr std::string_view kPublicWord = "Public";
constexpr std::string_view kPrivateWord = "Private";
constexpr std::string_view kGlobalWord = "Global";
constexpr std::string_view kFriendWord = "Friend";
constexpr std::string_view kDimWord = "Dim";
constexpr std::string_view kConstWord = "Const";
constexpr std::string_view kTypeWord = "Type";
constexpr std::string_view kEnumWord = "Enum";
constexpr std::string_view kEventWord = "Event";
constexpr std::string_view kEndWord = "End";
constexpr std::string_view kWithEventsWord = "WithEvents";
// Words after a scope that make no variable of the statement.
constexpr std::array<std::string_view, 9> kNoVariableWords = {"Sub",  "Function", "Property", "Declare", "Event",
                                                              "Type", "Enum",     "Const",    "Static"};
// The procedures the runtime calls in every module of a header kind.
constexpr std::array<std::string_view, 6> kRuntimePrefixes = {"form_",        "mdiform_",      "class_",
                                                              "usercontrol_", "propertypage_", "userdocument_"};

constexpr std::string_view kMainName = "main";
constexpr std::string_view kSubMain = "Sub Main";
constexpr std::string_view kTypeKey = "Type=";
constexpr std::string_view kStartupKey = "Startup=";
constexpr std::array<std::string_view, 3> kComponentTypes = {"OleDll", "OleExe", "Control"};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsSymbol(const Token& token, std::string_view text)
{
    return token.kind == TokenKind::Symbol && token.text == text;
}

bool IsName(const Token& token)
{
    return token.kind == TokenKind::Identifier && !token.name.empty();
}

// --- names ------------------------------------------------------------------

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x80 * kOnes;  // the high bit of each of eight bytes

// Eight ASCII bytes with the letters A-Z in lower case.
std::uint64_t LowerAsciiWord(std::uint64_t word)
{
    const std::uint64_t fromA = word + (0x80 - 'A') * kOnes;  // high bit: at or above 'A'
    const std::uint64_t pastZ = word + (0x80 - 'Z' - 1) * kOnes;  // high bit: above 'Z'
    const std::uint64_t upper = fromA & ~pastZ & kHighBits;
    return word | (upper >> 2);  // 0x80 >> 2 is the case bit 0x20
}

// Folds a name for comparison (ASCII letters in lower case, the trail byte
// of a double-byte character as it is) into out and returns its hash. Runs
// of eight ASCII bytes are folded at once.
std::uint64_t FoldName(std::string_view name, LeadByteTest isLeadByte, std::string& out)
{
    out.resize(name.size());
    char* folded = out.data();
    const char* bytes = name.data();
    std::size_t i = 0;
    while (i < name.size()) {
        if (i + sizeof(std::uint64_t) <= name.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            if ((word & kHighBits) == 0) {
                word = LowerAsciiWord(word);
                std::memcpy(folded + i, &word, sizeof word);
                i += sizeof word;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            folded[i] = LowerAscii(bytes[i]);
            ++i;
        } else if (isLeadByte != nullptr && isLeadByte(byte) && i + 1 < name.size() &&
                   IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            folded[i] = bytes[i];
            folded[i + 1] = bytes[i + 1];  // the trail byte as it is
            i += 2;
        } else {
            folded[i] = bytes[i];
            ++i;
        }
    }
    return HashText(out);
}

// Folded names, each with a number from 0 on in the order they came.
using NameTable = TextNumbers;

// --- name sets -------------------------------------------------------------

// A region's names as a set of the module's name numbers: a bitmap from the
// least of them when that is no longer than one byte a name, else the gaps
// between them sorted, seven bits a byte.
constexpr std::uint8_t kGapList = 0;
constexpr std::uint8_t kBitmap = 1;

void AppendVarint(std::uint32_t value, std::vector<std::uint8_t>& out)
{
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

std::uint32_t ReadVarint(const std::uint8_t*& at, const std::uint8_t* end)
{
    std::uint32_t value = 0;
    for (int shift = 0; at < end && shift < 32; shift += 7) {
        const std::uint8_t byte = *at++;
        value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) break;
    }
    return value;
}

// Appends the set of distinct numbers (in any order; sorted when needed).
void AppendSet(std::vector<std::uint32_t>& ids, std::vector<std::uint8_t>& out)
{
    if (ids.empty()) return;
    const auto [low, high] = std::minmax_element(ids.begin(), ids.end());
    const std::uint32_t least = *low;
    const std::size_t bitmapBytes = (*high - least) / 8 + 1;
    if (bitmapBytes <= ids.size()) {
        out.push_back(kBitmap);
        AppendVarint(least, out);
        const std::size_t at = out.size();
        out.resize(at + bitmapBytes, 0);
        for (const std::uint32_t id : ids)
            out[at + (id - least) / 8] |= static_cast<std::uint8_t>(1u << ((id - least) % 8));
        return;
    }
    std::sort(ids.begin(), ids.end());
    out.push_back(kGapList);
    std::uint32_t previous = 0;
    for (const std::uint32_t id : ids) {
        AppendVarint(id - previous, out);
        previous = id;
    }
}

template <typename Visit>
void ForEachInSet(const std::uint8_t* at, const std::uint8_t* end, Visit&& visit)
{
    if (at >= end) return;
    const std::uint8_t kind = *at++;
    if (kind == kBitmap) {
        const std::uint32_t least = ReadVarint(at, end);
        for (std::uint32_t byte = 0; at + byte < end; ++byte) {
            for (unsigned bits = at[byte]; bits != 0; bits &= bits - 1) {
                visit(least + 8 * byte + static_cast<std::uint32_t>(std::countr_zero(bits)));
            }
        }
        return;
    }
    std::uint32_t value = 0;
    while (at < end) {
        value += ReadVarint(at, end);
        visit(value);
    }
}

// --- one module read --------------------------------------------------------

struct LocalDeclaration {
    DeclarationMember member = DeclarationMember::Sub;
    Scope scope = Scope::Public;
    bool projectWide = true;  // seen from every module (else from its own only)
    bool publicEntry = false;  // Public: an entry point of an exposed module
    std::uint32_t line = 0;
    std::int32_t steps = 0;
    std::uint32_t displayBegin = 0;
    std::uint32_t displaySize = 0;
    std::uint32_t name = kNone;  // the module's number of its folded name
    std::uint32_t aliasBegin = 0;  // an Enum's member names, its own aside
    std::uint32_t aliasEnd = 0;
    std::uint32_t node = 0;  // what shares its status
    // The tokens naming it in its own region; once the module is read, for
    // one seen from its own module only, its references.
    std::uint32_t count = 0;
};

// What is reached together: a declaration, or a property's accessors.
struct LocalNode {
    std::uint32_t region = 0;
    bool runtime = false;  // reached with its module (rule 7)
    bool procedure = false;  // a procedure's or property's
};

// What stays of a module once read.
struct ModuleFacts {
    std::vector<LocalDeclaration> declarations;  // in row order
    std::vector<std::uint32_t> aliases;
    std::vector<LocalNode> nodes;
    std::vector<std::uint8_t> sets;  // the regions' names (AppendSet)
    std::vector<std::uint32_t> setRanges;  // per region: begin and end in sets
    std::string display;  // the declarations' names as written
    std::uint32_t moduleOwn = 0;  // tokens naming the module in its own region
    bool hasVbName = false;
    std::string vbName;
    std::uint32_t vbNameLine = 0;
    std::uint32_t vbNameId = kNone;
    bool exposed = false;
    std::vector<std::uint32_t> interfaces;  // the names of the classes it implements
};

struct PreparedUnused final : PreparedModule {
    NameTable names;
    std::vector<std::uint32_t> totals;  // tokens per name in the module
    mutable ModuleFacts facts;  // handed over to the project when the module is added
};

constexpr std::uint32_t kModuleRegion = 0;

struct ProcedureRange {
    std::uint32_t first;
    std::uint32_t last;
    std::uint32_t node;
};

struct Segment {
    std::uint32_t region;
    std::uint32_t begin;
    std::uint32_t end;
};

// Per name of a module: its tokens in the run of one region being read (a
// segment).
struct NameCounts {
    std::uint32_t segment = kNone;  // the segment it was last counted in
    std::uint32_t count = 0;  // its count there
    std::uint32_t total = 0;  // its tokens in the module
};

constexpr std::size_t kSpellingBytes = 16;
constexpr std::size_t kSpellings = 4096;
struct Spelling {
    std::uint64_t words[2] = {0, 0};
    std::uint32_t size = ~0u;  // none
    std::uint32_t id = 0;
};

// A line of a procedure read before in the module, and what it gave.
struct RememberedLine {
    std::uint64_t hash = 0;
    const char* text = nullptr;
    std::uint32_t size = 0;
    std::uint32_t idsBegin = 0;  // its names' numbers in ReaderScratch::lineIds
    std::uint32_t idsEnd = 0;
    bool continues = false;  // it was read as a line that continues its statement
    bool commentGoesOn = false;  // it ends in a comment continued
};

constexpr std::uint32_t kFreeSlot = 0;  // slots hold a line's index + 1

// The first tokens of an attribute line: as many as its readers look at.
class AttributeTokens {
public:
    bool full() const { return size_ == kCapacity; }
    std::size_t size() const { return size_; }
    void push_back(const Token& token) { tokens_[size_++] = token; }
    const Token& operator[](std::size_t i) const { return tokens_[i]; }

private:
    static constexpr std::size_t kCapacity = 8;
    std::array<Token, kCapacity> tokens_{};
    std::size_t size_ = 0;
};

// What a reader needs only while it reads a module: kept per thread from
// module to module, for its memory.
struct ReaderScratch {
    std::string folded;
    std::vector<Spelling> spellings;
    std::vector<NameCounts> counts;
    std::vector<std::uint32_t> segmentNames;
    std::vector<bool> sharedRegion;
    std::vector<std::uint32_t> regionFirst;
    std::vector<std::uint32_t> declarationNext;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
    std::vector<Segment> segments;
    std::vector<ProcedureRange> procedureRanges;
    std::string procedureNames;  // folded, one after the other
    std::vector<std::uint32_t> procedureNameEnds;
    std::vector<const ApiDeclaration*> apisHere;
    std::vector<CodeToken> tokens;
    std::vector<const Token*> words;
    std::vector<RememberedLine> lines;
    std::vector<std::uint32_t> lineSlots;  // open addressing by hash
    std::vector<std::uint32_t> grownSlots;
    std::vector<std::uint32_t> lineIds;
    // The module's facts while they are gathered; the module gets a copy of
    // just their size.
    ModuleFacts facts;
    std::vector<LocalDeclaration> sorted;

    void Clear()
    {
        facts.declarations.clear();
        facts.aliases.clear();
        facts.nodes.clear();
        facts.sets.clear();
        facts.setRanges.clear();
        facts.display.clear();
        facts.moduleOwn = 0;
        facts.hasVbName = false;
        facts.vbName.clear();
        facts.vbNameLine = 0;
        facts.vbNameId = kNone;
        facts.exposed = false;
        facts.interfaces.clear();
        lines.clear();
        lineSlots.assign(1024, kFreeSlot);
        lineIds.clear();
        spellings.assign(kSpellings, Spelling{});
        counts.clear();
        segmentNames.clear();
        sharedRegion.clear();
        regionFirst.clear();
        declarationNext.clear();
        pairs.clear();
        segments.clear();
        procedureRanges.clear();
        procedureNames.clear();
        procedureNameEnds.clear();
        apisHere.clear();
        tokens.clear();
        words.clear();
    }
};

ReaderScratch& ThreadScratch()
{
    thread_local ReaderScratch scratch;
    scratch.Clear();
    return scratch;
}

class ModuleReader {
public:
    ModuleReader(const UnusedSource& source, LeadByteTest isLeadByte, PreparedUnused& out)
        : source_(source), scan_(*source.scan), isLeadByte_(isLeadByte), out_(out)
    {
    }

    void Run()
    {
        NewRegion(true);  // the module's own region
        ReadProcedures();
        if (HasHeader(source_.kind)) ReadHeader();
        ReadCode(scan_, isLeadByte_, *this);
        Flush();
        EndBlock();
        CloseSegment();
        FinishSharedRegions();
        FinishDeclarations();
        if (HasHeader(source_.kind)) MarkRuntimeProcedures();
        out_.facts = facts_;  // copies of just their size
    }

    // ReadCode's visitor. A statement in a procedure that holds no Declare
    // is read for its names alone (and its attribute lines).
    bool Statement(const CodeStatement& statement)
    {
        Flush();
        statement_ = statement;
        pending_ = true;
        procedure_ = ProcedureAt(statement.firstLine);
        apisHere_.clear();
        while (nextApi_ < source_.apis.size() && source_.apis[nextApi_].line < statement.firstLine) ++nextApi_;
        while (nextApi_ < source_.apis.size() && source_.apis[nextApi_].line <= statement.lastLine) {
            apisHere_.push_back(&source_.apis[nextApi_++]);
        }
        namesOnly_ = procedure_ != kNone && apisHere_.empty();
        if (namesOnly_) {
            EndBlock();
            EnterRegion(facts_.nodes[procedureRanges_[procedure_].node].region);
        }
        return !namesOnly_;
    }
    void Token(const CodeToken& token) { tokens_.push_back(token); }
    void Name(std::string_view name) { Count(name); }

    // A line of a statement read for its names: a line read before in the
    // module at the same place in a statement gives the same names again
    // (unless a comment continued into it).
    void NameLine(std::string_view text, std::uint32_t number, code_tokens::LineReader& reader)
    {
        if (reader.CommentGoesOn()) {
            reader.Names(text, number, *this);
            return;
        }
        const bool continues = reader.NextLineContinues();
        const std::uint64_t hash = HashText(text) ^ static_cast<std::uint64_t>(continues);
        std::vector<RememberedLine>& lines = work_.lines;
        std::vector<std::uint32_t>& slots = work_.lineSlots;
        std::size_t slot = hash & (slots.size() - 1);
        for (; slots[slot] != kFreeSlot; slot = (slot + 1) & (slots.size() - 1)) {
            const RememberedLine& line = lines[slots[slot] - 1];
            if (line.hash != hash || line.size != text.size() || line.continues != continues ||
                std::memcmp(line.text, text.data(), text.size()) != 0) {
                continue;
            }
            for (std::uint32_t i = line.idsBegin; i < line.idsEnd; ++i) CountId(work_.lineIds[i]);
            reader.Replayed(line.commentGoesOn);
            return;
        }
        const auto begin = static_cast<std::uint32_t>(work_.lineIds.size());
        const std::size_t tokens = tokens_.size();
        recording_ = true;
        reader.Names(text, number, *this);
        recording_ = false;
        if (tokens_.size() != tokens) {  // an attribute line, read as tokens
            work_.lineIds.resize(begin);
            return;
        }
        lines.push_back({hash, text.data(), static_cast<std::uint32_t>(text.size()), begin,
                         static_cast<std::uint32_t>(work_.lineIds.size()), continues, reader.CommentGoesOn()});
        slots[slot] = static_cast<std::uint32_t>(lines.size());
        if (2 * lines.size() > slots.size()) {
            std::vector<std::uint32_t>& grown = work_.grownSlots;
            grown.assign(2 * slots.size(), kFreeSlot);
            for (std::uint32_t i = 0; i < lines.size(); ++i) {
                std::size_t at = lines[i].hash & (grown.size() - 1);
                while (grown[at] != kFreeSlot) at = (at + 1) & (grown.size() - 1);
                grown[at] = i + 1;
            }
            slots.swap(grown);
        }
    }

private:
    // A Type or Enum block being read.
    struct Block {
        bool open = false;
        bool isEnum = false;
        std::uint32_t region = 0;
        std::uint32_t declaration = 0;
        std::vector<std::uint32_t> members;
    };

    // --- names ---

    std::uint32_t Intern(std::string_view name)
    {
        const std::uint64_t hash = FoldName(name, isLeadByte_, scratch_);
        const std::uint32_t id = out_.names.Number(scratch_, hash);
        if (id == counts_.size()) counts_.push_back({});
        return id;
    }

    std::string Folded(std::string_view name)
    {
        FoldName(name, isLeadByte_, scratch_);
        return scratch_;
    }

    // The number of a name as spelled: most names are short and spelled
    // again and again, so a cache of spellings (up to 16 bytes, the case as
    // written) answers before the name is folded and looked up.
    std::uint32_t Spelled(std::string_view name)
    {
        const std::size_t size = name.size();
        const char* data = name.data();
        if (size > kSpellingBytes || data < textBegin_ || data + kSpellingBytes > textEnd_) return Intern(name);
        std::uint64_t words[2];
        std::memcpy(words, data, sizeof words);
        if (size < 8) {
            words[0] &= (std::uint64_t{1} << (8 * size)) - 1;
            words[1] = 0;
        } else if (size < 16) {
            words[1] &= (std::uint64_t{1} << (8 * (size - 8))) - 1;
        }
        const std::uint64_t hash = (words[0] * 0x9E3779B97F4A7C15ull) ^ (words[1] * 0xC2B2AE3D27D4EB4Full) ^ size;
        Spelling& entry = spellings_[(hash ^ (hash >> 29)) & (kSpellings - 1)];
        if (entry.size == size && entry.words[0] == words[0] && entry.words[1] == words[1]) return entry.id;
        entry = {{words[0], words[1]}, static_cast<std::uint32_t>(size), Intern(name)};
        return entry.id;
    }

    // A token naming something, in the current region.
    void Count(std::string_view name)
    {
        if (name.empty()) return;
        const std::uint32_t id = Spelled(name);
        if (recording_) work_.lineIds.push_back(id);
        CountId(id);
    }

    void CountId(std::uint32_t id)
    {
        NameCounts& counts = counts_[id];
        ++counts.total;
        if (counts.segment != segment_) {
            counts.segment = segment_;
            counts.count = 0;
            segmentNames_.push_back(id);
        }
        ++counts.count;
    }

    // Its count in the segment being read.
    std::uint32_t SegmentCount(std::uint32_t id) const
    {
        return id < counts_.size() && counts_[id].segment == segment_ ? counts_[id].count : 0;
    }

    void EnterRegion(std::uint32_t region)
    {
        if (region == region_) return;
        CloseSegment();
        region_ = region;
    }

    // The run of tokens of one region ends. A region read in one run (a
    // procedure, a declaring statement, a block) is finished at once; the
    // runs of the others (the module's own, a property's accessors) are kept.
    void CloseSegment()
    {
        if (!segmentNames_.empty()) {
            if (sharedRegion_[region_]) {
                const auto begin = static_cast<std::uint32_t>(pairs_.size());
                for (const std::uint32_t id : segmentNames_) pairs_.emplace_back(id, counts_[id].count);
                segments_.push_back({region_, begin, static_cast<std::uint32_t>(pairs_.size())});
            } else {
                for (std::uint32_t d = regionFirst_[region_]; d != kNone; d = declarationNext_[d]) {
                    LocalDeclaration& declaration = facts_.declarations[d];
                    if (declaration.name == kNone) continue;
                    declaration.count = SegmentCount(declaration.name);
                    for (std::uint32_t a = declaration.aliasBegin; a < declaration.aliasEnd; ++a) {
                        declaration.count += SegmentCount(facts_.aliases[a]);
                    }
                }
                StoreSet(region_, segmentNames_);
            }
            segmentNames_.clear();
        }
        ++segment_;
    }

    void StoreSet(std::uint32_t region, std::vector<std::uint32_t>& ids)
    {
        facts_.setRanges[2 * region] = static_cast<std::uint32_t>(facts_.sets.size());
        AppendSet(ids, facts_.sets);
        facts_.setRanges[2 * region + 1] = static_cast<std::uint32_t>(facts_.sets.size());
    }

    std::uint32_t NewRegion(bool shared = false)
    {
        sharedRegion_.push_back(shared);
        regionFirst_.push_back(kNone);
        facts_.setRanges.push_back(0);
        facts_.setRanges.push_back(0);
        return static_cast<std::uint32_t>(sharedRegion_.size() - 1);
    }

    std::uint32_t NewNode(std::uint32_t region, bool procedure)
    {
        facts_.nodes.push_back({region, false, procedure});
        return static_cast<std::uint32_t>(facts_.nodes.size() - 1);
    }

    std::uint32_t AddDeclaration(DeclarationMember member, std::string_view name, Scope scope, bool projectWide,
                                 bool publicEntry, std::uint32_t line, std::uint32_t node)
    {
        LocalDeclaration declaration;
        declaration.member = member;
        declaration.scope = scope;
        declaration.projectWide = projectWide;
        declaration.publicEntry = publicEntry;
        declaration.line = line;
        declaration.displayBegin = static_cast<std::uint32_t>(facts_.display.size());
        declaration.displaySize = static_cast<std::uint32_t>(name.size());
        facts_.display.append(name);
        declaration.name = name.empty() ? kNone : Intern(name);
        declaration.node = node;
        const auto index = static_cast<std::uint32_t>(facts_.declarations.size());
        facts_.declarations.push_back(declaration);
        // Listed with the other declarations of its region.
        const std::uint32_t region = facts_.nodes[node].region;
        declarationNext_.push_back(regionFirst_[region]);
        regionFirst_[region] = index;
        return index;
    }

    // --- procedures ---

    static DeclarationMember MemberOf(ProcedureKind kind)
    {
        switch (kind) {
        case ProcedureKind::Sub:
            return DeclarationMember::Sub;
        case ProcedureKind::Function:
            return DeclarationMember::Function;
        case ProcedureKind::PropertyGet:
            return DeclarationMember::PropertyGet;
        case ProcedureKind::PropertyLet:
            return DeclarationMember::PropertyLet;
        case ProcedureKind::PropertySet:
            return DeclarationMember::PropertySet;
        }
        return DeclarationMember::Sub;
    }

    // Every procedure a row and a region; the k-th accessor of each kind of
    // a property name joins the k-th property of that name, whose accessors
    // are one region.
    void ReadProcedures()
    {
        struct Property {
            std::string name;
            std::array<std::uint32_t, 3> accessors{};  // per kind: accessors met
            std::vector<std::uint32_t> nodes;  // per k
        };
        std::vector<Property> properties;
        for (const Procedure& procedure : source_.procedures) {
            std::uint32_t node = kNone;
            const bool property = procedure.kind == ProcedureKind::PropertyGet ||
                                  procedure.kind == ProcedureKind::PropertyLet ||
                                  procedure.kind == ProcedureKind::PropertySet;
            FoldName(procedure.name, isLeadByte_, scratch_);
            procedureNames_.append(scratch_);
            procedureNameEnds_.push_back(static_cast<std::uint32_t>(procedureNames_.size()));
            if (property) {
                auto found = std::find_if(properties.begin(), properties.end(),
                                          [&](const Property& p) { return p.name == scratch_; });
                if (found == properties.end()) {
                    properties.push_back({scratch_, {}, {}});
                    found = properties.end() - 1;
                }
                const std::size_t kind =
                    static_cast<std::size_t>(procedure.kind) - static_cast<std::size_t>(ProcedureKind::PropertyGet);
                const std::uint32_t k = found->accessors[kind]++;
                if (k == found->nodes.size()) found->nodes.push_back(NewNode(NewRegion(true), true));
                node = found->nodes[k];
            } else {
                node = NewNode(NewRegion(), true);
            }
            const std::uint32_t last = procedure.lastStatement < scan_.statements.size()
                                           ? scan_.statements[procedure.lastStatement].lastLine
                                           : procedure.line;
            procedureRanges_.push_back({procedure.line, std::max(last, procedure.line), node});
            const bool priv = procedure.scope == Scope::Private;
            const std::uint32_t declaration =
                AddDeclaration(MemberOf(procedure.kind), procedure.name, procedure.scope, !priv,
                               procedure.scope == Scope::Public, procedure.line, node);
            facts_.declarations[declaration].steps = procedure.Steps();
        }
    }

    // The procedure whose region holds a statement beginning on the line:
    // the last one that begins on or before it, when its range reaches it.
    std::uint32_t ProcedureAt(std::uint32_t line)
    {
        while (nextProcedure_ < procedureRanges_.size() && procedureRanges_[nextProcedure_].first <= line) {
            ++nextProcedure_;
        }
        if (nextProcedure_ == 0) return kNone;
        const ProcedureRange& range = procedureRanges_[nextProcedure_ - 1];
        return range.last >= line ? static_cast<std::uint32_t>(nextProcedure_ - 1) : kNone;
    }

    // --- the designer header ---

    // Begin lines give their Library and Type words (the module's tokens) and,
    // after the first, a control; the first Attribute VB_Name and
    // VB_Exposed lines name the module and tell whether it is exposed.
    void ReadHeader()
    {
        bool firstBegin = true;
        bool exposedRead = false;
        EnterRegion(kModuleRegion);
        ForEachPhysicalLine(scan_.Header(), 1, [&](std::string_view line, std::uint32_t number) {
            std::size_t at = 0;
            while (at < line.size() && IsBlank(line[at])) ++at;
            if (at == line.size()) return;
            const char initial = LowerAscii(line[at]);
            if (initial == 'b') {
                std::array<std::string_view, 3> words{};
                std::size_t count = 0;
                while (count < words.size() && at < line.size()) {
                    const std::size_t start = at;
                    while (at < line.size() && !IsBlank(line[at])) ++at;
                    words[count++] = line.substr(start, at - start);
                    while (at < line.size() && IsBlank(line[at])) ++at;
                }
                if (!EqualsIgnoringCase(words[0], kBeginWord)) return;
                const std::size_t dot = words[1].find('.');
                if (dot != std::string_view::npos) {
                    Count(words[1].substr(0, dot));
                    Count(words[1].substr(dot + 1));
                    if (!firstBegin && !words[2].empty()) controls_.push_back(Folded(words[2]) + "_");
                }
                firstBegin = false;
            } else if (initial == 'a') {
                AttributeTokens tokens;
                LineLexer lexer(line, {isLeadByte_, false});
                kolvane::Token token;
                while (tokens.size() < 4 && lexer.Next(token)) tokens.push_back(token);
                if (tokens.size() < 2 || !tokens[0].IsWord(kAttributeWord)) return;
                if (tokens[1].IsWord(kNameAttribute)) {
                    NameLine(tokens, number);
                } else if (tokens[1].IsWord(kExposedAttribute) && !exposedRead) {
                    exposedRead = true;
                    facts_.exposed = tokens.size() >= 4 && IsSymbol(tokens[2], "=") && tokens[3].IsWord(kTrueWord);
                }
            }
        });
    }

    // An Attribute VB_Name line (its first tokens): the first names the module.
    void NameLine(const AttributeTokens& tokens, std::uint32_t line)
    {
        if (facts_.hasVbName) return;
        facts_.hasVbName = true;
        facts_.vbNameLine = line;
        if (tokens.size() >= 4 && IsSymbol(tokens[2], "=") &&
            (tokens[3].kind == TokenKind::String || tokens[3].kind == TokenKind::Identifier)) {
            facts_.vbName = std::string(tokens[3].name);
        }
    }

    // --- statements ---

    // The tokens of an attribute line of the statement: the module's name, a
    // procedure's default member or enumerator.
    void AttributeLine(std::span<const CodeToken> line, std::uint32_t procedure)
    {
        AttributeTokens tokens;
        for (const CodeToken& code : line) {
            if (code.token.kind == TokenKind::Comment || tokens.full()) break;
            tokens.push_back(code.token);
        }
        if (tokens.size() < 2) return;
        if (tokens[1].IsWord(kNameAttribute)) {
            NameLine(tokens, line.front().line);
            return;
        }
        if (procedure == kNone || tokens.size() < 6) return;
        if (!IsName(tokens[1]) || !IsSymbol(tokens[2], ".") || !tokens[3].IsWord(kUserMemIdAttribute) ||
            !IsSymbol(tokens[4], "=")) {
            return;
        }
        const bool zero = tokens[5].kind == TokenKind::Number && tokens[5].text == "0";
        const bool enumerator = tokens.size() >= 7 && IsSymbol(tokens[5], "-") && tokens[6].kind == TokenKind::Number &&
                                tokens[6].text == "4";
        if (zero || enumerator) facts_.nodes[procedureRanges_[procedure].node].runtime = true;
    }

    // The statement read, its tokens gathered: its attribute lines, then (for
    // one read whole) its region, its declarations and its names.
    void Flush()
    {
        if (!pending_) return;
        pending_ = false;
        const std::uint32_t procedure = procedure_;

        for (std::size_t k = 0; k < tokens_.size();) {
            if (!tokens_[k].attributeLine) {
                ++k;
                continue;
            }
            std::size_t end = k;
            while (end < tokens_.size() && tokens_[end].attributeLine && tokens_[end].line == tokens_[k].line) ++end;
            AttributeLine(std::span<const CodeToken>(tokens_).subspan(k, end - k), procedure);
            k = end;
        }
        if (namesOnly_) {  // its names are counted already
            tokens_.clear();
            return;
        }
        // The tokens that count: neither comments nor on attribute lines.
        words_.clear();
        for (const CodeToken& code : tokens_) {
            if (code.attributeLine || code.token.kind == TokenKind::Comment) continue;
            words_.push_back(&code.token);
        }

        firstOfStatement_ = kNone;
        std::uint32_t region = kModuleRegion;
        if (procedure != kNone) {
            EndBlock();
            region = facts_.nodes[procedureRanges_[procedure].node].region;
            AddDeclares(region);
        } else if (block_.open) {
            region = block_.region;
            facts_.declarations[block_.declaration].steps += static_cast<std::int32_t>(statement_.steps);
            const bool ends = words_.size() >= 2 && words_[0]->IsWord(kEndWord) &&
                              words_[1]->IsWord(block_.isEnum ? kEnumWord : kTypeWord);
            if (!ends && block_.isEnum) EnumMembers();
            AddDeclares(region);
            if (ends) EndBlock();
        } else if (!apisHere_.empty()) {
            region = NewRegion();
            AddDeclares(region);
        } else {
            region = ModuleLevel();
        }
        EnterRegion(region);
        for (const kolvane::Token* token : words_) {
            if (token->kind == TokenKind::Identifier) {
                Count(token->name);
            } else if (token->kind == TokenKind::String) {
                ForEachStringWord(token->name, isLeadByte_, [this](std::string_view word) { Count(word); });
            }
        }
        tokens_.clear();
    }

    // The statement's declaration gets its counted steps when it is its
    // first; the others none.
    void StepsTo(std::uint32_t declaration)
    {
        if (firstOfStatement_ != kNone) return;
        firstOfStatement_ = declaration;
        facts_.declarations[declaration].steps = static_cast<std::int32_t>(statement_.steps);
    }

    void AddDeclares(std::uint32_t region)
    {
        for (const ApiDeclaration* api : apisHere_) {
            const bool priv = api->scope == Scope::Private;
            const std::uint32_t declaration =
                AddDeclaration(DeclarationMember::Declare, api->name, api->scope, !priv, api->scope == Scope::Public,
                               api->line, NewNode(region, false));
            StepsTo(declaration);
        }
    }

    void EndBlock()
    {
        if (!block_.open) return;
        block_.open = false;
        LocalDeclaration& declaration = facts_.declarations[block_.declaration];
        std::sort(block_.members.begin(), block_.members.end());
        block_.members.erase(std::unique(block_.members.begin(), block_.members.end()), block_.members.end());
        declaration.aliasBegin = static_cast<std::uint32_t>(facts_.aliases.size());
        for (const std::uint32_t member : block_.members) {
            if (member != declaration.name) facts_.aliases.push_back(member);
        }
        declaration.aliasEnd = static_cast<std::uint32_t>(facts_.aliases.size());
        block_.members.clear();
    }

    // The first name of each ":"-separated part of a statement in an Enum block.
    void EnumMembers()
    {
        bool partStart = true;
        for (const kolvane::Token* token : words_) {
            if (token->kind == TokenKind::Separator) {
                partStart = true;
            } else if (partStart && IsName(*token)) {
                block_.members.push_back(Intern(token->name));
                partStart = false;
            }
        }
    }

    // A statement at module level outside a block: its region, new when it
    // declares names.
    std::uint32_t ModuleLevel()
    {
        std::uint32_t region = kNone;
        std::size_t begin = 0;
        for (std::size_t i = 0; i <= words_.size(); ++i) {
            if (i < words_.size() && words_[i]->kind != TokenKind::Separator) continue;
            const std::span<const kolvane::Token* const> part(words_.data() + begin, i - begin);
            begin = i + 1;
            if (!part.empty()) ModulePart(part, region);
            if (block_.open) break;  // the rest of the opening statement is the block's
        }
        return region == kNone ? kModuleRegion : region;
    }

    // Splits a list at its commas outside parentheses; calls item(tokens).
    template <typename Item>
    static void ForEachItem(std::span<const kolvane::Token* const> list, Item&& item)
    {
        int depth = 0;
        std::size_t begin = 0;
        for (std::size_t i = 0; i <= list.size(); ++i) {
            if (i < list.size()) {
                if (IsSymbol(*list[i], "(")) ++depth;
                if (IsSymbol(*list[i], ")") && depth > 0) --depth;
                if (!(depth == 0 && IsSymbol(*list[i], ","))) continue;
            }
            item(list.subspan(begin, i - begin));
            begin = i + 1;
        }
    }

    std::uint32_t Declare(std::uint32_t& region, DeclarationMember member, std::string_view name, Scope scope,
                          bool projectWide, bool publicEntry)
    {
        if (region == kNone) region = NewRegion();
        const std::uint32_t declaration =
            AddDeclaration(member, name, scope, projectWide, publicEntry, statement_.firstLine, NewNode(region, false));
        StepsTo(declaration);
        return declaration;
    }

    // One ":"-separated part of a module-level statement.
    void ModulePart(std::span<const kolvane::Token* const> part, std::uint32_t& region)
    {
        const kolvane::Token& first = *part[0];
        if (first.IsWord(kImplementsWord)) {
            // Implements Name, or Implements Library.Name: the last name.
            std::size_t at = 1;
            std::string_view name;
            while (at < part.size() && IsName(*part[at])) {
                name = part[at]->name;
                if (at + 2 < part.size() && IsSymbol(*part[at + 1], ".")) {
                    at += 2;
                } else {
                    break;
                }
            }
            if (!name.empty()) {
                interfaces_.push_back(Folded(name) + "_");
                facts_.interfaces.push_back(Intern(name));
            }
            return;
        }
        enum class Word { None, Public, Private, Global, Friend, Dim } word = Word::None;
        if (first.IsWord(kPublicWord)) word = Word::Public;
        if (first.IsWord(kPrivateWord)) word = Word::Private;
        if (first.IsWord(kGlobalWord)) word = Word::Global;
        if (first.IsWord(kFriendWord)) word = Word::Friend;
        if (first.IsWord(kDimWord)) word = Word::Dim;
        const std::size_t at = word == Word::None ? 0 : 1;
        if (at >= part.size()) return;
        const kolvane::Token& keyword = *part[at];
        const bool isPublic = word == Word::Public || word == Word::Global;

        if (keyword.IsWord(kConstWord)) {
            const Scope scope = isPublic ? Scope::Public : word == Word::Friend ? Scope::Friend : Scope::Private;
            ForEachItem(part.subspan(at + 1), [&](std::span<const kolvane::Token* const> item) {
                if (!item.empty() && IsName(*item[0])) {
                    Declare(region, DeclarationMember::Const, item[0]->name, scope, isPublic, isPublic);
                }
            });
            return;
        }
        if (word != Word::Dim && at + 1 < part.size() && IsName(*part[at + 1]) &&
            (keyword.IsWord(kTypeWord) || keyword.IsWord(kEnumWord))) {
            const bool isEnum = keyword.IsWord(kEnumWord);
            const bool priv = word == Word::Private || word == Word::Friend;
            const Scope scope = priv ? Scope::Private : Scope::Public;
            if (region == kNone) region = NewRegion();
            const std::uint32_t declaration =
                AddDeclaration(isEnum ? DeclarationMember::Enum : DeclarationMember::Type, part[at + 1]->name, scope,
                               !priv, !priv, statement_.firstLine, NewNode(region, false));
            if (firstOfStatement_ == kNone) firstOfStatement_ = declaration;
            block_.open = true;
            block_.isEnum = isEnum;
            block_.region = region;
            block_.declaration = declaration;
            facts_.declarations[declaration].steps = static_cast<std::int32_t>(statement_.steps);
            return;
        }
        if (word != Word::Dim && at + 1 < part.size() && IsName(*part[at + 1]) && keyword.IsWord(kEventWord)) {
            const Scope scope = word == Word::Private  ? Scope::Private
                                : word == Word::Friend ? Scope::Friend
                                                       : Scope::Public;
            Declare(region, DeclarationMember::Event, part[at + 1]->name, scope, scope != Scope::Private,
                    scope == Scope::Public);
            return;
        }
        if (word == Word::None || word == Word::Friend) return;
        for (const std::string_view noVariable : kNoVariableWords) {
            if (keyword.IsWord(noVariable)) return;
        }
        const Scope scope = isPublic ? Scope::Public : Scope::Private;
        ForEachItem(part.subspan(at), [&](std::span<const kolvane::Token* const> item) {
            std::size_t name = 0;
            const bool withEvents = item.size() >= 2 && item[0]->IsWord(kWithEventsWord) && IsName(*item[1]);
            if (withEvents) name = 1;
            if (name >= item.size() || !IsName(*item[name])) return;
            const std::uint32_t declaration =
                Declare(region, DeclarationMember::Variable, item[name]->name, scope, isPublic, isPublic);
            if (withEvents) {
                facts_.nodes[facts_.declarations[declaration].node].runtime = true;
                withEvents_.push_back(Folded(item[name]->name) + "_");
            }
        });
    }

    // --- after the code ---

    // The regions read in several runs (the module's own, the properties'):
    // their runs merged, the own counts of their declarations, their sets.
    void FinishSharedRegions()
    {
        std::stable_sort(segments_.begin(), segments_.end(),
                         [](const Segment& a, const Segment& b) { return a.region < b.region; });
        std::vector<std::pair<std::uint32_t, std::uint32_t>> merged;
        std::vector<std::uint32_t> ids;
        for (std::size_t next = 0; next < segments_.size();) {
            const std::uint32_t region = segments_[next].region;
            merged.clear();
            for (; next < segments_.size() && segments_[next].region == region; ++next) {
                merged.insert(merged.end(), pairs_.begin() + segments_[next].begin,
                              pairs_.begin() + segments_[next].end);
            }
            std::sort(merged.begin(), merged.end());
            ids.clear();
            std::size_t write = 0;
            for (std::size_t read = 0; read < merged.size(); ++read) {
                if (write > 0 && merged[write - 1].first == merged[read].first) {
                    merged[write - 1].second += merged[read].second;
                } else {
                    merged[write++] = merged[read];
                    ids.push_back(merged[read].first);
                }
            }
            merged.resize(write);
            const auto countOf = [&](std::uint32_t id) -> std::uint32_t {
                const auto found = std::lower_bound(merged.begin(), merged.end(), std::make_pair(id, std::uint32_t{0}));
                return found != merged.end() && found->first == id ? found->second : 0;
            };
            for (std::uint32_t d = regionFirst_[region]; d != kNone; d = declarationNext_[d]) {
                LocalDeclaration& declaration = facts_.declarations[d];
                if (declaration.name != kNone) declaration.count = countOf(declaration.name);
            }
            if (region == kModuleRegion && facts_.hasVbName && !facts_.vbName.empty()) {
                facts_.vbNameId = Intern(facts_.vbName);
                facts_.moduleOwn = countOf(facts_.vbNameId);
            }
            StoreSet(region, ids);
        }
        if (facts_.hasVbName && !facts_.vbName.empty() && facts_.vbNameId == kNone)
            facts_.vbNameId = Intern(facts_.vbName);
    }

    // The module's tokens per name; the references of the declarations seen
    // from their module only; the rows in line order.
    void FinishDeclarations()
    {
        out_.totals.resize(counts_.size());
        for (std::size_t id = 0; id < counts_.size(); ++id) out_.totals[id] = counts_[id].total;
        std::vector<LocalDeclaration>& declarations = facts_.declarations;
        for (LocalDeclaration& declaration : declarations) {
            if (declaration.name == kNone || declaration.projectWide) continue;
            std::uint32_t visible = out_.totals[declaration.name];
            for (std::uint32_t a = declaration.aliasBegin; a < declaration.aliasEnd; ++a) {
                visible += out_.totals[facts_.aliases[a]];
            }
            declaration.count = visible - declaration.count;
        }
        std::vector<std::uint32_t> order(declarations.size());
        for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return declarations[a].line < declarations[b].line; });
        std::vector<LocalDeclaration>& sorted = work_.sorted;
        sorted.clear();
        for (const std::uint32_t i : order) sorted.push_back(declarations[i]);
        declarations.swap(sorted);
    }

    // Rule 7: the procedures the runtime calls once the module is reached.
    void MarkRuntimeProcedures()
    {
        std::vector<std::string> prefixes(kRuntimePrefixes.begin(), kRuntimePrefixes.end());
        prefixes.insert(prefixes.end(), controls_.begin(), controls_.end());
        prefixes.insert(prefixes.end(), withEvents_.begin(), withEvents_.end());
        prefixes.insert(prefixes.end(), interfaces_.begin(), interfaces_.end());
        std::sort(prefixes.begin(), prefixes.end());
        prefixes.erase(std::unique(prefixes.begin(), prefixes.end()), prefixes.end());
        const bool designer = source_.kind == ModuleKind::Dsr;
        for (std::size_t i = 0; i < procedureRanges_.size(); ++i) {
            LocalNode& node = facts_.nodes[procedureRanges_[i].node];
            if (designer) node.runtime = true;
            if (node.runtime) continue;
            const std::size_t nameBegin = i == 0 ? 0 : procedureNameEnds_[i - 1];
            const std::string_view name =
                std::string_view(procedureNames_).substr(nameBegin, procedureNameEnds_[i] - nameBegin);
            // The prefixes that may begin the name sort at or before it.
            const auto end = std::upper_bound(prefixes.begin(), prefixes.end(), name,
                                              [](std::string_view a, const std::string& b) { return a < b; });
            for (auto prefix = prefixes.begin(); prefix != end; ++prefix) {
                if (name.starts_with(*prefix)) {
                    node.runtime = true;
                    break;
                }
            }
        }
    }

    const UnusedSource& source_;
    const ModuleScan& scan_;
    LeadByteTest isLeadByte_;
    PreparedUnused& out_;
    ReaderScratch& work_ = ThreadScratch();
    ModuleFacts& facts_ = work_.facts;
    std::string& scratch_ = work_.folded;
    // The module's text, within which spellings are read 16 bytes at a time.
    const char* textBegin_ = scan_.text.data();
    const char* textEnd_ = scan_.text.data() + scan_.text.size();
    std::vector<Spelling>& spellings_ = work_.spellings;

    std::vector<NameCounts>& counts_ = work_.counts;  // per name
    std::vector<std::uint32_t>& segmentNames_ = work_.segmentNames;  // the names of the segment being read
    std::uint32_t segment_ = 0;
    std::uint32_t region_ = kModuleRegion;
    std::vector<bool>& sharedRegion_ = work_.sharedRegion;  // per region: read in several runs
    std::vector<std::uint32_t>& regionFirst_ = work_.regionFirst;  // per region: a declaration of it
    std::vector<std::uint32_t>& declarationNext_ = work_.declarationNext;  // per declaration: the next of its region
    // (name, count) of the runs of the regions read in several runs
    std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs_ = work_.pairs;
    std::vector<Segment>& segments_ = work_.segments;

    std::vector<ProcedureRange>& procedureRanges_ = work_.procedureRanges;
    std::string& procedureNames_ = work_.procedureNames;  // folded, one after the other
    std::vector<std::uint32_t>& procedureNameEnds_ = work_.procedureNameEnds;
    std::size_t nextProcedure_ = 0;
    std::size_t nextApi_ = 0;
    std::vector<const ApiDeclaration*>& apisHere_ = work_.apisHere;
    Block block_;

    CodeStatement statement_;
    bool pending_ = false;
    bool namesOnly_ = false;
    std::uint32_t procedure_ = kNone;
    bool recording_ = false;  // the names counted are those of a line to remember
    std::vector<CodeToken>& tokens_ = work_.tokens;
    std::vector<const kolvane::Token*>& words_ = work_.words;
    std::uint32_t firstOfStatement_ = kNone;

    std::vector<std::string> controls_;  // folded, with "_"
    std::vector<std::string> withEvents_;  // folded, with "_"
    std::vector<std::string> interfaces_;  // folded, with "_"
};

// --- the project ------------------------------------------------------------

// The first value of a project file line that starts with the key, less
// blanks, tabs and quotes at both ends.
std::optional<std::string_view> ProjectValue(std::string_view projectText, std::string_view key)
{
    std::optional<std::string_view> value;
    ForEachProjectLine(projectText, [&](std::string_view line) {
        if (value || !line.starts_with(key)) return;
        std::string_view rest = line.substr(key.size());
        const auto strip = [](char c) { return c == ' ' || c == '\t' || c == '"'; };
        while (!rest.empty() && strip(rest.front())) rest.remove_prefix(1);
        while (!rest.empty() && strip(rest.back())) rest.remove_suffix(1);
        value = rest;
    });
    return value;
}

}  // namespace

std::string_view UnusedStatusText(UnusedStatus status)
{
    return kStatusTexts[static_cast<std::size_t>(status)];
}

std::string_view DeclarationMemberText(DeclarationMember member)
{
    return kMemberTexts[static_cast<std::size_t>(member)];
}

UnusedSource UnusedSourceOf(const ScannedModule& module)
{
    UnusedSource source;
    source.kind = module.kind;
    source.file = module.member != nullptr ? FileTitle(module.member->path) : FileTitle(module.path);
    source.memberIndex = module.memberIndex;
    source.status = module.Status();
    if (source.status == SourceStatus::Read) {
        source.scan = &module.scan;
        source.procedures = module.procedures;
        source.apis = module.apis;
    }
    return source;
}

struct UnusedCode::Project {
    struct Module {
        ModuleKind kind = ModuleKind::Bas;
        SourceStatus status = SourceStatus::Read;
        std::string file;
        std::size_t memberIndex = 0;
        std::int32_t steps = 0;
        ModuleFacts facts;
        std::vector<std::uint32_t> localToGlobal;  // its names' project numbers
        std::uint32_t nodeBase = 0;
        std::uint32_t regionBase = 0;
        std::uint32_t vbNameId = kNone;  // the project's number of its name
        bool reached = false;
        bool entry = false;
        bool other = false;
        std::int64_t references = 0;
        UnusedStatus moduleStatus = UnusedStatus::Dead;

        std::uint32_t Global(std::uint32_t local) const { return local == kNone ? kNone : localToGlobal[local]; }
    };

    // What happened to a node (of every module, by its project number).
    enum NodeFlag : std::uint8_t { kReached = 1, kEntry = 2, kOther = 4 };

    // A declaration under one of its names, for the references.
    struct Entry {
        std::uint32_t name;
        std::uint32_t module;  // kNone for one seen from every module
        std::uint32_t node;
        std::uint32_t region;
    };

    CodePage codePage = CodePage::Cp932;
    LeadByteTest isLeadByte = nullptr;
    std::string_view projectText;

    NameTable names;
    std::vector<std::int64_t> totals;  // tokens per name in the project
    std::vector<Module> modules;
    std::vector<std::uint32_t> regionModule;  // per region of the project: its module
    std::uint32_t nodeCount = 0;
    bool anyUnread = false;

    // Finish's.
    std::vector<std::uint8_t> nodeFlags;
    std::vector<UnusedStatus> nodeStatus;
    std::vector<Entry> entries;
    std::vector<std::uint32_t> entryBegin;  // per name: its entries, module-wide ones by module, then project-wide
    std::vector<std::uint32_t> groupState;  // per entry beginning a group: kNone, kFull, or the own region met
    std::vector<std::uint32_t> modulesByName;
    std::vector<std::uint32_t> moduleNameBegin;  // per name
    std::vector<bool> regionReached;
    std::vector<std::uint32_t> queue;
    std::int64_t liveSteps = 0;
    std::int64_t deadSteps = 0;
    mutable std::vector<UnusedRow> rows;

    static constexpr std::uint32_t kFull = kNone - 1;

    void Add(const UnusedSource& source, const PreparedUnused* prepared)
    {
        Module module;
        module.kind = source.kind;
        module.status = source.status;
        module.file = std::string(source.file);
        module.memberIndex = source.memberIndex;
        module.nodeBase = nodeCount;
        module.regionBase = static_cast<std::uint32_t>(regionModule.size());
        if (source.status != SourceStatus::Read || prepared == nullptr || source.scan == nullptr) {
            anyUnread = true;
            modules.push_back(std::move(module));
            return;
        }
        module.steps = source.scan->steps;
        module.facts = std::move(prepared->facts);
        const NameTable& local = prepared->names;
        module.localToGlobal.resize(local.Size());
        for (std::uint32_t id = 0; id < local.Size(); ++id) {
            const std::uint32_t global = names.Number(local.Text(id), local.Hash(id));
            if (global == totals.size()) totals.push_back(0);
            module.localToGlobal[id] = global;
            totals[global] += prepared->totals[id];
        }
        module.vbNameId = module.Global(module.facts.vbNameId);
        const auto regions = static_cast<std::uint32_t>(module.facts.setRanges.size() / 2);
        regionModule.insert(regionModule.end(), regions, static_cast<std::uint32_t>(modules.size()));
        nodeCount += static_cast<std::uint32_t>(module.facts.nodes.size());
        modules.push_back(std::move(module));
    }

    // --- finding what is reached ---

    // The entries of each name: those seen from their module only, in module
    // order, then those seen from every module; found by the name's number.
    void BuildIndexes()
    {
        const std::uint32_t nameCount = names.Size();
        std::vector<std::uint32_t> projectWide(nameCount, 0);  // per name
        entryBegin.assign(nameCount + 1, 0);
        const auto forEachEntry = [&](auto&& visit) {
            for (std::uint32_t m = 0; m < modules.size(); ++m) {
                const Module& module = modules[m];
                const ModuleFacts& facts = module.facts;
                for (const LocalDeclaration& d : facts.declarations) {
                    const Entry entry{kNone, d.projectWide ? kNone : m, module.nodeBase + d.node,
                                      module.regionBase + facts.nodes[d.node].region};
                    if (d.name != kNone) visit(module.Global(d.name), entry);
                    for (std::uint32_t a = d.aliasBegin; a < d.aliasEnd; ++a) {
                        visit(module.Global(facts.aliases[a]), entry);
                    }
                }
            }
        };
        forEachEntry([&](std::uint32_t name, const Entry& entry) {
            ++entryBegin[name + 1];
            if (entry.module == kNone) ++projectWide[name];
        });
        for (std::uint32_t n = 0; n < nameCount; ++n) entryBegin[n + 1] += entryBegin[n];
        // Where the next entry of each name goes, for each of the two kinds.
        std::vector<std::uint32_t> nextOwn(entryBegin.begin(), entryBegin.end() - 1);
        std::vector<std::uint32_t> nextWide(nameCount);
        for (std::uint32_t n = 0; n < nameCount; ++n) nextWide[n] = entryBegin[n + 1] - projectWide[n];
        entries.resize(entryBegin[nameCount]);
        forEachEntry([&](std::uint32_t name, Entry entry) {
            entry.name = name;
            entries[entry.module == kNone ? nextWide[name]++ : nextOwn[name]++] = entry;
        });
        groupState.assign(entries.size(), kNone);

        moduleNameBegin.assign(nameCount + 1, 0);
        for (const Module& module : modules) {
            if (module.vbNameId != kNone) ++moduleNameBegin[module.vbNameId + 1];
        }
        for (std::uint32_t n = 0; n < nameCount; ++n) moduleNameBegin[n + 1] += moduleNameBegin[n];
        modulesByName.assign(moduleNameBegin[nameCount], 0);
        std::vector<std::uint32_t> fill(moduleNameBegin.begin(), moduleNameBegin.end() - 1);
        for (std::uint32_t m = 0; m < modules.size(); ++m) {
            if (modules[m].vbNameId != kNone) modulesByName[fill[modules[m].vbNameId]++] = m;
        }
        regionReached.assign(regionModule.size(), false);
        nodeFlags.assign(nodeCount, 0);
    }

    void ReachRegion(std::uint32_t region)
    {
        if (regionReached[region]) return;
        regionReached[region] = true;
        queue.push_back(region);
    }

    enum class Why { Reference, Entry, Other };

    // A node (by its project number) with its region (by its project number).
    void ReachNode(std::uint32_t node, Why why, std::uint32_t region)
    {
        std::uint8_t& flags = nodeFlags[node];
        if (why == Why::Entry) flags |= kEntry;
        if (why == Why::Other) flags |= kOther;
        if (flags & kReached) return;
        flags |= kReached;
        ReachRegion(region);
    }

    void ReachModule(std::uint32_t index, Why why)
    {
        Module& module = modules[index];
        if (why == Why::Entry) module.entry = true;
        if (why == Why::Other) module.other = true;
        if (module.reached || module.status != SourceStatus::Read) return;
        module.reached = true;
        ReachRegion(module.regionBase + kModuleRegion);
        if (!HasHeader(module.kind)) return;
        const std::vector<LocalNode>& nodes = module.facts.nodes;
        for (std::uint32_t n = 0; n < nodes.size(); ++n) {
            if (nodes[n].runtime) ReachNode(module.nodeBase + n, Why::Other, module.regionBase + nodes[n].region);
        }
        for (const std::uint32_t local : module.facts.interfaces) {
            const std::uint32_t name = module.Global(local);
            for (std::uint32_t k = moduleNameBegin[name]; k < moduleNameBegin[name + 1]; ++k) {
                const Module& implemented = modules[modulesByName[k]];
                if (implemented.kind != ModuleKind::Cls) continue;
                const std::vector<LocalNode>& theirs = implemented.facts.nodes;
                for (std::uint32_t n = 0; n < theirs.size(); ++n) {
                    if (theirs[n].procedure) {
                        ReachNode(implemented.nodeBase + n, Why::Other, implemented.regionBase + theirs[n].region);
                    }
                }
            }
        }
    }

    // The entries [begin, end) of one name and one scope, named from a
    // region: every one but those whose own region it is. A group met from
    // a region that is no member's own, or from two such regions, has been
    // reached whole.
    void ReachGroup(std::uint32_t begin, std::uint32_t end, std::uint32_t region)
    {
        if (begin == end) return;
        std::uint32_t& state = groupState[begin];
        if (state == kFull || state == region) return;
        bool own = false;
        for (std::uint32_t e = begin; e < end; ++e) {
            if (entries[e].region == region) {
                own = true;
            } else {
                ReachNode(entries[e].node, Why::Reference, entries[e].region);
            }
        }
        state = !own || state != kNone ? kFull : region;
    }

    void FollowRegion(std::uint32_t region)
    {
        const std::uint32_t m = regionModule[region];
        const Module& module = modules[m];
        const std::uint32_t local = region - module.regionBase;
        const std::uint8_t* sets = module.facts.sets.data();
        ForEachInSet(sets + module.facts.setRanges[2 * local], sets + module.facts.setRanges[2 * local + 1],
                     [&](std::uint32_t id) {
                         const std::uint32_t name = module.localToGlobal[id];
                         const auto begin = entries.begin() + entryBegin[name];
                         const auto end = entries.begin() + entryBegin[name + 1];
                         const auto byModule = [](const Entry& entry, std::uint32_t value) {
                             return entry.module < value;
                         };
                         const auto projectWide = std::lower_bound(begin, end, kNone, byModule);
                         ReachGroup(static_cast<std::uint32_t>(projectWide - entries.begin()),
                                    static_cast<std::uint32_t>(end - entries.begin()), region);
                         const auto own = std::lower_bound(begin, projectWide, m, byModule);
                         auto ownEnd = own;
                         while (ownEnd != projectWide && ownEnd->module == m) ++ownEnd;
                         ReachGroup(static_cast<std::uint32_t>(own - entries.begin()),
                                    static_cast<std::uint32_t>(ownEnd - entries.begin()), region);
                         for (std::uint32_t k = moduleNameBegin[name]; k < moduleNameBegin[name + 1]; ++k) {
                             const std::uint32_t named = modulesByName[k];
                             if (modules[named].regionBase + kModuleRegion != region)
                                 ReachModule(named, Why::Reference);
                         }
                     });
    }

    std::uint32_t FindName(std::string_view name) const
    {
        std::string folded;
        const std::uint64_t hash = FoldName(name, isLeadByte, folded);
        const std::uint32_t id = names.Find(folded, hash);
        return id == TextNumbers::kNoNumber ? kNone : id;
    }

    void ReachRoots()
    {
        for (std::uint32_t m = 0; m < modules.size(); ++m) {
            const ModuleKind kind = modules[m].kind;
            if (kind == ModuleKind::Bas || kind == ModuleKind::Pag || kind == ModuleKind::Dob ||
                kind == ModuleKind::Dsr) {
                ReachModule(m, Why::Other);
            }
        }
        if (const std::optional<std::string_view> startup = ProjectValue(projectText, kStartupKey)) {
            if (EqualsIgnoringCase(*startup, kSubMain)) {
                for (const Module& module : modules) {
                    if (module.kind != ModuleKind::Bas) continue;
                    for (const LocalDeclaration& d : module.facts.declarations) {
                        if ((d.member == DeclarationMember::Sub || d.member == DeclarationMember::Function) &&
                            d.name != kNone && names.Text(module.Global(d.name)) == kMainName) {
                            ReachNode(module.nodeBase + d.node, Why::Other,
                                      module.regionBase + module.facts.nodes[d.node].region);
                        }
                    }
                }
            } else if (const std::uint32_t name = startup->empty() ? kNone : FindName(*startup); name != kNone) {
                for (std::uint32_t k = moduleNameBegin[name]; k < moduleNameBegin[name + 1]; ++k) {
                    ReachModule(modulesByName[k], Why::Other);
                }
            }
        }
        const std::optional<std::string_view> type = ProjectValue(projectText, kTypeKey);
        const bool component = type && std::any_of(kComponentTypes.begin(), kComponentTypes.end(),
                                                   [&](std::string_view t) { return EqualsIgnoringCase(*type, t); });
        if (!component) return;
        for (std::uint32_t m = 0; m < modules.size(); ++m) {
            const Module& module = modules[m];
            if (!module.facts.exposed) continue;
            ReachModule(m, Why::Entry);
            for (const LocalDeclaration& d : module.facts.declarations) {
                if (d.publicEntry) {
                    ReachNode(module.nodeBase + d.node, Why::Entry,
                              module.regionBase + module.facts.nodes[d.node].region);
                }
            }
        }
    }

    std::int64_t References(const Module& module, const LocalDeclaration& d) const
    {
        if (d.name == kNone) return 0;
        if (!d.projectWide) return d.count;
        std::int64_t seen = totals[module.Global(d.name)];
        for (std::uint32_t a = d.aliasBegin; a < d.aliasEnd; ++a)
            seen += totals[module.Global(module.facts.aliases[a])];
        return seen - d.count;
    }

    void Finish()
    {
        BuildIndexes();
        ReachRoots();
        while (!queue.empty()) {
            const std::uint32_t region = queue.back();
            queue.pop_back();
            FollowRegion(region);
        }
        const UnusedStatus unreached = anyUnread ? UnusedStatus::Unknown : UnusedStatus::Dead;
        // A node reached only as an entry point is exposed while nothing names it.
        std::vector<bool> named(nodeCount, false);
        for (const Module& module : modules) {
            for (const LocalDeclaration& d : module.facts.declarations) {
                if (References(module, d) != 0) named[module.nodeBase + d.node] = true;
            }
        }
        nodeStatus.assign(nodeCount, unreached);
        for (std::uint32_t n = 0; n < nodeCount; ++n) {
            const std::uint8_t flags = nodeFlags[n];
            if ((flags & kReached) == 0) continue;
            nodeStatus[n] =
                (flags & kEntry) && !(flags & kOther) && !named[n] ? UnusedStatus::Exposed : UnusedStatus::Live;
        }
        for (Module& module : modules) {
            if (module.status != SourceStatus::Read) {
                module.moduleStatus =
                    module.status == SourceStatus::Missing ? UnusedStatus::Missing : UnusedStatus::Unreadable;
                continue;
            }
            if (module.vbNameId != kNone) {
                module.references = totals[module.vbNameId] - static_cast<std::int64_t>(module.facts.moduleOwn);
            }
            if (!module.reached) {
                module.moduleStatus = unreached;
            } else {
                module.moduleStatus = module.entry && !module.other && module.references == 0 ? UnusedStatus::Exposed
                                                                                              : UnusedStatus::Live;
            }
            for (const LocalDeclaration& d : module.facts.declarations) {
                const UnusedStatus status = nodeStatus[module.nodeBase + d.node];
                if (status == UnusedStatus::Live) liveSteps += d.steps;
                if (status == UnusedStatus::Dead) deadSteps += d.steps;
            }
        }
        // What only the reaching needed.
        entries = {};
        entryBegin = {};
        groupState = {};
        regionReached = {};
        regionModule = {};
        nodeFlags = {};
        modulesByName = {};
        moduleNameBegin = {};
        for (Module& module : modules) {
            module.facts.sets = {};
            module.facts.setRanges = {};
        }
        std::stable_sort(modules.begin(), modules.end(),
                         [](const Module& a, const Module& b) { return a.memberIndex < b.memberIndex; });
    }

    UnusedModuleView View(const Module& module) const
    {
        rows.clear();
        const bool read = module.status == SourceStatus::Read;
        if (HasHeader(module.kind) || !read) {
            UnusedRow row;
            row.member = DeclarationMember::Module;
            row.status = module.moduleStatus;
            if (read) {
                row.name = module.facts.vbName;
                if (module.facts.hasVbName) row.line = module.facts.vbNameLine;
                row.references = module.references;
                row.steps = module.steps;
            }
            rows.push_back(row);
        }
        for (const LocalDeclaration& d : module.facts.declarations) {
            UnusedRow row;
            row.member = d.member;
            row.name = std::string_view(module.facts.display).substr(d.displayBegin, d.displaySize);
            row.scope = d.scope;
            row.line = d.line;
            row.status = nodeStatus[module.nodeBase + d.node];
            row.references = References(module, d);
            row.steps = d.steps;
            rows.push_back(row);
        }
        const UnusedStatus moduleStatus = HasHeader(module.kind) || !read ? module.moduleStatus : UnusedStatus::Live;
        return {module.kind, module.file, module.status, moduleStatus, rows};
    }
};

UnusedCode::UnusedCode(CodePage codePage) : project_(std::make_unique<Project>())
{
    project_->codePage = codePage;
    project_->isLeadByte = LeadBytesOf(codePage);
}

UnusedCode::~UnusedCode() = default;

std::unique_ptr<PreparedModule> UnusedCode::Read(const UnusedSource& source) const
{
    auto prepared = std::make_unique<PreparedUnused>();
    if (source.status != SourceStatus::Read || source.scan == nullptr) return prepared;
    ModuleReader reader(source, project_->isLeadByte, *prepared);
    reader.Run();
    return prepared;
}

void UnusedCode::Add(const UnusedSource& source, const PreparedModule* prepared)
{
    std::unique_ptr<PreparedModule> own;
    if (prepared == nullptr) {
        own = Read(source);
        prepared = own.get();
    }
    project_->Add(source, static_cast<const PreparedUnused*>(prepared));
}

void UnusedCode::Finish(std::string_view projectText)
{
    project_->projectText = projectText;
    project_->Finish();
}

void UnusedCode::ForEachModule(const std::function<void(const UnusedModuleView&)>& visit) const
{
    for (const Project::Module& module : project_->modules) visit(project_->View(module));
}

void UnusedCode::VisitModule(std::size_t memberIndex, const std::function<void(const UnusedModuleView&)>& visit) const
{
    const auto& modules = project_->modules;
    const auto found =
        std::lower_bound(modules.begin(), modules.end(), memberIndex,
                         [](const Project::Module& m, std::size_t index) { return m.memberIndex < index; });
    if (found != modules.end() && found->memberIndex == memberIndex) visit(project_->View(*found));
}

std::int64_t UnusedCode::LiveSteps() const
{
    return project_->liveSteps;
}

std::int64_t UnusedCode::DeadSteps() const
{
    return project_->deadSteps;
}

// --- the outputs ------------------------------------------------------------

namespace {

constexpr std::string_view kTextSuffix = "_Unused.txt";
constexpr std::string_view kCsvSuffix = "_Unused.csv";

constexpr std::string_view kBannerTitle = "       ソースコード 未使用コード       \n";
constexpr const char* kProjectFormat = "プロジェクトファイル ： %s\n\n\n";
constexpr const char* kLiveFormat = "使用       ： %8lld 行\n";
constexpr const char* kDeadFormat = "未使用     ： %8lld 行\n";
constexpr const char* kExposedFormat = "公開       ： %8lld 行\n";
constexpr const char* kUnknownFormat = "不明       ： %8lld 行\n";
constexpr std::string_view kRowIndent = "  ";
constexpr std::string_view kRowColon = " ： ";
constexpr std::string_view kRowLineWord = " 行目、";
constexpr std::string_view kRowStepsWord = " 行\n";
constexpr std::string_view kTotalsHeader = "                   使用      未使用        公開        不明\n";

// 使用, 未使用, 公開, 不明, ファイルなし, 読込エラー, in UnusedStatus order.
constexpr std::array<std::string_view, 6> kStatusWords = {"使用", "未使用",       "公開",
                                                          "不明", "ファイルなし", "読込エラー"};

// Steps per status: live, dead, exposed, unknown.
using StepTotals = report_style::Columns;

void AddSteps(StepTotals& totals, const UnusedModuleView& module)
{
    for (const UnusedRow& row : module.rows) {
        if (row.member == DeclarationMember::Module || !row.steps) continue;
        const auto status = static_cast<std::size_t>(row.status);
        if (status < totals.size()) totals[status] += *row.steps;
    }
}

// "  %s %s %s ： %u 行目、%lld 行" of a row that is not live; the name, like
// every text of the report, ends at a NUL byte.
void AppendRow(const UnusedRow& row, std::string& report)
{
    report += kRowIndent;
    report += kStatusWords[static_cast<std::size_t>(row.status)];
    report += ' ';
    report += DeclarationMemberText(row.member);
    report += ' ';
    report += row.name.substr(0, row.name.find('\0'));
    report += kRowColon;
    report_style::AppendNumber(report, row.line.value_or(0));
    report += kRowLineWord;
    report_style::AppendNumber(report, row.steps.value_or(0));
    report += kRowStepsWord;
}

void AppendModule(const UnusedModuleView& module, std::string& report)
{
    report += FormatText(report_style::kFileNameFormat, std::string(module.file).c_str());
    const std::string status(kStatusWords[static_cast<std::size_t>(module.moduleStatus)]);
    report += FormatText(report_style::kStatusFormat, status.c_str());
    if (module.status == SourceStatus::Read) {
        StepTotals totals{};
        AddSteps(totals, module);
        report += FormatText(kLiveFormat, static_cast<long long>(totals[0]));
        report += FormatText(kDeadFormat, static_cast<long long>(totals[1]));
        report += FormatText(kExposedFormat, static_cast<long long>(totals[2]));
        report += FormatText(kUnknownFormat, static_cast<long long>(totals[3]));
        for (const UnusedRow& row : module.rows) {
            if (row.member == DeclarationMember::Module || row.status == UnusedStatus::Live) continue;
            AppendRow(row, report);
        }
    }
    report += '\n';
}

// What the text and CSV writers share: the project's modules read on every
// core, taken in order, and the figures once the project is finished.
class UnusedWriter : public Writer {
public:
    UnusedWriter(const OutputContext& context, std::string_view suffix)
        : context_(context), path_(context.PathFor(suffix)), unused_(context.codePage)
    {
    }

    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override
    {
        if (turn.module == nullptr || turn.module->member == nullptr) return nullptr;
        return unused_.Read(UnusedSourceOf(*turn.module));
    }

    bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter&) override
    {
        if (turn.module != nullptr && turn.module->member != nullptr)
            unused_.Add(UnusedSourceOf(*turn.module), prepared);
        return true;
    }

    std::vector<std::string> Files() const override { return {path_}; }

    void Summarize(ProjectFigures& figures) const override
    {
        if (!finished_) return;
        figures.liveSteps = unused_.LiveSteps();
        figures.deadSteps = unused_.DeadSteps();
    }

protected:
    void FinishProject()
    {
        unused_.Finish(context_.projectText);
        finished_ = true;
    }

    const OutputContext& context_;
    std::string path_;
    UnusedCode unused_;

private:
    bool finished_ = false;
};

class UnusedTextWriter final : public UnusedWriter {
public:
    explicit UnusedTextWriter(const OutputContext& context) : UnusedWriter(context, kTextSuffix) {}

    bool Begin(Reporter&) override { return true; }

    bool Finish(Reporter& reporter) override
    {
        FinishProject();
        SourceFile file;
        if (OpenSourceFile(file, path_, kModeWrite) != 1) {
            ReportCannotCreate(reporter, path_);
            return false;
        }
        bool written = true;
        WriteUnusedTextReport(unused_, context_.projectPath,
                              [&](std::string_view text) { written = written && file.WriteBlock(text) == 1; });
        if (CloseSourceFile(file) == 1 && written) return true;
        ReportCannotWrite(reporter, path_);
        return false;
    }
};

class UnusedCsvWriter final : public UnusedWriter {
public:
    explicit UnusedCsvWriter(const OutputContext& context) : UnusedWriter(context, kCsvSuffix) {}

    bool Begin(Reporter& reporter) override
    {
        if (csv_.Open(path_, {"project", "file", "kind", "member", "name", "scope", "line", "status", "references",
                              "steps"})) {
            return true;
        }
        ReportCannotCreate(reporter, path_);
        return false;
    }

    bool Finish(Reporter& reporter) override
    {
        FinishProject();
        unused_.ForEachModule([&](const UnusedModuleView& module) {
            const std::string file = ToUtf8(module.file, context_.codePage);
            for (const UnusedRow& row : module.rows) {
                csv_.Text(context_.project);
                csv_.Text(file);
                csv_.Text(KindText(module.kind));
                csv_.Text(DeclarationMemberText(row.member));
                csv_.Converted(row.name, context_.codePage);
                row.scope ? csv_.Text(ScopeText(*row.scope)) : csv_.Empty();
                row.line ? csv_.Number(*row.line) : csv_.Empty();
                csv_.Text(UnusedStatusText(row.status));
                row.references ? csv_.Number(*row.references) : csv_.Empty();
                row.steps ? csv_.Number(*row.steps) : csv_.Empty();
                csv_.EndRow();
            }
        });
        if (csv_.Close()) return true;
        ReportCannotWrite(reporter, path_);
        return false;
    }

private:
    CsvWriter csv_;
};

class UnusedJson final : public JsonPart {
public:
    explicit UnusedJson(const OutputContext& context)
        : context_(context), codePage_(context.codePage), unused_(context.codePage)
    {
    }

    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override
    {
        if (turn.module == nullptr || turn.module->member == nullptr) return nullptr;
        return unused_.Read(UnusedSourceOf(*turn.module));
    }

    void Module(const ScannedModule& module, const PreparedModule* prepared, std::string&) override
    {
        unused_.Add(UnusedSourceOf(module), prepared);
        taken_.push_back(module.memberIndex);
    }

    bool Deferred() const override { return true; }

    void Finish() override
    {
        unused_.Finish(context_.projectText);
        finished_ = true;
    }

    // The member's array, made when its object is written.
    void CompleteModule(std::size_t index, std::string& text) override
    {
        if (index >= taken_.size()) return;
        unused_.VisitModule(taken_[index], [&](const UnusedModuleView& module) {
            text.push_back(',');
            AppendJsonName(text, "unused");
            text.push_back('[');
            for (const UnusedRow& row : module.rows) {
                if (text.back() != '[') text.push_back(',');
                text.push_back('{');
                AppendJsonField(text, "member", DeclarationMemberText(row.member));
                AppendJsonField(text, "name", ToUtf8(row.name, codePage_));
                AppendJsonField(text, "scope", row.scope ? ScopeText(*row.scope) : std::string_view{});
                AppendJsonField(text, "line", row.line ? std::optional<std::int64_t>(*row.line) : std::nullopt);
                AppendJsonField(text, "status", UnusedStatusText(row.status));
                AppendJsonField(text, "references", row.references);
                AppendJsonField(text, "steps", row.steps);
                text.push_back('}');
            }
            text.push_back(']');
        });
    }

    void Summarize(ProjectFigures& figures) const override
    {
        if (!finished_) return;
        figures.liveSteps = unused_.LiveSteps();
        figures.deadSteps = unused_.DeadSteps();
    }

private:
    const OutputContext& context_;
    CodePage codePage_;
    UnusedCode unused_;
    std::vector<std::size_t> taken_;  // the members' places in the member list, in the order taken
    bool finished_ = false;
};

}  // namespace

void WriteUnusedTextReport(const UnusedCode& unused, std::string_view projectPath,
                           const std::function<void(std::string_view)>& write)
{
    std::string text;
    report_style::AppendBanner(text, kBannerTitle);
    text += FormatText(kProjectFormat, std::string(projectPath).c_str());
    std::array<StepTotals, kModuleKindCount> perKind{};
    StepTotals all{};
    unused.ForEachModule([&](const UnusedModuleView& module) {
        AppendModule(module, text);
        AddSteps(perKind[static_cast<std::size_t>(module.kind)], module);
        AddSteps(all, module);
        write(text);
        text.clear();
    });
    report_style::AppendTotals(text, kTotalsHeader, perKind, all);
    write(text);
}

std::string UnusedTextReport(const UnusedCode& unused, std::string_view projectPath)
{
    std::string report;
    WriteUnusedTextReport(unused, projectPath, [&](std::string_view text) { report.append(text); });
    return report;
}

std::unique_ptr<Writer> MakeUnusedText(const OutputContext& context)
{
    return std::make_unique<UnusedTextWriter>(context);
}

std::unique_ptr<Writer> MakeUnusedCsv(const OutputContext& context)
{
    return std::make_unique<UnusedCsvWriter>(context);
}

std::unique_ptr<JsonPart> MakeUnusedJson(const OutputContext& context)
{
    return std::make_unique<UnusedJson>(context);
}

}  // namespace kolvane
