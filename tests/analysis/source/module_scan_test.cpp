#include "analysis/source/module_scan.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

constexpr std::string_view kHeader = "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\nAttribute VB_Exposed = False\r\n";

ModuleScan Scan(std::string_view bytes, ModuleKind kind, std::string& text)
{
    text.assign(bytes);
    ModuleScan module;
    ScanModule(text, text.find('\0') != std::string::npos, kind, module);
    return module;
}

// The pieces of a statement as "line:text" items.
std::vector<std::string> Pieces(const ModuleScan& module, const Statement& statement)
{
    std::vector<std::string> pieces;
    ForEachStatementPiece(module, statement, [&](std::string_view piece, std::uint32_t line) {
        pieces.push_back(std::to_string(line) + ":" + std::string(piece));
    });
    return pieces;
}

TEST(ModuleScan, StatementsAreTheStepsWithTheContinuedPiecesBefore)
{
    const std::string longLine = std::string(600, 'x') + " _\r\n" + std::string(509, 'y') + " _ tail\r\n";
    const std::string body = "x = a _\r\n\r\n' gone _\r\ny = 1 _\r\n  ' c\r\nOption Base 1\r\nz\r\n" + longLine +
                             "\tq = 1\r\nw = 2\rv = 3\r\n" + std::string("a\0b _\r\nc\r\n", 10);
    std::string text;
    const ModuleScan module = Scan(body, ModuleKind::Bas, text);
    std::vector<std::vector<std::string>> statements;
    for (const Statement& statement : module.statements) statements.push_back(Pieces(module, statement));
    const std::vector<std::vector<std::string>> expected = {
        {"7:z"},
        {"8:" + std::string(510, 'x')},  // a piece of 510 bytes is a step of its own
        {"8:" + std::string(90, 'x') + " _", "9:" + std::string(509, 'y') + " "},  // " _" cut: in neither piece
        {"9:_ tail"},
        {"10:\tq = 1"},
        {"11:w = 2\rv = 3"},  // a lone CR ends no line
        {"12:a"},  // a NUL ends the piece's text
        {"13:c"},
    };
    EXPECT_EQ(statements, expected);
    EXPECT_EQ(module.steps, 8 - 1);
    EXPECT_EQ(module.comments, 2);
}

// A statement's first piece and its lines, which the scan keeps for a line
// it read whole, are what reading its pieces again gives.
TEST(ModuleScan, FirstPieceAndLinesAreThoseOfItsPieces)
{
    const std::string body = "Sub A(x, _\r\n  y)\r\nx = 1\r\n" + std::string(600, 'z') + "\r\ns = a _ b" +
                             std::string(600, 'c') + "\r\n" +
                             std::string("Sub B\0C()\r\nEnd Sub\0x\r\nw = 2\rv = 3\nq _\r\n r\0s\r\n", 45);
    std::string text;
    const ModuleScan module = Scan(body, ModuleKind::Bas, text);
    ASSERT_EQ(module.statements.size(), 9u);
    for (const Statement& statement : module.statements) {
        std::vector<std::string> lines;  // "line:text", the pieces of a line put together
        std::uint32_t last = 0;
        ForEachStatementPiece(module, statement, [&](std::string_view piece, std::uint32_t line) {
            if (lines.empty() || line != last) lines.push_back(std::to_string(line) + ":");
            lines.back().append(piece);
            last = line;
        });
        std::vector<std::string> read;
        std::string storage;
        ForEachStatementLine(module, statement, storage, [&](std::string_view line, std::uint32_t number, bool) {
            read.push_back(std::to_string(number) + ":" + std::string(line));
        });
        EXPECT_EQ(read, lines);
        RawLinePieces reads(module.text, module.holdsNul, statement.begin);
        EXPECT_EQ(FirstPiece(module, statement), reads.Read(kCounterReadSize).text);
        EXPECT_EQ(std::to_string(statement.line) + ":" + std::string(FirstStatementLine(module, statement, storage)),
                  lines.front());
    }
}

TEST(ModuleScan, HeaderEndsWithTheExposedLine)
{
    std::string text;
    const ModuleScan form = Scan(std::string(kHeader) + "x = 1\r\n", ModuleKind::Ctl, text);
    EXPECT_TRUE(form.headerEnded);
    EXPECT_EQ(form.Header(), kHeader);
    EXPECT_EQ(form.codeLine, 5u);
    ASSERT_EQ(form.statements.size(), 1u);
    EXPECT_EQ(form.statements[0].line, 5u);

    const ModuleScan headless = Scan("Sub A()\r\nEnd Sub\r\n", ModuleKind::Pag, text);
    EXPECT_FALSE(headless.headerEnded);
    EXPECT_EQ(headless.Header(), text);
    EXPECT_TRUE(headless.statements.empty());
    EXPECT_TRUE(FindProcedures(headless).empty());
}

std::string Describe(const ModuleScan& module, const Procedure& p)
{
    std::string declaration;
    JoinDeclaration(module, p, declaration);
    return std::string(ProcedureKindText(p.kind)) + "|" + p.name + "|" + std::string(ScopeText(p.scope)) + "|" +
           std::to_string(p.line) + "|" + std::to_string(p.Steps()) + "|" + declaration;
}

TEST(ModuleScan, FindsProcedures)
{
    struct Case {
        const char* name;
        std::string source;  // a standard module
        std::vector<std::string> procedures;
    };
    const Case cases[] = {
        {"scopes, static and kinds",
         "Dim a\r\npublic static Function F$(x) As String\r\nF = \"\"\r\nEND function\r\n"
         "Friend Property Let P(v)\r\nEnd Property\r\nStatic Sub S()\r\nEnd Sub\r\n",
         {"Function|F|Public|2|3|public static Function F$(x) As String", "Property Let|P|Friend|5|2|Friend Property Let P(v)",
          "Sub|S|Public|7|2|Static Sub S()"}},
        {"continued declaration, comment lines inside",
         "' head\r\nPrivate Sub Long_1( _\r\n    a As Long , _\r\n\tb)\r\n' inside\r\n  x = 1\r\nEnd Sub ' done\r\n",
         {"Sub|Long_1|Private|2|3|Private Sub Long_1( a As Long , b)"}},
        {"one-line procedure, end inside a string is not an end",
         "Sub A(): End Sub\r\nSub B(): x = \": End Sub\"\r\nEnd Sub\r\nSub C() ' : End Sub\r\nEnd Sub\r\n",
         {"Sub|A|Public|1|1|Sub A(): End Sub", "Sub|B|Public|2|2|Sub B(): x = \": End Sub\"",
          "Sub|C|Public|4|2|Sub C() ' : End Sub"}},
        {"second start inside a procedure, no end",
         "#If A Then\r\nSub X(a)\r\n#Else\r\nSub X()\r\n#End If\r\nEnd Sub\r\nFunction Y()\r\nz = 1\r\n",
         {"Sub|X|Public|2|5|Sub X(a)", "Function|Y|Public|7|2|Function Y()"}},
        {"not starts: declare, names, words, continued name",
         "Declare Sub K Lib \"k\" ()\r\nSub_Count = 1\r\nSub 1A()\r\nProperty Value()\r\nSub _\r\nN()\r\n",
         {}},
        {"keywords with type characters, names and words running on into double-byte characters",
         "Private$ Sub A()\r\nSub$ B()\r\nSub C\x83\x41()\r\nEnd$ Sub\r\nEnd Sub\x83\x41\r\nEnd Subx\r\nEnd\r\n"
         "End Sub$\r\nProperty  Get\tD()\r\nEnd Property\r\n",
         {"Sub|C\x83\x41|Public|3|6|Sub C\x83\x41()", "Property Get|D|Public|9|2|Property  Get\tD()"}},
        {"Shift_JIS name with an ASCII trail byte; a lead byte without one",
         "Sub \x83\x5C\x83\x74\x83\x67_1(): End Sub\r\nSub X\x81(): End Sub\r\n",
         {"Sub|\x83\x5C\x83\x74\x83\x67_1|Public|1|1|Sub \x83\x5C\x83\x74\x83\x67_1(): End Sub",
          "Sub|X\x81|Public|2|1|Sub X\x81(): End Sub"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        std::vector<std::string> found;
        const ModuleScan module = Scan(c.source, ModuleKind::Bas, text);
        for (const Procedure& p : FindProcedures(module)) found.push_back(Describe(module, p));
        EXPECT_EQ(found, c.procedures);
    }
}

TEST(ModuleScan, FindsApiDeclarations)
{
    const std::string source =
        "Private Declare PtrSafe Function GetTickCount& Lib \"kernel32\" () As Long\r\n"
        "Public Declare Sub Sleep _\r\n    Lib \"kernel32\" Alias \"SleepEx\"   _\r\n    (ByVal ms As Long)\r\n"
        "Sub A()\r\n  Declare Function NoLib()\r\nEnd Sub\r\n"
        "Declare Function Open Lib \"unclosed\r\n";
    std::string text;
    std::vector<std::string> found;
    for (const ApiDeclaration& d : FindApiDeclarations(Scan(source, ModuleKind::Bas, text))) {
        found.push_back(std::string(ProcedureKindText(d.kind)) + "|" + d.name + "|" + std::string(ScopeText(d.scope)) +
                        "|" + d.library + "|" + d.alias + "|" + std::to_string(d.line) + "|" + d.declaration);
    }
    const std::vector<std::string> expected = {
        "Function|GetTickCount|Private|kernel32||1|Private Declare PtrSafe Function GetTickCount& Lib \"kernel32\" () As Long",
        "Sub|Sleep|Public|kernel32|SleepEx|2|Public Declare Sub Sleep Lib \"kernel32\" Alias \"SleepEx\" (ByVal ms As Long)",
        "Function|NoLib|Public|||6|Declare Function NoLib()",
        "Function|Open|Public|unclosed||8|Declare Function Open Lib \"unclosed",
    };
    EXPECT_EQ(found, expected);
}

std::string DescribeApi(const ApiDeclaration& d)
{
    return std::string(ProcedureKindText(d.kind)) + "|" + d.name + "|" + std::string(ScopeText(d.scope)) + "|" +
           d.library + "|" + d.alias + "|" + std::to_string(d.line) + "|" + std::to_string(d.statement) + "|" +
           d.declaration;
}

// Module after module, procedures and declarations made from the objects of
// the modules before give what a walk from nothing gives (no text of an
// earlier module left in them), and the spares hold no more objects than
// the largest module needed.
TEST(ModuleScan, SparesGiveWhatAFreshWalkGivesAndStayBounded)
{
    const std::string sources[] = {
        "Private Declare Function A Lib \"a32\" Alias \"AliasA\" () As Long\r\n"
        "Declare Sub B Lib \"b32\" Alias \"AliasB\" ()\r\nSub One(x)\r\nEnd Sub\r\nFunction Two()\r\nEnd Function\r\n"
        "Private Property Get Three()\r\nEnd Property\r\n",
        "Declare Sub C Lib \"c\" ()\r\nSub Four(): End Sub\r\n",
        "x = 1\r\n",
        "Declare Function D()\r\nPublic Static Sub Five _\r\n (a)\r\n",
    };
    std::vector<Procedure> procedures;
    std::vector<ApiDeclaration> apis;
    DeclarationSpares spares;
    for (int round = 0; round < 2; ++round) {
        for (const std::string& source : sources) {
            SCOPED_TRACE(source);
            std::string text;
            const ModuleScan module = Scan(source, ModuleKind::Bas, text);
            spares.Keep(procedures, apis);
            std::vector<std::string> expected, found;
            for (const Procedure& p : FindProcedures(module)) expected.push_back(Describe(module, p));
            if (round == 0) {
                FindProceduresAndApis(module, procedures, apis, spares);
                for (const ApiDeclaration& d : FindApiDeclarations(module)) expected.push_back(DescribeApi(d));
            } else {
                FindProcedures(module, procedures, spares);
            }
            for (const Procedure& p : procedures) found.push_back(Describe(module, p));
            for (const ApiDeclaration& d : apis) found.push_back(DescribeApi(d));
            EXPECT_EQ(found, expected);
            EXPECT_LE(spares.procedures.size() + procedures.size(), 3u);
            EXPECT_LE(spares.apis.size() + apis.size(), 2u);
        }
    }
}

}  // namespace
}  // namespace kolvane
