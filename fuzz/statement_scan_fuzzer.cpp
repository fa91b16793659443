// Any bytes as a module of every kind: the statement scan, the procedures
// and API declarations found in it, and the conversion of what they hold to
// UTF-8 must not crash and must hold their invariants.
#include "analysis/source/code_page.h"
#include "analysis/source/statement_scan.h"
#include "fuzz/fuzz_support.h"
#include "project/source_text.h"

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
    ModuleStatements module;
    ScanStatements(text, kind, module);
    const auto statements = static_cast<std::int32_t>(module.statements.size());
    FUZZ_CHECK(module.steps == (kind == ModuleKind::Bas ? statements - 1 : statements));
    FUZZ_CHECK(module.comments >= 0);

    // The statements cover the pieces in order, lines never going back.
    std::uint32_t next = 0;
    for (const Statement& statement : module.statements) {
        FUZZ_CHECK(statement.firstPiece == next && statement.pieceCount > 0);
        next += statement.pieceCount;
    }
    FUZZ_CHECK(next == module.pieces.size());
    for (std::size_t i = 1; i < module.pieces.size(); ++i) FUZZ_CHECK(module.pieces[i - 1].line <= module.pieces[i].line);

    // Procedures in file order, none inside another.
    std::int64_t end = -1;
    for (const Procedure& procedure : FindProcedures(module)) {
        FUZZ_CHECK(static_cast<std::int64_t>(procedure.firstStatement) > end);
        FUZZ_CHECK(procedure.lastStatement >= procedure.firstStatement && procedure.lastStatement < next);
        FUZZ_CHECK(!procedure.name.empty());
        end = procedure.lastStatement;
        for (const CodePage codePage : {CodePage::Cp932, CodePage::Cp1252, CodePage::Utf8}) {
            FUZZ_CHECK(IsUtf8(ToUtf8(procedure.declaration, codePage)));
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
    text.resize(ApplyTextMode(text.data(), text.size()));
    for (const ModuleKind kind : {ModuleKind::Frm, ModuleKind::Bas, ModuleKind::Ctl}) CheckModule(text, kind);
    for (const CodePage codePage : {CodePage::Cp932, CodePage::Cp1252, CodePage::Utf8}) {
        FUZZ_CHECK(IsUtf8(ToUtf8(text, codePage)));
    }
    return 0;
}
