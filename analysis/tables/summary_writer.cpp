#include "analysis/tables/summary_writer.h"

namespace kolvane {

bool SummaryWriter::Open(std::string_view path)
{
    return csv_.Open(path, {"project", "status", "modules", "frm", "bas", "cls", "ctl", "pag", "dob", "dsr", "steps",
                            "comments", "procedures", "apis", "live_steps", "dead_steps"});
}

void SummaryWriter::Row(std::string_view project, const ProjectFigures& figures)
{
    csv_.Text(project);
    csv_.Text(ProjectStatusText(figures.status));
    const bool read = figures.status == ProjectStatus::Ok;
    const auto number = [&](std::optional<std::int64_t> value) { read && value ? csv_.Number(*value) : csv_.Empty(); };
    number(figures.modules);
    for (const std::int64_t count : figures.kindModules) number(count);
    number(figures.steps);
    number(figures.comments);
    number(figures.procedures);
    number(figures.apis);
    number(figures.liveSteps);
    number(figures.deadSteps);
    csv_.EndRow();
}

}  // namespace kolvane
