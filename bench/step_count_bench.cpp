// How to run: in a Release build, `cmake --build <build> --target step_count_bench && <build>/bench/step_count_bench`.
//
// A project at the table's limit (255 modules, ten million lines of typical
// VB6 source, about 340 MB) is generated once in the temporary folder and
// removed at exit. The step count run over it is timed next to a plain read
// of the same bytes (whole files with fread) and next to the reading loop
// alone, so that the cost of counting shows apart from the cost of reading.
#include "analysis/step_count_report.h"
#include "project/module_table.h"
#include "project/project_reader.h"
#include "project/source_file.h"
#include "project/trace.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kModulesPerKind = 85;  // 3 x 85 = 255, the table's limit
constexpr std::size_t kLinesPerModule = 39'216;  // 255 x 39,216 = 10,000,080 lines

constexpr const char* kFormHeader =
    "VERSION 5.00\r\n"
    "Begin VB.Form frmMain\r\n"
    "   Caption         =   \"顧客管理\"\r\n"
    "   ClientHeight    =   3195\r\n"
    "   ClientWidth     =   4680\r\n"
    "   Begin VB.CommandButton cmdOK\r\n"
    "      Caption         =   \"OK\"\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"frmMain\"\r\n"
    "Attribute VB_GlobalNameSpace = False\r\n"
    "Attribute VB_Creatable = False\r\n"
    "Attribute VB_PredeclaredId = True\r\n"
    "Attribute VB_Exposed = False\r\n";

// One procedure of typical code; procedures are repeated to fill a module.
constexpr const char* kProcedure[] = {
    "",
    "' 顧客情報を読み込んで画面に表示する",
    "Private Function LoadCustomer(ByVal lngID As Long, Optional ByVal blnLock As Boolean = False) As Boolean",
    "    Dim rs As ADODB.Recordset",
    "    Dim strSQL As String",
    "    Dim nIndex As Integer",
    "",
    "    On Error GoTo ErrHandler",
    "    ' 検索条件を組み立てる",
    "    strSQL = \"SELECT ID, Name, Address, Phone \" & _",
    "             \"FROM Customers WHERE ID = \" & CStr(lngID)",
    "    Set rs = New ADODB.Recordset",
    "    rs.Open strSQL, m_cn, adOpenForwardOnly, adLockReadOnly",
    "    If rs.EOF Then",
    "        MsgBox \"該当するデータがありません\", vbExclamation",
    "        GoTo ExitProc",
    "    End If",
    "    For nIndex = 0 To txtField.UBound",
    "        txtField(nIndex).Text = Trim$(rs.Fields(nIndex).Value & \"\")   ' Null を空文字に",
    "    Next nIndex",
    "\tlblStatus.Caption = \"読み込み完了\"",
    "    LoadCustomer = True",
    "ExitProc:",
    "    If Not rs Is Nothing Then rs.Close",
    "    Set rs = Nothing",
    "    Exit Function",
    "ErrHandler:",
    "    Call LogError(\"LoadCustomer\", Err.Number, Err.Description)",
    "    Resume ExitProc",
    "End Function",
};

void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.string().c_str(), "wb"), &std::fclose);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string ModuleText(bool withHeader)
{
    std::string text;
    std::size_t lines = 0;
    if (withHeader) {
        text = kFormHeader;
        for (const char* c = kFormHeader; *c != '\0'; ++c) lines += *c == '\n';
    } else {
        text = "Attribute VB_Name = \"modMain\"\r\nOption Explicit\r\n";
        lines = 2;
    }
    for (std::size_t i = 0; lines < kLinesPerModule; ++lines, ++i) {
        text.append(kProcedure[i % std::size(kProcedure)]).append("\r\n");
    }
    return text;
}

// The generated project, made on first use and removed at exit.
class BenchProject {
public:
    BenchProject() : folder_(fs::temp_directory_path() / "kolvane-step-count-bench")
    {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const std::string withHeader = ModuleText(true);
        const std::string withoutHeader = ModuleText(false);
        std::string project = "Type=Exe\r\n";
        for (int i = 0; i < kModulesPerKind; ++i) {
            const std::string n = std::to_string(i);
            Add("Form" + n + ".frm", withHeader, "Form=Form" + n + ".frm\r\n", project);
            Add("Module" + n + ".bas", withoutHeader, "Module=Module" + n + "; Module" + n + ".bas\r\n", project);
            Add("Class" + n + ".cls", withHeader, "Class=Class" + n + "; Class" + n + ".cls\r\n", project);
        }
        projectPath_ = (folder_ / "Bench.vbp").string();
        WriteFile(projectPath_, project);
        reportPath_ = (folder_ / "Bench_StCnt.txt").string();
        if (kolvane::LoadProject(projectPath_) != 1 || kolvane::ModuleCount != 3 * kModulesPerKind) {
            throw std::runtime_error("cannot load " + projectPath_);
        }
    }
    ~BenchProject() { fs::remove_all(folder_); }

    const std::vector<std::string>& Files() const { return files_; }
    std::int64_t Bytes() const { return bytes_; }
    const std::string& ProjectPath() const { return projectPath_; }
    const std::string& ReportPath() const { return reportPath_; }

private:
    void Add(const std::string& name, const std::string& text, const std::string& projectLine, std::string& project)
    {
        WriteFile(folder_ / name, text);
        files_.push_back((folder_ / name).string());
        bytes_ += static_cast<std::int64_t>(text.size());
        project += projectLine;
    }

    fs::path folder_;
    std::vector<std::string> files_;
    std::int64_t bytes_ = 0;
    std::string projectPath_;
    std::string reportPath_;
};

const BenchProject& Project()
{
    static const BenchProject project;
    return project;
}

void ReportThroughput(benchmark::State& state, std::int64_t bytes)
{
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(state.iterations() * bytes) / 1e6,
                                                benchmark::Counter::kIsRate);
}

// Every file of the project read whole, in 64 KB chunks.
void PlainRead(benchmark::State& state)
{
    const BenchProject& project = Project();
    std::vector<char> chunk(64 * 1024);
    for (auto _ : state) {
        std::int64_t total = 0;
        for (const std::string& path : project.Files()) {
            std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
            for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0;) total += got;
        }
        benchmark::DoNotOptimize(total);
    }
    ReportThroughput(state, project.Bytes());
}

// The reading loop alone, with the counters' 511-byte line buffer.
void LineRead(benchmark::State& state)
{
    const BenchProject& project = Project();
    std::array<char, 511> line;
    for (auto _ : state) {
        std::int64_t lines = 0;
        for (const std::string& path : project.Files()) {
            kolvane::SourceFile file;
            kolvane::OpenSourceFile(file, path, kolvane::kModeRead);
            kolvane::ForEachLine(file, line, [&](char*) { return ++lines, true; });
            kolvane::CloseSourceFile(file);
        }
        benchmark::DoNotOptimize(lines);
    }
    ReportThroughput(state, project.Bytes());
}

void StepCount(benchmark::State& state)
{
    const BenchProject& project = Project();
    const kolvane::TraceSink previous = kolvane::SetTraceSink([](std::string_view) {});
    for (auto _ : state) {
        if (kolvane::RunStepCount(kolvane::ModuleTable, kolvane::ModuleCount, project.ProjectPath(),
                                  project.ReportPath()) != 1) {
            state.SkipWithError("the step count failed");
            break;
        }
    }
    kolvane::SetTraceSink(previous);
    state.counters["lines"] = static_cast<double>(3 * kModulesPerKind * kLinesPerModule);
    ReportThroughput(state, project.Bytes());
}

BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(LineRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(StepCount)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
