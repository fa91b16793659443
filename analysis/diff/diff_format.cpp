#include "analysis/diff/diff_format.h"

#include "project/text/source_file.h"

#include <cstdio>
#include <memory>
#include <string>

namespace kolvane {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The texts of the output in order: the head, the parts with the separator
// between two, the tail. An empty text is no write (the separator of most
// formats is none).
template <typename Write>
bool WriteInOrder(std::string_view head, std::span<const std::string> parts, std::string_view separator,
                  std::string_view tail, const Write& write)
{
    const auto put = [&write](std::string_view text) { return text.empty() || write(text); };
    bool written = put(head);
    for (std::size_t i = 0; i < parts.size() && written; ++i) {
        written = (i == 0 || put(separator)) && put(parts[i]);
    }
    return written && put(tail);
}

bool WriteTextMode(std::string_view path, std::string_view head, std::span<const std::string> parts,
                   std::string_view separator, std::string_view tail)
{
    SourceFile file;
    if (OpenSourceFile(file, path, kModeWrite) != 1) return false;
    const bool written =
        WriteInOrder(head, parts, separator, tail, [&](std::string_view text) { return file.WriteBlock(text) == 1; });
    return CloseSourceFile(file) == 1 && written;
}

bool WriteBinary(std::string_view path, std::string_view head, std::span<const std::string> parts,
                 std::string_view separator, std::string_view tail)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(std::string(path).c_str(), "wb"));
    if (!file) return false;
    const bool written = WriteInOrder(head, parts, separator, tail, [&](std::string_view text) {
        return std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    });
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace

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

bool WriteDiffOutput(const DiffFormat& format, std::string_view path, const DiffHeading& heading,
                     std::span<const std::string> parts, const DiffTotals& totals)
{
    const std::string head = format.Head(heading);
    const std::string tail = format.Tail(totals);
    return format.TextMode() ? WriteTextMode(path, head, parts, format.Separator(), tail)
                             : WriteBinary(path, head, parts, format.Separator(), tail);
}

}  // namespace kolvane
