#include "analysis/findings/unused_code.h"

#include "analysis/source/code_page.h"
#include "analysis/source/code_tokens.h"
#include "analysis/tables/csv_writer.h"
#include "analysis/tables/json_text.h"
#include "analysis/tables/member_output.h"
#include "project/model/member_list.h"
#include "project/text/path_text.h"
#include "project/text/source_file.h"
#include "project/text/strings.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace kolvane {
namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

constexpr std::array<std::string_view, 6> kStatusTexts = {"live", "dead", "exposed", "unknown", "missing",
                                                          "unreadable"};
constexpr std::array<std::string_view, 12> kMemberTexts = {
    "Module", "Sub",   "Function", "Property Get", "Property Let", "Property Set",
    "Declare", "Event", "Type",     "Enum",         "Const",        "Variable"};

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
constexpr std::array<std::string_view, 6> kRuntimePrefixes = {"form_",         "mdiform_",     "class_",
                                                              "usercontrol_", "propertypage_", "userdocument_"};

constexpr std::string_view kMainName = "main";
constexpr std::string_view kSubMain = "Sub Main";
constexpr std::string_view kTypeKey = "Type=";
constexpr std::string_view kStartupKey = "Startup=";
constexpr std::array<std::string_view, 3> kComponentTypes = {"OleDll", "OleExe", "Control"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsSymbol(const Token& token, std::string_view text)
{
    return token.kind == TokenKind::Symbol && token.text == text;
}

bool IsName(const Token& token) { return token.kind == TokenKind::Identifier && !token.name.empty(); }

// --- names ------------------------------------------------------------------

// Folds a name for comparison (ASCII letters in lower case, the trail byte
// of a double-byte character as it is) into out and returns its hash.
std::uint64_t FoldName(std::string_view name, LeadByteTest isLeadByte, std::string& out)
{
    constexpr std::uint64_t kOffset = 14695981039346656037ull;
    constexpr std::uint64_t kPrime = 1099511628211ull;
    out.resize(name.size());
    std::uint64_t hash = kOffset;
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto byte = static_cast<unsigned char>(name[i]);
        if (byte >= 'A' && byte <= 'Z') {
            byte = static_cast<unsigned char>(byte - 'A' + 'a');
        } else if (byte >= 0x80 && isLeadByte != nullptr && isLeadByte(byte) && i + 1 < name.size() &&
                   IsTrailByte(static_cast<unsigned char>(name[i + 1]))) {
            out[i] = static_cast<char>(byte);
            hash = (hash ^ byte) * kPrime;
            ++i;
            byte = static_cast<unsigned char>(name[i]);  // the trail byte as it is
        }
        out[i] = static_cast<char>(byte);
        hash = (hash ^ byte) * kPrime;
    }
    return hash;
}

// Folded names, each with a number from 0 on in the order they came.
class NameTable {
public:
    NameTable() : slots_(kInitialSlots, 0) {}

    std::uint32_t Size() const { return static_cast<std::uint32_t>(ends_.size()); }
    std::string_view Name(std::uint32_t id) const
    {
        const std::uint32_t begin = id == 0 ? 0 : ends_[id - 1];
        return std::string_view(text_).substr(begin, ends_[id] - begin);
    }
    std::uint64_t Hash(std::uint32_t id) const { return hashes_[id]; }

    // The number of the name, kNone when it has none.
    std::uint32_t Find(std::string_view folded, std::uint64_t hash) const
    {
        for (std::size_t slot = hash & (slots_.size() - 1);; slot = (slot + 1) & (slots_.size() - 1)) {
            const std::uint32_t entry = slots_[slot];
            if (entry == 0) return kNone;
            if (hashes_[entry - 1] == hash && Name(entry - 1) == folded) return entry - 1;
        }
    }

    // The number of the name, given one when new.
    std::uint32_t Intern(std::string_view folded, std::uint64_t hash)
    {
        std::size_t slot = hash & (slots_.size() - 1);
        for (;; slot = (slot + 1) & (slots_.size() - 1)) {
            const std::uint32_t entry = slots_[slot];
            if (entry == 0) break;
            if (hashes_[entry - 1] == hash && Name(entry - 1) == folded) return entry - 1;
        }
        const std::uint32_t id = Size();
        text_.append(folded);
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
        hashes_.push_back(hash);
        slots_[slot] = id + 1;
        if (2 * ends_.size() > slots_.size()) Grow();
        return id;
    }

private:
    static constexpr std::size_t kInitialSlots = 256;

    void Grow()
    {
        std::vector<std::uint32_t> slots(slots_.size() * 2, 0);
        for (std::uint32_t id = 0; id < Size(); ++id) {
            std::size_t slot = hashes_[id] & (slots.size() - 1);
            while (slots[slot] != 0) slot = (slot + 1) & (slots.size() - 1);
            slots[slot] = id + 1;
        }
        slots_ = std::move(slots);
    }

    std::string text_;
    std::vector<std::uint32_t> ends_;
    std::vector<std::uint64_t> hashes_;
    std::vector<std::uint32_t> slots_;  // a name's number + 1; 0 for a free slot
};

// --- name lists -------------------------------------------------------------

// A sorted list of distinct numbers as the gaps between them, seven bits a byte.
void AppendSortedList(const std::vector<std::uint32_t>& sorted, std::vector<std::uint8_t>& out)
{
    std::uint32_t previous = 0;
    for (const std::uint32_t value : sorted) {
        std::uint32_t gap = value - previous;
        previous = value;
        while (gap >= 0x80) {
            out.push_back(static_cast<std::uint8_t>(gap | 0x80));
            gap >>= 7;
        }
        out.push_back(static_cast<std::uint8_t>(gap));
    }
}

template <typename Visit>
void ForEachInList(const std::uint8_t* begin, const std::uint8_t* end, Visit&& visit)
{
    std::uint32_t value = 0;
    while (begin < end) {
        std::uint32_t gap = 0;
        int shift = 0;
        for (;;) {
            const std::uint8_t byte = *begin++;
            gap |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0 || begin == end) break;
            shift += 7;
        }
        value += gap;
        visit(value);
    }
}

// --- one module read --------------------------------------------------------

struct LocalDeclaration {
    DeclarationMember member = DeclarationMember::Sub;
    Scope scope = Scope::Public;
    bool projectWide = true;   // seen from every module (else from its own only)
    bool publicEntry = false;  // Public: an entry point of an exposed module
    std::uint32_t line = 0;
    std::int32_t steps = 0;
    std::uint32_t displayBegin = 0;
    std::uint32_t displaySize = 0;
    std::uint32_t name = kNone;  // the module's number of its folded name
    std::uint32_t aliasBegin = 0;  // an Enum's member names, its own aside
    std::uint32_t aliasEnd = 0;
    std::uint32_t node = 0;  // what shares its status
    std::uint32_t own = 0;      // tokens naming it in its own region
    std::uint32_t visible = 0;  // tokens naming it in its module
    std::uint32_t order = 0;    // when it was met, for rows on one line
};

// What is reached together: a declaration, or a property's accessors.
struct LocalNode {
    std::uint32_t region = 0;
    bool runtime = false;    // reached with its module (rule 7)
    bool procedure = false;  // a procedure's or property's
};

struct PreparedUnused final : PreparedModule {
    NameTable names;
    std::vector<std::uint32_t> totals;  // tokens per name in the module
    std::string display;                // the declarations' names as written
    std::vector<LocalDeclaration> declarations;  // in row order
    std::vector<std::uint32_t> aliases;
    std::vector<LocalNode> nodes;
    std::vector<std::uint8_t> sets;       // each region's names (AppendSortedList)
    std::vector<std::uint32_t> setEnds;   // per region
    std::uint32_t moduleOwn = 0;  // tokens naming the module in its own region
    bool hasVbName = false;
    std::string vbName;
    std::uint32_t vbNameLine = 0;
    std::uint32_t vbNameId = kNone;
    bool exposed = false;
    std::vector<std::uint32_t> interfaces;  // the names of the classes it implements
};

constexpr std::uint32_t kModuleRegion = 0;

class ModuleReader {
public:
    ModuleReader(const UnusedSource& source, LeadByteTest isLeadByte, PreparedUnused& out)
        : source_(source), scan_(*source.scan), isLeadByte_(isLeadByte), out_(out)
    {
    }

    void Run()
    {
        ReadProcedures();
        if (HasHeader(source_.kind)) ReadHeader();
        ReadCode(scan_, isLeadByte_, *this);
        Flush();
        EndBlock();
        CloseSegment();
        FinishRegions();
        FinishDeclarations();
        if (HasHeader(source_.kind)) MarkRuntimeProcedures();
    }

    // ReadCode's visitor.
    void Statement(const CodeStatement& statement)
    {
        Flush();
        statement_ = statement;
        pending_ = true;
    }
    void Token(const CodeToken& token) { tokens_.push_back(token); }

private:
    struct ProcedureRange {
        std::uint32_t first;
        std::uint32_t last;
        std::uint32_t node;
    };

    struct Segment {
        std::uint32_t region;
        std::size_t begin;
        std::size_t end;
    };

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
        const std::uint32_t id = out_.names.Intern(scratch_, hash);
        if (id == out_.totals.size()) {
            out_.totals.push_back(0);
            stamps_.push_back(kNone);
            counts_.push_back(0);
        }
        return id;
    }

    std::string Folded(std::string_view name)
    {
        FoldName(name, isLeadByte_, scratch_);
        return scratch_;
    }

    // A token naming something, in the current region.
    void Count(std::string_view name)
    {
        if (name.empty()) return;
        const std::uint32_t id = Intern(name);
        ++out_.totals[id];
        if (stamps_[id] != segmentNumber_) {
            stamps_[id] = segmentNumber_;
            counts_[id] = 0;
            segmentNames_.push_back(id);
        }
        ++counts_[id];
    }

    void EnterRegion(std::uint32_t region)
    {
        if (region == region_) return;
        CloseSegment();
        region_ = region;
    }

    void CloseSegment()
    {
        if (!segmentNames_.empty()) {
            const std::size_t begin = pairs_.size();
            for (const std::uint32_t id : segmentNames_) pairs_.emplace_back(id, counts_[id]);
            segments_.push_back({region_, begin, pairs_.size()});
            segmentNames_.clear();
        }
        ++segmentNumber_;
    }

    std::uint32_t NewRegion() { return regions_++; }

    std::uint32_t NewNode(std::uint32_t region, bool procedure)
    {
        out_.nodes.push_back({region, false, procedure});
        return static_cast<std::uint32_t>(out_.nodes.size() - 1);
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
        declaration.displayBegin = static_cast<std::uint32_t>(out_.display.size());
        declaration.displaySize = static_cast<std::uint32_t>(name.size());
        out_.display.append(name);
        declaration.name = name.empty() ? kNone : Intern(name);
        declaration.node = node;
        declaration.order = static_cast<std::uint32_t>(out_.declarations.size());
        out_.declarations.push_back(declaration);
        return declaration.order;
    }

    // --- procedures ---

    static DeclarationMember MemberOf(ProcedureKind kind)
    {
        switch (kind) {
        case ProcedureKind::Sub: return DeclarationMember::Sub;
        case ProcedureKind::Function: return DeclarationMember::Function;
        case ProcedureKind::PropertyGet: return DeclarationMember::PropertyGet;
        case ProcedureKind::PropertyLet: return DeclarationMember::PropertyLet;
        case ProcedureKind::PropertySet: return DeclarationMember::PropertySet;
        }
        return DeclarationMember::Sub;
    }

    // Every procedure a row and a region; the k-th accessor of each kind of
    // a property name joins the k-th property of that name.
    void ReadProcedures()
    {
        struct Property {
            std::string name;
            std::array<std::uint32_t, 3> accessors{};  // per kind: accessors met
            std::vector<std::uint32_t> nodes;          // per k
        };
        std::vector<Property> properties;
        for (const Procedure& procedure : source_.procedures) {
            std::uint32_t node = kNone;
            const bool property = procedure.kind == ProcedureKind::PropertyGet ||
                                  procedure.kind == ProcedureKind::PropertyLet ||
                                  procedure.kind == ProcedureKind::PropertySet;
            if (property) {
                std::string folded = Folded(procedure.name);
                auto found = std::find_if(properties.begin(), properties.end(),
                                          [&](const Property& p) { return p.name == folded; });
                if (found == properties.end()) {
                    properties.push_back({std::move(folded), {}, {}});
                    found = properties.end() - 1;
                }
                const std::size_t kind = static_cast<std::size_t>(procedure.kind) -
                                         static_cast<std::size_t>(ProcedureKind::PropertyGet);
                const std::uint32_t k = found->accessors[kind]++;
                if (k == found->nodes.size()) found->nodes.push_back(NewNode(NewRegion(), true));
                node = found->nodes[k];
            } else {
                node = NewNode(NewRegion(), true);
            }
            const std::uint32_t last =
                procedure.lastStatement < scan_.statements.size()
                    ? LastLineOf(scan_, scan_.statements[procedure.lastStatement])
                    : procedure.line;
            procedureRanges_.push_back({procedure.line, std::max(last, procedure.line), node});
            const bool priv = procedure.scope == Scope::Private;
            const std::uint32_t declaration =
                AddDeclaration(MemberOf(procedure.kind), procedure.name, procedure.scope, !priv,
                               procedure.scope == Scope::Public, procedure.line, node);
            out_.declarations[declaration].steps = procedure.Steps();
            procedureNames_.push_back(Folded(procedure.name));
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
        return range.last >= line ? nextProcedure_ - 1 : kNone;
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
                std::vector<kolvane::Token> tokens;
                LineLexer lexer(line, {isLeadByte_, false});
                kolvane::Token token;
                while (tokens.size() < 4 && lexer.Next(token)) tokens.push_back(token);
                if (tokens.size() < 2 || !tokens[0].IsWord(kAttributeWord)) return;
                if (tokens[1].IsWord(kNameAttribute)) {
                    NameLine(tokens, number);
                } else if (tokens[1].IsWord(kExposedAttribute) && !exposedRead) {
                    exposedRead = true;
                    out_.exposed = tokens.size() >= 4 && IsSymbol(tokens[2], "=") && tokens[3].IsWord(kTrueWord);
                }
            }
        });
    }

    // An Attribute VB_Name line (its first tokens): the first names the module.
    void NameLine(const std::vector<kolvane::Token>& tokens, std::uint32_t line)
    {
        if (out_.hasVbName) return;
        out_.hasVbName = true;
        out_.vbNameLine = line;
        if (tokens.size() >= 4 && IsSymbol(tokens[2], "=") &&
            (tokens[3].kind == TokenKind::String || tokens[3].kind == TokenKind::Identifier)) {
            out_.vbName = std::string(tokens[3].name);
        }
    }

    // --- statements ---

    // The tokens of an attribute line of the statement: the module's name, a
    // procedure's default member or enumerator.
    void AttributeLine(std::span<const CodeToken> line, std::uint32_t procedure)
    {
        std::vector<kolvane::Token> tokens;
        for (const CodeToken& code : line) {
            if (code.token.kind == TokenKind::Comment) break;
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
        const bool enumerator = tokens.size() >= 7 && IsSymbol(tokens[5], "-") &&
                                tokens[6].kind == TokenKind::Number && tokens[6].text == "4";
        if (zero || enumerator) out_.nodes[procedureRanges_[procedure].node].runtime = true;
    }

    // The statement read, its tokens gathered: its region, its declarations,
    // then its names counted in the region.
    void Flush()
    {
        if (!pending_) return;
        pending_ = false;
        const std::uint32_t procedure = ProcedureAt(statement_.firstLine);

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
        // The tokens that count: neither comments nor on attribute lines.
        words_.clear();
        for (const CodeToken& code : tokens_) {
            if (code.attributeLine || code.token.kind == TokenKind::Comment) continue;
            words_.push_back(&code.token);
        }
        // The Declare statements the API outputs find in the statement.
        apisHere_.clear();
        while (nextApi_ < source_.apis.size() && source_.apis[nextApi_].line < statement_.firstLine) ++nextApi_;
        while (nextApi_ < source_.apis.size() && source_.apis[nextApi_].line <= statement_.lastLine) {
            apisHere_.push_back(&source_.apis[nextApi_++]);
        }

        firstOfStatement_ = kNone;
        std::uint32_t region = kModuleRegion;
        if (procedure != kNone) {
            EndBlock();
            region = out_.nodes[procedureRanges_[procedure].node].region;
            AddDeclares(region);
        } else if (block_.open) {
            region = block_.region;
            out_.declarations[block_.declaration].steps += static_cast<std::int32_t>(statement_.steps);
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
        out_.declarations[declaration].steps = static_cast<std::int32_t>(statement_.steps);
    }

    void AddDeclares(std::uint32_t region)
    {
        for (const ApiDeclaration* api : apisHere_) {
            const bool priv = api->scope == Scope::Private;
            const std::uint32_t declaration =
                AddDeclaration(DeclarationMember::Declare, api->name, api->scope, !priv, api->scope == Scope::Public,
                               statement_.firstLine, NewNode(region, false));
            out_.declarations[declaration].line = api->line;
            StepsTo(declaration);
        }
    }

    void EndBlock()
    {
        if (!block_.open) return;
        block_.open = false;
        LocalDeclaration& declaration = out_.declarations[block_.declaration];
        std::sort(block_.members.begin(), block_.members.end());
        block_.members.erase(std::unique(block_.members.begin(), block_.members.end()), block_.members.end());
        declaration.aliasBegin = static_cast<std::uint32_t>(out_.aliases.size());
        for (const std::uint32_t member : block_.members) {
            if (member != declaration.name) out_.aliases.push_back(member);
        }
        declaration.aliasEnd = static_cast<std::uint32_t>(out_.aliases.size());
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
        const std::uint32_t declaration = AddDeclaration(member, name, scope, projectWide, publicEntry,
                                                         statement_.firstLine, NewNode(region, false));
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
                out_.interfaces.push_back(Intern(name));
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
            out_.declarations[declaration].steps = static_cast<std::int32_t>(statement_.steps);
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
                out_.nodes[out_.declarations[declaration].node].runtime = true;
                withEvents_.push_back(Folded(item[name]->name) + "_");
            }
        });
    }

    // --- after the code ---

    // Each region's names with their counts, sorted; the declarations' own
    // counts from them; the lists for the project.
    void FinishRegions()
    {
        std::vector<std::size_t> order(segments_.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return segments_[a].region < segments_[b].region; });

        // The declarations of each region.
        std::vector<std::vector<std::uint32_t>> declarationsOf(regions_);
        for (std::uint32_t i = 0; i < out_.declarations.size(); ++i) {
            declarationsOf[out_.nodes[out_.declarations[i].node].region].push_back(i);
        }

        out_.setEnds.assign(regions_, 0);
        std::vector<std::pair<std::uint32_t, std::uint32_t>> merged;
        std::vector<std::uint32_t> ids;
        std::size_t next = 0;
        for (std::uint32_t region = 0; region < regions_; ++region) {
            merged.clear();
            while (next < order.size() && segments_[order[next]].region == region) {
                const Segment& segment = segments_[order[next++]];
                merged.insert(merged.end(), pairs_.begin() + static_cast<std::ptrdiff_t>(segment.begin),
                              pairs_.begin() + static_cast<std::ptrdiff_t>(segment.end));
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
                const auto found = std::lower_bound(merged.begin(), merged.end(),
                                                    std::make_pair(id, std::uint32_t{0}));
                return found != merged.end() && found->first == id ? found->second : 0;
            };
            for (const std::uint32_t index : declarationsOf[region]) {
                LocalDeclaration& declaration = out_.declarations[index];
                if (declaration.name == kNone) continue;
                declaration.own = countOf(declaration.name);
                for (std::uint32_t a = declaration.aliasBegin; a < declaration.aliasEnd; ++a) {
                    declaration.own += countOf(out_.aliases[a]);
                }
            }
            if (region == kModuleRegion && out_.hasVbName && !out_.vbName.empty()) {
                out_.vbNameId = Intern(out_.vbName);
                out_.moduleOwn = countOf(out_.vbNameId);
            }
            AppendSortedList(ids, out_.sets);
            out_.setEnds[region] = static_cast<std::uint32_t>(out_.sets.size());
        }
    }

    // Tokens seen from the module, and the rows in line order.
    void FinishDeclarations()
    {
        for (LocalDeclaration& declaration : out_.declarations) {
            if (declaration.name == kNone) continue;
            declaration.visible = out_.totals[declaration.name];
            for (std::uint32_t a = declaration.aliasBegin; a < declaration.aliasEnd; ++a) {
                declaration.visible += out_.totals[out_.aliases[a]];
            }
        }
        std::stable_sort(out_.declarations.begin(), out_.declarations.end(),
                         [](const LocalDeclaration& a, const LocalDeclaration& b) {
                             return a.line != b.line ? a.line < b.line : a.order < b.order;
                         });
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
            LocalNode& node = out_.nodes[procedureRanges_[i].node];
            if (designer) node.runtime = true;
            if (node.runtime) continue;
            const std::string& name = procedureNames_[i];
            // The prefixes that could begin the name sort just before it, or are it.
            for (const std::string& prefix : prefixes) {
                if (name.starts_with(prefix)) {
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
    std::string scratch_;

    // names counted per segment: a run of tokens of one region
    std::vector<std::uint32_t> stamps_;  // per name: the segment it was last counted in
    std::vector<std::uint32_t> counts_;  // per name: its count in that segment
    std::vector<std::uint32_t> segmentNames_;
    std::uint32_t segmentNumber_ = 0;
    std::uint32_t region_ = kModuleRegion;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs_;  // (name, count) of every segment
    std::vector<Segment> segments_;
    std::uint32_t regions_ = 1;  // the module's own region is 0

    std::vector<ProcedureRange> procedureRanges_;
    std::vector<std::string> procedureNames_;  // folded
    std::size_t nextProcedure_ = 0;
    std::size_t nextApi_ = 0;
    std::vector<const ApiDeclaration*> apisHere_;
    Block block_;

    CodeStatement statement_;
    bool pending_ = false;
    std::vector<CodeToken> tokens_;
    std::vector<const kolvane::Token*> words_;
    std::uint32_t firstOfStatement_ = kNone;

    std::vector<std::string> controls_;    // folded, with "_"
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
        const auto strip = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\r'; };
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
    struct Declaration {
        DeclarationMember member;
        Scope scope;
        bool projectWide;
        bool publicEntry;
        std::uint32_t line;
        std::int32_t steps;
        std::uint32_t displayBegin;
        std::uint32_t displaySize;
        std::uint32_t name;
        std::uint32_t aliasBegin;
        std::uint32_t aliasEnd;
        std::uint32_t node;
        std::uint32_t own;
        std::uint32_t visible;
        std::int64_t references = 0;
    };

    struct Node {
        std::uint32_t region;
        bool runtime;
        bool procedure;
        bool reached = false;
        bool entry = false;  // an entry point of the component
        bool other = false;  // reached as another root
        std::int64_t references = 0;
        UnusedStatus status = UnusedStatus::Dead;
    };

    struct Module {
        ModuleKind kind = ModuleKind::Bas;
        SourceStatus status = SourceStatus::Read;
        std::string file;
        std::size_t memberIndex = 0;
        std::uint32_t declarationBegin = 0, declarationEnd = 0;
        std::uint32_t nodeBegin = 0, nodeEnd = 0;
        std::uint32_t regionBegin = 0, regionEnd = 0;
        bool hasVbName = false;
        std::string vbName;
        std::uint32_t vbNameLine = 0;
        std::uint32_t vbNameId = kNone;
        std::uint32_t moduleOwn = 0;
        std::int32_t steps = 0;
        bool exposed = false;
        std::vector<std::uint32_t> localToGlobal;
        std::vector<std::uint8_t> sets;
        std::vector<std::uint32_t> setEnds;
        std::vector<std::uint32_t> interfaces;
        bool reached = false;
        bool entry = false;
        bool other = false;
        std::int64_t references = 0;
        UnusedStatus moduleStatus = UnusedStatus::Dead;
    };

    // A declaration under one of its names, for the references.
    struct Entry {
        std::uint32_t name;
        std::uint32_t module;  // kNone for one seen from every module
        std::uint32_t node;
        std::uint32_t region;
    };

    struct GroupState {
        bool full = false;
        std::uint32_t partial = kNone;  // the own region of a member that reached the others
    };

    std::string_view projectText;
    CodePage codePage;
    LeadByteTest isLeadByte;

    NameTable names;
    std::vector<std::int64_t> totals;  // tokens per name in the project
    std::string display;
    std::vector<Declaration> declarations;
    std::vector<std::uint32_t> aliases;
    std::vector<Node> nodes;
    std::vector<std::uint32_t> regionModule;
    std::vector<Module> modules;
    bool anyUnread = false;

    // Finish's indexes.
    std::vector<Entry> entries;
    std::vector<std::uint32_t> entryBegin;  // per name: its entries (project-wide ones first)
    std::vector<std::uint32_t> privateBegin;  // per name: where its module-wide entries begin
    std::vector<GroupState> groups;  // per entry: the state of the group beginning there
    std::vector<std::uint32_t> modulesByName;
    std::vector<std::uint32_t> moduleNameBegin;  // per name
    std::vector<bool> regionReached;
    std::vector<std::uint32_t> queue;
    std::int64_t liveSteps = 0;
    std::int64_t deadSteps = 0;
    mutable std::vector<UnusedRow> rows;

    std::uint32_t Global(std::string_view folded, std::uint64_t hash)
    {
        const std::uint32_t id = names.Intern(folded, hash);
        if (id == totals.size()) totals.push_back(0);
        return id;
    }

    void Add(const UnusedSource& source, const PreparedUnused* prepared)
    {
        Module module;
        module.kind = source.kind;
        module.status = source.status;
        module.file = std::string(source.file);
        module.memberIndex = source.memberIndex;
        module.declarationBegin = module.declarationEnd = static_cast<std::uint32_t>(declarations.size());
        module.nodeBegin = module.nodeEnd = static_cast<std::uint32_t>(nodes.size());
        module.regionBegin = module.regionEnd = static_cast<std::uint32_t>(regionModule.size());
        if (source.status != SourceStatus::Read || prepared == nullptr) {
            anyUnread = true;
            modules.push_back(std::move(module));
            return;
        }
        const PreparedUnused& local = *prepared;
        const auto moduleIndex = static_cast<std::uint32_t>(modules.size());
        module.localToGlobal.resize(local.names.Size());
        for (std::uint32_t id = 0; id < local.names.Size(); ++id) {
            const std::uint32_t global = Global(local.names.Name(id), local.names.Hash(id));
            module.localToGlobal[id] = global;
            totals[global] += local.totals[id];
        }
        const auto global = [&](std::uint32_t id) { return id == kNone ? kNone : module.localToGlobal[id]; };
        const std::uint32_t regionCount = static_cast<std::uint32_t>(local.setEnds.size());
        regionModule.insert(regionModule.end(), regionCount, moduleIndex);
        module.regionEnd = module.regionBegin + regionCount;
        for (const LocalNode& node : local.nodes) {
            nodes.push_back({module.regionBegin + node.region, node.runtime, node.procedure});
        }
        module.nodeEnd = static_cast<std::uint32_t>(nodes.size());
        for (const LocalDeclaration& d : local.declarations) {
            Declaration declaration{d.member,
                                    d.scope,
                                    d.projectWide,
                                    d.publicEntry,
                                    d.line,
                                    d.steps,
                                    static_cast<std::uint32_t>(display.size()),
                                    d.displaySize,
                                    global(d.name),
                                    static_cast<std::uint32_t>(aliases.size()),
                                    0,
                                    module.nodeBegin + d.node,
                                    d.own,
                                    d.visible};
            display.append(local.display, d.displayBegin, d.displaySize);
            for (std::uint32_t a = d.aliasBegin; a < d.aliasEnd; ++a) aliases.push_back(global(local.aliases[a]));
            declaration.aliasEnd = static_cast<std::uint32_t>(aliases.size());
            declarations.push_back(declaration);
        }
        module.declarationEnd = static_cast<std::uint32_t>(declarations.size());
        module.hasVbName = local.hasVbName;
        module.vbName = local.vbName;
        module.vbNameLine = local.vbNameLine;
        module.vbNameId = global(local.vbNameId);
        module.moduleOwn = local.moduleOwn;
        module.steps = source.scan->steps;
        module.exposed = local.exposed;
        module.sets = local.sets;
        module.setEnds = local.setEnds;
        for (const std::uint32_t id : local.interfaces) module.interfaces.push_back(global(id));
        modules.push_back(std::move(module));
    }

    // --- finding what is reached ---

    void BuildIndexes()
    {
        const std::uint32_t nameCount = names.Size();
        for (std::uint32_t m = 0; m < modules.size(); ++m) {
            const Module& module = modules[m];
            for (std::uint32_t i = module.declarationBegin; i < module.declarationEnd; ++i) {
                const Declaration& d = declarations[i];
                const std::uint32_t scope = d.projectWide ? kNone : m;
                const std::uint32_t region = nodes[d.node].region;
                if (d.name != kNone) entries.push_back({d.name, scope, d.node, region});
                for (std::uint32_t a = d.aliasBegin; a < d.aliasEnd; ++a) {
                    entries.push_back({aliases[a], scope, d.node, region});
                }
            }
        }
        // By name; the project-wide ones (kNone) after the module-wide ones.
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            if (a.name != b.name) return a.name < b.name;
            if (a.module != b.module) return a.module < b.module;
            return a.node < b.node;
        });
        entries.erase(std::unique(entries.begin(), entries.end(),
                                  [](const Entry& a, const Entry& b) {
                                      return a.name == b.name && a.module == b.module && a.node == b.node;
                                  }),
                      entries.end());
        entryBegin.assign(nameCount + 1, 0);
        privateBegin.assign(nameCount, 0);
        for (const Entry& entry : entries) ++entryBegin[entry.name + 1];
        for (std::uint32_t n = 0; n < nameCount; ++n) entryBegin[n + 1] += entryBegin[n];
        groups.assign(entries.size(), GroupState{});

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
    }

    void ReachRegion(std::uint32_t region)
    {
        if (regionReached[region]) return;
        regionReached[region] = true;
        queue.push_back(region);
    }

    enum class Why { Reference, Entry, Other };

    void ReachNode(std::uint32_t index, Why why)
    {
        Node& node = nodes[index];
        if (why == Why::Entry) node.entry = true;
        if (why == Why::Other) node.other = true;
        if (node.reached) return;
        node.reached = true;
        ReachRegion(node.region);
    }

    void ReachModule(std::uint32_t index, Why why)
    {
        Module& module = modules[index];
        if (why == Why::Entry) module.entry = true;
        if (why == Why::Other) module.other = true;
        if (module.reached || module.status != SourceStatus::Read) return;
        module.reached = true;
        ReachRegion(module.regionBegin + kModuleRegion);
        if (!HasHeader(module.kind)) return;
        for (std::uint32_t n = module.nodeBegin; n < module.nodeEnd; ++n) {
            if (nodes[n].runtime) ReachNode(n, Why::Other);
        }
        for (const std::uint32_t name : module.interfaces) {
            for (std::uint32_t k = moduleNameBegin[name]; k < moduleNameBegin[name + 1]; ++k) {
                const Module& implemented = modules[modulesByName[k]];
                if (implemented.kind != ModuleKind::Cls) continue;
                for (std::uint32_t n = implemented.nodeBegin; n < implemented.nodeEnd; ++n) {
                    if (nodes[n].procedure) ReachNode(n, Why::Other);
                }
            }
        }
    }

    // The entries [begin, end) of one name and one scope, from a region.
    void ReachGroup(std::uint32_t begin, std::uint32_t end, std::uint32_t region)
    {
        if (begin == end) return;
        GroupState& state = groups[begin];
        if (state.full) return;
        bool own = false;
        for (std::uint32_t e = begin; e < end; ++e) {
            if (entries[e].region == region) {
                own = true;
            } else {
                ReachNode(entries[e].node, Why::Reference);
            }
        }
        if (!own || (state.partial != kNone && state.partial != region)) {
            state.full = true;
        } else {
            state.partial = region;
        }
    }

    void FollowRegion(std::uint32_t region)
    {
        const std::uint32_t m = regionModule[region];
        const Module& module = modules[m];
        const std::uint32_t local = region - module.regionBegin;
        const std::uint8_t* data = module.sets.data();
        const std::uint32_t setBegin = local == 0 ? 0 : module.setEnds[local - 1];
        ForEachInList(data + setBegin, data + module.setEnds[local], [&](std::uint32_t id) {
            const std::uint32_t name = module.localToGlobal[id];
            const std::uint32_t begin = entryBegin[name];
            const std::uint32_t end = entryBegin[name + 1];
            // Module-wide entries sort by module, the project-wide ones (kNone) last.
            const auto publicAt =
                std::lower_bound(entries.begin() + begin, entries.begin() + end, kNone,
                                 [](const Entry& entry, std::uint32_t value) { return entry.module < value; });
            const auto publicBegin = static_cast<std::uint32_t>(publicAt - entries.begin());
            ReachGroup(publicBegin, end, region);
            const auto ownAt =
                std::lower_bound(entries.begin() + begin, publicAt, m,
                                 [](const Entry& entry, std::uint32_t value) { return entry.module < value; });
            auto ownEnd = ownAt;
            while (ownEnd != publicAt && ownEnd->module == m) ++ownEnd;
            ReachGroup(static_cast<std::uint32_t>(ownAt - entries.begin()),
                       static_cast<std::uint32_t>(ownEnd - entries.begin()), region);
            for (std::uint32_t k = moduleNameBegin[name]; k < moduleNameBegin[name + 1]; ++k) {
                const std::uint32_t named = modulesByName[k];
                if (modules[named].regionBegin + kModuleRegion != region) ReachModule(named, Why::Reference);
            }
        });
    }

    std::uint32_t FindGlobal(std::string_view name)
    {
        std::string folded;
        const std::uint64_t hash = FoldName(name, isLeadByte, folded);
        return names.Find(folded, hash);
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
                    for (std::uint32_t i = module.declarationBegin; i < module.declarationEnd; ++i) {
                        const Declaration& d = declarations[i];
                        if ((d.member == DeclarationMember::Sub || d.member == DeclarationMember::Function) &&
                            d.name != kNone && names.Name(d.name) == kMainName) {
                            ReachNode(d.node, Why::Other);
                        }
                    }
                }
            } else if (const std::uint32_t name = startup->empty() ? kNone : FindGlobal(*startup); name != kNone) {
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
            if (!module.exposed) continue;
            ReachModule(m, Why::Entry);
            for (std::uint32_t i = module.declarationBegin; i < module.declarationEnd; ++i) {
                if (declarations[i].publicEntry) ReachNode(declarations[i].node, Why::Entry);
            }
        }
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
        for (Declaration& d : declarations) {
            if (d.name == kNone) continue;
            if (!d.projectWide) {
                d.references = static_cast<std::int64_t>(d.visible) - d.own;
                continue;
            }
            std::int64_t seen = totals[d.name];
            for (std::uint32_t a = d.aliasBegin; a < d.aliasEnd; ++a) seen += totals[aliases[a]];
            d.references = seen - d.own;
        }
        for (const Declaration& d : declarations) nodes[d.node].references += d.references;
        for (Node& node : nodes) {
            if (!node.reached) {
                node.status = unreached;
            } else {
                node.status = node.entry && !node.other && node.references == 0 ? UnusedStatus::Exposed
                                                                                  : UnusedStatus::Live;
            }
        }
        for (Module& module : modules) {
            if (module.status != SourceStatus::Read) {
                module.moduleStatus =
                    module.status == SourceStatus::Missing ? UnusedStatus::Missing : UnusedStatus::Unreadable;
                continue;
            }
            if (module.vbNameId != kNone) {
                module.references = totals[module.vbNameId] - static_cast<std::int64_t>(module.moduleOwn);
            }
            if (!module.reached) {
                module.moduleStatus = unreached;
            } else {
                module.moduleStatus = module.entry && !module.other && module.references == 0 ? UnusedStatus::Exposed
                                                                                              : UnusedStatus::Live;
            }
        }
        for (const Declaration& d : declarations) {
            const UnusedStatus status = nodes[d.node].status;
            if (status == UnusedStatus::Live) liveSteps += d.steps;
            if (status == UnusedStatus::Dead) deadSteps += d.steps;
        }
        // What only the reaching needed.
        entries = {};
        entryBegin = {};
        groups = {};
        regionReached = {};
        for (Module& module : modules) {
            module.sets = {};
            module.setEnds = {};
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
                row.name = module.vbName;
                if (module.hasVbName) row.line = module.vbNameLine;
                row.references = module.references;
                row.steps = module.steps;
            }
            rows.push_back(row);
        }
        for (std::uint32_t i = module.declarationBegin; i < module.declarationEnd; ++i) {
            const Declaration& d = declarations[i];
            UnusedRow row;
            row.member = d.member;
            row.name = std::string_view(display).substr(d.displayBegin, d.displaySize);
            row.scope = d.scope;
            row.line = d.line;
            row.status = nodes[d.node].status;
            row.references = d.references;
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

constexpr std::string_view kBannerRule = "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\n";
constexpr std::string_view kBannerTitle = "       ソースコード 未使用コード       \n";
constexpr const char* kProjectFormat = "プロジェクトファイル ： %s\n\n\n";
constexpr const char* kFileNameFormat = "ファイル名 ： %s\n";
constexpr const char* kStatusFormat = "状態       ： %s\n";
constexpr const char* kLiveFormat = "使用       ： %8lld 行\n";
constexpr const char* kDeadFormat = "未使用     ： %8lld 行\n";
constexpr const char* kExposedFormat = "公開       ： %8lld 行\n";
constexpr const char* kUnknownFormat = "不明       ： %8lld 行\n";
constexpr const char* kRowFormat = "  %s %s %s ： %u 行目、%lld 行\n";
constexpr std::string_view kTotalsHeader = "                   使用      未使用        公開        不明\n";
constexpr const char* kKindTotalsFormat = "%sファイル%10lld行%10lld行%10lld行%10lld行\n";
constexpr const char* kAllTotalsFormat = "合計       %10lld行%10lld行%10lld行%10lld行\n\n\n";

// 使用, 未使用, 公開, 不明, ファイルなし, 読込エラー, in UnusedStatus order.
constexpr std::array<std::string_view, 6> kStatusWords = {"使用", "未使用", "公開", "不明", "ファイルなし",
                                                          "読込エラー"};

// Steps per status: live, dead, exposed, unknown.
using StepTotals = std::array<std::int64_t, 4>;

void AddSteps(StepTotals& totals, const UnusedModuleView& module)
{
    for (const UnusedRow& row : module.rows) {
        if (row.member == DeclarationMember::Module || !row.steps) continue;
        const auto status = static_cast<std::size_t>(row.status);
        if (status < totals.size()) totals[status] += *row.steps;
    }
}

void AppendModule(const UnusedModuleView& module, std::string& report)
{
    report += FormatText(kFileNameFormat, std::string(module.file).c_str());
    report += FormatText(kStatusFormat, std::string(kStatusWords[static_cast<std::size_t>(module.moduleStatus)]).c_str());
    if (module.status == SourceStatus::Read) {
        StepTotals totals{};
        AddSteps(totals, module);
        report += FormatText(kLiveFormat, static_cast<long long>(totals[0]));
        report += FormatText(kDeadFormat, static_cast<long long>(totals[1]));
        report += FormatText(kExposedFormat, static_cast<long long>(totals[2]));
        report += FormatText(kUnknownFormat, static_cast<long long>(totals[3]));
        for (const UnusedRow& row : module.rows) {
            if (row.member == DeclarationMember::Module || row.status == UnusedStatus::Live) continue;
            report += FormatText(kRowFormat, std::string(kStatusWords[static_cast<std::size_t>(row.status)]).c_str(),
                                 std::string(DeclarationMemberText(row.member)).c_str(), std::string(row.name).c_str(),
                                 static_cast<unsigned>(row.line.value_or(0)), static_cast<long long>(row.steps.value_or(0)));
        }
    }
    report += '\n';
}

class UnusedTextWriter final : public Writer {
public:
    explicit UnusedTextWriter(const OutputContext& context)
        : context_(context), path_(context.PathFor(kTextSuffix)), unused_(context.codePage)
    {
    }

    bool Begin(Reporter&) override { return true; }

    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override
    {
        if (turn.module == nullptr || turn.module->member == nullptr) return nullptr;
        return unused_.Read(UnusedSourceOf(*turn.module));
    }

    bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter&) override
    {
        if (turn.module != nullptr && turn.module->member != nullptr) unused_.Add(UnusedSourceOf(*turn.module), prepared);
        return true;
    }

    bool Finish(Reporter& reporter) override
    {
        unused_.Finish(context_.projectText);
        finished_ = true;
        const std::string report = UnusedTextReport(unused_, context_.projectPath);
        SourceFile file;
        if (OpenSourceFile(file, path_, kModeWrite) != 1) {
            ReportCannotCreate(reporter, path_);
            return false;
        }
        const bool written = file.WriteBlock(report) == 1;
        if (CloseSourceFile(file) == 1 && written) return true;
        ReportCannotWrite(reporter, path_);
        return false;
    }

    std::vector<std::string> Files() const override { return {path_}; }

    void Summarize(ProjectFigures& figures) const override
    {
        if (!finished_) return;
        figures.liveSteps = unused_.LiveSteps();
        figures.deadSteps = unused_.DeadSteps();
    }

private:
    const OutputContext& context_;
    std::string path_;
    UnusedCode unused_;
    bool finished_ = false;
};

class UnusedCsvWriter final : public Writer {
public:
    explicit UnusedCsvWriter(const OutputContext& context)
        : context_(context), path_(context.PathFor(kCsvSuffix)), unused_(context.codePage)
    {
    }

    bool Begin(Reporter& reporter) override
    {
        if (csv_.Open(path_, {"project", "file", "kind", "member", "name", "scope", "line", "status", "references",
                              "steps"})) {
            return true;
        }
        ReportCannotCreate(reporter, path_);
        return false;
    }

    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override
    {
        if (turn.module == nullptr || turn.module->member == nullptr) return nullptr;
        return unused_.Read(UnusedSourceOf(*turn.module));
    }

    bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter&) override
    {
        if (turn.module != nullptr && turn.module->member != nullptr) unused_.Add(UnusedSourceOf(*turn.module), prepared);
        return true;
    }

    bool Finish(Reporter& reporter) override
    {
        unused_.Finish(context_.projectText);
        finished_ = true;
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

    std::vector<std::string> Files() const override { return {path_}; }

    void Summarize(ProjectFigures& figures) const override
    {
        if (!finished_) return;
        figures.liveSteps = unused_.LiveSteps();
        figures.deadSteps = unused_.DeadSteps();
    }

private:
    const OutputContext& context_;
    std::string path_;
    UnusedCode unused_;
    CsvWriter csv_;
    bool finished_ = false;
};

void JsonText(std::string& text, std::string_view name, std::string_view utf8)
{
    if (text.back() != '{') text.push_back(',');
    AppendJsonName(text, name);
    AppendJsonString(text, utf8);
}

void JsonNumber(std::string& text, std::string_view name, std::optional<std::int64_t> value)
{
    text.push_back(',');
    AppendJsonName(text, name);
    AppendJsonNumber(text, value);
}

class UnusedJson final : public JsonPart {
public:
    explicit UnusedJson(const OutputContext& context)
        : context_(context), codePage_(context.codePage), unused_(context.codePage)
    {
    }

    std::unique_ptr<PreparedModule> Prepare(const ScannedModule& module) const override
    {
        return unused_.Read(UnusedSourceOf(module));
    }

    void Module(const ScannedModule& module, const PreparedModule* prepared, std::string&) override
    {
        unused_.Add(UnusedSourceOf(module), prepared);
    }

    bool Deferred() const override { return true; }

    void Finish() override
    {
        unused_.Finish(context_.projectText);
        finished_ = true;
        unused_.ForEachModule([&](const UnusedModuleView& module) {
            std::string text = ",";
            AppendJsonName(text, "unused");
            text.push_back('[');
            for (const UnusedRow& row : module.rows) {
                if (text.back() != '[') text.push_back(',');
                text.push_back('{');
                JsonText(text, "member", DeclarationMemberText(row.member));
                JsonText(text, "name", ToUtf8(row.name, codePage_));
                JsonText(text, "scope", row.scope ? ScopeText(*row.scope) : std::string_view{});
                JsonNumber(text, "line", row.line ? std::optional<std::int64_t>(*row.line) : std::nullopt);
                JsonText(text, "status", UnusedStatusText(row.status));
                JsonNumber(text, "references", row.references);
                JsonNumber(text, "steps", row.steps);
                text.push_back('}');
            }
            text.push_back(']');
            parts_.push_back(std::move(text));
        });
    }

    void CompleteModule(std::size_t index, std::string& object) override
    {
        if (index < parts_.size()) {
            object.append(parts_[index]);
            parts_[index] = {};
        }
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
    std::vector<std::string> parts_;  // per member, in project order
    bool finished_ = false;
};

}  // namespace

std::string UnusedTextReport(const UnusedCode& unused, std::string_view projectPath)
{
    std::string report;
    report.append(kBannerRule).append(kBannerTitle).append(kBannerRule);
    report += FormatText(kProjectFormat, std::string(projectPath).c_str());
    std::array<StepTotals, kModuleKindCount> perKind{};
    StepTotals all{};
    unused.ForEachModule([&](const UnusedModuleView& module) {
        AppendModule(module, report);
        AddSteps(perKind[static_cast<std::size_t>(module.kind)], module);
        AddSteps(all, module);
    });
    report.append(kTotalsHeader);
    for (std::size_t kind = 0; kind < kModuleKindCount; ++kind) {
        const StepTotals& t = perKind[kind];
        report += FormatText(kKindTotalsFormat, std::string(kModuleKindTexts[kind]).c_str(), static_cast<long long>(t[0]),
                             static_cast<long long>(t[1]), static_cast<long long>(t[2]), static_cast<long long>(t[3]));
    }
    report += FormatText(kAllTotalsFormat, static_cast<long long>(all[0]), static_cast<long long>(all[1]),
                         static_cast<long long>(all[2]), static_cast<long long>(all[3]));
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
