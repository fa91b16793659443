#include "analysis/diff/project_diff.h"

#include "project/text/platform.h"

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

}  // namespace
}  // namespace kolvane
