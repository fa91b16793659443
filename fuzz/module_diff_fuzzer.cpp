// Any bytes as two versions of one module: the first byte picks the kind
// and whether Shift_JIS lead bytes are honoured, the second where the old
// version ends and the new begins. The comparison must not crash, every row
// must keep both identities, a version compared with itself followed by a
// comment line must be unchanged throughout, and the writers must take
// whatever it gives.
#include "analysis/diff/diff_tables.h"
#include "analysis/diff/diff_text_report.h"
#include "analysis/diff/module_diff.h"
#include "fuzz/fuzz_support.h"
#include "project/text/platform.h"
#include "analysis/source/scanned_module.h"

#include <string>

namespace {

using namespace kolvane;

// A version of the module: the bytes written to a file of its own, read
// and scanned as a run reads and scans them.
struct Version {
    Version(const char* name, ModuleKind kind, std::string_view bytes)
    {
        const std::string path = fuzz::ScratchPath(name);
        fuzz::WriteFile(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        module.Read(path, kind);
        module.Scan(ScanDepth::Procedures);
    }
    ScannedModule module;
};

void CheckRows(const ModuleDiff& diff, bool sameVersion)
{
    for (const DiffRow& row : diff.rows) {
        FUZZ_CHECK(row.counts.has_value());
        const ChangeCounts& c = *row.counts;
        FUZZ_CHECK(c.added >= 0 && c.changed >= 0 && c.deleted >= 0 && c.unchanged >= 0);
        FUZZ_CHECK(c.oldSteps == c.unchanged + c.changed + c.deleted);
        FUZZ_CHECK(c.newSteps == c.unchanged + c.changed + c.added);
        if (sameVersion) FUZZ_CHECK(row.status == RowStatus::Unchanged);
    }
    FUZZ_CHECK(!diff.rows.empty() && diff.rows.front().declarations);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const auto kind = static_cast<ModuleKind>(data[0] % kModuleKindCount);
    const LeadByteTest leadBytes = (data[0] & 0x80) != 0 ? nullptr : &IsLeadByte;
    const std::size_t rest = size - 2;
    const std::size_t split = rest * data[1] / 255;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), rest);
    const std::string_view newer = bytes.substr(split);
    const Version oldVersion("old", kind, bytes.substr(0, split));
    const Version newVersion("new", kind, newer);
    ProjectDiff project{"Old.vbp", "New.vbp", {}};
    project.modules.push_back(DiffModule(kind, "Fuzz", &oldVersion.module, &newVersion.module, leadBytes));
    CheckRows(project.modules.back(), false);
    // A version followed by a comment line is unchanged throughout (the data
    // ends at a Ctrl-Z: the comment goes before one; a CR LF after the last
    // line leaves a lone CR at its end as it was).
    const std::string commented = std::string(newer.substr(0, newer.find('\x1A'))) + "\r\n' fuzz\r\n";
    const Version commentedVersion("commented", kind, commented);
    CheckRows(DiffModule(kind, "Fuzz", &newVersion.module, &commentedVersion.module, leadBytes), true);

    FUZZ_CHECK(!DiffTextReport(project).empty());
    FUZZ_CHECK(!DiffJson(project, CodePage::Cp932).empty());
    return 0;
}
