// Any bytes as the source file of a one-module project, once as a form, a
// standard module and a class module: the three reports, run together on one
// read of the module, must not crash, and on a readable file every one of
// them must succeed without a message box.
#include "analysis/run/session.h"
#include "analysis/source/module_scan.h"
#include "fuzz/fuzz_support.h"
#include "project/model/module_table.h"
#include "project/text/source_text.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace kolvane;

struct SourceKind {
    std::string_view kind;
    std::string_view fileName;
};

constexpr SourceKind kSourceKinds[] = {
    {"frm", "Fuzz.frm"},
    {"bas", "Fuzz.bas"},
    {"cls", "Fuzz.cls"},
};

ModuleEntry OneModule(std::string_view kind, const std::string& path)
{
    FUZZ_CHECK(path.size() < kPathFieldSize);
    return MakeModuleEntry(kind, path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string project = fuzz::ScratchPath("Fuzz.vbp");

    // Every line holds at least one byte, so no count can pass the size
    // (a standard module gives one step less, so at least -1).
    const long long most = static_cast<long long>(size);

    for (const SourceKind& source : kSourceKinds) {
        const std::string path = fuzz::ScratchPath(source.fileName);
        fuzz::WriteFile(path, data, size);
        const ModuleEntry row = OneModule(source.kind, path);
        fuzz::ResetBoxCount();

        ScannedModule module;
        module.Read(path, TableKind(row).value_or(ModuleKind::Bas));
        FUZZ_CHECK(module.Status() == SourceStatus::Read);
        module.Scan(ScanDepth::Figures);
        FUZZ_CHECK(module.scan.steps >= -1 && module.scan.comments >= 0);
        FUZZ_CHECK(static_cast<long long>(module.scan.steps) + module.scan.comments <= most);

        const ModuleTable table = {row};
        RunChoice choice;
        choice.analyses = {AnalysisId::Steps, AnalysisId::Procedures, AnalysisId::Apis};
        choice.folder = fuzz::ScratchPath("");
        int written = 0;
        RunProjectTable(project, table, choice, fuzz::SilentReporter(),
                        [&](const OutputDone& done) { written += done.written ? 1 : 0; });
        FUZZ_CHECK(written == 3);
        FUZZ_CHECK(fuzz::BoxCount() == 0);
    }
    return 0;
}
