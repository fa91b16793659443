// Any bytes as a project file: LoadProject must not crash, and whatever it
// returns, its module table must hold the table's invariants.
#include "fuzz/fuzz_support.h"
#include "project/model/module_table.h"
#include "project/model/project_reader.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace kolvane;

// Forms before standard modules before class modules; -1 for any other kind.
int KindRank(const ModuleEntry& row)
{
    const std::string_view kind(row.kind, kKindLength);
    if (kind == "frm") return 0;
    if (kind == "bas") return 1;
    if (kind == "cls") return 2;
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string project = fuzz::ScratchPath("Fuzz.vbp");
    fuzz::WriteFile(project, data, size);

    const ProjectLoad load = LoadProject(project, fuzz::SilentReporter());
    // Refused: an empty table, for a reason the limits name or a read failure.
    if (!load.Loaded()) FUZZ_CHECK(load.table.empty());
    FUZZ_CHECK(load.table.size() <= static_cast<std::size_t>(kModuleCapacity));
    int previousRank = 0;
    for (const ModuleEntry& row : load.table) {
        const int rank = KindRank(row);
        FUZZ_CHECK(rank >= previousRank);
        previousRank = rank;
        FUZZ_CHECK(row.path[0] != '\0');
        FUZZ_CHECK(std::memchr(row.path, '\0', kPathFieldSize) != nullptr);
    }
    FUZZ_CHECK(fuzz::BoxCount() == 0);
    return 0;
}
