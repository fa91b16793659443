#include "analysis/diff/module_diff.h"

#include "project/text/platform.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

constexpr std::string_view kFormHeader =
    "VERSION 5.00\nBegin VB.Form frmMain\n   Caption = \"Main\"\nEnd\nAttribute VB_Name = \"frmMain\"\n"
    "Attribute VB_Exposed = False\n";

// "status procedure name added/changed/deleted/unchanged old_steps/new_steps" per row.
std::vector<std::string> Rows(const ModuleDiff& diff)
{
    std::vector<std::string> rows;
    for (const DiffRow& row : diff.rows) {
        std::string text(RowStatusText(row.status));
        text += row.declarations ? " (declarations)" : " " + std::string(ProcedureKindText(row.kind)) + " " + row.name;
        if (const auto& c = row.counts) {
            text += " " + std::to_string(c->added) + "/" + std::to_string(c->changed) + "/" +
                    std::to_string(c->deleted) + "/" + std::to_string(c->unchanged) + " " +
                    std::to_string(c->oldSteps) + "/" + std::to_string(c->newSteps);
            EXPECT_EQ(c->oldSteps, c->unchanged + c->changed + c->deleted) << text;
            EXPECT_EQ(c->newSteps, c->unchanged + c->changed + c->added) << text;
        }
        rows.push_back(text);
    }
    return rows;
}

// A version of a module read from a file of those bytes and scanned to its
// procedures; without bytes, a file that is missing (or a folder: unreadable).
struct Version {
    Version(ModuleKind kind, const std::string& bytes) { Read(kind, dir.Write("m", bytes)); }
    Version(ModuleKind kind, SourceStatus status)
    {
        Read(kind, status == SourceStatus::Missing ? dir.Path("none") : dir.Folder("folder"));
    }
    void Read(ModuleKind kind, const std::string& path)
    {
        module.Read(path, kind);
        module.Scan(ScanDepth::Procedures);
    }

    testing::TempDir dir;
    ScannedModule module;
};

ModuleDiff Diff(ModuleKind kind, const std::string& older, const std::string& newer)
{
    const Version oldVersion(kind, older), newVersion(kind, newer);
    return DiffModule(kind, "m", &oldVersion.module, &newVersion.module, &IsLeadByte);
}

struct DiffCase {
    const char* what;
    std::string older;
    std::string newer;
    std::vector<std::string> rows;
};

TEST(ModuleDiff, CountsEveryRowOfAStandardModule)
{
    const std::string a = "Sub A()\n  x = 1\nEnd Sub\n";
    const std::string b = "Private Function B() As Long\n  B = 2\nEnd Function\n";
    const DiffCase cases[] = {
        {"a moved procedure is unchanged",
         "Dim n As Long\n" + a + b,
         "Dim n As Long\n" + b + a,
         {"unchanged (declarations) 0/0/0/1 1/1", "unchanged Function B 0/0/0/3 3/3", "unchanged Sub A 0/0/0/3 3/3"}},
        {"re-cased identifiers and an edited trailing comment are unchanged",
         "Sub A() ' first\n  Total = 1 ' one\nEnd Sub\n",
         "sub a()\n  total = 1 ' uno\nEND SUB\n",
         {"unchanged (declarations) 0/0/0/0 0/0", "unchanged Sub a 0/0/0/3 3/3"}},
        {"a re-cased string literal is changed",
         "Sub A()\n  s = \"abc\"\nEnd Sub\n",
         "Sub A()\n  s = \"ABC\"\nEnd Sub\n",
         {"unchanged (declarations) 0/0/0/0 0/0", "changed Sub A 0/1/0/2 3/3"}},
        {"a continued statement edited on one of its lines counts once",
         "Sub A()\n  Call f(1, _\n         2, _\n         3)\nEnd Sub\n",
         "Sub A()\n  Call f(1, _\n         9, _\n         3)\n  y = 2\nEnd Sub\n",
         {"unchanged (declarations) 0/0/0/0 0/0", "changed Sub A 1/1/0/2 3/4"}},
        {"an added and a deleted procedure; the new file's order, then the old file's",
         "Dim n As Long\n" + a,
         "Dim n As Long\nDim m As Long\n" + b,
         {"changed (declarations) 1/0/0/1 1/2", "added Function B 3/0/0/0 0/3", "deleted Sub A 0/0/3/0 3/0"}},
        {"duplicate names pair k-th with k-th",
         "Sub D()\n  x = 1\nEnd Sub\nSub D()\n  x = 2\nEnd Sub\n",
         "Sub D()\n  x = 1\nEnd Sub\nSub D()\n  x = 3\nEnd Sub\nSub D()\nEnd Sub\n",
         {"unchanged (declarations) 0/0/0/0 0/0", "unchanged Sub D 0/0/0/3 3/3", "changed Sub D 0/1/0/2 3/3",
          "added Sub D 2/0/0/0 0/2"}},
        {"statements alike before and after the one changed, around added comment lines and long statements",
         "Sub A()\n  s = \"" + std::string(300, 'x') + "\"\n  y = 1\n  z = 2\n  t = \"" + std::string(600, 'y') +
             "\"\nEnd Sub\n",
         "Sub A()\n  s = \"" + std::string(300, 'x') + "\"\n  ' note\n  y = 1\n  z = 9\n  ' more\n  t = \"" +
             std::string(600, 'y') + "\"\nEnd Sub\n",
         {"unchanged (declarations) 0/0/0/0 0/0", "changed Sub A 0/1/0/6 7/7"}},  // 600 bytes: two pieces
        {"the statements alike at the end stop where those alike at the start begin",
         "Sub A()\n  x = 1\n  y = 1\nEnd Sub\n",
         "Sub A()\n  x = 1\n  z = 2\n  x = 1\n  y = 1\nEnd Sub\n",
         {"unchanged (declarations) 0/0/0/0 0/0", "changed Sub A 2/0/0/4 4/6"}},
        {"a procedure whole on its declaration statement",
         "Sub A(): End Sub\nSub B()\n  x = 1\nEnd Sub\n",
         "Sub A(): End Sub\nSub B()\n  x = 2\nEnd Sub\n",
         {"unchanged (declarations) 0/0/0/0 0/0", "unchanged Sub A 0/0/0/1 1/1", "changed Sub B 0/1/0/2 3/3"}},
        {"the module name header is no statement, in any case",
         "Attribute VB_Name = \"modOld\"\nDim n As Long\n",
         "ATTRIBUTE vb_name = \"modNew\"\nDim n As Long\n",
         {"unchanged (declarations) 0/0/0/1 1/1"}},
    };
    for (const DiffCase& c : cases) {
        const ModuleDiff diff = Diff(ModuleKind::Bas, c.older, c.newer);
        EXPECT_EQ(Rows(diff), c.rows) << c.what;
        EXPECT_EQ(diff.designer, DesignerChange::NotApplicable) << c.what;
    }
}

TEST(ModuleDiff, DesignerOnlyChangeIsNoStep)
{
    std::string moved(kFormHeader);
    moved.replace(moved.find("Main\""), 4, "Haupt");
    const std::string code = "Private Sub Form_Load()\n  Show\nEnd Sub\n";
    const ModuleDiff diff = Diff(ModuleKind::Frm, std::string(kFormHeader) + code, moved + code);
    EXPECT_EQ(diff.designer, DesignerChange::Yes);
    EXPECT_EQ(diff.status, RowStatus::Unchanged);
    EXPECT_EQ(Rows(diff), (std::vector<std::string>{"unchanged (declarations) 0/0/0/0 0/0",
                                                     "unchanged Sub Form_Load 0/0/0/3 3/3"}));
    EXPECT_EQ(Diff(ModuleKind::Frm, std::string(kFormHeader) + code, std::string(kFormHeader)).designer,
              DesignerChange::No);
    // Line ends as stored do not change a designer.
    std::string crlf(kFormHeader);
    for (std::size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2)) crlf.insert(at, "\r");
    EXPECT_EQ(Diff(ModuleKind::Frm, std::string(kFormHeader) + code, crlf + code).designer, DesignerChange::No);
}

TEST(ModuleDiff, OneSidedAndFailedVersions)
{
    const std::string text = std::string(kFormHeader) + "Dim n\nSub A()\nEnd Sub\n";
    const Version readVersion(ModuleKind::Frm, text);
    const Version missingVersion(ModuleKind::Frm, SourceStatus::Missing);
    const Version unreadableVersion(ModuleKind::Frm, SourceStatus::Unreadable);
    const ScannedModule& read = readVersion.module;
    const ScannedModule& missing = missingVersion.module;
    const ScannedModule& unreadable = unreadableVersion.module;
    const auto rows = [](const ScannedModule* older, const ScannedModule* newer) {
        return Rows(DiffModule(ModuleKind::Frm, "m", older, newer, &IsLeadByte));
    };
    using Expected = std::vector<std::string>;
    EXPECT_EQ(rows(nullptr, &read), (Expected{"added (declarations) 1/0/0/0 0/1", "added Sub A 2/0/0/0 0/2"}));
    EXPECT_EQ(rows(&read, nullptr), (Expected{"deleted (declarations) 0/0/1/0 1/0", "deleted Sub A 0/0/2/0 2/0"}));
    EXPECT_EQ(rows(&read, &missing), (Expected{"missing (declarations)", "missing Sub A"}));
    EXPECT_EQ(rows(&missing, &read), (Expected{"missing (declarations)", "missing Sub A"}));
    EXPECT_EQ(rows(&unreadable, &missing), (Expected{"missing (declarations)"}));
    EXPECT_EQ(rows(nullptr, &unreadable), (Expected{"unreadable (declarations)"}));
    EXPECT_EQ(DiffModule(ModuleKind::Frm, "m", nullptr, &read, &IsLeadByte).designer, DesignerChange::Yes);
    EXPECT_EQ(DiffModule(ModuleKind::Frm, "m", &read, &missing, &IsLeadByte).designer,
              DesignerChange::NotApplicable);
}

}  // namespace
}  // namespace kolvane
