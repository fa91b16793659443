// Any bytes as a project file, as a designer header and as a module of every
// kind: the inventory's readers must not crash, what they give must view
// what they read, and the constructs counted where they can begin must be
// those counted over every line.
#include "analysis/findings/inventory.h"
#include "analysis/source/code_page.h"
#include "fuzz/fuzz_support.h"
#include "project/text/source_text.h"

#include <functional>
#include <string>
#include <string_view>

namespace {

using namespace kolvane;

// The part lies within the text (an empty part lies anywhere).
bool Within(std::string_view part, std::string_view text)
{
    return part.empty() || (std::less_equal<>()(text.data(), part.data()) &&
                            std::less_equal<>()(part.data() + part.size(), text.data() + text.size()));
}

bool IsUtf8(std::string_view text)
{
    return ToUtf8(text, CodePage::Utf8) == text;
}

void CheckReference(const Reference& reference, std::string_view text)
{
    for (const std::string_view field : {reference.guid, reference.version, reference.file, reference.description}) {
        FUZZ_CHECK(Within(field, text));
        FUZZ_CHECK(IsUtf8(ToUtf8(field, CodePage::Cp932)));
    }
    switch (reference.kind) {
    case ReferenceKind::Reference:
    case ReferenceKind::Component:
        FUZZ_CHECK(reference.guid.size() == 38 && reference.guid.front() == '{' && reference.guid.back() == '}');
        break;
    case ReferenceKind::Project:
        FUZZ_CHECK(reference.guid.empty() && reference.version.empty() && reference.description.empty());
        break;
    case ReferenceKind::Unknown:
        FUZZ_CHECK(reference.guid.empty() && reference.version.empty() && reference.file.empty());
        break;
    }
}

void CheckHeader(std::string_view text)
{
    for (const std::string_view value : HeaderObjects(text)) {
        FUZZ_CHECK(Within(value, text));
        const Reference reference = ReadObjectValue(value);
        if (reference.kind == ReferenceKind::Unknown) FUZZ_CHECK(reference.description == value);
        CheckReference(reference, text);
    }
    std::size_t lines = 1;
    for (const char c : text) lines += c == '\n' ? 1 : 0;
    std::int64_t controls = 0;
    for (const ControlType& control : CountControls(text)) {
        FUZZ_CHECK(!control.library.empty() && !control.type.empty() && control.count >= 1);
        FUZZ_CHECK(Within(control.library, text) && Within(control.type, text));
        controls += control.count;
    }
    FUZZ_CHECK(static_cast<std::size_t>(controls) < lines);  // the first Begin is the module's own
}

void CheckConstructs(std::string_view text, ModuleKind kind)
{
    ModuleScan module;
    ScanModule(text, text.find('\0') != std::string_view::npos, kind, module);
    const ConstructCounts where = CountConstructs(module, &IsShiftJisLeadByte);
    FUZZ_CHECK(where == CountConstructs(module, &IsShiftJisLeadByte, CodeReading::EveryLine));
    for (const std::int64_t count : where) FUZZ_CHECK(count >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const Reference& reference : ProjectReferences(text)) {
        CheckReference(reference, text);
        if (reference.kind == ReferenceKind::Unknown) FUZZ_CHECK(text.find(reference.description) != std::string::npos);
    }
    CheckHeader(text);

    std::string module = text;
    module.resize(FindDataExtent(module).size);  // the data ends at Ctrl-Z; line ends stay as stored
    for (const ModuleKind kind : {ModuleKind::Bas, ModuleKind::Frm, ModuleKind::Ctl}) CheckConstructs(module, kind);
    return 0;
}
