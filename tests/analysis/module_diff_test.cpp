#include "analysis/diff/module_diff.h"

#include "project/platform.h"

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

ModuleDiff Diff(ModuleKind kind, std::string_view older, std::string_view newer)
{
    const ModuleVersion oldSource{SourceState::Read, older};
    const ModuleVersion newSource{SourceState::Read, newer};
    return DiffModule(kind, "m", &oldSource, &newSource, &IsLeadByte);
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
         {"unchanged (declarations) 0/0/0/1 1/1", "unchanged Function B 0/0/0/3 3/3",
          "unchanged Sub A 0/0/0/3 3/3"}},
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
}

TEST(ModuleDiff, OneSidedAndFailedVersions)
{
    const std::string text = std::string(kFormHeader) + "Dim n\nSub A()\nEnd Sub\n";
    const ModuleVersion read{SourceState::Read, text};
    const ModuleVersion missing{SourceState::Missing, {}};
    const ModuleVersion unreadable{SourceState::Unreadable, {}};
    const auto rows = [](const ModuleVersion* older, const ModuleVersion* newer) {
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
