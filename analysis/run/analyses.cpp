#include "analysis/run/analyses.h"

#include "analysis/reports/api_list.h"
#include "analysis/run/ordered_jobs.h"
#include "analysis/reports/procedure_list.h"
#include "analysis/reports/report_texts.h"
#include "analysis/reports/step_count_report.h"
#include "project/path_text.h"

#include <array>
#include <new>
#include <variant>
#include <vector>

namespace kolvane {
namespace {

constexpr std::size_t kExtensionLength = 4;  // ".vbp"
constexpr std::string_view kMemoryError = "Memory Allocation Error";

constexpr std::array<Analysis, 3> kAnalyses = {{
    {AnalysisKind::StepCount, "_StCnt.txt", "ステップ数・コメント数取得処理", &MakeStepCount},
    {AnalysisKind::ProcedureList, "_FncOp.txt", "関数取得処理", &MakeProcedureList},
    {AnalysisKind::ApiList, "_APIOp.txt", "API関数取得処理", &MakeApiList},
}};

// What an analysis reports while the earlier ones still run, kept in order
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

// One analysis of the run with the channel its reports go to: the front
// end's own for the first, a holding one for the others.
struct RunningAnalysis {
    const Analysis* analysis;
    std::unique_ptr<ModuleAnalysis> work;
    HeldReports held;
    bool direct = false;
    bool running = true;
    bool written = false;

    Reporter& Channel(Reporter& frontEnd) { return direct ? frontEnd : held; }

    // Calls step; a failed allocation fails the analysis as any failure does.
    template <typename Step>
    void Do(Reporter& frontEnd, Step&& step)
    {
        if (!running) return;
        Reporter& channel = Channel(frontEnd);
        try {
            running = step(channel);
        } catch (const std::bad_alloc&) {
            channel.Message(kMemoryError, report_text::kErrorCaption);
            running = false;
        }
    }
};

// Sources read ahead of their turn may together hold this many bytes (one
// larger source is read alone).
constexpr std::size_t kReadAheadBudget = 8 << 20;
// A source buffer kept for the next module holds at most this many bytes.
constexpr std::size_t kKeptBufferSize = 2 << 20;

// One module read and prepared by every analysis started.
struct PreparedRow {
    std::unique_ptr<ModuleSource> source;
    bool read = true;  // false when an allocation for the reading failed
    std::vector<std::unique_ptr<PreparedModule>> analyses;
    std::vector<bool> outOfMemory;  // per analysis: an allocation of its Prepare failed
};

}  // namespace

const Analysis& AnalysisFor(AnalysisKind kind)
{
    return kAnalyses[static_cast<std::size_t>(kind)];
}

std::string ReportFileName(std::string_view projectPath, const Analysis& analysis)
{
    std::string_view title = FileTitle(projectPath);
    if (title.size() > kExtensionLength) title.remove_suffix(kExtensionLength);
    std::string name(title);
    name.append(analysis.suffix);
    return name;
}

void RunAnalyses(std::span<const AnalysisRequest> requests, std::span<const ModuleEntry> rows,
                 std::string_view projectPath, Reporter& reporter, const AnalysisDone& done)
{
    std::vector<RunningAnalysis> running(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        RunningAnalysis& analysis = running[i];
        analysis.analysis = &AnalysisFor(requests[i].kind);
        analysis.direct = i == 0;
        analysis.Do(reporter, [&](Reporter& channel) {
            analysis.work = analysis.analysis->make(projectPath, requests[i].reportPath);
            return analysis.work->Start(channel);
        });
    }

    const auto anyRunning = [&] {
        for (const RunningAnalysis& analysis : running) {
            if (analysis.running) return true;
        }
        return false;
    };

    // A failed allocation fails the analysis it hit at the module's turn,
    // as if it had happened there; one outside every analysis fails them all.
    const auto failAll = [&] {
        for (RunningAnalysis& analysis : running) {
            analysis.Do(reporter, [](Reporter&) -> bool { throw std::bad_alloc(); });
        }
    };
    try {
        // Modules are read and prepared ahead on every core, and handed to the
        // analyses in table order. A job touches only its own source and what
        // it prepares; the analyses started are fixed before the first job.
        std::vector<const ModuleAnalysis*> started(running.size(), nullptr);
        for (std::size_t i = 0; i < running.size(); ++i) {
            if (running[i].running) started[i] = running[i].work.get();
        }
        std::vector<std::size_t> sizes(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) sizes[i] = SourceSize(ModulePath(rows[i]));
        RecyclingPool<ModuleSource> pool;

        if (anyRunning()) {
            RunJobsInOrder<PreparedRow>(
                sizes, kReadAheadBudget,
                [&](std::size_t index) {
                    PreparedRow prepared;
                    try {
                        prepared.analyses.resize(started.size());
                        prepared.outOfMemory.assign(started.size(), false);
                        prepared.source = pool.Take();
                        prepared.source->Read(ModulePath(rows[index]));
                    } catch (const std::bad_alloc&) {
                        prepared.read = false;
                        return prepared;
                    }
                    for (std::size_t i = 0; i < started.size(); ++i) {
                        if (started[i] == nullptr) continue;
                        try {
                            prepared.analyses[i] = started[i]->Prepare(rows[index], *prepared.source);
                        } catch (const std::bad_alloc&) {
                            prepared.outOfMemory[i] = true;
                        }
                    }
                    return prepared;
                },
                [&](std::size_t index, PreparedRow prepared) {
                    for (std::size_t i = 0; i < running.size(); ++i) {
                        RunningAnalysis& analysis = running[i];
                        analysis.Do(reporter, [&](Reporter& channel) {
                            if (!prepared.read || prepared.outOfMemory[i]) throw std::bad_alloc();
                            return analysis.work->Module(rows[index], *prepared.source, prepared.analyses[i].get(),
                                                         channel);
                        });
                    }
                    if (prepared.source) {
                        pool.Give(std::move(prepared.source),
                                  [](const ModuleSource& source) { return source.text.capacity() <= kKeptBufferSize; });
                    }
                    return anyRunning();
                });
        }
    } catch (const std::bad_alloc&) {
        failAll();
    }

    for (RunningAnalysis& analysis : running) {
        analysis.Do(reporter, [&](Reporter& channel) { return analysis.written = analysis.work->Finish(channel); });
    }

    for (RunningAnalysis& analysis : running) {
        analysis.held.PassOn(reporter);
        done(*analysis.analysis, analysis.written);
    }
}

}  // namespace kolvane
