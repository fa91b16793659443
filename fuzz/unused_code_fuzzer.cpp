// Any bytes as a small project for the unused code analysis: the first byte
// picks the project's type and startup object and the code page; the rest is
// cut at each "\n#MODULE#\n" into up to six modules of the kinds in turn
// (one of them missing when the first byte says so). Reading a line for its
// names alone must give exactly the names its tokens spell; the analysis
// must not crash, and every module's rows must keep the invariants of the
// outputs.
#include "analysis/findings/unused_code.h"
#include "analysis/source/code_page.h"
#include "analysis/source/code_tokens.h"
#include "fuzz/fuzz_support.h"
#include "project/text/source_text.h"

#include <array>
#include <string>
#include <vector>

namespace {

using namespace kolvane;

constexpr std::string_view kModuleSeparator = "\n#MODULE#\n";
constexpr std::size_t kMostModules = 6;
constexpr std::array<ModuleKind, 7> kKinds = {ModuleKind::Bas, ModuleKind::Cls, ModuleKind::Frm, ModuleKind::Ctl,
                                              ModuleKind::Pag, ModuleKind::Dob, ModuleKind::Dsr};
constexpr std::array<std::string_view, 4> kProjects = {"Type=Exe\nStartup=\"Sub Main\"\n",
                                                       "Type=OleDll\nStartup=\"(None)\"\n", "Type=Control\n",
                                                       "Type=Exe\nStartup=\"Form1\"\n"};

// The names of the code, read once for its tokens and once for its names.
struct TokenNames {
    void Statement(const CodeStatement&) {}
    void Token(const CodeToken& code)
    {
        if (code.attributeLine || code.token.kind == TokenKind::Comment) return;
        if (code.token.kind == TokenKind::Identifier && !code.token.name.empty()) {
            names.emplace_back(code.token.name);
        } else if (code.token.kind == TokenKind::String) {
            ForEachStringWord(code.token.name, isLeadByte, [&](std::string_view word) { names.emplace_back(word); });
        }
    }
    LeadByteTest isLeadByte;
    std::vector<std::string> names;
};

struct LineNamesOnly {
    bool Statement(const CodeStatement&) { return false; }
    void Token(const CodeToken& code) { FUZZ_CHECK(code.attributeLine); }
    void Name(std::string_view name) { names.emplace_back(name); }
    std::vector<std::string> names;
};

void CheckNames(const ModuleScan& scan, LeadByteTest isLeadByte)
{
    TokenNames tokens{isLeadByte, {}};
    ReadCode(scan, isLeadByte, tokens);
    LineNamesOnly names;
    ReadCode(scan, isLeadByte, names);
    FUZZ_CHECK(tokens.names == names.names);
}

struct Source {
    std::string text;
    ModuleScan scan;
    std::vector<Procedure> procedures;
    std::vector<ApiDeclaration> apis;
};

void CheckRows(const UnusedModuleView& module)
{
    const bool read = module.status == SourceStatus::Read;
    if (!read || HasHeader(module.kind)) {
        FUZZ_CHECK(!module.rows.empty() && module.rows.front().member == DeclarationMember::Module);
    }
    std::uint32_t line = 0;
    for (std::size_t i = 0; i < module.rows.size(); ++i) {
        const UnusedRow& row = module.rows[i];
        FUZZ_CHECK((row.member == DeclarationMember::Module) == (i == 0 && (!read || HasHeader(module.kind))));
        FUZZ_CHECK(row.references.has_value() == read && row.steps.has_value() == read);
        if (!read) {
            FUZZ_CHECK(row.status == UnusedStatus::Missing || row.status == UnusedStatus::Unreadable);
            continue;
        }
        FUZZ_CHECK(*row.references >= 0 && *row.steps >= 0);
        FUZZ_CHECK(row.status != UnusedStatus::Missing && row.status != UnusedStatus::Unreadable);
        if (row.member == DeclarationMember::Module) continue;
        FUZZ_CHECK(row.scope.has_value() && row.line.has_value());
        FUZZ_CHECK(*row.line >= line);  // rows in line order
        line = *row.line;
        // Exposed only with no references.
        FUZZ_CHECK(row.status != UnusedStatus::Exposed || *row.references == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::uint8_t choice = data[0];
    std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    rest.resize(FindDataExtent(rest).size);  // the data ends at Ctrl-Z
    const CodePage codePage = (choice & 0x40) != 0 ? CodePage::Cp1252 : CodePage::Cp932;
    const LeadByteTest isLeadByte = LeadBytesOf(codePage);

    std::vector<Source> sources;
    for (std::size_t at = 0; sources.size() < kMostModules;) {
        const std::size_t end = rest.find(kModuleSeparator, at);
        sources.push_back({rest.substr(at, end == std::string::npos ? std::string::npos : end - at), {}, {}, {}});
        if (end == std::string::npos) break;
        at = end + kModuleSeparator.size();
    }
    UnusedCode unused(codePage);
    const bool oneMissing = (choice & 0x80) != 0;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        Source& source = sources[i];
        UnusedSource module;
        module.kind = kKinds[(i + (choice >> 2)) % kKinds.size()];
        module.file = "Module";
        module.memberIndex = sources.size() - i;  // added out of project order
        if (oneMissing && i == 1) {
            module.status = SourceStatus::Missing;
            unused.Add(module, nullptr);
            continue;
        }
        ScanModule(source.text, source.text.find('\0') != std::string::npos, module.kind, source.scan);
        source.procedures = FindProcedures(source.scan);
        source.apis = FindApiDeclarations(source.scan);
        CheckNames(source.scan, isLeadByte);
        module.scan = &source.scan;
        module.procedures = source.procedures;
        module.apis = source.apis;
        const std::unique_ptr<PreparedModule> prepared = unused.Read(module);
        unused.Add(module, (choice & 0x20) != 0 ? nullptr : prepared.get());
    }
    unused.Finish(kProjects[choice & 3]);
    std::int64_t live = 0;
    std::int64_t dead = 0;
    std::size_t modules = 0;
    unused.ForEachModule([&](const UnusedModuleView& module) {
        ++modules;
        CheckRows(module);
        for (const UnusedRow& row : module.rows) {
            if (row.member == DeclarationMember::Module || !row.steps) continue;
            if (row.status == UnusedStatus::Live) live += *row.steps;
            if (row.status == UnusedStatus::Dead) dead += *row.steps;
            // Nothing is dead in a project with a member that cannot be read.
            FUZZ_CHECK(!(oneMissing && sources.size() > 1 && row.status == UnusedStatus::Dead));
        }
    });
    FUZZ_CHECK(modules == sources.size());
    FUZZ_CHECK(live == unused.LiveSteps() && dead == unused.DeadSteps());
    FUZZ_CHECK(!UnusedTextReport(unused, "P.vbp").empty());
    return 0;
}
