#include "analysis/diff/release_summary.h"

namespace kolvane {
namespace {

constexpr std::string_view kChanged = "changed";
constexpr std::string_view kUnchanged = "unchanged";
constexpr std::string_view kAdded = "added";
constexpr std::string_view kDeleted = "deleted";
constexpr std::string_view kTotal = "total";
constexpr int kFigureColumns = 7;  // added ... designer_changed_modules

std::string_view StatusOf(std::string_view oldProject, std::string_view newProject, ProjectStatus status,
                          const ChangeFigures& figures)
{
    if (status != ProjectStatus::Ok) return ProjectStatusText(status);
    if (oldProject.empty()) return kAdded;
    if (newProject.empty()) return kDeleted;
    return figures.changed ? kChanged : kUnchanged;
}

}  // namespace

bool ReleaseSummaryWriter::Open(std::string_view path)
{
    return csv_.Open(path, {"old_project", "new_project", "status", "added", "changed", "deleted", "unchanged",
                            "old_steps", "new_steps", "designer_changed_modules"});
}

void ReleaseSummaryWriter::Row(std::string_view oldProject, std::string_view newProject, ProjectStatus status,
                               const ChangeFigures& figures)
{
    csv_.Text(oldProject);
    csv_.Text(newProject);
    csv_.Text(StatusOf(oldProject, newProject, status, figures));
    if (status == ProjectStatus::Ok) {
        Figures(figures);
        total_.counts += figures.counts;
        total_.designerChangedModules += figures.designerChangedModules;
    } else {
        for (int column = 0; column < kFigureColumns; ++column) csv_.Empty();
    }
    csv_.EndRow();
}

bool ReleaseSummaryWriter::Close()
{
    csv_.Text(kTotal);
    csv_.Empty();
    csv_.Empty();
    Figures(total_);
    csv_.EndRow();
    return csv_.Close();
}

void ReleaseSummaryWriter::Figures(const ChangeFigures& figures)
{
    const ChangeCounts& c = figures.counts;
    for (const std::int64_t figure : {c.added, c.changed, c.deleted, c.unchanged, c.oldSteps, c.newSteps}) {
        csv_.Number(figure);
    }
    csv_.Number(figures.designerChangedModules);
}

}  // namespace kolvane
