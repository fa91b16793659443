// The layouts of the change counts (text, CSV, JSON), made a module at a
// time: each module's part on any thread while the modules are compared,
// the parts put together in order, the totals added as the parts come.
#pragma once

#include "analysis/diff/module_diff.h"
#include "analysis/source/code_page.h"
#include "analysis/tables/project_figures.h"
#include "project/text/source_file.h"

#include <array>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace kolvane {

// The figures of the modules taken so far: per kind and over the project.
struct DiffTotals {
    std::array<ChangeCounts, kModuleKindCount> perKind{};
    // The project's figures; changed when a row is added, changed or deleted
    // (a module of one version counts even without steps) or a module's
    // designer changed.
    ChangeFigures figures;

    void Add(const ModuleDiff& module);
};

// What a change-count output begins with.
struct DiffHeading {
    std::string_view oldProject;  // as given
    std::string_view newProject;
};

class DiffFormat {
public:
    virtual ~DiffFormat() = default;
    // What the output begins with.
    virtual std::string Head(const DiffHeading& heading) const = 0;
    // Appends a module's part.
    virtual void AppendModule(const ModuleDiff& module, std::string& part) const = 0;
    // What stands between two modules' parts.
    virtual std::string_view Separator() const { return {}; }
    // What the output ends with.
    virtual std::string Tail(const DiffTotals& totals) const = 0;
    // Whether the output is written in text mode (every LF as CR LF).
    virtual bool TextMode() const { return false; }
};

// The output's bytes as one text, before the text mode's CR LF.
std::string DiffDocument(const DiffFormat& format, const DiffHeading& heading, std::span<const ModuleDiff> modules);

// The output file, written as the modules' parts come: the head when it is
// opened, each part (the format's separator between two), the tail when it
// is closed. After a failed write nothing more is written. A file never
// closed (its run stopped early) is removed: no partial output is left.
class DiffOutputFile {
public:
    DiffOutputFile(const DiffFormat& format, std::string_view path, const DiffHeading& heading);
    ~DiffOutputFile();
    DiffOutputFile(const DiffOutputFile&) = delete;
    DiffOutputFile& operator=(const DiffOutputFile&) = delete;

    void Append(std::string_view part);
    // Writes the tail and closes the file; false when it could not be
    // created or not be written whole.
    bool Close(const DiffTotals& totals);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    bool Put(std::string_view text);

    const DiffFormat& format_;
    std::string path_;
    SourceFile textFile_;  // in the text mode
    std::unique_ptr<std::FILE, FileCloser> binaryFile_;  // otherwise
    bool written_ = false;  // opened, and every write so far whole
    bool first_ = true;  // no part written yet
};

}  // namespace kolvane
