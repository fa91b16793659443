// kolvane-cli --unused end to end on a copy of samples/: the whole CSV byte
// for byte, the text report, the JSON part and the summary's columns, and
// the three text reports left as they are when --unused joins -A.
#include "tests/support/cli_run.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::TempDir;
using CliRun = testing::ProgramRun;
using testing::RunCli;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kHeader = "project,file,kind,member,name,scope,line,status,references,steps\r\n";

void CopySamples(const TempDir& dir)
{
    std::filesystem::copy(KOLVANE_SAMPLES, dir.Root(), std::filesystem::copy_options::recursive);
}

std::string CheckWithPython(const std::string& folder, const std::vector<std::string>& files)
{
    std::vector<std::string> arguments = {KOLVANE_CHECK_OUTPUTS};
    arguments.insert(arguments.end(), files.begin(), files.end());
    const CliRun run = testing::RunProgram(folder, KOLVANE_PYTHON, arguments);
    return run.status == 0 ? run.out + run.err : "status " + std::to_string(run.status) + ": " + run.out + run.err;
}

// The CSV of a project: the header, then each row after the project column.
std::string Csv(const std::string& project, const std::vector<std::string>& rows)
{
    std::string csv = std::string(kBom) + std::string(kHeader);
    for (const std::string& row : rows) csv += project + "," + row + "\r\n";
    return csv;
}

TEST(UnusedCli, SampleProjectsAsCsvByteForByte)
{
    TempDir dir;
    CopySamples(dir);
    const CliRun run = RunCli(dir.Root(), {"--unused", "--format", "csv", "Demo/Demo.vbp", "Tools/Tools.vbp"});
    EXPECT_EQ(run.status, 1);  // the designer of Tools is missing
    EXPECT_EQ(run.out, "Demo_Unused.csv\nTools_Unused.csv\n");
    EXPECT_EQ(dir.Read("Demo_Unused.csv"),
              Csv("Demo/Demo.vbp", {
                                       "frmMain.frm,frm,Module,frmMain,,49,live,1,49",
                                       "frmMain.frm,frm,Declare,GetTickCount,Private,60,live,2,1",
                                       "frmMain.frm,frm,Declare,SendMessage,Private,61,live,1,1",
                                       "frmMain.frm,frm,Const,LB_SETHORIZONTALEXTENT,Private,65,live,1,1",
                                       "frmMain.frm,frm,Variable,mOrders,Private,67,live,7,1",
                                       "frmMain.frm,frm,Variable,mStarted,Private,68,live,2,1",
                                       "frmMain.frm,frm,Sub,Form_Load,Private,70,live,0,6",
                                       "frmMain.frm,frm,Sub,Form_Unload,Private,78,live,0,4",
                                       "frmMain.frm,frm,Sub,cmdAdd_Click,Private,83,live,0,13",
                                       "frmMain.frm,frm,Sub,cmdAbout_Click,Private,98,live,0,3",
                                       "frmMain.frm,frm,Sub,RefreshList,Private,102,live,2,9",
                                       "frmMain.frm,frm,Function,FormatOrder,Private,115,live,1,3",
                                       "frmMain.frm,frm,Sub,ShowStatus,Public,120,live,2,3",
                                       "frmMain.frm,frm,Function,ElapsedSeconds,Public,124,live,1,3",
                                       "frmAbout.frm,frm,Module,frmAbout,,53,live,1,11",
                                       "frmAbout.frm,frm,Sub,Form_Load,Private,63,live,0,5",
                                       "frmAbout.frm,frm,Sub,cmdOK_Click,Private,69,live,0,3",
                                       "frmAbout.frm,frm,Sub,lblWindows_Click,Private,73,live,0,3",
                                       "modMain.bas,bas,Const,APP_TITLE,Public,8,live,4,1",
                                       "modMain.bas,bas,Variable,gLogPath,Public,10,live,2,1",
                                       "modMain.bas,bas,Sub,Main,Public,12,live,0,9",
                                       "modMain.bas,bas,Sub,WriteLog,Public,23,live,2,11",
                                       "modMain.bas,bas,Function,FormatYen,Public,37,live,2,3",
                                       "modMain.bas,bas,Function,IsAlreadyRunning,Private,41,live,1,3",
                                       "modMain.bas,bas,Function,ToHalfWidth,Public,46,live,1,4",
                                       "modWinApi.bas,bas,Const,MAX_PATH,Public,9,live,2,1",
                                       "modWinApi.bas,bas,Const,SW_SHOWNORMAL,Public,10,live,1,1",
                                       "modWinApi.bas,bas,Declare,FindWindow,Public,12,live,1,1",
                                       "modWinApi.bas,bas,Declare,GetWindowsDirectory,Public,15,live,1,1",
                                       "modWinApi.bas,bas,Declare,ShellExecute,Public,19,live,1,1",
                                       "modWinApi.bas,bas,Declare,Sleep,Public,24,dead,0,1",
                                       "modWinApi.bas,bas,Declare,GetPrivateProfileString,Public,27,dead,1,1",
                                       "modWinApi.bas,bas,Declare,WritePrivateProfileString,Public,32,dead,0,1",
                                       "modWinApi.bas,bas,Function,WindowsFolder,Public,40,live,2,7",
                                       "modWinApi.bas,bas,Sub,OpenDocument,Public,50,live,1,3",
                                       "modWinApi.bas,bas,Function,ReadSetting,Public,55,dead,0,7",
                                       "CCustomer.cls,cls,Module,CCustomer,,9,live,5,31",
                                       "CCustomer.cls,cls,Const,DEFAULT_CREDIT,Private,20,live,1,1",
                                       "CCustomer.cls,cls,Variable,mID,Private,22,live,2,1",
                                       "CCustomer.cls,cls,Variable,mName,Private,23,live,2,1",
                                       "CCustomer.cls,cls,Variable,mCredit,Private,24,live,4,1",
                                       "CCustomer.cls,cls,Sub,Class_Initialize,Private,26,live,0,6",
                                       "CCustomer.cls,cls,Property Get,ID,Public,35,live,2,3",
                                       "CCustomer.cls,cls,Property Get,Name,Public,39,live,4,3",
                                       "CCustomer.cls,cls,Property Let,Name,Public,43,live,4,3",
                                       "CCustomer.cls,cls,Property Get,Credit,Public,48,dead,0,3",
                                       "CCustomer.cls,cls,Property Let,Credit,Public,52,dead,0,6",
                                       "CCustomer.cls,cls,Function,CanOrder,Public,60,live,1,3",
                                       "COrderList.cls,cls,Module,COrderList,,9,live,2,50",
                                       "COrderList.cls,cls,Variable,mCustomers,Private,20,live,7,1",
                                       "COrderList.cls,cls,Variable,mAmounts,Private,21,live,7,1",
                                       "COrderList.cls,cls,Variable,mOwner,Private,22,live,5,1",
                                       "COrderList.cls,cls,Sub,Class_Initialize,Private,24,live,1,4",
                                       "COrderList.cls,cls,Sub,Class_Terminate,Private,29,live,1,5",
                                       "COrderList.cls,cls,Property Get,Owner,Public,35,live,1,3",
                                       "COrderList.cls,cls,Property Set,Owner,Public,39,live,1,3",
                                       "COrderList.cls,cls,Property Get,Count,Public,43,live,3,3",
                                       "COrderList.cls,cls,Property Get,Item,Public,48,live,1,4",
                                       "COrderList.cls,cls,Property Get,Total,Public,54,live,1,6",
                                       "COrderList.cls,cls,Function,Add,Public,63,live,1,9",
                                       "COrderList.cls,cls,Sub,Clear,Public,73,live,1,4",
                                       "COrderList.cls,cls,Function,TotalOf,Private,78,live,1,6",
                                       "ucGauge.ctl,ctl,Module,ucGauge,,19,dead,0,20",
                                       "ucGauge.ctl,ctl,Variable,m_Value,Private,30,live,4,1",
                                       "ucGauge.ctl,ctl,Event,Changed,Public,32,live,2,1",
                                       "ucGauge.ctl,ctl,Property Get,Value,Public,34,live,2,3",
                                       "ucGauge.ctl,ctl,Property Let,Value,Public,38,live,2,8",
                                       "ucGauge.ctl,ctl,Sub,UserControl_Resize,Private,47,dead,0,3",
                                       "ucGauge.ctl,ctl,Sub,Redraw,Private,51,live,2,4",
                                       "ppGauge.pag,pag,Module,ppGauge,,16,live,0,9",
                                       "ppGauge.pag,pag,Sub,txtValue_Change,Private,24,live,0,3",
                                       "ppGauge.pag,pag,Sub,PropertyPage_ApplyChanges,Private,28,live,0,3",
                                       "ppGauge.pag,pag,Sub,PropertyPage_SelectionChanged,Private,33,live,0,3",
                                   }));
    EXPECT_EQ(dir.Read("Tools_Unused.csv"),
              Csv("Tools/Tools.vbp", {
                                         "modTools.bas,bas,Declare,timeGetTime,Private,5,unknown,0,1",
                                         "modTools.bas,bas,Sub,Main,Public,7,live,0,5",
                                         "CTimer.cls,cls,Module,CTimer,,5,live,1,8",
                                         "CTimer.cls,cls,Declare,GetTickCount,Private,12,live,2,1",
                                         "CTimer.cls,cls,Variable,m_Start,Private,13,live,2,1",
                                         "CTimer.cls,cls,Sub,Start,Public,15,live,1,3",
                                         "CTimer.cls,cls,Property Get,Elapsed,Public,19,live,1,3",
                                         "rptDaily.dsr,dsr,Module,,,,missing,,",
                                     }));
    EXPECT_EQ(CheckWithPython(dir.Root(), {"Demo_Unused.csv", "Tools_Unused.csv"}), "");
}

TEST(UnusedCli, JoiningAllLeavesTheThreeTextReportsAsTheyAre)
{
    TempDir dir;
    CopySamples(dir);
    const std::string alone = dir.Folder("alone");
    const std::string joined = dir.Folder("joined");
    ASSERT_EQ(RunCli(dir.Root(), {"-A", "-o", alone, "Demo/Demo.vbp"}).status, 0);
    const CliRun run = RunCli(dir.Root(), {"-A", "--unused", "-o", joined, "Demo/Demo.vbp"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, joined + "/Demo_StCnt.txt\n" + joined + "/Demo_FncOp.txt\n" + joined + "/Demo_APIOp.txt\n" +
                           joined + "/Demo_Unused.txt\n");
    for (const std::string report : {"Demo_StCnt.txt", "Demo_FncOp.txt", "Demo_APIOp.txt"}) {
        EXPECT_EQ(testing::ReadBytes(joined + "/" + report), testing::ReadBytes(alone + "/" + report)) << report;
    }
    // The unused code report of the same run, in Shift_JIS with CR LF.
    const std::string report = testing::ReadBytes(joined + "/Demo_Unused.txt");
    EXPECT_TRUE(
        report.starts_with("-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\r\n"
                           "       ソースコード 未使用コード       \r\n"
                           "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\r\n"
                           "プロジェクトファイル ： Demo/Demo.vbp\r\n\r\n\r\n"
                           "ファイル名 ： frmMain.frm\r\n"
                           "状態       ： 使用\r\n"
                           "使用       ：       49 行\r\n"))
        << report;
    EXPECT_NE(report.find("ファイル名 ： modWinApi.bas\r\n"
                          "状態       ： 使用\r\n"
                          "使用       ：       15 行\r\n"
                          "未使用     ：       10 行\r\n"
                          "公開       ：        0 行\r\n"
                          "不明       ：        0 行\r\n"
                          "  未使用 Declare Sleep ： 24 行目、1 行\r\n"
                          "  未使用 Declare GetPrivateProfileString ： 27 行目、1 行\r\n"
                          "  未使用 Declare WritePrivateProfileString ： 32 行目、1 行\r\n"
                          "  未使用 Function ReadSetting ： 55 行目、7 行\r\n\r\n"),
              std::string::npos)
        << report;
    EXPECT_TRUE(report.ends_with("合計              205行        22行         0行         0行\r\n\r\n\r\n")) << report;
}

TEST(UnusedCli, JsonPartAndSummaryColumns)
{
    TempDir dir;
    CopySamples(dir);
    const CliRun run =
        RunCli(dir.Root(), {"--unused", "-A", "--format", "json", "--summary", "summary.csv", "Demo.vbg"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Demo.json\nTools.json\nsummary.csv\n");
    // The member objects waited for the unused arrays in a scratch file, now gone.
    EXPECT_FALSE(testing::PathExists(dir.Root() + "/Demo.json.part"));
    EXPECT_FALSE(testing::PathExists(dir.Root() + "/Tools.json.part"));
    const std::string tools = dir.Read("Tools.json");
    EXPECT_NE(tools.find(",\"unused\":[{\"member\":\"Declare\",\"name\":\"timeGetTime\",\"scope\":\"Private\","
                         "\"line\":5,\"status\":\"unknown\",\"references\":0,\"steps\":1},{\"member\":\"Sub\","
                         "\"name\":\"Main\",\"scope\":\"Public\",\"line\":7,\"status\":\"live\",\"references\":0,"
                         "\"steps\":5}]}"),
              std::string::npos)
        << tools;
    EXPECT_NE(tools.find("\"apis\":null,\"unused\":[{\"member\":\"Module\",\"name\":\"\",\"scope\":\"\",\"line\":null,"
                         "\"status\":\"missing\",\"references\":null,\"steps\":null}]}\n]}\n"),
              std::string::npos)
        << tools;
    const std::string summary = dir.Read("summary.csv");
    EXPECT_NE(summary.find(",ok,8,2,2,2,1,1,0,0,227,38,43,8,205,22\r\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find(",ok,3,0,1,1,0,0,0,1,14,1,3,2,13,0\r\n"), std::string::npos) << summary;
    EXPECT_EQ(CheckWithPython(dir.Root(), {"Demo.json", "Tools.json", "summary.csv"}), "");
}

TEST(UnusedCli, JsonObjectsWaitInMemoryWhenNoScratchFileCanBeMade)
{
    TempDir dir;
    CopySamples(dir);
    std::filesystem::create_directories(dir.Root() + "/held/Demo.json.part");
    const CliRun spilled = RunCli(dir.Root(), {"--unused", "-A", "--format", "json", "-o", "spilled", "Demo/Demo.vbp"});
    const CliRun held = RunCli(dir.Root(), {"--unused", "-A", "--format", "json", "-o", "held", "Demo/Demo.vbp"});
    EXPECT_EQ(spilled.status, 0);
    EXPECT_EQ(held.status, 0);
    EXPECT_EQ(dir.Read("held/Demo.json"), dir.Read("spilled/Demo.json"));
}

}  // namespace
}  // namespace kolvane
