#include "analysis/diff/diff_format.h"

#include "project/text/host_path.h"

#include <cstdio>
#include <string>

namespace kolvane {

void DiffTotals::Add(const ModuleDiff& module)
{
    const ChangeCounts counts = module.Totals();
    perKind[static_cast<std::size_t>(module.kind)] += counts;
    figures.counts += counts;
    if (module.designer == DesignerChange::Yes) {
        ++figures.designerChangedModules;
        figures.changed = true;
    }
    for (const DiffRow& row : module.rows) {
        if (row.status == RowStatus::Added || row.status == RowStatus::Changed || row.status == RowStatus::Deleted) {
            figures.changed = true;
        }
    }
}

std::string DiffDocument(const DiffFormat& format, const DiffHeading& heading, std::span<const ModuleDiff> modules)
{
    std::string document = format.Head(heading);
    DiffTotals totals;
    for (const ModuleDiff& module : modules) {
        if (&module != modules.data()) document.append(format.Separator());
        format.AppendModule(module, document);
        totals.Add(module);
    }
    document.append(format.Tail(totals));
    return document;
}

DiffOutputFile::DiffOutputFile(const DiffFormat& format, std::string_view path, const DiffHeading& heading)
    : format_(format), path_(path)
{
    if (format.TextMode()) {
        written_ = OpenSourceFile(textFile_, path_, kModeWrite) == 1;
    } else {
        binaryFile_.reset(std::fopen(path_.c_str(), "wb"));
        written_ = binaryFile_ != nullptr;
    }
    written_ = written_ && Put(format.Head(heading));
}

DiffOutputFile::~DiffOutputFile()
{
    if (!textFile_.IsOpen() && binaryFile_ == nullptr) return;  // closed, or never opened
    CloseSourceFile(textFile_);
    binaryFile_.reset();
    // The text mode's file is named as OpenSourceFile named it.
    std::remove((format_.TextMode() ? HostPath(path_) : path_).c_str());
}

void DiffOutputFile::Append(std::string_view part)
{
    if (!first_) written_ = written_ && Put(format_.Separator());
    first_ = false;
    written_ = written_ && Put(part);
}

bool DiffOutputFile::Close(const DiffTotals& totals)
{
    written_ = written_ && Put(format_.Tail(totals));
    const bool closed = format_.TextMode() ? CloseSourceFile(textFile_) == 1
                                           : binaryFile_ == nullptr || std::fclose(binaryFile_.release()) == 0;
    return closed && written_;
}

bool DiffOutputFile::Put(std::string_view text)
{
    if (text.empty()) return true;  // the separator of most formats is none
    if (format_.TextMode()) return textFile_.WriteBlock(text) == 1;
    return std::fwrite(text.data(), 1, text.size(), binaryFile_.get()) == text.size();
}

}  // namespace kolvane
