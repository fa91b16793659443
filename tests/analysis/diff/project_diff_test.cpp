#include "analysis/diff/project_diff.h"

#include "analysis/diff/diff_format.h"
#include "project/text/platform.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

// "old -> new" per pair, in report order; "-" for a side without a member.
std::vector<std::string> Pairs(const std::vector<ModulePair>& pairs)
{
    std::vector<std::string> described;
    for (const ModulePair& pair : pairs) {
        described.push_back((pair.older != nullptr ? pair.older->value : "-") + " -> " +
                            (pair.newer != nullptr ? pair.newer->value : "-"));
    }
    return described;
}

TEST(ProjectDiff, ModulesPairByKindAndTitleInAnyCaseKthWithKth)
{
    const auto member = [](ModuleKind kind, const std::string& value) { return Member{kind, value, "/p/" + value}; };
    const std::vector<Member> older = {
        member(ModuleKind::Bas, "Util.bas"),     // first Util.bas
        member(ModuleKind::Bas, "a/Util.bas"),   // second Util.bas
        member(ModuleKind::Bas, "Renamed.bas"),  // renamed since
        member(ModuleKind::Cls, "Same.cls"),
        member(ModuleKind::Cls, "Kind.cls"),     // a class before, a module now
    };
    const std::vector<Member> newer = {
        member(ModuleKind::Bas, "a/UTIL.BAS"),  // pairs with the first Util.bas
        member(ModuleKind::Cls, "x/same.CLS"),
        member(ModuleKind::Bas, "Kind.bas"),
        member(ModuleKind::Bas, "Util.bas"),    // pairs with the second
        member(ModuleKind::Bas, "NewName.bas"),
    };
    EXPECT_EQ(Pairs(PairModules(older, newer, &IsLeadByte)),
              (std::vector<std::string>{"Util.bas -> a/UTIL.BAS", "Same.cls -> x/same.CLS", "- -> Kind.bas",
                                        "a/Util.bas -> Util.bas", "- -> NewName.bas", "Renamed.bas -> -",
                                        "Kind.cls -> -"}));
}

// A module of one row with the status, its figures (none for a module that
// could not be read) and its designer.
ModuleDiff OneRowModule(RowStatus status, std::optional<ChangeCounts> counts, DesignerChange designer)
{
    ModuleDiff module;
    module.kind = ModuleKind::Frm;
    module.status = status;
    module.designer = designer;
    DiffRow row;
    row.declarations = true;
    row.status = status;
    row.counts = counts;
    module.rows.push_back(row);
    return module;
}

struct ChangeCase {
    const char* name;
    ModuleDiff module;
    bool changed;
};

TEST(ProjectDiff, AProjectChangedWhenARowIsAddedChangedOrDeletedOrADesignerChanged)
{
    const ChangeCounts same = CountMatchedPair(3, 3, 3);
    const ChangeCase cases[] = {
        {"unchanged", OneRowModule(RowStatus::Unchanged, same, DesignerChange::No), false},
        {"designer only", OneRowModule(RowStatus::Unchanged, same, DesignerChange::Yes), true},
        {"module added without steps", OneRowModule(RowStatus::Added, CountAdded(0), DesignerChange::NotApplicable),
         true},
        {"module deleted without steps", OneRowModule(RowStatus::Deleted, CountDeleted(0), DesignerChange::NotApplicable),
         true},
        {"procedure changed", OneRowModule(RowStatus::Changed, CountMatchedPair(3, 4, 2), DesignerChange::No), true},
        {"module missing", OneRowModule(RowStatus::Missing, std::nullopt, DesignerChange::NotApplicable), false},
    };
    ProjectDiff all;
    for (const ChangeCase& c : cases) {
        ProjectDiff diff;
        diff.modules = {c.module, OneRowModule(RowStatus::Unchanged, same, DesignerChange::NotApplicable)};
        EXPECT_EQ(SummarizeChanges(diff).changed, c.changed) << c.name;
        all.modules.push_back(c.module);
    }
    // The figures of every row added up; the modules whose designer changed.
    const ChangeFigures figures = SummarizeChanges(all);
    EXPECT_EQ(figures.counts.added, 1);
    EXPECT_EQ(figures.counts.changed, 1);
    EXPECT_EQ(figures.counts.deleted, 0);
    EXPECT_EQ(figures.counts.unchanged, 3 + 3 + 2);
    EXPECT_EQ(figures.counts.oldSteps, 3 + 3 + 3);
    EXPECT_EQ(figures.counts.newSteps, 3 + 3 + 4);
    EXPECT_EQ(figures.designerChangedModules, 1);
}

// A layout of fixed texts, so that the file shows every write.
class FixedFormat final : public DiffFormat {
public:
    explicit FixedFormat(bool textMode) : textMode_(textMode) {}
    std::string Head(const DiffHeading& heading) const override { return std::string(heading.newProject) + "\n"; }
    void AppendModule(const ModuleDiff&, std::string& part) const override { part += "m\n"; }
    std::string_view Separator() const override { return ","; }
    std::string Tail(const DiffTotals&) const override { return "end\n"; }
    bool TextMode() const override { return textMode_; }

private:
    bool textMode_;
};

TEST(DiffOutputFile, WritesThePartsAsTheyComeAndLeavesNoFileNeverClosed)
{
    testing::TempDir dir;
    for (const bool textMode : {true, false}) {
        SCOPED_TRACE(textMode ? "text mode" : "binary");
        const FixedFormat format(textMode);
        const std::string path = dir.Path("out.txt");
        {
            DiffOutputFile file(format, path, {"old.vbp", "new.vbp"});
            file.Append("a\n");
            file.Append("b\n");
            EXPECT_TRUE(file.Close(DiffTotals{}));
        }
        EXPECT_EQ(dir.Read("out.txt"), textMode ? "new.vbp\r\na\r\n,b\r\nend\r\n" : "new.vbp\na\n,b\nend\n");
        {
            DiffOutputFile file(format, path, {"old.vbp", "new.vbp"});
            file.Append("a\n");
        }  // the run stopped before its end
        EXPECT_FALSE(testing::PathExists(path));
    }
}

}  // namespace
}  // namespace kolvane
