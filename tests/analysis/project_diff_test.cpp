#include "analysis/diff/project_diff.h"

#include "project/platform.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::TempDir;

// "file kind status" per module, in report order.
std::vector<std::string> Modules(const ProjectDiff& diff)
{
    std::vector<std::string> modules;
    for (const ModuleDiff& module : diff.modules) {
        modules.push_back(module.file + " " + std::string(KindText(module.kind)) + " " +
                          std::string(RowStatusText(module.status)));
    }
    return modules;
}

TEST(ProjectDiff, ModulesPairByKindAndTitleInAnyCaseKthWithKth)
{
    TempDir dir;
    const std::string bas = "Sub A()\r\n  x = 1\r\nEnd Sub\r\n";
    const std::string edited = "Sub A()\r\n  x = 2\r\nEnd Sub\r\n";
    const std::string cls = "VERSION 1.0 CLASS\r\nAttribute VB_Exposed = False\r\n" + bas;
    const auto member = [&](ModuleKind kind, const std::string& name, const std::string& bytes) {
        return Member{kind, name, bytes.empty() ? dir.Path(name) : dir.Write(name, bytes)};
    };
    dir.Folder("old");
    dir.Folder("new");
    dir.Folder("old/a");
    dir.Folder("new/a");
    dir.Folder("new/Folder.bas");
    const std::vector<Member> older = {
        member(ModuleKind::Bas, "old/Util.bas", bas),       // first Util.bas
        member(ModuleKind::Bas, "old/a/Util.bas", bas),     // second Util.bas
        member(ModuleKind::Bas, "old/Renamed.bas", bas),    // renamed since
        member(ModuleKind::Cls, "old/Same.cls", ""),        // missing in the old version only
        member(ModuleKind::Bas, "old/Folder.bas", bas),     // a folder in the new version
        member(ModuleKind::Cls, "old/Kind.cls", bas),       // a class before, a module now
    };
    const std::vector<Member> newer = {
        member(ModuleKind::Bas, "new/a/UTIL.BAS", edited),  // pairs with the first Util.bas
        member(ModuleKind::Cls, "new/Same.cls", cls),
        member(ModuleKind::Bas, "new/Kind.bas", bas),
        member(ModuleKind::Bas, "new/Util.bas", bas),       // pairs with the second
        member(ModuleKind::Bas, "new/Folder.bas", ""),
        member(ModuleKind::Bas, "new/NewName.bas", bas),
    };
    const ProjectDiff diff = DiffProjects("old/P.vbp", older, "new/P.vbp", newer, &IsLeadByte);
    EXPECT_EQ(Modules(diff), (std::vector<std::string>{"UTIL.BAS bas changed", "Same.cls cls missing",
                                                       "Kind.bas bas added", "Util.bas bas unchanged",
                                                       "Folder.bas bas unreadable", "NewName.bas bas added",
                                                       "Renamed.bas bas deleted", "Kind.cls cls deleted"}));
    ASSERT_EQ(diff.modules[1].rows.size(), 2u);  // the declarations row and Sub A of the version read
    EXPECT_FALSE(diff.modules[1].rows[1].counts.has_value());
}

}  // namespace
}  // namespace kolvane
