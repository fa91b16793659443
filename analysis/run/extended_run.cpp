#include "analysis/run/extended_run.h"

#include "analysis/tables/extended_output.h"
#include "analysis/run/ordered_jobs.h"
#include "project/path_text.h"
#include "project/source_file.h"
#include "project/source_text.h"

#include <algorithm>
#include <memory>

namespace kolvane {
namespace {

constexpr std::size_t kExtensionLength = 4;  // ".vbp"
constexpr std::string_view kStepCountSuffix = "_StCnt.csv";
constexpr std::string_view kProcedureSuffix = "_FncOp.csv";
constexpr std::string_view kApiSuffix = "_APIOp.csv";
constexpr std::string_view kJsonSuffix = ".json";
constexpr std::array<std::string_view, 3> kMemberStatusTexts = {"ok", "missing", "unreadable"};

constexpr std::string_view kProjectUnreadable = "VBPファイル読みこみエラー";
constexpr std::string_view kProjectCaption = "ありゃりゃ";
constexpr std::string_view kCannotCreate = "ファイルを作成できません: ";
constexpr std::string_view kCannotWrite = "ファイル書き込みエラー: ";
constexpr std::string_view kErrorCaption = "エラー";

struct OpenOutput {
    std::unique_ptr<ExtendedOutput> output;
    std::string path;
};

// Opens the outputs the choice names; reports those that cannot be created.
std::vector<OpenOutput> OpenOutputs(std::string_view projectPath, std::string_view project,
                                    const ExtendedChoice& choice, Reporter& reporter, ProjectFigures& figures)
{
    std::vector<OpenOutput> outputs;
    const auto add = [&](std::string_view suffix, auto open) {
        std::string path = PathInFolder(choice.outputFolder, ExtendedFileName(projectPath, suffix));
        std::unique_ptr<ExtendedOutput> output = open(path);
        if (!output) {
            reporter.Message(std::string(kCannotCreate) + path, kErrorCaption);
            figures.outputFailed = true;
            return;
        }
        outputs.push_back({std::move(output), std::move(path)});
    };
    if (choice.format == OutputFormat::Csv) {
        if (choice.steps)
            add(kStepCountSuffix, [&](const std::string& path) { return OpenStepCountCsv(path, project); });
        if (choice.procedures) {
            add(kProcedureSuffix,
                [&](const std::string& path) { return OpenProcedureCsv(path, project, choice.codePage); });
        }
        if (choice.apis)
            add(kApiSuffix, [&](const std::string& path) { return OpenApiCsv(path, project, choice.codePage); });
    } else if (choice.format == OutputFormat::Json) {
        const JsonParts parts{choice.steps, choice.procedures, choice.apis};
        add(kJsonSuffix,
            [&](const std::string& path) { return OpenJsonReport(path, project, parts, choice.codePage); });
    }
    return outputs;
}

// One member read and scanned. It stays where it was made: the scan's views
// point into its text. It is used again for a later member, for its memory.
struct ScannedMember {
    MemberStatus status = MemberStatus::Ok;
    TextBuffer text;
    ModuleStatements statements;
    std::vector<Procedure> procedures;
    std::vector<ApiDeclaration> apis;
};

// Members read ahead of their turn may together hold this many bytes (one
// larger member is read alone); a member's buffers are used again while its
// text is at most kKeptTextSize bytes.
constexpr std::size_t kReadAheadBudget = 8 << 20;
constexpr std::size_t kKeptTextSize = 2 << 20;

void ScanMember(const Member& member, ScannedMember& scanned)
{
    scanned.status = MemberStatus::Ok;  // the statements are those of this member only when it was read
    scanned.procedures.clear();
    scanned.apis.clear();
    if (!FileExists(member.path)) {
        scanned.status = MemberStatus::Missing;
    } else if (ReadSourceText(member.path, scanned.text) != ReadOutcome::Read) {
        scanned.status = MemberStatus::Unreadable;
    } else {
        ScanStatements(scanned.text, member.kind, scanned.statements);
        scanned.procedures = FindProcedures(scanned.statements);
        scanned.apis = FindApiDeclarations(scanned.statements);
    }
}

}  // namespace

std::string_view MemberStatusText(MemberStatus status)
{
    return kMemberStatusTexts[static_cast<std::size_t>(status)];
}

std::string ExtendedFileName(std::string_view projectPath, std::string_view suffix)
{
    std::string_view title = FileTitle(projectPath);
    if (title.size() > kExtensionLength) title.remove_suffix(kExtensionLength);
    std::string name(title);
    name.append(suffix);
    return name;
}

std::string PathToUtf8(std::string_view path)
{
#ifdef _WIN32
    return ToUtf8(path, DefaultCodePage());
#else
    return ToUtf8(path, CodePage::Utf8);
#endif
}

ProjectFigures RunExtendedProject(std::string_view projectPath, const ExtendedChoice& choice, Reporter& reporter)
{
    ProjectFigures figures;
    std::vector<Member> members;
    figures.status = ReadMemberList(projectPath, members);
    if (figures.status != ProjectStatus::Ok) {
        reporter.Message(kProjectUnreadable, kProjectCaption);
        return figures;
    }

    const std::string project = PathToUtf8(projectPath);
    std::vector<OpenOutput> outputs = OpenOutputs(projectPath, project, choice, reporter, figures);

    // The members are read and scanned ahead on every core, and written in
    // project order: memory stays a few modules' worth.
    std::vector<std::size_t> sizes(members.size());
    for (std::size_t i = 0; i < members.size(); ++i) sizes[i] = SourceSize(members[i].path);
    RecyclingPool<ScannedMember> pool;
    RunJobsInOrder<std::unique_ptr<ScannedMember>>(
        sizes, kReadAheadBudget,
        [&](std::size_t index) {
            std::unique_ptr<ScannedMember> scanned = pool.Take();
            ScanMember(members[index], *scanned);
            return scanned;
        },
        [&](std::size_t index, std::unique_ptr<ScannedMember> scanned) {
            const Member& member = members[index];
            const ScannedMember& scan = *scanned;
            ++figures.modules;
            ++figures.kindModules[static_cast<std::size_t>(member.kind)];
            ModuleResult result{member.kind,
                                ToUtf8(FileTitle(member.path), choice.codePage),
                                ToUtf8(member.value, choice.codePage),
                                scan.status,
                                nullptr,
                                nullptr,
                                nullptr};
            if (scan.status == MemberStatus::Ok) {
                figures.steps += scan.statements.steps;
                figures.comments += scan.statements.comments;
                figures.procedures += static_cast<std::int64_t>(scan.procedures.size());
                figures.apis += static_cast<std::int64_t>(scan.apis.size());
                result.statements = &scan.statements;
                result.procedures = &scan.procedures;
                result.apis = &scan.apis;
            } else {
                figures.memberFailed = true;
            }
            for (OpenOutput& open : outputs) open.output->Module(result);
            pool.Give(std::move(scanned),
                      [](const ScannedMember& kept) { return kept.text.capacity() <= kKeptTextSize; });
            return true;
        });

    for (OpenOutput& open : outputs) {
        if (open.output->Close()) {
            figures.written.push_back(open.path);
        } else {
            reporter.Message(std::string(kCannotWrite) + open.path, kErrorCaption);
            figures.outputFailed = true;
        }
    }
    return figures;
}

}  // namespace kolvane
