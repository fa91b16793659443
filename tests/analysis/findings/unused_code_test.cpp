// Unused code: each rule of issue 21 (and the details of issue 25) on small
// projects held in memory, the rows as the outputs give them, and the text
// report's layout.
#include "analysis/findings/unused_code.h"

#include "analysis/source/code_page.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kolvane {
namespace {

struct SourceModule {
    std::string file;  // its kind from the extension
    std::string text;  // "" with missing: a member whose file is not there
    bool missing = false;
};

ModuleKind KindOfFile(const std::string& file)
{
    const std::string extension = file.substr(file.rfind('.') + 1);
    for (std::size_t kind = 0; kind < kModuleKindCount; ++kind) {
        if (kModuleKindTexts[kind] == extension) return static_cast<ModuleKind>(kind);
    }
    return ModuleKind::Bas;
}

// The source texts with CR LF line ends, as VB writes them.
std::string Lines(std::string text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

// A form's header around its controls.
std::string Form(const std::string& name, const std::string& controls, const std::string& code)
{
    return "VERSION 5.00\nBegin VB.Form " + name + "\n   Caption = \"x\"\n" + controls + "End\n" +
           "Attribute VB_Name = \"" + name + "\"\nAttribute VB_Exposed = False\n" + code;
}

std::string Class(const std::string& name, const std::string& code, bool exposed = false)
{
    return "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\nAttribute VB_Name = \"" + name +
           "\"\nAttribute VB_Creatable = True\nAttribute VB_Exposed = " + (exposed ? "True" : "False") + "\n" + code;
}

std::string Module(const std::string& name, const std::string& code)
{
    return "Attribute VB_Name = \"" + name + "\"\n" + code;
}

// The analysis of a project held in memory.
class Analysis {
public:
    Analysis(const std::string& project, const std::vector<SourceModule>& modules, CodePage codePage = CodePage::Cp932)
        : unused_(codePage)
    {
        scans_.resize(modules.size());
        texts_.resize(modules.size());
        for (std::size_t i = 0; i < modules.size(); ++i) {
            const SourceModule& module = modules[i];
            UnusedSource source;
            source.kind = KindOfFile(module.file);
            source.file = module.file;
            source.memberIndex = i;
            if (module.missing) {
                source.status = SourceStatus::Missing;
                unused_.Add(source, nullptr);
                continue;
            }
            texts_[i] = Lines(module.text);
            Scan& scan = scans_[i];
            ScanModule(texts_[i], false, source.kind, scan.module);
            scan.procedures = FindProcedures(scan.module);
            scan.apis = FindApiDeclarations(scan.module);
            source.scan = &scan.module;
            source.procedures = scan.procedures;
            source.apis = scan.apis;
            // Read as the writers read: ahead, then added in turn.
            const std::unique_ptr<PreparedModule> prepared = unused_.Read(source);
            unused_.Add(source, prepared.get());
        }
        project_ = project;  // as a run reads it: in text mode, LF line ends
        unused_.Finish(project_);
        unused_.ForEachModule([&](const UnusedModuleView& module) {
            for (const UnusedRow& row : module.rows) {
                std::string key = std::string(module.file) + " " + std::string(DeclarationMemberText(row.member)) +
                                  " " + std::string(row.name);
                std::string value = std::string(UnusedStatusText(row.status));
                if (row.references) value += " " + std::to_string(*row.references);
                std::string& slot = rows_[key];
                slot += (slot.empty() ? "" : "; ") + value;
                std::string full = key + " " + (row.scope ? std::string(ScopeText(*row.scope)) : "-") + " " +
                                   (row.line ? std::to_string(*row.line) : "-") + " " + value + " " +
                                   (row.steps ? std::to_string(*row.steps) : "-");
                all_.push_back(full);
            }
        });
    }

    // "status references" of the rows of that file, member and name ("; "
    // between several); "none" when there is no such row.
    std::string Of(const std::string& key) const
    {
        const auto found = rows_.find(key);
        return found == rows_.end() ? "none" : found->second;
    }

    // Every row as "file member name scope line status references steps".
    const std::vector<std::string>& All() const { return all_; }

    const UnusedCode& Code() const { return unused_; }

private:
    struct Scan {
        ModuleScan module;
        std::vector<Procedure> procedures;
        std::vector<ApiDeclaration> apis;
    };
    UnusedCode unused_;
    std::vector<Scan> scans_;
    std::vector<std::string> texts_;
    std::string project_;
    std::map<std::string, std::string> rows_;
    std::vector<std::string> all_;
};

struct Case {
    const char* what;
    std::string project;
    std::vector<SourceModule> modules;
    std::vector<std::pair<std::string, std::string>> expected;  // row key, "status references"
};

void Check(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        const Analysis analysis(c.project, c.modules);
        for (const auto& [key, value] : c.expected) {
            EXPECT_EQ(analysis.Of(key), value) << c.what << ": " << key;
        }
    }
}

const std::string kExe = "Type=Exe\nStartup=\"Sub Main\"\n";
const std::string kMain = "Sub Main()\nEnd Sub\n";

TEST(UnusedCode, WhatTheRuntimeCallsInAReachedModule)
{
    Check({
        {"an event handler of a control in a nested frame, a control array handler, a menu",
         "Type=Exe\nStartup=\"frmMain\"\n",
         {{"frmMain.frm",
           Form("frmMain",
                "   Begin VB.Frame fraOuter\n      Begin VB.Frame fraInner\n         Begin VB.CommandButton cmdGo\n"
                "         End\n      End\n   End\n"
                "   Begin VB.CommandButton cmdOp\n      Index = 0\n   End\n"
                "   Begin VB.CommandButton cmdOp\n      Index = 1\n   End\n"
                "\tBegin\tVB.Menu\tmnuFile\n   End\n",
                "Private Sub cmdGo_Click()\nEnd Sub\n"
                "Private Sub cmdOp_Click(Index As Integer)\nEnd Sub\n"
                "Private Sub mnuFile_Click()\nEnd Sub\n"
                "Private Sub cmdGone_Click()\nEnd Sub\n"
                "Private Sub Form_Load()\nEnd Sub\n"
                "Private Sub frmMain_Click()\nEnd Sub\n")}},
         {{"frmMain.frm Module frmMain", "live 0"},
          {"frmMain.frm Sub cmdGo_Click", "live 0"},
          {"frmMain.frm Sub cmdOp_Click", "live 0"},
          {"frmMain.frm Sub mnuFile_Click", "live 0"},
          {"frmMain.frm Sub cmdGone_Click", "dead 0"},
          {"frmMain.frm Sub Form_Load", "live 0"},
          // The first Begin line (the form itself) is not a control.
          {"frmMain.frm Sub frmMain_Click", "dead 0"}}},
        {"a WithEvents variable and its handler, once its class is reached",
         kExe,
         {{"modMain.bas", Module("modMain", "Sub Main()\n    Dim w As CWatch\nEnd Sub\n")},
          {"CWatch.cls", Class("CWatch",
                               "Private WithEvents mTimer As CTimer\n"
                               "Private mOther As CTimer\n"
                               "Private Sub mTimer_Tick()\nEnd Sub\n"
                               "Private Sub mOther_Tick()\nEnd Sub\n")},
          {"CTimer.cls", Class("CTimer", "Public Event Tick()\n")}},
         {{"CWatch.cls Variable mTimer", "live 0"},
          {"CWatch.cls Variable mOther", "dead 0"},
          {"CWatch.cls Sub mTimer_Tick", "live 0"},
          {"CWatch.cls Sub mOther_Tick", "dead 0"},
          {"CTimer.cls Module CTimer", "live 2"},
          {"CTimer.cls Event Tick", "dead 0"}}},
        {"an Implements member; every procedure of the interface class",
         kExe,
         {{"modMain.bas", Module("modMain", "Sub Main()\n    Dim s As New CCircle\nEnd Sub\n")},
          {"IShape.cls",
           Class("IShape", "Public Sub Draw()\nEnd Sub\nPublic Function Area() As Double\nEnd Function\n")},
          {"CCircle.cls", Class("CCircle",
                                "Implements Shapes.IShape\nPrivate Sub IShape_Draw()\nEnd Sub\n"
                                "Private Function IShape_Area() As Double\nEnd Function\n")},
          {"CSquare.cls", Class("CSquare", "Implements IShape\nPrivate Sub IShape_Draw()\nEnd Sub\n")}},
         {{"CCircle.cls Sub IShape_Draw", "live 0"},
          {"CCircle.cls Function IShape_Area", "live 0"},
          {"IShape.cls Module IShape", "live 2"},
          {"IShape.cls Sub Draw", "live 0"},
          {"IShape.cls Function Area", "live 0"},
          {"CSquare.cls Module CSquare", "dead 0"},
          {"CSquare.cls Sub IShape_Draw", "dead 0"}}},
        {"the default member and the enumerator, whatever NAME says; a designer's procedures",
         kExe,
         {{"modMain.bas", Module("modMain", "Sub Main()\n    Dim c As New CList\nEnd Sub\n")},
          {"CList.cls", Class("CList",
                              "Public Property Get Item(i)\nAttribute Item.VB_UserMemId = 0\nEnd Property\n"
                              "Public Function NewEnum() As IUnknown\nAttribute Other.VB_UserMemId = -4\n"
                              "End Function\n"
                              "Public Function Other()\nAttribute Other.VB_UserMemId = 00\nEnd Function\n"
                              "Public Function Other2()\nAttribute Other2.VB_UserMemId = -4&\nEnd Function\n")},
          {"rptDaily.dsr",
           "VERSION 5.00\nBegin {78E93846-85FD-11D0-8487-00A0C90DC8A9} rptDaily\nEnd\n"
           "Attribute VB_Name = \"rptDaily\"\nAttribute VB_Exposed = False\n"
           "Private Sub Whatever()\nEnd Sub\n"}},
         {{"CList.cls Property Get Item", "live 0"},
          {"CList.cls Function NewEnum", "live 0"},
          {"CList.cls Function Other", "dead 0"},
          {"CList.cls Function Other2", "dead 0"},
          {"rptDaily.dsr Module rptDaily", "live 0"},
          {"rptDaily.dsr Sub Whatever", "live 0"}}},
    });
}

TEST(UnusedCode, ReferencesAndReaching)
{
    Check({
        {"a function assigning its own result, recursion: not uses",
         kExe,
         {{"modMain.bas",
           Module("modMain", kMain + "Function F() As Long\n    F = 1\n    F = F() + 1\nEnd Function\n")}},
         {{"modMain.bas Function F", "dead 0"}, {"modMain.bas Sub Main", "live 0"}}},
        {"mutual recursion of two dead procedures stays dead",
         kExe,
         {{"modMain.bas", Module("modMain", kMain + "Sub A()\n    B\nEnd Sub\nSub B()\n    A\nEnd Sub\n")}},
         {{"modMain.bas Sub A", "dead 1"}, {"modMain.bas Sub B", "dead 1"}}},
        {"a Private procedure in one module and a namesake called in another",
         kExe,
         {{"modMain.bas", Module("modMain", "Sub Main()\n    Helper\nEnd Sub\nPrivate Sub Helper()\nEnd Sub\n")},
          {"modOther.bas", Module("modOther", "Private Sub Helper()\nEnd Sub\n")}},
         {{"modMain.bas Sub Helper", "live 1"}, {"modOther.bas Sub Helper", "dead 0"}}},
        {"a public namesake is referenced from every module, the declaring line of another included",
         kExe,
         {{"modMain.bas", Module("modMain", "Sub Main()\n    Helper\nEnd Sub\nPublic Sub Helper()\nEnd Sub\n")},
          {"modOther.bas", Module("modOther", "Public Sub Helper()\nEnd Sub\n")}},
         {{"modMain.bas Sub Helper", "live 2"}, {"modOther.bas Sub Helper", "live 2"}}},
        {"a string word keeps a procedure alive (CallByName)",
         kExe,
         {{"modMain.bas", Module("modMain",
                                 "Sub Main()\n    CallByName gObj, \"DoIt\", VbMethod\nEnd Sub\n"
                                 "Public Sub DoIt()\nEnd Sub\nPublic Sub NotIt()\nEnd Sub\n")}},
         {{"modMain.bas Sub DoIt", "live 1"}, {"modMain.bas Sub NotIt", "dead 0"}}},
        {"an Enum member's use is a use of the Enum; the block's own names are not, its own name once",
         kExe,
         {{"modMain.bas",
           Module("modMain",
                  "Public Enum Colour\n    Red = 1\n    Green = Red + 1: Blue\n    Colour\nEnd Enum\n"
                  "Private Enum Unused\n    Nothing1\nEnd Enum\n" +
                      kMain.substr(0, 11) + "    x = Blue\n    y = RED\n    Dim c As Colour\nEnd Sub\n")}},
         {{"modMain.bas Enum Colour", "live 3"}, {"modMain.bas Enum Unused", "dead 0"}}},
        {"no shadowing: a token names every visible declaration of that name",
         kExe,
         {{"modMain.bas", Module("modMain", "Sub Main()\n    Dim c As CThing\n    c.Name = 1\nEnd Sub\n")},
          {"CThing.cls", Class("CThing", "Public Property Let Name(v)\nEnd Property\n")},
          {"COther.cls", Class("COther", "Public Sub Name()\nEnd Sub\nPrivate Sub Hidden()\nEnd Sub\n")}},
         // The declaring line of each namesake names the other.
         {{"CThing.cls Property Let Name", "live 2"},
          {"COther.cls Sub Name", "live 2"},
          {"COther.cls Module COther", "dead 0"}}},
        {"a Const list's names share one statement: B = A + 1 is no use of A",
         kExe,
         {{"modMain.bas", Module("modMain", "Const A = 1, B = A + 1\nPrivate C As Long, D(1 To 5) As String\n" +
                                                kMain.substr(0, 11) + "    x = B + D(1)\nEnd Sub\n")}},
         {{"modMain.bas Const A", "dead 0"},
          {"modMain.bas Const B", "live 1"},
          {"modMain.bas Variable C", "dead 0"},
          {"modMain.bas Variable D", "live 1"}}},
        {"a module is reached by its name, and its module-level statements by it",
         kExe,
         {{"modMain.bas", Module("modMain", "Sub Main()\n    frmA.Show\nEnd Sub\n")},
          {"frmA.frm", Form("frmA", "", "Private m As CUsed\n")},
          {"CUsed.cls", Class("CUsed", "")},
          {"frmB.frm", Form("frmB", "", "")}},
         {{"frmA.frm Module frmA", "live 1"},
          {"frmA.frm Variable m", "dead 0"},
          {"CUsed.cls Module CUsed", "dead 1"},
          {"frmB.frm Module frmB", "dead 0"}}},
        {"designer words reach a user control; a property page and a user document are roots; an MDI form",
         "Type=Exe\nStartup=\"frmA\"\n",
         {{"frmA.frm", Form("frmA", "   Begin Project1.ucGauge Gauge1\n   End\n", "")},
          {"mdiMain.frm",
           "VERSION 5.00\nBegin VB.MDIForm mdiMain\nEnd\nAttribute VB_Name = \"mdiMain\"\n"
           "Attribute VB_Exposed = False\nPrivate Sub MDIForm_Load()\nEnd Sub\n"},
          {"docA.dob",
           "VERSION 5.00\nBegin VB.UserDocument docA\nEnd\nAttribute VB_Name = \"docA\"\n"
           "Attribute VB_Exposed = True\nPrivate Sub UserDocument_Show()\n    mdiMain.Show\nEnd Sub\n"},
          {"ucGauge.ctl",
           "VERSION 5.00\nBegin VB.UserControl ucGauge\nEnd\nAttribute VB_Name = \"ucGauge\"\n"
           "Attribute VB_Exposed = False\nPrivate Sub UserControl_Paint()\nEnd Sub\n"},
          {"ppA.pag",
           "VERSION 5.00\nBegin VB.PropertyPage ppA\nEnd\nAttribute VB_Name = \"ppA\"\n"
           "Attribute VB_Exposed = False\nPrivate Sub PropertyPage_Paint()\nEnd Sub\n"}},
         {{"ucGauge.ctl Module ucGauge", "live 1"},
          {"ucGauge.ctl Sub UserControl_Paint", "live 0"},
          {"ppA.pag Module ppA", "live 0"},
          {"ppA.pag Sub PropertyPage_Paint", "live 0"},
          {"docA.dob Sub UserDocument_Show", "live 0"},
          {"mdiMain.frm Module mdiMain", "live 1"},
          {"mdiMain.frm Sub MDIForm_Load", "live 0"}}},
        {"the accessors of a property share one status; #If variants pair the k-th with the k-th",
         kExe,
         {{"modMain.bas", Module("modMain", "Sub Main()\n    Dim c As New CP\n    c.Size = 1\nEnd Sub\n")},
          {"CP.cls", Class("CP",
                           "#If A Then\nPublic Property Get Size()\nEnd Property\n#Else\n"
                           "Public Property Get Size()\nEnd Property\n#End If\n"
                           "Public Property Let Size(v)\nEnd Property\n"
                           "Public Property Get Colour()\nEnd Property\n"
                           "Private Property Let Colour(v)\nEnd Property\n")}},
         {{"CP.cls Property Get Size", "live 2; live 3"},
          {"CP.cls Property Let Size", "live 2"},
          {"CP.cls Property Get Colour", "dead 0"},
          {"CP.cls Property Let Colour", "dead 0"}}},
    });
}

TEST(UnusedCode, RootsAndStatuses)
{
    const std::string dllClass = Class("CApi",
                                       "Public Sub Open()\nEnd Sub\nFriend Sub Inner()\nEnd Sub\n"
                                       "Private Sub Hidden()\nEnd Sub\nSub Implicit()\nEnd Sub\n"
                                       "Public Sub Used()\nEnd Sub\nPublic Sub Caller()\n    Used\nEnd Sub\n"
                                       "Public Const Limit = 5\nPublic Event Done()\n",
                                       true);
    Check({
        {"an exposed public method of a class in an ActiveX DLL",
         "Type=OleDll\nStartup=\"(None)\"\n",
         {{"CApi.cls", dllClass}},
         {{"CApi.cls Module CApi", "exposed 0"},
          {"CApi.cls Sub Open", "exposed 0"},
          {"CApi.cls Sub Inner", "dead 0"},
          {"CApi.cls Sub Hidden", "dead 0"},
          {"CApi.cls Sub Implicit", "exposed 0"},
          {"CApi.cls Sub Used", "live 1"},
          {"CApi.cls Sub Caller", "exposed 0"},
          {"CApi.cls Const Limit", "exposed 0"},
          {"CApi.cls Event Done", "exposed 0"}}},
        {"the same class in a Standard EXE is dead",
         "Type=Exe\n",
         {{"CApi.cls", dllClass}},
         {{"CApi.cls Module CApi", "dead 0"}, {"CApi.cls Sub Open", "dead 0"}, {"CApi.cls Sub Used", "dead 1"}}},
        {"an entry point referenced only from dead code is live; one that is not exposed is not an entry point",
         " Type=OleDll\nType=OleExe\nType=Exe\n",
         {{"CApi.cls", Class("CApi", "Public Sub A()\nEnd Sub\n", true)},
          {"CDead.cls", Class("CDead", "Public Sub B()\n    A\nEnd Sub\n")}},
         {{"CApi.cls Sub A", "live 1"}, {"CDead.cls Sub B", "dead 0"}, {"CDead.cls Module CDead", "dead 0"}}},
        {"the key of Type= as spelled",
         "type=OleDll\n",
         {{"CApi.cls", Class("CApi", "Public Sub A()\nEnd Sub\n", true)}},
         {{"CApi.cls Sub A", "dead 0"}}},
        {"VB_Exposed only when the word after = is True, from the header's first such line",
         "Type=Control\n",
         {{"CA.cls", "VERSION 1.0 CLASS\nAttribute VB_Exposed = \"True\"\nPublic Sub A()\nEnd Sub\n"},
          {"CB.cls",
           "VERSION 1.0 CLASS\nAttribute VB_Name = \"CB\"\nAttribute VB_Name = \"CX\"\n"
           "Attribute VB_Exposed = tRUE\nAttribute VB_Exposed = False\nPublic Sub B()\nEnd Sub\n"}},
         // The first VB_Name line names the module too.
         {{"CA.cls Sub A", "dead 0"}, {"CB.cls Sub B", "exposed 0"}, {"CB.cls Module CB", "exposed 0"}}},
        {"Sub Main roots every Main of a standard module, a Function too, and only there",
         "Type=Exe\nStartup=  \" sub main \"\n",
         {{"modA.bas", Module("modA", "Function MAIN()\nEnd Function\n")},
          {"CMain.cls", Class("CMain", "Private Sub Main()\nEnd Sub\n")}},
         // The class's declaring line names MAIN, from a region never reached.
         {{"modA.bas Function MAIN", "live 1"}, {"CMain.cls Sub Main", "dead 0"}}},
        {"a missing member: dead reads unknown, its Module row says so",
         kExe,
         {{"modMain.bas", Module("modMain", kMain + "Sub Unused()\nEnd Sub\n")}, {"frmGone.frm", "", true}},
         {{"modMain.bas Sub Unused", "unknown 0"},
          {"modMain.bas Sub Main", "live 0"},
          {"frmGone.frm Module ", "missing"}}},
    });
}

TEST(UnusedCode, NamesAndTokens)
{
    // 0x815F and 0x835B hold "_" and "[" as trail bytes; 0x835D holds "]".
    const std::string underscore = "\x83\x5F";
    const std::string bracket = "\x83\x5B";
    const std::string close = "\x83\x5D";
    Check({
        {"case, type characters and brackets are not part of a name",
         kExe,
         {{"modMain.bas", Module("modMain",
                                 "Sub Main()\n    x = FOO$(1) + [Bar]\nEnd Sub\n"
                                 "Function Foo$(a)\nEnd Function\nFunction bar()\nEnd Function\n")}},
         {{"modMain.bas Function Foo", "live 1"}, {"modMain.bas Function bar", "live 1"}}},
        {"comments (apostrophe, Rem, continued), numbers and attribute lines give no names",
         kExe,
         {{"modMain.bas",
           Module("modMain",
                  "Sub Main()\n    x = 1 ' A\n    Rem B\n    y = &HC + 1E: Rem D _\n E\n"
                  "    ' F _\n  F\nAttribute G.VB_Description = \"G\"\n    10 H\nEnd Sub\n"
                  "Sub A()\nEnd Sub\nSub B()\nEnd Sub\nSub C()\nEnd Sub\nSub D()\nEnd Sub\nSub E()\nEnd Sub\n"
                  "Sub F()\nEnd Sub\nSub G()\nEnd Sub\nSub H()\nEnd Sub\n")}},
         {{"modMain.bas Sub A", "dead 0"},
          {"modMain.bas Sub B", "dead 0"},
          {"modMain.bas Sub C", "dead 0"},
          {"modMain.bas Sub D", "dead 0"},
          {"modMain.bas Sub E", "dead 0"},
          {"modMain.bas Sub F", "dead 0"},
          {"modMain.bas Sub G", "dead 0"},
          {"modMain.bas Sub H", "live 1"}}},
        {"a line number's or label's Rem is a word; strings split into words; an unclosed string ends with its line",
         kExe,
         {{"modMain.bas",
           Module("modMain",
                  "Sub Main()\n    10 Rem A\n    x = \"B.C D\"\"E\" & \"F\n    G\nRetry: Rem H\nEnd Sub\n"
                  "Sub A()\nEnd Sub\nSub B()\nEnd Sub\nSub C()\nEnd Sub\nSub D()\nEnd Sub\n"
                  "Sub E()\nEnd Sub\nSub F()\nEnd Sub\nSub G()\nEnd Sub\nSub H()\nEnd Sub\n")}},
         {{"modMain.bas Sub A", "live 1"},
          {"modMain.bas Sub B", "live 1"},
          {"modMain.bas Sub C", "live 1"},
          {"modMain.bas Sub D", "live 1"},
          {"modMain.bas Sub E", "live 1"},
          {"modMain.bas Sub F", "live 1"},
          {"modMain.bas Sub G", "live 1"},
          {"modMain.bas Sub H", "live 1"}}},
        {"a line that continues its statement labels nothing, though the same line began one before",
         kExe,
         {{"modMain.bas", Module("modMain",
                                 "Sub Main()\ntitle: Rem A\n    MsgBox x, _\ntitle: Rem A\n"
                                 "    MsgBox x, _\ntitle: Rem A\nEnd Sub\n"
                                 "Sub A()\nEnd Sub\n")}},
         {{"modMain.bas Sub A", "live 1"}}},
        {"a Shift_JIS identifier whose trail byte is _, [ or a letter (or ] inside brackets), never folded",
         kExe,
         {{"modMain.bas",
           Module("modMain", "Sub Main()\n    a" + underscore + " = a" + bracket + "b + [c" + close +
                                 "] + c\x83\x61 + LO\x83\x41NGNAME12 + lo\x83\x61ngname34\nEnd Sub\n" + "Public a" +
                                 underscore + " As Long\nPublic A" + bracket + "B\nPublic a" + bracket + "\nPublic c" +
                                 close +
                                 "\nPublic C\x83\x41\nPublic Lo\x83\x41ngName12\nPublic Lo\x83\x41ngName34\n")}},
         {{"modMain.bas Variable a" + underscore, "live 1"},
          {"modMain.bas Variable A" + bracket + "B", "live 1"},
          {"modMain.bas Variable a" + bracket, "dead 0"},
          {"modMain.bas Variable c" + close, "live 1"},
          {"modMain.bas Variable C\x83\x41", "dead 0"},
          {"modMain.bas Variable Lo\x83\x41ngName12", "live 1"},
          {"modMain.bas Variable Lo\x83\x41ngName34", "dead 0"}}},
    });
}

TEST(UnusedCode, DeclarationsAndRegions)
{
    Check({
        {"variables: every name of a statement, WithEvents before any, continued lines read whole",
         kExe,
         {{"CA.cls", Class("CA",
                           "Dim a As Long, WithEvents b As CB, c(1 To 5, n) As String\nPublic _\n  d As Long\n"
                           "Global e\nPrivate Const f = 1, g = \"x, y\"\nFriend h\n")}},
         {{"CA.cls Variable a", "dead 0"},
          {"CA.cls Variable b", "dead 0"},
          {"CA.cls Variable c", "dead 0"},
          {"CA.cls Variable d", "dead 0"},
          {"CA.cls Variable e", "dead 0"},
          {"CA.cls Const f", "dead 0"},
          {"CA.cls Const g", "dead 0"},
          {"CA.cls Variable h", "none"},
          {"CA.cls Variable n", "none"}}},
        {"a Type without its End ends before the next procedure; a Declare inside it keeps its row",
         kExe,
         {{"modMain.bas", Module("modMain",
                                 "Private Type T\n    Main As Long\n"
                                 "    Private Declare Sub Beep Lib \"k\" ()\n" +
                                     kMain + "Sub Other()\n    Beep\nEnd Sub\n")}},
         {{"modMain.bas Type T", "dead 0"},
          {"modMain.bas Declare Beep", "dead 1"},
          {"modMain.bas Sub Main", "live 1"},  // the field Main names it
          {"modMain.bas Sub Other", "dead 0"}}},
        {"a Declare inside a procedure: its region is the procedure's",
         kExe,
         {{"modMain.bas", Module("modMain",
                                 "Sub Main()\nDeclare Sub Beep Lib \"k\" ()\n    Beep\nEnd Sub\n"
                                 "Sub Other()\n    Beep\nEnd Sub\n")}},
         {{"modMain.bas Declare Beep", "dead 1"}}},
        {"bracketed keywords are names; End Type ends only a Type",
         kExe,
         {{"modMain.bas", Module("modMain",
                                 "Dim [Sub] As Long\nType T\n  x As Long\nEnd Enum\n  y As Long\nEnd Type\n"
                                 "Dim z\n" +
                                     kMain)}},
         // Sub Main's Sub and End Sub name the variable: keywords are names too.
         {{"modMain.bas Variable Sub", "live 2"},
          {"modMain.bas Type T", "dead 0"},
          {"modMain.bas Variable z", "dead 0"}}},
    });

    // The rows in full: Friend on a Type or Enum reads Private, a Const keeps
    // Friend, an Event its word; lines; steps.
    const Analysis analysis(kExe,
                            {{"CA.cls", Class("CA",
                                              "Friend Type T\n  x As Long\nEnd Enum\nEnd Type\nFriend Const K = 1\n"
                                              "Private Event E()\nEvent F()\nGlobal Const G = 1, H = 2\n"
                                              "Public Enum N\n  M: O\nEnd Enum\nDim a, b\n"
                                              "Private Declare Function GetTickCount Lib \"k\" () As Long\n"
                                              "Public Property Get P()\nEnd Property\n")}});
    EXPECT_EQ(analysis.All(), (std::vector<std::string>{
                                  "CA.cls Module CA - 5 dead 0 15",
                                  "CA.cls Type T Private 8 dead 0 4",
                                  "CA.cls Const K Friend 12 dead 1 1",  // the string word "k"
                                  "CA.cls Event E Private 13 dead 0 1",
                                  "CA.cls Event F Public 14 dead 0 1",
                                  "CA.cls Const G Public 15 dead 0 1",
                                  "CA.cls Const H Public 15 dead 0 0",
                                  "CA.cls Enum N Public 16 dead 0 3",
                                  "CA.cls Variable a Private 19 dead 0 1",
                                  "CA.cls Variable b Private 19 dead 0 0",
                                  "CA.cls Declare GetTickCount Private 20 dead 0 1",
                                  "CA.cls Property Get P Public 21 dead 0 2",
                              }));
}

TEST(UnusedCode, ModuleRows)
{
    const Analysis analysis(
        kExe, {{"modMain.bas", Module("modMain", kMain)},
               {"frmNoName.frm", "VERSION 5.00\nBegin VB.Form frmNoName\nEnd\nAttribute VB_Exposed = False\n"},
               {"CEmpty.cls", "VERSION 1.0 CLASS\nAttribute VB_Name =\nAttribute VB_Exposed = False\nDim x\n"},
               {"CLate.cls", "VERSION 1.0 CLASS\nAttribute VB_Exposed = False\nAttribute VB_Name = \"CLate\"\n"},
               {"frmGone.frm", "", true}});
    EXPECT_EQ(analysis.All(), (std::vector<std::string>{
                                  "modMain.bas Sub Main Public 2 live 0 2",
                                  "frmNoName.frm Module  - - unknown 0 0",
                                  "CEmpty.cls Module  - 2 unknown 0 1",
                                  "CEmpty.cls Variable x Private 4 unknown 0 1",
                                  "CLate.cls Module CLate - 3 unknown 0 1",
                                  "frmGone.frm Module  - - missing -",
                              }));
}

TEST(UnusedCode, TextReport)
{
    const Analysis analysis(kExe, {{"modMain.bas", Module("modMain", kMain + "Sub Unused()\n    x = 1\nEnd Sub\n")},
                                   {"frmA.frm", Form("frmA", "", "Private Sub Form_Load()\nEnd Sub\n")},
                                   {"frmGone.frm", "", true}});
    EXPECT_EQ(UnusedTextReport(analysis.Code(), "P/Demo.vbp"),
              "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\n"
              "       ソースコード 未使用コード       \n"
              "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\n"
              "プロジェクトファイル ： P/Demo.vbp\n"
              "\n\n"
              "ファイル名 ： modMain.bas\n"
              "状態       ： 使用\n"
              "使用       ：        2 行\n"
              "未使用     ：        0 行\n"
              "公開       ：        0 行\n"
              "不明       ：        3 行\n"
              "  不明 Sub Unused ： 4 行目、3 行\n"
              "\n"
              "ファイル名 ： frmA.frm\n"
              "状態       ： 不明\n"
              "使用       ：        0 行\n"
              "未使用     ：        0 行\n"
              "公開       ：        0 行\n"
              "不明       ：        2 行\n"
              "  不明 Sub Form_Load ： 7 行目、2 行\n"
              "\n"
              "ファイル名 ： frmGone.frm\n"
              "状態       ： ファイルなし\n"
              "\n"
              "                   使用      未使用        公開        不明\n"
              "frmファイル         0行         0行         0行         2行\n"
              "basファイル         2行         0行         0行         3行\n"
              "clsファイル         0行         0行         0行         0行\n"
              "ctlファイル         0行         0行         0行         0行\n"
              "pagファイル         0行         0行         0行         0行\n"
              "dobファイル         0行         0行         0行         0行\n"
              "dsrファイル         0行         0行         0行         0行\n"
              "合計                2行         0行         0行         5行\n"
              "\n\n");
}

}  // namespace
}  // namespace kolvane
