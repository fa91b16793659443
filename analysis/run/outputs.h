// Every output Kolvane writes, in one table: one row per analysis, with the
// writer of each format it has. The command line's options and the window's
// radio buttons name rows of it; a new analysis is one writer and one row.
#pragma once

#include "analysis/source/scanned_module.h"
#include "analysis/tables/json_report.h"
#include "analysis/writer.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace kolvane {

// In report order: an analysis chosen with others writes after those above it.
enum class AnalysisId { Steps, Procedures, Apis, Unused, Inventory, Changes };

enum class OutputFormat { Text, Csv, Json };

// Which modules a writer takes: the rows of the module table, with its
// limits and order (the three text reports), or the members of the member
// list, in project order (every other output).
enum class ModuleSource { Table, Members };

using MakeWriter = std::unique_ptr<Writer> (*)(const OutputContext& context);
using MakeJsonPart = std::unique_ptr<JsonPart> (*)(const OutputContext& context);

struct AnalysisRow {
    AnalysisId id;
    std::string_view option;        // the command line's long option, without "--"
    char shortOption = 0;           // its letter, or 0
    bool inAll = false;             // chosen by -A, --all
    ModuleSource textSource = ModuleSource::Members;  // the modules its text output takes
    ScanDepth textDepth = ScanDepth::Text;  // how far its text output needs its modules scanned
    ScanDepth depth = ScanDepth::Text;      // how far its other outputs need them scanned
    MakeWriter text = nullptr;      // null: no text output
    std::string_view textSuffix = {};  // the text report's suffix, for the front ends to name it
    std::string_view failureText = {};  // shown with the caption "エラー" when the text report fails; empty: none
    MakeWriter csv = nullptr;       // null: no CSV output
    MakeJsonPart jsonPart = nullptr;  // its part of NAME.json; null: none
    MakeWriter json = nullptr;      // a JSON file of its own (the change counts); null: none
};

std::span<const AnalysisRow> AnalysisTable();
// The row of the analysis (every analysis has one).
const AnalysisRow& RowOf(AnalysisId id);

// The row whose long option this is; none for another.
const AnalysisRow* RowOfOption(std::string_view option);

}  // namespace kolvane
