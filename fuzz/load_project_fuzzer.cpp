// Any bytes as a project file: LoadProject must not crash, and whatever it
// returns, the ModuleTable must hold its invariants afterwards.
#include "fuzz/fuzz_support.h"
#include "project/module_table.h"
#include "project/project_reader.h"

#include <algorithm>
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

bool IsZero(const ModuleEntry& row)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&row);
    return std::all_of(bytes, bytes + sizeof row, [](unsigned char byte) { return byte == 0; });
}

// A previous project that a load must replace completely: every byte set.
void FillWithAnOldProject()
{
    std::memset(ModuleTable, 0xA5, sizeof ModuleTable);
    ModuleCount = kModuleCapacity;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string project = fuzz::ScratchPath("Fuzz.vbp");
    fuzz::WriteFile(project, data, size);

    FillWithAnOldProject();
    const std::int32_t result = LoadProject(project, fuzz::SilentReporter());

    // The file exists, so the load never ends with the old table in place:
    // either the new rows, or (refused) an empty table.
    FUZZ_CHECK(result == 0 || result == 1);
    FUZZ_CHECK(ModuleCount >= 0 && ModuleCount <= kModuleCapacity);
    if (result == 0) FUZZ_CHECK(ModuleCount == 0);

    int previousRank = 0;
    for (int i = 0; i < ModuleCount; ++i) {
        const ModuleEntry& row = ModuleTable[i];
        const int rank = KindRank(row);
        FUZZ_CHECK(rank >= previousRank);
        previousRank = rank;
        FUZZ_CHECK(row.path[0] != '\0');
        FUZZ_CHECK(std::memchr(row.path, '\0', kPathFieldSize) != nullptr);
        FUZZ_CHECK(row.steps == 0 && row.comments == 0);
    }
    for (int i = ModuleCount; i < kModuleCapacity; ++i) FUZZ_CHECK(IsZero(ModuleTable[i]));
    FUZZ_CHECK(fuzz::BoxCount() == 0);
    return 0;
}
