#include "analysis/tables/json_report.h"

#include "analysis/tables/json_text.h"
#include "analysis/tables/member_output.h"

#include <cstdio>
#include <utility>

namespace kolvane {
namespace {

constexpr std::string_view kSuffix = ".json";
constexpr std::string_view kModulesOpen = ",\"modules\":[\n";
constexpr std::string_view kModuleSeparator = ",\n";
constexpr std::string_view kModulesClose = "\n]";
constexpr std::string_view kEnd = "}\n";
constexpr std::string_view kNullMember = "null";
// Beside the report, the member objects that wait for a deferred part.
constexpr std::string_view kWaitingSuffix = ".part";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The member objects that wait until every member has been taken: in a
// scratch file beside the report, removed once read back, so that a large
// project's objects are not all held in memory; held in memory when that
// file cannot be made.
class WaitingObjects {
public:
    explicit WaitingObjects(std::string path) : path_(std::move(path)) {}
    WaitingObjects(const WaitingObjects&) = delete;
    WaitingObjects& operator=(const WaitingObjects&) = delete;
    ~WaitingObjects() { Discard(); }

    // False when the scratch file could not be written.
    bool Add(std::string&& object)
    {
        if (!tried_) {
            tried_ = true;
            file_.reset(std::fopen(path_.c_str(), "w+b"));
        }
        if (!file_) {
            held_.push_back(std::move(object));
            return true;
        }
        sizes_.push_back(object.size());
        return std::fwrite(object.data(), 1, object.size(), file_.get()) == object.size();
    }

    // Calls use(index, object) for each object in the order added; false
    // when the scratch file could not be read back.
    template <typename Use>
    bool ForEach(Use&& use)
    {
        bool read = true;
        if (file_) {
            read = std::fflush(file_.get()) == 0 && std::fseek(file_.get(), 0, SEEK_SET) == 0;
            std::string object;
            for (std::size_t index = 0; read && index < sizes_.size(); ++index) {
                object.resize(sizes_[index]);
                read = std::fread(object.data(), 1, object.size(), file_.get()) == object.size();
                if (read) use(index, object);
            }
        }
        for (std::size_t index = 0; index < held_.size(); ++index) {
            use(index, held_[index]);
            std::string().swap(held_[index]);  // written: its memory goes
        }
        Discard();
        return read;
    }

private:
    void Discard()
    {
        if (!file_) return;
        file_.reset();
        std::remove(path_.c_str());
    }

    std::string path_;
    bool tried_ = false;
    File file_;
    std::vector<std::size_t> sizes_;  // of the objects in the file
    std::vector<std::string> held_;   // the objects, when there is no file
};

// What the parts made of a member ahead of its turn, one each.
struct PreparedParts final : PreparedModule {
    std::vector<std::unique_ptr<PreparedModule>> parts;
};

class JsonReport final : public Writer {
public:
    JsonReport(const OutputContext& context, std::vector<std::unique_ptr<JsonPart>> parts)
        : context_(context), path_(context.PathFor(kSuffix)), parts_(std::move(parts)),
          waiting_(path_ + std::string(kWaitingSuffix))
    {
        for (const auto& part : parts_) deferred_ = deferred_ || part->Deferred();
    }

    bool Begin(Reporter& reporter) override
    {
        file_.reset(std::fopen(path_.c_str(), "wb"));
        if (!file_) {
            ReportCannotCreate(reporter, path_);
            return false;
        }
        std::string text = "{";
        AppendJsonName(text, "project");
        AppendJsonString(text, context_.project);
        text.append(kModulesOpen);
        Write(text);
        return true;
    }

    std::unique_ptr<PreparedModule> Prepare(const ModuleTurn& turn) const override
    {
        auto prepared = std::make_unique<PreparedParts>();
        bool any = false;
        for (const auto& part : parts_) {
            prepared->parts.push_back(part->Prepare(turn));
            any = any || prepared->parts.back() != nullptr;
        }
        return any ? std::move(prepared) : nullptr;
    }

    bool Take(const ModuleTurn& turn, const PreparedModule* prepared, Reporter&) override
    {
        const auto* ready = dynamic_cast<const PreparedParts*>(prepared);
        const ScannedModule& module = *turn.module;
        if (module.member == nullptr) return true;
        const MemberColumns columns = ColumnsOf(module, context_.codePage);
        std::string text = "{";
        AppendJsonField(text, "file", columns.file);
        AppendJsonField(text, "kind", columns.kind);
        AppendJsonField(text, "path", columns.path);
        AppendJsonField(text, "status", columns.status);
        for (std::size_t i = 0; i < parts_.size(); ++i) {
            parts_[i]->Module(module, ready != nullptr ? ready->parts[i].get() : nullptr, text);
        }
        if (deferred_) {
            if (!waiting_.Add(std::move(text))) failed_ = true;
        } else {
            WriteModule(text);
        }
        return true;
    }

    bool Finish(Reporter& reporter) override
    {
        for (const auto& part : parts_) part->Finish();
        const bool readBack = waiting_.ForEach([&](std::size_t index, std::string& object) {
            for (const auto& part : parts_) part->CompleteModule(index, object);
            WriteModule(object);
        });
        if (!readBack) failed_ = true;
        std::string text(kModulesClose);
        for (const auto& part : parts_) part->ProjectFields(text);
        text.append(kEnd);
        Write(text);
        const bool closed = std::fclose(file_.release()) == 0;
        if (closed && !failed_) return true;
        ReportCannotWrite(reporter, path_);
        return false;
    }

    std::vector<std::string> Files() const override { return {path_}; }

    void Summarize(ProjectFigures& figures) const override
    {
        for (const auto& part : parts_) part->Summarize(figures);
    }

private:
    void WriteModule(std::string& text)
    {
        text.push_back('}');
        if (!first_) Write(kModuleSeparator);
        first_ = false;
        Write(text);
    }

    void Write(std::string_view text)
    {
        if (std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size()) failed_ = true;
    }

    const OutputContext& context_;
    std::string path_;
    std::vector<std::unique_ptr<JsonPart>> parts_;
    bool deferred_ = false;
    WaitingObjects waiting_;  // the member objects, while a part is deferred
    File file_;
    bool first_ = true;
    bool failed_ = false;
};

class StepCountJson final : public JsonPart {
public:
    void Module(const ScannedModule& module, const PreparedModule*, std::string& text) override
    {
        const bool read = module.Status() == SourceStatus::Read;
        AppendJsonField(text, "steps", read ? std::optional<std::int64_t>(module.scan.steps) : std::nullopt);
        AppendJsonField(text, "comments", read ? std::optional<std::int64_t>(module.scan.comments) : std::nullopt);
    }
};

class ProcedureJson final : public JsonPart {
public:
    explicit ProcedureJson(CodePage codePage) : codePage_(codePage) {}

    void Module(const ScannedModule& module, const PreparedModule*, std::string& text) override
    {
        text.push_back(',');
        AppendJsonName(text, "procedures");
        if (module.Status() != SourceStatus::Read) {
            text.append(kNullMember);
            return;
        }
        text.push_back('[');
        std::string declaration;
        for (const Procedure& procedure : module.procedures) {
            if (text.back() != '[') text.push_back(',');
            text.push_back('{');
            AppendJsonField(text, "procedure", ProcedureKindText(procedure.kind));
            AppendJsonField(text, "name", ToUtf8(procedure.name, codePage_));
            AppendJsonField(text, "scope", ScopeText(procedure.scope));
            AppendJsonField(text, "line", procedure.line);
            AppendJsonField(text, "steps", procedure.Steps());
            JoinDeclaration(module.scan, procedure, declaration);
            AppendJsonField(text, "declaration", ToUtf8(declaration, codePage_));
            text.push_back('}');
        }
        text.push_back(']');
    }

private:
    CodePage codePage_;
};

class ApiJson final : public JsonPart {
public:
    explicit ApiJson(CodePage codePage) : codePage_(codePage) {}

    void Module(const ScannedModule& module, const PreparedModule*, std::string& text) override
    {
        text.push_back(',');
        AppendJsonName(text, "apis");
        if (module.Status() != SourceStatus::Read) {
            text.append(kNullMember);
            return;
        }
        text.push_back('[');
        for (const ApiDeclaration& api : module.apis) {
            if (text.back() != '[') text.push_back(',');
            text.push_back('{');
            AppendJsonField(text, "procedure", ProcedureKindText(api.kind));
            AppendJsonField(text, "name", ToUtf8(api.name, codePage_));
            AppendJsonField(text, "scope", ScopeText(api.scope));
            AppendJsonField(text, "library", ToUtf8(api.library, codePage_));
            AppendJsonField(text, "alias", ToUtf8(api.alias, codePage_));
            AppendJsonField(text, "line", api.line);
            AppendJsonField(text, "declaration", ToUtf8(api.declaration, codePage_));
            text.push_back('}');
        }
        text.push_back(']');
    }

private:
    CodePage codePage_;
};

}  // namespace

std::unique_ptr<JsonPart> MakeStepCountJson(const OutputContext&)
{
    return std::make_unique<StepCountJson>();
}

std::unique_ptr<JsonPart> MakeProcedureJson(const OutputContext& context)
{
    return std::make_unique<ProcedureJson>(context.codePage);
}

std::unique_ptr<JsonPart> MakeApiJson(const OutputContext& context)
{
    return std::make_unique<ApiJson>(context.codePage);
}

std::unique_ptr<Writer> MakeJsonReport(const OutputContext& context, std::vector<std::unique_ptr<JsonPart>> parts)
{
    return std::make_unique<JsonReport>(context, std::move(parts));
}

}  // namespace kolvane
