#include "analysis/run/session.h"

#include "analysis/diff/project_diff.h"
#include "analysis/run/ordered_jobs.h"
#include "analysis/tables/member_output.h"
#include "project/text/messages.h"
#include "project/text/path_text.h"
#include "project/text/platform.h"
#include "project/text/source_file.h"
#include "project/text/source_text.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>
#include <variant>

namespace kolvane {
namespace {

// Sources read ahead of their turn may together hold this many bytes (one
// larger source is read alone).
constexpr std::size_t kReadAheadBudget = 16 << 20;
// A source buffer kept for the next module holds at most this many bytes.
constexpr std::size_t kKeptBufferSize = 8 << 20;

// What a writer reports while the earlier ones still run, kept in order
// until its turn comes.
class HeldReports final : public Reporter {
public:
    void Message(std::string_view text, std::string_view caption) override
    {
        held_.emplace_back(MessageBox{std::string(text), std::string(caption)});
    }
    void Trace(std::string_view line) override { held_.emplace_back(std::string(line)); }

    void PassOn(Reporter& reporter) const
    {
        for (const auto& report : held_) {
            if (const auto* box = std::get_if<MessageBox>(&report)) {
                reporter.Message(box->text, box->caption);
            } else {
                reporter.Trace(std::get<std::string>(report));
            }
        }
    }

private:
    struct MessageBox {
        std::string text;
        std::string caption;
    };
    std::vector<std::variant<MessageBox, std::string>> held_;
};

// One output of the run with the channel its reports go to: the front end's
// own for the first, a holding one for the others, so that what each
// reports comes as if it had run alone.
struct RunningWriter {
    OutputDone done;
    std::unique_ptr<Writer> work;
    HeldReports held;
    bool direct = false;
    bool running = true;

    Reporter& Channel(Reporter& frontEnd) { return direct ? frontEnd : held; }

    // Calls step; a failed allocation fails the output as any failure does.
    template <typename Step>
    void Do(Reporter& frontEnd, Step&& step)
    {
        if (!running) return;
        Reporter& channel = Channel(frontEnd);
        try {
            running = step(channel);
        } catch (const std::bad_alloc&) {
            channel.Message(message::kMemoryError, message::kErrorCaption);
            running = false;
        }
    }
};

// The writers of the choice, in its order, each of the format chosen; the
// JSON parts of the analyses go into one NAME.json, where the first of them
// stands.
std::vector<RunningWriter> MakeWriters(const RunChoice& choice, const OutputContext& context)
{
    std::vector<AnalysisId> analyses = choice.analyses;
    std::sort(analyses.begin(), analyses.end());
    std::vector<RunningWriter> writers;
    std::vector<std::unique_ptr<JsonPart>> parts;
    std::size_t jsonAt = 0;
    for (const AnalysisId id : analyses) {
        const AnalysisRow& row = RowOf(id);
        RunningWriter writer;
        writer.done.row = &row;
        writer.done.format = choice.format;
        switch (choice.format) {
        case OutputFormat::Text:
            if (row.text == nullptr) continue;
            writer.done.source = row.textSource;
            writer.work = row.text(context);
            break;
        case OutputFormat::Csv:
            if (row.csv == nullptr) continue;
            writer.work = row.csv(context);
            break;
        case OutputFormat::Json:
            if (row.json != nullptr) {
                writer.work = row.json(context);
                break;
            }
            if (row.jsonPart == nullptr) continue;
            if (parts.empty()) jsonAt = writers.size();
            parts.push_back(row.jsonPart(context));
            continue;
        }
        writers.push_back(std::move(writer));
    }
    if (!parts.empty()) {
        RunningWriter json;
        json.done.row = &RowOf(analyses.front());
        json.done.format = OutputFormat::Json;
        json.work = MakeJsonReport(context, std::move(parts));
        writers.insert(writers.begin() + static_cast<std::ptrdiff_t>(jsonAt), std::move(json));
    }
    return writers;
}

// How far the writers need their modules scanned.
ScanDepth DepthOf(const std::vector<RunningWriter>& writers, const RunChoice& choice)
{
    ScanDepth depth = choice.summary ? ScanDepth::Apis : ScanDepth::Text;
    for (const RunningWriter& writer : writers) {
        const AnalysisRow& row = *writer.done.row;
        const bool tableText = writer.done.format == OutputFormat::Text && row.textSource == ModuleSource::Table;
        depth = std::max(depth, tableText ? row.textDepth : row.depth);
    }
    if (choice.format == OutputFormat::Json) {
        for (const AnalysisId id : choice.analyses) depth = std::max(depth, RowOf(id).depth);
    }
    return depth;
}

bool Takes(const std::vector<RunningWriter>& writers, ModuleSource source)
{
    return std::any_of(writers.begin(), writers.end(),
                       [source](const RunningWriter& writer) { return writer.done.source == source; });
}

// One module of the run: the row of the module table, the member of the
// member list, or both when they name the same file.
struct RunModule {
    ModuleKind kind = ModuleKind::Bas;
    std::string_view path;
    const ModuleEntry* row = nullptr;
    const Member* member = nullptr;
    std::size_t memberIndex = 0;
};

// The table's rows in table order, each with the member of the same kind
// and rank when that names the same path; then the members left, in
// project order.
std::vector<RunModule> ModulesOf(const ModuleTable* table, const std::vector<Member>* members)
{
    std::vector<RunModule> modules;
    std::vector<bool> taken(members != nullptr ? members->size() : 0, false);
    if (table != nullptr) {
        std::array<std::size_t, kModuleKindCount> next{};  // per kind: the member to look at next
        for (const ModuleEntry& row : *table) {
            RunModule module;
            module.row = &row;
            module.path = ModulePath(row);
            const std::optional<ModuleKind> kind = TableKind(row);
            module.kind = kind.value_or(ModuleKind::Bas);
            if (kind && members != nullptr) {
                std::size_t& at = next[static_cast<std::size_t>(*kind)];
                while (at < members->size() && (*members)[at].kind != *kind) ++at;
                if (at < members->size() && (*members)[at].path == module.path) {
                    module.member = &(*members)[at];
                    module.memberIndex = at;
                    taken[at] = true;
                }
                ++at;
            }
            modules.push_back(module);
        }
    }
    if (members != nullptr) {
        for (std::size_t i = 0; i < members->size(); ++i) {
            if (taken[i]) continue;
            const Member& member = (*members)[i];
            modules.push_back({member.kind, member.path, nullptr, &member, i});
        }
    }
    return modules;
}

// One turn read and prepared by every writer started.
struct PreparedTurn {
    std::unique_ptr<ScannedModule> module;
    std::unique_ptr<ScannedModule> previous;
    bool read = true;  // false when an allocation for the reading failed
    std::vector<std::unique_ptr<PreparedModule>> prepared;  // per writer
    std::vector<bool> outOfMemory;  // per writer: an allocation of its Prepare failed

    ModuleTurn Turn() const { return {module.get(), previous.get()}; }
};

// What a run reads of a turn's modules once its writers have taken it.
enum class TakenReads {
    Scan,  // the scan's figures
    PlaceStatus,  // only the member, the row and the read status
};

// A module's place and read status without its text and scan: what stands
// for it at its turn once its sources serve other turns.
std::unique_ptr<ScannedModule> Outline(const ScannedModule& module)
{
    auto outline = std::make_unique<ScannedModule>();
    outline->kind = module.kind;
    outline->path = module.path;
    outline->row = module.row;
    outline->member = module.member;
    outline->memberIndex = module.memberIndex;
    outline->exists = module.exists;
    outline->outcome = module.outcome;
    outline->holdsNul = module.holdsNul;
    return outline;
}

bool AnyRunning(const std::vector<RunningWriter>& writers)
{
    return std::any_of(writers.begin(), writers.end(), [](const RunningWriter& writer) { return writer.running; });
}

// Begins every writer, hands them the turns in order (read and prepared
// ahead on every core by read(index, turn)), finishes them, and tells each
// one's end after its messages. A writer stops at its first failure, the
// others go on; the turns stop once no writer runs and keepReading says
// no more are wanted. A failed allocation fails the writer it hit, at the
// turn where it happened. A turn that every writer prepared and none takes
// its modules for, and whose taken reads no more than their place and
// status, gives its sources back before its turn: only the prepared parts
// wait then.
template <typename Read, typename Taken>
void RunWriters(std::vector<RunningWriter>& writers, std::span<const std::size_t> weights, bool keepReading,
                std::size_t threads, const Read& read, const Taken& taken, TakenReads takenReads, Reporter& reporter,
                const OutputDoneCallback& done)
{
    for (std::size_t i = 0; i < writers.size(); ++i) {
        RunningWriter& writer = writers[i];
        writer.direct = i == 0;
        writer.Do(reporter, [&](Reporter& channel) { return writer.work->Begin(channel); });
    }

    const auto failAll = [&] {
        for (RunningWriter& writer : writers) {
            writer.Do(reporter, [](Reporter&) -> bool { throw std::bad_alloc(); });
        }
    };
    try {
        // A job touches only its own turn and what it prepares; the writers
        // started are fixed before the first job.
        std::vector<const Writer*> started(writers.size(), nullptr);
        for (std::size_t i = 0; i < writers.size(); ++i) {
            if (writers[i].running) started[i] = writers[i].work.get();
        }
        const bool outlinesServe = takenReads == TakenReads::PlaceStatus &&
                                   std::all_of(started.begin(), started.end(), [](const Writer* writer) {
                                       return writer == nullptr || !writer->TakesPreparedModules();
                                   });
        RecyclingPool<ScannedModule> pool;
        // A module without a buffer (an outline, one never read) has nothing to serve again.
        const auto give = [&](std::unique_ptr<ScannedModule> module) {
            if (module) {
                pool.Give(std::move(module), [](const ScannedModule& kept) {
                    return kept.text.capacity() > 0 && kept.text.capacity() <= kKeptBufferSize;
                });
            }
        };
        const auto outline = [&](std::unique_ptr<ScannedModule>& module) {
            if (module) give(std::exchange(module, Outline(*module)));
        };

        if (AnyRunning(writers) || keepReading) {
            RunJobsInOrder<PreparedTurn>(
                weights, kReadAheadBudget,
                [&](std::size_t index) {
                    PreparedTurn turn;
                    try {
                        turn.prepared.resize(started.size());
                        turn.outOfMemory.assign(started.size(), false);
                        read(index, turn, pool);
                    } catch (const std::bad_alloc&) {
                        turn.read = false;
                        return turn;
                    }
                    bool allPrepared = true;
                    for (std::size_t i = 0; i < started.size(); ++i) {
                        if (started[i] == nullptr) continue;
                        try {
                            turn.prepared[i] = started[i]->Prepare(turn.Turn());
                        } catch (const std::bad_alloc&) {
                            turn.outOfMemory[i] = true;
                        }
                        allPrepared = allPrepared && turn.prepared[i] != nullptr;
                    }
                    if (outlinesServe && allPrepared) {
                        try {
                            outline(turn.module);
                            outline(turn.previous);
                        } catch (const std::bad_alloc&) {
                            // a module not outlined stays as read
                        }
                    }
                    return turn;
                },
                [&](std::size_t, PreparedTurn turn) {
                    for (std::size_t i = 0; i < writers.size(); ++i) {
                        writers[i].Do(reporter, [&](Reporter& channel) {
                            if (!turn.read || turn.outOfMemory[i]) throw std::bad_alloc();
                            return writers[i].work->Take(turn.Turn(), turn.prepared[i].get(), channel);
                        });
                    }
                    if (turn.read) taken(turn.Turn());
                    give(std::move(turn.module));
                    give(std::move(turn.previous));
                    return AnyRunning(writers) || keepReading;
                },
                threads);
        }
    } catch (const std::bad_alloc&) {
        failAll();
    }

    for (RunningWriter& writer : writers) {
        writer.Do(reporter, [&](Reporter& channel) { return writer.done.written = writer.work->Finish(channel); });
    }
    for (RunningWriter& writer : writers) {
        writer.held.PassOn(reporter);
        if (writer.done.written) writer.done.files = writer.work->Files();
        done(writer.done);
    }
}

OutputContext ContextOf(std::string_view projectPath, const RunChoice& choice)
{
    OutputContext context;
    context.projectPath = projectPath;
    context.project = PathToUtf8(projectPath);
    context.folder = choice.folder;
    context.reportPath = choice.reportPath;
    context.codePage = choice.codePage;
    return context;
}

// Runs the writers over the modules of the table and of the member list.
void RunModules(std::vector<RunningWriter>& writers, std::string_view projectPath, const ModuleTable* table,
                const std::vector<Member>* members, ScanDepth depth, const RunChoice& choice, Reporter& reporter,
                const OutputDoneCallback& done, ProjectRun& run)
{
    const std::vector<RunModule> modules = ModulesOf(table, members);
    std::vector<std::size_t> sizes(modules.size());
    for (std::size_t i = 0; i < modules.size(); ++i) sizes[i] = SourceSize(modules[i].path);
    ProjectFigures& figures = run.figures;
    RunWriters(
        writers, sizes, choice.summary, choice.threads,
        [&](std::size_t index, PreparedTurn& turn, RecyclingPool<ScannedModule>& pool) {
            const RunModule& module = modules[index];
            turn.module = pool.Take();
            turn.module->row = module.row;
            turn.module->member = module.member;
            turn.module->memberIndex = module.memberIndex;
            turn.module->Read(module.path, module.kind);
            turn.module->Scan(depth);
        },
        [&](const ModuleTurn& turn) {
            const ScannedModule& module = *turn.module;
            if (module.member == nullptr) return;
            ++figures.modules;
            ++figures.kindModules[static_cast<std::size_t>(module.kind)];
            if (module.Status() != SourceStatus::Read) {
                run.failedMembers.push_back({projectPath, module.member->value, module.Status()});
                return;
            }
            figures.steps += module.scan.steps;
            figures.comments += module.scan.comments;
            figures.procedures += static_cast<std::int64_t>(module.procedures.size());
            figures.apis += static_cast<std::int64_t>(module.apis.size());
        },
        TakenReads::Scan, reporter, done);
    for (const RunningWriter& writer : writers) writer.work->Summarize(figures);
}

}  // namespace

ProjectRun RunProject(std::string_view projectPath, const RunChoice& choice, Reporter& reporter,
                      const OutputDoneCallback& done)
{
    ProjectRun run;
    OutputContext context = ContextOf(projectPath, choice);
    std::vector<RunningWriter> writers = MakeWriters(choice, context);
    const bool tableTaken = Takes(writers, ModuleSource::Table);

    std::vector<Member> members;
    TextBuffer projectText;
    const bool membersRead = Takes(writers, ModuleSource::Members) || choice.summary;
    if (membersRead) {
        run.status = ReadMemberList(projectPath, members, projectText);
        run.figures.status = run.status;
        if (run.status != ProjectStatus::Ok) return run;
        context.projectText = projectText;
    }
    ProjectLoad load;
    if (tableTaken) {
        load = LoadProject(projectPath, reporter);
        run.tableFailure = load.failure;
        if (load.failure == LoadFailure::CannotOpen && !membersRead) {
            run.status = FileExists(projectPath) ? ProjectStatus::Unreadable : ProjectStatus::NotFound;
            return run;
        }
        run.tableEmpty = load.Loaded() && load.table.empty();
        if (!load.Loaded() || load.table.empty()) {
            std::erase_if(writers, [](const RunningWriter& writer) { return writer.done.source == ModuleSource::Table; });
        }
    }
    const bool tableRuns = Takes(writers, ModuleSource::Table);
    // A folder that could not be made fails the outputs.
    if (choice.makeFolder && !writers.empty()) MakeFolder(choice.folder);
    RunModules(writers, projectPath, tableRuns ? &load.table : nullptr, membersRead ? &members : nullptr,
               DepthOf(writers, choice), choice, reporter, done, run);
    return run;
}

ProjectRun RunProjectTable(std::string_view projectPath, const ModuleTable& table, const RunChoice& choice,
                           Reporter& reporter, const OutputDoneCallback& done)
{
    ProjectRun run;
    if (table.empty()) {
        run.tableEmpty = true;
        return run;
    }
    const OutputContext context = ContextOf(projectPath, choice);
    std::vector<RunningWriter> writers = MakeWriters(choice, context);
    std::erase_if(writers, [](const RunningWriter& writer) { return writer.done.source != ModuleSource::Table; });
    RunChoice textReports = choice;
    textReports.summary = false;
    RunModules(writers, projectPath, &table, nullptr, DepthOf(writers, choice), textReports, reporter, done, run);
    return run;
}

ComparisonRun RunComparison(std::string_view oldProject, std::string_view newProject, const RunChoice& choice,
                            Reporter& reporter, const OutputDoneCallback& done)
{
    ComparisonRun run;
    std::vector<Member> older, newer;
    const auto read = [&run](std::string_view project, std::vector<Member>& members) {
        if (project.empty()) return true;  // no such version: no members
        run.status = ReadMemberList(project, members);
        if (run.status != ProjectStatus::Ok) run.failedProject = project;
        return run.status == ProjectStatus::Ok;
    };
    if (!read(oldProject, older) || !read(newProject, newer)) return run;
    if (choice.makeFolder) MakeFolder(choice.folder);  // a folder that is not there fails the outputs

    OutputContext context = ContextOf(newProject, choice);
    context.previousProjectPath = oldProject;
    RunChoice changes = choice;
    changes.analyses = {AnalysisId::Changes};
    std::vector<RunningWriter> writers = MakeWriters(changes, context);

    const std::vector<ModulePair> pairs = PairModules(older, newer, LeadBytesOf(choice.codePage));
    std::vector<std::size_t> sizes(pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i].older != nullptr) sizes[i] += SourceSize(pairs[i].older->path);
        if (pairs[i].newer != nullptr) sizes[i] += SourceSize(pairs[i].newer->path);
    }
    const ScanDepth depth = DepthOf(writers, changes);
    RunWriters(
        writers, sizes, false, choice.threads,
        [&](std::size_t index, PreparedTurn& turn, RecyclingPool<ScannedModule>& pool) {
            const ModulePair& pair = pairs[index];
            const auto read = [&](const Member* member, std::unique_ptr<ScannedModule>& module) {
                if (member == nullptr) return;
                module = pool.Take();
                module->member = member;
                module->Read(member->path, member->kind);
            };
            read(pair.newer, turn.module);
            read(pair.older, turn.previous);
            // A module whose versions are stored alike needs only one of them scanned.
            const bool identical = turn.module && turn.previous && turn.module->Status() == SourceStatus::Read &&
                                   turn.previous->Status() == SourceStatus::Read &&
                                   turn.module->text.view() == turn.previous->text.view();
            if (turn.module) turn.module->Scan(depth);
            if (turn.previous && !identical) turn.previous->Scan(depth);
        },
        [&](const ModuleTurn& turn) {
            for (const auto& [module, project] : {std::pair{turn.previous, oldProject}, {turn.module, newProject}}) {
                if (module != nullptr && module->Status() != SourceStatus::Read) {
                    run.failedMembers.push_back({project, module->member->value, module->Status()});
                }
            }
        },
        TakenReads::PlaceStatus, reporter, done);
    ProjectFigures figures;
    for (const RunningWriter& writer : writers) writer.work->Summarize(figures);
    run.changes = figures.changes.value_or(ChangeFigures{});
    return run;
}

}  // namespace kolvane
