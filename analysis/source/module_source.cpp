#include "analysis/source/module_analysis.h"

#include "project/source_file.h"

namespace kolvane {

void ModuleSource::Read(std::string_view path)
{
    exists = FileExists(path);
    if (exists) {
        outcome = ReadRawText(path, text, &holdsNul);
    } else {
        outcome = ReadOutcome::CannotOpen;
        text.clear();
        holdsNul = false;
    }
}

}  // namespace kolvane
