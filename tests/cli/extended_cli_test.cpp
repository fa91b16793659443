// The extended outputs of kolvane-cli end to end: CSV, JSON and the summary
// on a copy of samples/, checked byte for byte and read back by Python's csv
// and json modules; groups, folders, many modules and hostile names.
#include "tests/support/cli_run.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::TempDir;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

using testing::RunCli;
using CliRun = testing::ProgramRun;

// Reads every file named with Python's parsers; empty when all is well.
std::string CheckWithPython(const std::string& folder, const std::vector<std::string>& files)
{
    std::vector<std::string> arguments = {KOLVANE_CHECK_OUTPUTS};
    arguments.insert(arguments.end(), files.begin(), files.end());
    const CliRun run = testing::RunProgram(folder, KOLVANE_PYTHON, arguments);
    return run.status == 0 ? run.out + run.err : "status " + std::to_string(run.status) + ": " + run.out + run.err;
}

void CopySamples(const TempDir& dir)
{
    std::filesystem::copy(KOLVANE_SAMPLES, dir.Root(), std::filesystem::copy_options::recursive);
}

TEST(ExtendedCli, SampleProjectAsCsvAgreesWithTheTextReport)
{
    TempDir dir;
    CopySamples(dir);
    const std::string project = dir.Path("Demo/Demo.vbp");

    const CliRun run = RunCli(dir.Root(), {"--format", "csv", "--all", project});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Demo_StCnt.csv\nDemo_FncOp.csv\nDemo_APIOp.csv\n");
    const std::string steps = dir.Read("Demo_StCnt.csv");
    EXPECT_EQ(steps, std::string(kBom) + "project,file,kind,path,status,steps,comments\r\n" +
                         project + ",frmMain.frm,frm,frmMain.frm,ok,49,5\r\n" +
                         project + ",frmAbout.frm,frm,Forms\\frmAbout.frm,ok,11,3\r\n" +
                         project + ",modMain.bas,bas,modMain.bas,ok,32,6\r\n" +
                         project + ",modWinApi.bas,bas,..\\Common\\modWinApi.bas,ok,25,9\r\n" +
                         project + ",CCustomer.cls,cls,Classes\\CCustomer.cls,ok,31,6\r\n" +
                         project + ",COrderList.cls,cls,Classes\\COrderList.cls,ok,50,5\r\n" +
                         project + ",ucGauge.ctl,ctl,Controls\\ucGauge.ctl,ok,20,3\r\n" +
                         project + ",ppGauge.pag,pag,Controls\\ppGauge.pag,ok,9,1\r\n");
    const std::string procedures = dir.Read("Demo_FncOp.csv");
    for (const std::string row : {
             ",ucGauge.ctl,ctl,Property Let,Value,Public,38,8,Public Property Let Value(ByVal newValue As Integer)\r\n",
             ",ppGauge.pag,pag,Sub,PropertyPage_ApplyChanges,Private,28,3,Private Sub PropertyPage_ApplyChanges()\r\n",
             ",modWinApi.bas,bas,Function,ReadSetting,Public,55,7,\"Public Function ReadSetting(ByVal iniPath As "
             "String, ByVal section As String, ByVal key As String, Optional ByVal defaultValue As String = \"\"\"\") "
             "As String\"\r\n"}) {
        EXPECT_NE(procedures.find("\n" + project + row), std::string::npos) << row;
    }
    EXPECT_NE(dir.Read("Demo_APIOp.csv")
                  .find("\n" + project + ",frmMain.frm,frm,Function,SendMessage,Private,user32,SendMessageA,61,"
                                         "\"Private Declare Function SendMessage Lib \"\"user32\"\" Alias "
                                         "\"\"SendMessageA\"\" (ByVal hWnd As Long, ByVal wMsg As Long, ByVal "
                                         "wParam As Long, lParam As Any) As Long\"\r\n"),
              std::string::npos);
    EXPECT_EQ(CheckWithPython(dir.Root(), {"Demo_StCnt.csv", "Demo_FncOp.csv", "Demo_APIOp.csv"}), "");

    // The rows of each kind add up to the text report's totals.
    ASSERT_EQ(RunCli(dir.Root(), {"--steps", project}).status, 0);
    EXPECT_TRUE(dir.Read("Demo_StCnt.txt")
                    .ends_with("frmファイル        60行         8行        68行\r\n"
                               "basファイル        57行        15行        72行\r\n"
                               "clsファイル        81行        11行        92行\r\n\r\n\r\n"));
}

TEST(ExtendedCli, GroupAsJsonWithSummaryAndAMissingMember)
{
    TempDir dir;
    CopySamples(dir);
    const std::string group = dir.Path("Demo.vbg");
    const std::string demo = dir.Root() + "/Demo\\Demo.vbp";
    const std::string tools = dir.Root() + "/Tools\\Tools.vbp";

    const CliRun run = RunCli(dir.Root(), {"--format=json", "-A", "--summary", "summary.csv", group, "none.vbp"});
    EXPECT_EQ(run.status, 2);  // the worst: a project that cannot be read
    EXPECT_EQ(run.out, "Demo.json\nTools.json\nsummary.csv\n");
    EXPECT_EQ(dir.Read("summary.csv"),
              std::string(kBom) +
                  "project,status,modules,frm,bas,cls,ctl,pag,dob,dsr,steps,comments,procedures,apis,live_steps,"
                  "dead_steps\r\n" +
                  demo + ",ok,8,2,2,2,1,1,0,0,227,38,43,8,,\r\n" + tools + ",ok,3,0,1,1,0,0,0,1,14,1,3,2,,\r\n" +
                  "none.vbp,not found,,,,,,,,,,,,,,\r\n");
    EXPECT_EQ(dir.Read("Tools.json"),
              "{\"project\":\"" + tools.substr(0, tools.find('\\')) + "\\\\Tools.vbp\",\"modules\":[\n"
              "{\"file\":\"modTools.bas\",\"kind\":\"bas\",\"path\":\"modTools.bas\",\"status\":\"ok\",\"steps\":6,"
              "\"comments\":1,\"procedures\":[{\"procedure\":\"Sub\",\"name\":\"Main\",\"scope\":\"Public\",\"line\":7,"
              "\"steps\":5,\"declaration\":\"Sub Main()\"}],\"apis\":[{\"procedure\":\"Function\",\"name\":"
              "\"timeGetTime\",\"scope\":\"Private\",\"library\":\"winmm.dll\",\"alias\":\"\",\"line\":5,"
              "\"declaration\":\"Private Declare PtrSafe Function timeGetTime Lib \\\"winmm.dll\\\" () As Long\"}]},\n"
              "{\"file\":\"CTimer.cls\",\"kind\":\"cls\",\"path\":\"CTimer.cls\",\"status\":\"ok\",\"steps\":8,"
              "\"comments\":0,\"procedures\":[{\"procedure\":\"Sub\",\"name\":\"Start\",\"scope\":\"Public\",\"line\":15,"
              "\"steps\":3,\"declaration\":\"Public Sub Start()\"},{\"procedure\":\"Property Get\",\"name\":\"Elapsed\","
              "\"scope\":\"Public\",\"line\":19,\"steps\":3,\"declaration\":\"Public Property Get Elapsed() As Long\"}],"
              "\"apis\":[{\"procedure\":\"Function\",\"name\":\"GetTickCount\",\"scope\":\"Private\",\"library\":"
              "\"kernel32\",\"alias\":\"\",\"line\":12,\"declaration\":\"Private Declare Function GetTickCount Lib "
              "\\\"kernel32\\\" () As Long\"}]},\n"
              "{\"file\":\"rptDaily.dsr\",\"kind\":\"dsr\",\"path\":\"Reports\\\\rptDaily.dsr\",\"status\":\"missing\","
              "\"steps\":null,\"comments\":null,\"procedures\":null,\"apis\":null}\n"
              "]}\n");
    EXPECT_EQ(CheckWithPython(dir.Root(), {"Demo.json", "Tools.json", "summary.csv"}), "");
}

TEST(ExtendedCli, InventoryOfTheSampleGroup)
{
    TempDir dir;
    CopySamples(dir);
    const std::string demo = dir.Root() + "/Demo\\Demo.vbp";
    const std::string tools = dir.Root() + "/Tools\\Tools.vbp";

    const CliRun run = RunCli(dir.Root(), {"--inventory", dir.Path("Demo.vbg")});
    EXPECT_EQ(run.status, 1);  // the designer of Tools is missing
    EXPECT_EQ(run.out, "Demo_References.csv\nDemo_Controls.csv\nDemo_Constructs.csv\n"
                       "Tools_References.csv\nTools_Controls.csv\nTools_Constructs.csv\n");
    EXPECT_EQ(dir.Read("Demo_References.csv"),
              std::string(kBom) + "project,source,kind,guid,version,file,description\r\n" + demo +
                  ",Demo.vbp,reference,{00020430-0000-0000-C000-000000000046},2.0,"
                  "..\\..\\..\\Windows\\SysWOW64\\stdole2.tlb,OLE Automation\r\n");
    EXPECT_EQ(dir.Read("Demo_Controls.csv"), std::string(kBom) + "project,file,kind,library,type,count\r\n" +
                                                 demo + ",frmMain.frm,frm,VB,CommandButton,2\r\n" +
                                                 demo + ",frmMain.frm,frm,VB,ListBox,1\r\n" +
                                                 demo + ",frmMain.frm,frm,VB,Label,1\r\n" +
                                                 demo + ",frmAbout.frm,frm,VB,CommandButton,1\r\n" +
                                                 demo + ",frmAbout.frm,frm,VB,Label,3\r\n" +
                                                 demo + ",ucGauge.ctl,ctl,VB,Shape,1\r\n" +
                                                 demo + ",ppGauge.pag,pag,VB,TextBox,1\r\n");
    const std::string header =
        "project,file,kind,status,steps,gosub,goto,on_error_resume_next,on_error_goto,as_any,as_variant,as_object,"
        "fixed_strings,createobject,getobject,callbyname,pointers,deftype,option_base,lset_rset,end_statements,"
        "doevents,declares\r\n";
    EXPECT_EQ(dir.Read("Demo_Constructs.csv"),
              std::string(kBom) + header +
                  demo + ",frmMain.frm,frm,ok,49,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,2\r\n" +
                  demo + ",frmAbout.frm,frm,ok,11,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n" +
                  demo + ",modMain.bas,bas,ok,32,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n" +
                  demo + ",modWinApi.bas,bas,ok,25,0,0,0,0,3,0,0,0,0,0,0,0,0,0,0,0,0,6\r\n" +
                  demo + ",CCustomer.cls,cls,ok,31,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n" +
                  demo + ",COrderList.cls,cls,ok,50,0,0,0,0,0,0,3,0,0,0,0,0,0,0,0,0,0,0\r\n" +
                  demo + ",ucGauge.ctl,ctl,ok,20,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n" +
                  demo + ",ppGauge.pag,pag,ok,9,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n");
    EXPECT_EQ(dir.Read("Tools_References.csv"), std::string(kBom) + "project,source,kind,guid,version,file,description\r\n");
    EXPECT_EQ(dir.Read("Tools_Controls.csv"), std::string(kBom) + "project,file,kind,library,type,count\r\n");
    EXPECT_EQ(dir.Read("Tools_Constructs.csv"),
              std::string(kBom) + header +
                  tools + ",modTools.bas,bas,ok,6,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1\r\n" +
                  tools + ",CTimer.cls,cls,ok,8,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1\r\n" +
                  tools + ",rptDaily.dsr,dsr,missing,,,,,,,,,,,,,,,,,,,\r\n");
    EXPECT_EQ(CheckWithPython(dir.Root(), {"Demo_References.csv", "Demo_Controls.csv", "Demo_Constructs.csv"}), "");

    // With the other analyses in one run; JSON; never as text.
    EXPECT_EQ(RunCli(dir.Root(), {"-A", "--inventory", "-o", "all", dir.Path("Tools/Tools.vbp")}).out,
              "all/Tools_StCnt.csv\nall/Tools_FncOp.csv\nall/Tools_APIOp.csv\nall/Tools_References.csv\n"
              "all/Tools_Controls.csv\nall/Tools_Constructs.csv\n");
    EXPECT_EQ(RunCli(dir.Root(), {"--inventory", "--format", "json", dir.Path("Tools/Tools.vbp")}).out, "Tools.json\n");
    EXPECT_EQ(CheckWithPython(dir.Root(), {"Tools.json"}), "");
    const CliRun text = RunCli(dir.Root(), {"--inventory", "--format", "text", dir.Path("Tools/Tools.vbp")});
    EXPECT_EQ(text.status, 2);
    EXPECT_NE(text.err.find("--inventory"), std::string::npos) << text.err;
}

TEST(ExtendedCli, HostileNamesManyModulesAndFolders)
{
    TempDir dir;
    dir.Folder("tree");
    dir.Folder("tree/big");
    dir.Folder("tree/odd");
    std::filesystem::create_directory_symlink(dir.Path("tree"), dir.Path("tree/odd/loop"));

    // 856 modules, beyond the module table's 255.
    std::string big = "Type=Exe\r\n";
    for (int i = 0; i < 856; ++i) {
        big += "Module=M" + std::to_string(i) + "; M" + std::to_string(i) + ".bas\r\n";
        dir.Write("tree/big/M" + std::to_string(i) + ".bas", "Sub A()\r\nEnd Sub\r\n");
    }
    dir.Write("tree/big/Big.vbp", big);

    // A value with a comma, a quote and a lone CR; a folder where a module
    // should be; a name whose Shift_JIS lead byte has no trail byte.
    dir.Folder("tree/odd/Folder.bas");
    dir.Write("tree/odd/Odd.vbp", "Module=A; a,\"b\"\rc.bas\r\nModule=F; Folder.bas\r\nModule=N; n.bas\r\n");
    dir.Write("tree/odd/n.bas", "Sub X\x81(): End Sub\r\n");

    const CliRun run = RunCli(dir.Root(), {"--format", "csv", "-A", "--encoding", "CP932", "--summary", "s.csv", "tree"});
    EXPECT_EQ(run.status, 1);  // modules missing or unreadable
    EXPECT_EQ(run.out, "Big_StCnt.csv\nBig_FncOp.csv\nBig_APIOp.csv\nOdd_StCnt.csv\nOdd_FncOp.csv\nOdd_APIOp.csv\n"
                       "s.csv\n");
    const std::string odd = "tree/odd/Odd.vbp";  // as found under the folder given
    EXPECT_EQ(dir.Read("Odd_StCnt.csv"), std::string(kBom) + "project,file,kind,path,status,steps,comments\r\n" +
                                             odd + ",\"a,\"\"b\"\"\rc.bas\",bas,\"a,\"\"b\"\"\rc.bas\",missing,,\r\n" +
                                             odd + ",Folder.bas,bas,Folder.bas,unreadable,,\r\n" + odd +
                                             ",n.bas,bas,n.bas,ok,0,0\r\n");
    EXPECT_EQ(dir.Read("Odd_FncOp.csv").substr(dir.Read("Odd_FncOp.csv").find("\r\n") + 2),
              odd + ",n.bas,bas,Sub,X\xEF\xBF\xBD,Public,1,1,Sub X\xEF\xBF\xBD(): End Sub\r\n");
    const std::string summary = dir.Read("s.csv");
    EXPECT_NE(summary.find("tree/big/Big.vbp,ok,856,0,856,0,0,0,0,0,856,0,856,0,,\r\n"),
              std::string::npos);
    // The JSON of two failed members before one read in full still parses.
    ASSERT_EQ(RunCli(dir.Root(), {"--format=json", "-A", "tree/odd"}).status, 1);
    EXPECT_EQ(CheckWithPython(dir.Root(),
                              {"Big_StCnt.csv", "Big_FncOp.csv", "Odd_StCnt.csv", "Odd_FncOp.csv", "s.csv", "Odd.json"}),
              "");

    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--format", "xml", "tree"}, {"--encoding", "ebcdic", "tree"},
                                               {"--summary", "", "tree"}}) {
        EXPECT_EQ(RunCli(dir.Root(), arguments).status, 2) << arguments[0];
    }
}

}  // namespace
}  // namespace kolvane
