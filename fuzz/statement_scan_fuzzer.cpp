// Any bytes as a module of every kind: the module scan, the procedures
// and API declarations found in it, and the conversion of what they hold to
// UTF-8 must not crash and must hold their invariants.
#include "analysis/source/code_page.h"
#include "analysis/source/module_scan.h"
#include "fuzz/fuzz_support.h"
#include "project/text/source_text.h"

#include <string>

namespace {

using namespace kolvane;

// Well-formed UTF-8 is its own conversion.
bool IsUtf8(const std::string& text)
{
    return ToUtf8(text, CodePage::Utf8) == text;
}

void CheckModule(const std::string& text, ModuleKind kind)
{
    ModuleScan module;
    ScanModule(text, text.find('\0') != std::string::npos, kind, module);
    const auto statements = static_cast<std::int32_t>(module.statements.size());
    FUZZ_CHECK(module.steps == (kind == ModuleKind::Bas ? statements - 1 : statements));
    FUZZ_CHECK(module.comments >= 0);
    FUZZ_CHECK(module.codeStart <= text.size());
    // The statements follow each other through the code, lines never going back.
    std::size_t end = module.codeStart;
    std::uint32_t line = module.codeLine;
    for (const Statement& statement : module.statements) {
        FUZZ_CHECK(statement.begin >= end && statement.end > statement.begin && statement.end <= text.size());
        FUZZ_CHECK(statement.line >= line);
        end = statement.end;
        line = statement.line;
        std::uint32_t pieceLine = statement.line;
        ForEachStatementPiece(module, statement, [&](std::string_view, std::uint32_t at) {
            FUZZ_CHECK(at >= pieceLine);
            pieceLine = at;
        });
    }
    // Procedures in file order, none inside another.
    std::int64_t last = -1;
    for (const Procedure& procedure : FindProcedures(module)) {
        FUZZ_CHECK(static_cast<std::int64_t>(procedure.firstStatement) > last);
        FUZZ_CHECK(procedure.lastStatement >= procedure.firstStatement &&
                   procedure.lastStatement < module.statements.size());
        FUZZ_CHECK(!procedure.name.empty());
        last = procedure.lastStatement;
        std::string declaration;
        JoinDeclaration(module, procedure, declaration);
        for (const CodePage codePage : {CodePage::Cp932, CodePage::Cp1252, CodePage::Utf8}) {
            FUZZ_CHECK(IsUtf8(ToUtf8(declaration, codePage)));
        }
    }
    for (const ApiDeclaration& api : FindApiDeclarations(module)) {
        FUZZ_CHECK(api.statement < module.statements.size());
        FUZZ_CHECK(IsUtf8(ToUtf8(api.library, CodePage::Cp932)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(FindDataExtent(text).size);  // the data ends at Ctrl-Z; line ends stay as stored
    for (const ModuleKind kind : {ModuleKind::Frm, ModuleKind::Bas, ModuleKind::Ctl}) CheckModule(text, kind);
    for (const CodePage codePage : {CodePage::Cp932, CodePage::Cp1252, CodePage::Utf8}) {
        FUZZ_CHECK(IsUtf8(ToUtf8(text, codePage)));
    }
    return 0;
}
