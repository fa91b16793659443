#include "tests/support/test_support.h"

#include "analysis/run/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <process.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kolvane::testing {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

int ProcessId()
{
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

}  // namespace

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, std::string_view bytes)
{
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool PathExists(const std::string& path)
{
#ifdef _WIN32
    return _access(path.c_str(), 0) == 0;
#else
    return access(path.c_str(), F_OK) == 0;
#endif
}

void MakeFolder(const std::string& path)
{
#ifdef _WIN32
    _mkdir(path.c_str());
#else
    mkdir(path.c_str(), 0755);
#endif
}

TempDir::TempDir()
{
    static std::atomic<int> serial{0};
    native_ = std::filesystem::temp_directory_path() /
              ("kolvane-test-" + std::to_string(ProcessId()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(native_);
    std::filesystem::create_directories(native_);
    root_ = native_.string();
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::permissions(native_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(native_, ignored);
}

std::string TempDir::Path(std::string_view name) const
{
    std::string path = root_;
    path.push_back(kSep);
    for (char c : name) path.push_back(c == '/' ? kSep : c);
    return path;
}

std::string TempDir::Write(std::string_view name, std::string_view bytes) const
{
    const std::string path = Path(name);
    WriteBytes(path, bytes);
    return path;
}

std::string TempDir::Folder(std::string_view name) const
{
    const std::string path = Path(name);
    MakeFolder(path);
    return path;
}

AnalysisRun RunAnalysis(AnalysisId id, const ModuleTable& rows, std::string_view project,
                        const std::string& reportPath)
{
    RecordingReporter reporter;
    AnalysisRun run;
    RunChoice choice;
    choice.analyses = {id};
    choice.reportPath = reportPath;
    RunProjectTable(project, rows, choice, reporter, [&](const OutputDone& done) { run.written = done.written; });
    run.boxes = std::move(reporter.boxes);
    run.trace = std::move(reporter.trace);
    return run;
}

std::string StepBanner(std::string_view project)
{
    return "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\r\n"
           "   ソースコード ステップ数・コメント数   \r\n"
           "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\r\n"
           "プロジェクトファイル ： " + std::string(project) + "\r\n\r\n\r\n";
}

std::string ListBanner(std::string_view project)
{
    return "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=\r\n"
           "      関 数 ・ プ ロ パ テ ィ 一 覧     \r\n"
           "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=\r\n"
           "プロジェクトファイル ： " + std::string(project) + "\r\n\r\n\r\n";
}

std::string Written(std::string_view name, std::string_view source, std::initializer_list<ReportStep> steps)
{
    TempDir dir;
    const std::string path = dir.Write(name, source);
    SourceFile report;
    EXPECT_EQ(OpenSourceFile(report, dir.Path("report.txt"), kModeWrite), 1);
    ScannedModule read;
    read.Read(path, ModuleKind::Bas);
    RecordingReporter reporter;
    for (const ReportStep& step : steps) EXPECT_EQ(step(report, path, read, reporter), 1);
    EXPECT_TRUE(reporter.boxes.empty());
    EXPECT_EQ(CloseSourceFile(report), 1);
    return dir.Read("report.txt");
}

}  // namespace kolvane::testing
