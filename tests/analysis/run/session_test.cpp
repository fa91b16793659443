// The project session: what it writes does not depend on the number of
// threads that read and scan the modules; the report names follow the
// project file's name.
#include "analysis/run/session.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace kolvane {
namespace {

using testing::TempDir;

// Every file of a folder, by name.
std::map<std::string, std::string> FilesOf(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = testing::ReadBytes(entry.path().string());
    }
    return files;
}

TEST(Session, WhatIsWrittenDoesNotDependOnTheNumberOfThreads)
{
    TempDir dir;
    std::string project = "Type=Exe\r\n";
    for (int i = 0; i < 24; ++i) {
        const std::string name = "M" + std::to_string(i) + ".bas";
        project += "Module=M" + std::to_string(i) + "; " + name + "\r\n";
        std::string source = "Attribute VB_Name = \"M" + std::to_string(i) + "\"\r\n";
        // Modules of very different sizes, so that they finish out of order.
        for (int p = 0; p < (i % 5) * 60 + 1; ++p) {
            source += "Public Function F" + std::to_string(p) + "(x As Long) As Long ' f\r\n  F" +
                      std::to_string(p) + " = x + _\r\n    " + std::to_string(i) + "\r\nEnd Function\r\n";
        }
        if (i % 7 != 3) dir.Write(name, source);  // some are missing
    }
    project += "Class=C; Folder.cls\r\nForm=F.frm\r\n";
    dir.Folder("Folder.cls");  // unreadable
    dir.Write("F.frm", "VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\nAttribute VB_Exposed = False\r\nSub Form_Load()\r\n"
                       "End Sub\r\n");
    const std::string path = dir.Write("P.vbp", project);

    const std::vector<AnalysisId> all = {AnalysisId::Steps, AnalysisId::Procedures, AnalysisId::Apis};
    std::map<std::string, std::string> first;
    for (const std::size_t threads : {1, 2, 8}) {
        SCOPED_TRACE(threads);
        const std::string out = dir.Folder("out" + std::to_string(threads));
        for (const OutputFormat format : {OutputFormat::Text, OutputFormat::Csv, OutputFormat::Json}) {
            RunChoice choice;
            choice.analyses = all;
            choice.format = format;
            choice.folder = out;
            choice.threads = threads;
            choice.summary = true;
            testing::RecordingReporter reporter;
            const ProjectRun run = RunProject(path, choice, reporter, [](const OutputDone&) {});
            std::string failed;
            for (const FailedMember& member : run.failedMembers) {
                failed += member.value + ' ' + std::string(SourceStatusText(member.status)) + ';';
            }
            EXPECT_EQ(failed, "M3.bas missing;M10.bas missing;M17.bas missing;Folder.cls unreadable;");
            EXPECT_EQ(run.figures.modules, 26);
            const std::string boxes = std::to_string(reporter.boxes.size());
            testing::WriteBytes(out + "/messages" + std::to_string(static_cast<int>(format)), boxes + reporter.trace);
        }
        const std::map<std::string, std::string> files = FilesOf(out);
        EXPECT_EQ(files.size(), 2u + 3u + 1u + 3u);  // the step count fails on the missing modules
        if (first.empty()) {
            first = files;
        } else {
            EXPECT_EQ(files, first);
        }
    }
}

TEST(Session, ReportsAreNamedAfterTheProjectFileLessItsExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\p\\Sub.Project.vbp", "Sub.Project_StCnt.txt"},
        {"/home/p/Demo.VBP", "Demo_StCnt.txt"},
        {"sub/Demo.vbp", "Demo_StCnt.txt"},
        {"C:\\p\\abc", "abc_StCnt.txt"},  // four characters or fewer stay whole
        {"abcd", "abcd_StCnt.txt"},
        {"C:\\p\\\x95\x5C.vbp", "\x95\x5C_StCnt.txt"},  // a 0x5C trail byte is no separator
    };
    for (const auto& [project, report] : cases) {
        EXPECT_EQ(ReportFileName(project, RowOf(AnalysisId::Steps).textSuffix), report) << project;
    }
    OutputContext context;
    context.projectPath = "x/Demo.vbp";
    context.folder = "out";
    EXPECT_EQ(context.PathFor("_Diff.csv"), std::string("out") + testing::kSep + "Demo_Diff.csv");
    context.reportPath = "given.txt";
    EXPECT_EQ(context.PathFor("_Diff.csv"), "given.txt");
}

}  // namespace
}  // namespace kolvane
