// Fixtures shared by the tests: a temporary folder with files made from
// inline bytes, and recorders for message boxes and trace lines.
#pragma once

#include "analysis/run/outputs.h"
#include "analysis/source/scanned_module.h"
#include "project/model/module_table.h"
#include "project/text/reporter.h"
#include "project/text/source_file.h"

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kolvane::testing {

// The folder separator of the platform's own paths.
#ifdef _WIN32
inline constexpr char kSep = '\\';
#else
inline constexpr char kSep = '/';
#endif

// A u8 literal as the bytes of a narrow string.
inline std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Reads or writes a whole file as raw bytes; the name is passed to the C
// runtime as it is (Shift_JIS names work on Windows through the ANSI API).
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
bool PathExists(const std::string& path);
void MakeFolder(const std::string& path);

// A fresh folder under the system's temporary folder, removed with its
// content when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Root() const { return root_; }
    // Root, separator and name ("a/b" parts are joined with kSep).
    std::string Path(std::string_view name) const;
    std::string Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const { return ReadBytes(Path(name)); }
    std::string Folder(std::string_view name) const;

private:
    std::filesystem::path native_;
    std::string root_;
};

// Message boxes as text and caption, in the order shown.
using Boxes = std::vector<std::pair<std::string, std::string>>;

// Records every message box and trace line it is given.
class RecordingReporter final : public Reporter {
public:
    void Message(std::string_view text, std::string_view caption) override
    {
        boxes.emplace_back(std::string(text), std::string(caption));
    }
    void Trace(std::string_view line) override { trace.append(line); }

    Boxes boxes;
    std::string trace;
};

// One analysis run over the rows as a front end runs it: whether its report
// was written, and what it reported.
struct AnalysisRun {
    bool written = false;
    Boxes boxes;
    std::string trace;
};
AnalysisRun RunAnalysis(AnalysisId id, const ModuleTable& rows, std::string_view project,
                        const std::string& reportPath);

// A module table row of the kind ("bas", "FRM", ...) and path.
inline ModuleEntry ModuleRow(std::string_view kind, std::string_view path) { return MakeModuleEntry(kind, path); }

// The heads of the reports, up to and with the project line and its two
// empty lines, written out as the old tool wrote them.
std::string StepBanner(std::string_view project);
std::string ListBanner(std::string_view project);
inline constexpr std::string_view kTotalsHeader = "             ステップ数   コメント数        合計\r\n";

// What the steps write, one after the other, into a fresh report, each given
// the path and the source read of a file of that name and bytes; every step
// must succeed.
using ReportStep = std::function<int(ReportSink&, std::string_view, const ScannedModule&, Reporter&)>;
std::string Written(std::string_view name, std::string_view source, std::initializer_list<ReportStep> steps);

}  // namespace kolvane::testing
