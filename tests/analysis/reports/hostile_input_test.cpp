// Hostile input from end to end: projects and sources with odd bytes, lines
// of any length, sources that vanish or cannot be read, reports that cannot
// be written. Every case ends in the box the failing step names, and no
// analysis that lost data reports success. (Project limits, Ctrl-Z and
// long project lines: project_reader_test.)
#include "analysis/run/outputs.h"
#include "project/text/messages.h"
#include "project/model/module_table.h"
#include "project/model/project_reader.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kolvane {
namespace {

using testing::ListBanner;
using testing::TempDir;
using Boxes = std::vector<std::pair<std::string, std::string>>;

const std::pair<std::string, std::string> kCannotOpenBox{std::string(message::kCannotOpen),
                                                         std::string(message::kOutputCaption)};
const std::pair<std::string, std::string> kRunFailedBox{"処理に失敗しました", "あ～あ"};

#ifndef _WIN32
// Root opens files whatever their permissions say.
bool PermissionsBind() { return geteuid() != 0; }
#endif

// What one analysis did: its result, its boxes, and its report if it made one.
struct Outcome {
    int result = -1;
    Boxes boxes;
    std::string trace;
    std::optional<std::string> report;
};

// A project in a folder of its own, loaded into a module table and run the
// way the run command runs it.
class HostileInput : public ::testing::Test {
protected:
    bool Load(std::string_view projectBytes)
    {
        project = dir.Write(folder + "Demo.vbp", projectBytes);
        testing::RecordingReporter quiet;
        ProjectLoad load = LoadProject(project, quiet);
        table = std::move(load.table);
        return load.Loaded();
    }

    std::string ReportPath(AnalysisId id) const
    {
        return dir.Path(folder + ReportFileName(project, RowOf(id).textSuffix));
    }

    Outcome Run(AnalysisId id, const std::string& reportPath)
    {
        const testing::AnalysisRun run = testing::RunAnalysis(id, table, project, reportPath);
        Outcome outcome;
        outcome.result = run.written ? 1 : 0;
        outcome.boxes = run.boxes;
        outcome.trace = run.trace;
        if (testing::PathExists(reportPath)) outcome.report = testing::ReadBytes(reportPath);
        return outcome;
    }
    Outcome Run(AnalysisId id) { return Run(id, ReportPath(id)); }

    std::string In(std::string_view name) const { return dir.Path(folder + std::string(name)); }

    TempDir dir;
    std::string folder;  // where the project stands: "" or a sub-folder ending in "/"
    std::string project;
    ModuleTable table;
};

// --- the project file ------------------------------------------------------

TEST_F(HostileInput, NulEndsTheTextOfAProjectLine)
{
    using namespace std::string_literals;
    ASSERT_TRUE(Load("Fo\0rm=A.frm\r\n"        // "Fo": no key
                   "Form=B\0.frm\r\n"        // value "B"
                   "Module=M\0; M.bas\r\n"   // no ";" left: ignored
                   "Class=C; C\0.cls\r\n"    // value "C"
                   "\0Form=D.frm\r\n"s));     // empty
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(std::string(table[0].kind, 3) + table[0].path, "frm" + In("B"));
    EXPECT_EQ(std::string(table[1].kind, 3) + table[1].path, "cls" + In("C"));
}

// --- every report fails the same ways ---------------------------------------

// One failure for each analysis in turn: what it shows, and that it never
// claims success. The step count adds the box of its failed run.
struct WriterFailure {
    const char* what;
    std::function<std::vector<ModuleEntry>(const TempDir&)> rows;
    std::function<std::string(const TempDir&)> report;
    Boxes stepBoxes;
    Boxes procedureBoxes;
    Boxes apiBoxes;
    bool needsLinux;
};

const std::pair<std::string, std::string> kCannotWriteBox{"ファイルに書き込むことが出来ませんでした",
                                                          "出力処理 - エラー"};
const std::pair<std::string, std::string> kUnexpectedBox{std::string(message::kUnexpected), "エラー"};

std::vector<ModuleEntry> OneForm(const TempDir& dir)
{
    return {testing::ModuleRow("frm", dir.Write("A.frm", "Attribute VB_Exposed = False\r\nSub A()\r\n"))};
}

const WriterFailure kWriterFailures[] = {
    // A folder that cannot be written does not stop root, so the stand-in
    // that fails for everyone is a path through a regular file.
    {"report below a regular file", OneForm,
     [](const TempDir& dir) { return dir.Write("file.txt", "x") + "/sub/report.txt"; },
     {kCannotOpenBox, kRunFailedBox}, {kCannotOpenBox}, {kCannotOpenBox}, false},
    {"full disk at the final flush", OneForm, [](const TempDir&) { return std::string("/dev/full"); },
     {kCannotWriteBox, kRunFailedBox}, {kCannotWriteBox}, {kCannotWriteBox}, true},
    {"source that fails to read",
     [](const TempDir&) { return std::vector<ModuleEntry>{testing::ModuleRow("cls", "/proc/self/mem")}; },
     [](const TempDir& dir) { return dir.Path("report.txt"); },
     {kRunFailedBox}, {{"clsモジュール 関数読み取りエラー", "ありゃりゃ"}},
     {{"clsモジュール API関数読み取りエラー", "ありゃりゃ"}}, true},
    {"row of an unknown kind",
     [](const TempDir& dir) { return std::vector<ModuleEntry>{testing::ModuleRow("vbx", dir.Write("X.vbx", "x"))}; },
     [](const TempDir& dir) { return dir.Path("report.txt"); },
     {kUnexpectedBox}, {kUnexpectedBox}, {kUnexpectedBox}, false},
};

TEST(WriterFailures, EveryReportFailsTheSameWays)
{
    for (const WriterFailure& failure : kWriterFailures) {
        SCOPED_TRACE(failure.what);
#ifndef __linux__
        if (failure.needsLinux) continue;
#endif
        TempDir dir;
        const std::vector<ModuleEntry> rows = failure.rows(dir);
        const std::pair<AnalysisId, const Boxes*> runs[] = {{AnalysisId::Steps, &failure.stepBoxes},
                                                              {AnalysisId::Procedures, &failure.procedureBoxes},
                                                              {AnalysisId::Apis, &failure.apiBoxes}};
        for (const auto& [kind, boxes] : runs) {
            const testing::AnalysisRun run = testing::RunAnalysis(kind, rows, "P.vbp", failure.report(dir));
            EXPECT_FALSE(run.written) << RowOf(kind).textSuffix;
            EXPECT_EQ(run.boxes, *boxes) << RowOf(kind).textSuffix;
        }
    }
}

// --- sources that cannot be read ---------------------------------------------

// The second of two modules is broken after the load: no analysis may claim
// success. The step count writes nothing; the lists keep the first module's
// section and stop.
struct BrokenSource {
    const char* folder;
    std::function<void(const std::string& source)> breakIt;
    std::string_view stepTrace;                       // the counter's last note
    bool needsBindingPermissions;
};

const BrokenSource kBrokenSources[] = {
    {"deleted",  // between load and run
     [](const std::string& source) { ASSERT_EQ(std::remove(source.c_str()), 0); },
     "ファイルが存在しません\n", false},
    {"folder",
     [](const std::string& source) {
         ASSERT_EQ(std::remove(source.c_str()), 0);
         testing::MakeFolder(source);
     },
     "  ファイルオープンエラー\n", false},
#ifndef _WIN32
    {"unreadable",
     [](const std::string& source) { ASSERT_EQ(chmod(source.c_str(), 0), 0); },
     "  ファイルオープンエラー\n", true},
#endif
};

TEST_F(HostileInput, BrokenSourceStopsEveryAnalysis)
{
    for (const BrokenSource& broken : kBrokenSources) {
        SCOPED_TRACE(broken.folder);
#ifndef _WIN32
        if (broken.needsBindingPermissions && !PermissionsBind()) continue;  // root reads it all the same
#endif
        folder = std::string(broken.folder) + "/";  // each case in a folder of its own
        dir.Folder(broken.folder);
        dir.Write(folder + "Good.bas", "Declare Sub Beep Lib \"k\" ()\r\nSub Main()\r\n");
        const std::string source = dir.Write(folder + "Broken.bas", "Sub Lost()\r\n");
        ASSERT_TRUE(Load("Module=G; Good.bas\r\nModule=B; Broken.bas\r\n"));
        broken.breakIt(source);

        const Outcome steps = Run(AnalysisId::Steps);
        EXPECT_EQ(steps.result, 0);
        EXPECT_EQ(steps.boxes, (Boxes{kRunFailedBox}));
        EXPECT_TRUE(steps.trace.ends_with(broken.stepTrace)) << steps.trace;
        EXPECT_FALSE(steps.report);

        const Outcome procedures = Run(AnalysisId::Procedures);
        EXPECT_EQ(procedures.result, 0);
        EXPECT_EQ(procedures.boxes, (Boxes{kCannotOpenBox, {"basモジュール 関数読み取りエラー", "ありゃりゃ"}}));
        EXPECT_EQ(procedures.report, ListBanner(project) +
                                         "-- Good.bas --\r\nSub Main()\r\n関数は存在しません。\r\n\r\n"
                                         "プロパティは存在しません。\r\n\r\n");

        const Outcome apis = Run(AnalysisId::Apis);
        EXPECT_EQ(apis.result, 0);
        EXPECT_EQ(apis.boxes, (Boxes{kCannotOpenBox, {"basモジュール API関数読み取りエラー", "ありゃりゃ"}}));
        EXPECT_EQ(apis.report, ListBanner(project) +
                                   "-- Good.bas --\r\nDeclare Sub Beep Lib \"k\" ()\r\nAPI関数は 1 個、存在します。\r\n\r\n");
#ifndef _WIN32
        chmod(source.c_str(), 0644);
#endif
    }
}

// --- sources with odd bytes and sizes ------------------------------------------

TEST_F(HostileInput, MegabyteLineIsReadInPieces)
{
    // 1,048,560 bytes = 2,056 pieces of 510 for the counter; 1,025 pieces of
    // 1,023 (the last shorter) for the lists.
    const std::string head = "Declare Sub A Lib \"k\" (";
    const std::string line = head + std::string(510 * 2056 - head.size() - 1, 'x') + ")";
    dir.Write("Long.bas", line + "\r\n");
    ASSERT_TRUE(Load("Module=L; Long.bas\r\n"));

    const Outcome steps = Run(AnalysisId::Steps);
    ASSERT_EQ(steps.result, 1);
    EXPECT_NE(steps.report->find("ステップ数 ：     2055 行\r\n"), std::string::npos);

    // The first piece holds " Lib ", so it is no procedure but an API
    // declaration of its own, written without a line end.
    const Outcome procedures = Run(AnalysisId::Procedures);
    ASSERT_EQ(procedures.result, 1);
    EXPECT_EQ(procedures.report, ListBanner(project) +
                                     "-- Long.bas --\r\n関数は存在しません。\r\n\r\nプロパティは存在しません。\r\n\r\n");

    const Outcome apis = Run(AnalysisId::Apis);
    ASSERT_EQ(apis.result, 1);
    EXPECT_EQ(apis.report,
              ListBanner(project) + "-- Long.bas --\r\n" + line.substr(0, 1023) + "API関数は 1 個、存在します。\r\n\r\n");
}

// A NUL ends the text of its line for every test, its line end included:
// what follows in the report then continues on the same line.
TEST_F(HostileInput, NulEndsTheTextOfASourceLine)
{
    using namespace std::string_literals;
    dir.Write("N.bas", "Sub A()\0tail\r\n"
                       "Declare Sub X Lib \"k\" ()\0\r\n"
                       "Sub B()\r\n"
                       "Declare Sub Y Lib \"k\" ()\r\n"s);
    ASSERT_TRUE(Load("Module=N; N.bas\r\n"));

    const Outcome procedures = Run(AnalysisId::Procedures);
    ASSERT_EQ(procedures.result, 1);
    EXPECT_EQ(procedures.report, ListBanner(project) + "-- N.bas --\r\nPublic Sub A()Public Sub B()\r\n"
                                                       "関数は 2 個、存在します。\r\n\r\nプロパティは存在しません。\r\n\r\n");

    const Outcome apis = Run(AnalysisId::Apis);
    ASSERT_EQ(apis.result, 1);
    EXPECT_EQ(apis.report, ListBanner(project) + "-- N.bas --\r\n"
                                                 "Declare Sub X Lib \"k\" ()Declare Sub Y Lib \"k\" ()\r\n"
                                                 "API関数は 2 個、存在します。\r\n\r\n");
}

}  // namespace
}  // namespace kolvane
