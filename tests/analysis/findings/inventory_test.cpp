#include "analysis/findings/inventory.h"

#include "analysis/run/session.h"
#include "analysis/source/code_page.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::TempDir;

// A reference as "kind|guid|version|file|description".
std::string Described(const Reference& reference)
{
    return std::string(ReferenceKindText(reference.kind)) + "|" + std::string(reference.guid) + "|" +
           std::string(reference.version) + "|" + std::string(reference.file) + "|" +
           std::string(reference.description);
}

struct ReferenceCase {
    const char* what;
    Reference (*read)(std::string_view value);
    std::string value;
    std::string expected;
};

TEST(Inventory, ReferenceShapes)
{
    const std::string guid = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}";
    const ReferenceCase cases[] = {
        {"a type library", &ReadReferenceValue,
         "*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\stdole2.tlb#OLE Automation",
         "reference|{00020430-0000-0000-C000-000000000046}|2.0|..\\stdole2.tlb|OLE Automation"},
        {"the description is all after the fourth #", &ReadReferenceValue, "*\\G" + guid + "#1.1#9#C:\\a.tlb#A # B",
         "reference|" + guid + "|1.1|C:\\a.tlb|A # B"},
        {"three # are too few", &ReadReferenceValue, "*\\G" + guid + "#2.0#0#a.tlb", "unknown||||*\\G" + guid + "#2.0#0#a.tlb"},
        {"a GUID needs its braces", &ReadReferenceValue, "*\\G831FDD16-0C5C-11D2-A9FC-0000F8754DA1#2.0#0#a#b",
         "unknown||||*\\G831FDD16-0C5C-11D2-A9FC-0000F8754DA1#2.0#0#a#b"},
        {"a project", &ReadReferenceValue, "*\\A..\\Lib\\Lib.vbp", "project|||..\\Lib\\Lib.vbp|"},
        {"another shape", &ReadReferenceValue, "*\\Cx", "unknown||||*\\Cx"},
        {"a component in the project file", &ReadObjectValue, guid + "#2.0#0; MSCOMCTL.OCX",
         "component|" + guid + "|2.0|MSCOMCTL.OCX|"},
        {"a component in a header", &ReadObjectValue, "\"" + guid + "#2.1#0\"; \"mscomctl.ocx\"",
         "component|" + guid + "|2.1|mscomctl.ocx|"},
        {"a project in a header", &ReadObjectValue, "\"*\\A..\\Ctl\\Ctl.vbp\"", "project|||..\\Ctl\\Ctl.vbp|"},
        {"four fields are one too many", &ReadObjectValue, guid + "#2.0#0#1; A.OCX", "unknown||||" + guid + "#2.0#0#1; A.OCX"},
        {"no file, quotes kept", &ReadObjectValue, "\"" + guid + "#2.0#0\"", "unknown||||\"" + guid + "#2.0#0\""},
        {"no GUID", &ReadObjectValue, "\"{X}#2.0#0\"; \"A.OCX\"", "unknown||||\"{X}#2.0#0\"; \"A.OCX\""},
    };
    for (const ReferenceCase& c : cases) EXPECT_EQ(Described(c.read(c.value)), c.expected) << c.what;
}

// Controls as "library.type count".
std::vector<std::string> Controls(std::string_view header)
{
    std::vector<std::string> described;
    for (const ControlType& control : CountControls(header)) {
        described.push_back(std::string(control.library) + "." + std::string(control.type) + " " +
                            std::to_string(control.count));
    }
    return described;
}

TEST(Inventory, ControlsOfADesignerHeader)
{
    const std::string header =
        "VERSION 5.00\r\n"
        "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
        "object=\"*\\AOther.vbp\"\r\n"
        "ObjectX = 1\r\n"
        "Begin VB.Form frmMain\r\n"
        "   BeginProperty Font\r\n"
        "   EndProperty\r\n"
        "   Begin VB.Frame fraOuter\r\n"
        "      Begin VB.Frame fraInner\r\n"
        "\t\tbegin\tVB.TextBox txtName\r\n"
        "         End\r\n"
        "      End\r\n"
        "      Begin VB.TextBox txtField \r\n"
        "         Index = 0\r\n"
        "      End\r\n"
        "      Begin VB.TextBox txtField\r\n"
        "         Index = 1\r\n"
        "      End\r\n"
        "   End\r\n"
        "   Begin MSComctlLib.ListView lvItems\r\n"
        "   End\r\n"
        "   Begin vb.Frame\r\n"
        "   Begin {C0E45035-5775-11D0-B388-00A0C9055D8E} env\r\n"
        "   Begin\r\n"
        "   Begin .Frame noLibrary\r\n"
        "   Begin VB. noType\r\n"
        "End\r\n"
        "End\r\n"
        "Attribute VB_Name = \"frmMain\"\r\n";
    EXPECT_EQ(Controls(header), (std::vector<std::string>{"VB.Frame 2", "VB.TextBox 3", "MSComctlLib.ListView 1",
                                                          "vb.Frame 1"}));
    EXPECT_EQ(HeaderObjects(header),
              (std::vector<std::string_view>{"\"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"",
                                             "\"*\\AOther.vbp\""}));
    // A class's BEGIN is the module itself.
    EXPECT_EQ(Controls("VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1\r\nEND\r\n"), std::vector<std::string>{});
}

struct ConstructCase {
    const char* what;
    Construct construct;
    std::string code;
    std::int64_t count;
};

TEST(Inventory, ConstructCounts)
{
    const ConstructCase cases[] = {
        {"GoSub, with On", Construct::GoSub, "GoSub 10\r\nOn x GoSub a, b\r\ngosub c\r\n", 3},
        {"GoTo, not after Error", Construct::GoTo,
         "GoTo 10\r\nOn Error GoTo 0\r\nOn x GoTo a, b\r\nIf x Then GoTo c\r\n", 3},
        {"On Error Resume Next, with Local, split by a continuation", Construct::OnErrorResumeNext,
         "On Error Resume Next\r\non local error resume next\r\nOn Error _\r\n  Resume _\r\n  Next\r\n", 3},
        {"not in comments or strings", Construct::OnErrorResumeNext,
         "' On Error Resume Next\r\nx = \"On Error Resume Next\"\r\nRem On Error Resume Next\r\n"
         "y = 1: Rem On Error Resume Next\r\n' a comment _\r\nOn Error Resume Next\r\n",
         0},
        {"On Error GoTo anything but the number 0", Construct::OnErrorGoTo,
         "On Error GoTo Handler\r\nOn Error GoTo 0\r\nOn Error GoTo -1\r\nOn Local Error GoTo 0&\r\n"
         "On Error GoTo 00\r\nOn Error GoTo\r\nOn Error GoTo ' no token\r\n",
         4},
        {"As Any", Construct::AsAny, "Declare Sub S Lib \"k\" (p As Any, q As [Any], r As _\r\n Any)\r\n", 2},
        {"As Variant", Construct::AsVariant, "Dim v As Variant, w As Variant$\r\n", 1},
        {"As Object", Construct::AsObject, "Dim o As Object\r\nFunction F() As object\r\nEnd Function\r\n", 2},
        {"fixed-length strings", Construct::FixedStrings, "Dim s As String * 10\r\nDim t As String\r\n", 1},
        {"CreateObject after a dot too", Construct::CreateObject,
         "Set o = CreateObject(\"A.B\")\r\nSet p = VBA.CreateObject(\"C\")\r\nx = \"CreateObject\"\r\n", 2},
        {"GetObject", Construct::GetObject, "Set o = GetObject(, \"Excel.Application\")\r\n", 1},
        {"CallByName", Construct::CallByName, "CallByName o, \"Go\", VbMethod\r\n", 1},
        {"pointers", Construct::Pointers, "p = VarPtr(x) + StrPtr(s) + ObjPtr(o) + VarPtrArray(a)\r\n", 3},
        {"Def types as first words", Construct::DefType, "DefInt A-Z\r\nDefStr S: DefLng L\r\nx = DefBool\r\n", 3},
        {"every Def type", Construct::DefType,
         "DefBool A\r\nDefByte B\r\nDefInt C\r\nDefLng D\r\nDefCur E\r\nDefSng F\r\nDefDbl G\r\nDefDec H\r\n"
         "DefDate I\r\nDefStr J\r\nDefObj K\r\nDefVar L\r\nDefX M\r\n",
         12},
        {"Option Base", Construct::OptionBase, "Option Explicit\r\nOption Base 1\r\n", 1},
        {"LSet and RSet as first words; not after a line number", Construct::LSetRSet,
         "LSet a = b\r\nIf x Then RSet c = d\r\n20 LSet e = f\r\nx.LSet\r\n", 2},
        {"a bare End, not End If, not after a line number or label", Construct::EndStatements,
         "End\r\nEnd If\r\nIf x Then End\r\nIf x Then y Else End\r\nDone: End\r\n[End]\r\n10 End\r\n"
         "End ' stop\r\nEnd Sub\r\nEnd _\r\n  Function\r\nElse: End\r\n",
         5},
        {"no block's End", Construct::EndStatements,
         "End Select\r\nEnd With\r\nEnd Type\r\nEnd Enum\r\nEnd Property\r\nEnd Function\r\nEnd Next\r\n", 1},
        {"DoEvents", Construct::DoEvents, "DoEvents\r\nx = DoEvents()\r\n", 2},
        {"attribute lines are passed over", Construct::GoTo, "Attribute GoTo.VB_UserMemId = 0\r\n", 0},
    };
    for (const ConstructCase& c : cases) {
        ModuleScan module;
        ScanModule(c.code, false, ModuleKind::Bas, module);
        for (const CodeReading reading : {CodeReading::WhereConstructsCanBegin, CodeReading::EveryLine}) {
            EXPECT_EQ(CountConstructs(module, &IsShiftJisLeadByte, reading)[static_cast<std::size_t>(c.construct)],
                      c.count)
                << c.what;
        }
    }
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Runs the inventory on the project in the format; true when it was written.
bool RunInventory(const TempDir& dir, const std::string& project, OutputFormat format)
{
    RunChoice choice;
    choice.analyses = {AnalysisId::Inventory};
    choice.format = format;
    choice.codePage = CodePage::Cp932;
    choice.folder = dir.Root();
    testing::RecordingReporter reporter;
    bool written = false;
    RunProject(project, choice, reporter, [&](const OutputDone& done) { written = done.written; });
    return written && reporter.boxes.empty();
}

TEST(Inventory, TablesOfAProject)
{
    TempDir dir;
    const std::string project = dir.Write(
        "P.vbp",
        "Type=Exe\r\n"
        "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE \x83\x49\x81\x5B\x83\x67\r\n"
        "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
        " Reference=*\\Anot at the start\r\n"
        "Form=Main.frm\r\nModule=M; M.bas\r\nClass=C; Gone.cls\r\n");
    dir.Write("Main.frm",
              "VERSION 5.00\r\n"
              "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
              "Begin VB.Form Main\r\n   Begin MSComctlLib.ListView lv\r\n   End\r\nEnd\r\n"
              "Attribute VB_Name = \"Main\"\r\nAttribute VB_Exposed = False\r\n"
              "Private Sub Form_Load()\r\n    On Error Resume Next\r\n    Set x = CreateObject(\"A.B\")\r\nEnd Sub\r\n");
    dir.Write("M.bas", "Attribute VB_Name = \"M\"\r\nDeclare Function F Lib \"k\" (p As Any) As Long\r\n");

    ASSERT_TRUE(RunInventory(dir, project, OutputFormat::Csv));
    EXPECT_EQ(dir.Read("P_References.csv"),
              std::string(kBom) + "project,source,kind,guid,version,file,description\r\n" + project +
                  ",P.vbp,reference,{00020430-0000-0000-C000-000000000046},2.0,stdole2.tlb,OLE " +
                  testing::Utf8(u8"オート") + "\r\n" +
                  project + ",P.vbp,component,{831FDD16-0C5C-11D2-A9FC-0000F8754DA1},2.0,MSCOMCTL.OCX,\r\n" +
                  project + ",Main.frm,component,{831FDD16-0C5C-11D2-A9FC-0000F8754DA1},2.0,MSCOMCTL.OCX,\r\n");
    EXPECT_EQ(dir.Read("P_Controls.csv"), std::string(kBom) + "project,file,kind,library,type,count\r\n" + project +
                                              ",Main.frm,frm,MSComctlLib,ListView,1\r\n");
    const std::string header =
        "project,file,kind,status,steps,gosub,goto,on_error_resume_next,on_error_goto,as_any,as_variant,as_object,"
        "fixed_strings,createobject,getobject,callbyname,pointers,deftype,option_base,lset_rset,end_statements,"
        "doevents,declares\r\n";
    EXPECT_EQ(dir.Read("P_Constructs.csv"),
              std::string(kBom) + header + project + ",Main.frm,frm,ok,4,0,0,1,0,0,0,0,0,1,0,0,0,0,0,0,0,0,0\r\n" +
                  project + ",M.bas,bas,ok,1,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,1\r\n" + project +
                  ",Gone.cls,cls,missing,,,,,,,,,,,,,,,,,,,\r\n");

    ASSERT_TRUE(RunInventory(dir, project, OutputFormat::Json));
    const std::string json = dir.Read("P.json");
    const std::string inventory = json.substr(json.find("\n]") + 2);
    EXPECT_EQ(inventory,
              std::string(",\"inventory\":{\"references\":[\n"
                          "{\"source\":\"P.vbp\",\"kind\":\"reference\",\"guid\":"
                          "\"{00020430-0000-0000-C000-000000000046}\",\"version\":\"2.0\",\"file\":\"stdole2.tlb\","
                          "\"description\":\"OLE ") +
                  testing::Utf8(u8"オート") + "\"},\n"
              "{\"source\":\"P.vbp\",\"kind\":\"component\",\"guid\":\"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}\","
              "\"version\":\"2.0\",\"file\":\"MSCOMCTL.OCX\",\"description\":\"\"},\n"
              "{\"source\":\"Main.frm\",\"kind\":\"component\",\"guid\":\"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}\","
              "\"version\":\"2.0\",\"file\":\"MSCOMCTL.OCX\",\"description\":\"\"}\n"
              "],\"controls\":[\n"
              "{\"file\":\"Main.frm\",\"kind\":\"frm\",\"library\":\"MSComctlLib\",\"type\":\"ListView\",\"count\":1}\n"
              "],\"constructs\":[\n"
              "{\"file\":\"Main.frm\",\"kind\":\"frm\",\"status\":\"ok\",\"steps\":4,\"gosub\":0,\"goto\":0,"
              "\"on_error_resume_next\":1,\"on_error_goto\":0,\"as_any\":0,\"as_variant\":0,\"as_object\":0,"
              "\"fixed_strings\":0,\"createobject\":1,\"getobject\":0,\"callbyname\":0,\"pointers\":0,\"deftype\":0,"
              "\"option_base\":0,\"lset_rset\":0,\"end_statements\":0,\"doevents\":0,\"declares\":0},\n"
              "{\"file\":\"M.bas\",\"kind\":\"bas\",\"status\":\"ok\",\"steps\":1,\"gosub\":0,\"goto\":0,"
              "\"on_error_resume_next\":0,\"on_error_goto\":0,\"as_any\":1,\"as_variant\":0,\"as_object\":0,"
              "\"fixed_strings\":0,\"createobject\":0,\"getobject\":0,\"callbyname\":0,\"pointers\":0,\"deftype\":0,"
              "\"option_base\":0,\"lset_rset\":0,\"end_statements\":0,\"doevents\":0,\"declares\":1},\n"
              "{\"file\":\"Gone.cls\",\"kind\":\"cls\",\"status\":\"missing\",\"steps\":null,\"gosub\":null,"
              "\"goto\":null,\"on_error_resume_next\":null,\"on_error_goto\":null,\"as_any\":null,\"as_variant\":null,"
              "\"as_object\":null,\"fixed_strings\":null,\"createobject\":null,\"getobject\":null,\"callbyname\":null,"
              "\"pointers\":null,\"deftype\":null,\"option_base\":null,\"lset_rset\":null,\"end_statements\":null,"
              "\"doevents\":null,\"declares\":null}\n"
              "]}}\n");
}

}  // namespace
}  // namespace kolvane
