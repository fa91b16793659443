// <title>.json: the project and its modules, each module on a line of its
// own with the chosen parts; numbers as numbers, what is absent as null.
#include "analysis/tables/extended_output.h"
#include "analysis/tables/json_text.h"

#include <cstdio>

namespace kolvane {
namespace {

constexpr std::string_view kModulesOpen = ",\"modules\":[\n";
constexpr std::string_view kModuleSeparator = ",\n";
constexpr std::string_view kEnd = "\n]}\n";
constexpr std::string_view kNullMember = "null";

class JsonReport : public ExtendedOutput {
public:
    JsonReport(JsonParts parts, CodePage codePage) : parts_(parts), codePage_(codePage) {}

    bool Open(std::string_view path, std::string_view project)
    {
        file_.reset(std::fopen(std::string(path).c_str(), "wb"));
        if (!file_) return false;
        std::string text = "{";
        AppendJsonName(text, "project");
        AppendJsonString(text, project);
        text.append(kModulesOpen);
        Write(text);
        return true;
    }

    void Module(const ModuleResult& module) override
    {
        std::string text;
        if (!first_) text.append(kModuleSeparator);
        first_ = false;
        text.push_back('{');
        Field(text, "file", module.file);
        Field(text, "kind", KindText(module.kind));
        Field(text, "path", module.path);
        Field(text, "status", MemberStatusText(module.status));
        const bool ok = module.statements != nullptr;
        if (parts_.steps) {
            Number(text, "steps", ok ? std::optional<std::int64_t>(module.statements->steps) : std::nullopt);
            Number(text, "comments", ok ? std::optional<std::int64_t>(module.statements->comments) : std::nullopt);
        }
        if (parts_.procedures) Procedures(text, module.procedures);
        if (parts_.apis) Apis(text, module.apis);
        text.push_back('}');
        Write(text);
    }

    bool Close() override
    {
        Write(kEnd);
        const bool closed = std::fclose(file_.release()) == 0;
        return closed && !failed_;
    }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void Write(std::string_view text)
    {
        if (std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size()) failed_ = true;
    }

    // ,"name":"value" (the comma left out before the first field of an object)
    static void Field(std::string& text, std::string_view name, std::string_view utf8)
    {
        if (text.back() != '{') text.push_back(',');
        AppendJsonName(text, name);
        AppendJsonString(text, utf8);
    }

    static void Number(std::string& text, std::string_view name, std::optional<std::int64_t> value)
    {
        text.push_back(',');
        AppendJsonName(text, name);
        AppendJsonNumber(text, value);
    }

    void Procedures(std::string& text, const std::vector<Procedure>* procedures) const
    {
        text.push_back(',');
        AppendJsonName(text, "procedures");
        if (procedures == nullptr) {
            text.append(kNullMember);
            return;
        }
        text.push_back('[');
        for (const Procedure& procedure : *procedures) {
            if (text.back() != '[') text.push_back(',');
            text.push_back('{');
            Field(text, "procedure", ProcedureKindText(procedure.kind));
            Field(text, "name", ToUtf8(procedure.name, codePage_));
            Field(text, "scope", ScopeText(procedure.scope));
            Number(text, "line", procedure.line);
            Number(text, "steps", procedure.Steps());
            Field(text, "declaration", ToUtf8(procedure.declaration, codePage_));
            text.push_back('}');
        }
        text.push_back(']');
    }

    void Apis(std::string& text, const std::vector<ApiDeclaration>* apis) const
    {
        text.push_back(',');
        AppendJsonName(text, "apis");
        if (apis == nullptr) {
            text.append(kNullMember);
            return;
        }
        text.push_back('[');
        for (const ApiDeclaration& api : *apis) {
            if (text.back() != '[') text.push_back(',');
            text.push_back('{');
            Field(text, "procedure", ProcedureKindText(api.kind));
            Field(text, "name", ToUtf8(api.name, codePage_));
            Field(text, "scope", ScopeText(api.scope));
            Field(text, "library", ToUtf8(api.library, codePage_));
            Field(text, "alias", ToUtf8(api.alias, codePage_));
            Number(text, "line", api.line);
            Field(text, "declaration", ToUtf8(api.declaration, codePage_));
            text.push_back('}');
        }
        text.push_back(']');
    }

    JsonParts parts_;
    CodePage codePage_;
    std::unique_ptr<std::FILE, Closer> file_;
    bool first_ = true;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<ExtendedOutput> OpenJsonReport(std::string_view path, std::string_view project, JsonParts parts,
                                               CodePage codePage)
{
    auto report = std::make_unique<JsonReport>(parts, codePage);
    if (!report->Open(path, project)) return nullptr;
    return report;
}

}  // namespace kolvane
