// The migration inventory of a project: the type libraries, projects and
// components (OCX) it and its members depend on, the controls each designer
// holds, and per member how often its code uses the constructs that do not
// carry over to another platform.
//
// - References: one row per "Reference=" and "Object=" line at the start of a
//   line of the .vbp, in file order, then one per Object line of each
//   header-kind member's header (its first word Object, any case, followed
//   by "="; the value is the rest after "=", blanks trimmed), members in
//   project order. The shapes:
//     *\G{GUID}#VERSION#LCID#PATH#DESCRIPTION   reference (four "#" at least,
//                                               the description the rest)
//     *\APATH                                   project (an Object value
//                                               without its quotes)
//     {GUID}#VERSION#LCID; FILE                 component (quotes optional
//                                               around either part)
//   and anything else is unknown, the whole value its description.
// - Controls: per header-kind member, one row per Library.Type that the
//   header's "Begin Library.Type [Name]" lines declare (Begin in any case,
//   words separated by blanks and tabs, any depth), in order of first
//   appearance, with the number of such lines; the file's first Begin (the
//   module itself) and "Begin {GUID}" are no control.
// - Constructs: per member, counts over the tokens of its code (see
//   ReadCode: comments, string literals and attribute lines give none), each
//   token sequence within one statement, words in any case, a bracketed or
//   typed word never a keyword. Most lines hold no construct: the code is
//   looked through for the words that can begin one, and only their lines
//   are read.
#pragma once

#include "analysis/source/lexer.h"
#include "analysis/source/module_scan.h"
#include "analysis/tables/json_report.h"
#include "analysis/writer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace kolvane {

enum class ReferenceKind { Reference, Project, Component, Unknown };

// "reference", "project", "component", "unknown".
std::string_view ReferenceKindText(ReferenceKind kind);

// One reference as written: the fields view the value read.
struct Reference {
    ReferenceKind kind = ReferenceKind::Unknown;
    std::string_view guid;  // braces included
    std::string_view version;
    std::string_view file;
    std::string_view description;
};

// The value of a .vbp "Reference=" line (after the "=").
Reference ReadReferenceValue(std::string_view value);
// The value of an Object line, of the .vbp or of a header (after the "=").
Reference ReadObjectValue(std::string_view value);

// The references of the .vbp's Reference= and Object= lines (at the start of
// a line, spelled so), in file order; the text as read in text mode.
std::vector<Reference> ProjectReferences(std::string_view projectText);

// The values of a header's Object lines, in order.
std::vector<std::string_view> HeaderObjects(std::string_view header);

// A control type of a designer header: the two halves of Library.Type as
// written (they view the header), and its Begin lines.
struct ControlType {
    std::string_view library;
    std::string_view type;
    std::int64_t count = 0;
};
std::vector<ControlType> CountControls(std::string_view header);

// The constructs counted, in the order of their columns.
enum class Construct {
    GoSub,              // GoSub
    GoTo,               // GoTo not preceded by Error
    OnErrorResumeNext,  // On [Local] Error Resume Next
    OnErrorGoTo,        // On [Local] Error GoTo and a token that is not the number 0
    AsAny,
    AsVariant,
    AsObject,
    FixedStrings,  // As String *
    CreateObject,
    GetObject,
    CallByName,
    Pointers,       // VarPtr, StrPtr, ObjPtr
    DefType,        // DefBool ... DefVar as a statement's first word
    OptionBase,     // Option Base
    LSetRSet,       // LSet, RSet as a statement's first word
    EndStatements,  // End as a statement's first word, not ending a block
    DoEvents,
    Declares,       // the module's API declarations (FindApiDeclarations)
};
inline constexpr std::size_t kConstructCount = static_cast<std::size_t>(Construct::Declares) + 1;
using ConstructCounts = std::array<std::int64_t, kConstructCount>;

// The column names of the constructs, in their order.
extern const std::array<std::string_view, kConstructCount> kConstructColumns;

// How the code is read for the counts: only the lines where a word that can
// begin a construct stands (with the lines " _" joins to them), or every
// line. The counts are the same; the second way is slower and serves to
// check the first.
enum class CodeReading { WhereConstructsCanBegin, EveryLine };

// The counts of a module's code, Declares aside (it is the number of the
// module's API declarations, which the scan finds).
ConstructCounts CountConstructs(const ModuleScan& module, LeadByteTest isLeadByte,
                                CodeReading reading = CodeReading::WhereConstructsCanBegin);

// NAME_References.csv, NAME_Controls.csv and NAME_Constructs.csv.
std::unique_ptr<Writer> MakeInventoryCsv(const OutputContext& context);
// The "inventory" object of NAME.json, with the same three lists.
std::unique_ptr<JsonPart> MakeInventoryJson(const OutputContext& context);

}  // namespace kolvane
