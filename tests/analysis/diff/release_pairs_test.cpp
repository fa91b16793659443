#include "analysis/diff/release_pairs.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kolvane {
namespace {

// Projects of one release given by their relative paths; each path is the
// release's folder ("old" or "new") and the relative path.
std::vector<ListedProject> Release(std::string_view folder, const std::vector<std::string>& relatives)
{
    std::vector<ListedProject> projects;
    for (const std::string& relative : relatives) projects.push_back({std::string(folder) + "/" + relative, relative});
    return projects;
}

// "o1 -> n0 [sub]" per pair: the indexes of the old and the new project
// ("-" for none) and the subfolder with '/' for the platform's separator.
std::vector<std::string> Describe(const std::vector<ReleasePair>& pairs, const std::vector<ListedProject>& older,
                                  const std::vector<ListedProject>& newer)
{
    std::vector<std::string> described;
    for (const ReleasePair& pair : pairs) {
        std::string text = pair.older != nullptr ? "o" + std::to_string(pair.older - older.data()) : "-";
        text += " -> ";
        text += pair.newer != nullptr ? "n" + std::to_string(pair.newer - newer.data()) : "-";
        std::string subfolder = pair.subfolder;
        std::replace(subfolder.begin(), subfolder.end(), testing::kSep, '/');
        if (!subfolder.empty()) text += " [" + subfolder + "]";
        described.push_back(text);
    }
    return described;
}

struct PairingCase {
    const char* name;
    std::vector<std::string> older;
    std::vector<std::string> newer;
    std::vector<std::string> pairs;
};

const PairingCase kPairings[] = {
    {"AnyCaseEitherSeparator", {"Sales\\Sales.vbp", "Stock/STOCK.VBP"}, {"stock\\Stock.vbp", "SALES/sales.vbp"},
     {"o1 -> n0", "o0 -> n1"}},
    {"AddedInNewOrderThenDroppedInOldOrder", {"Gone2.vbp", "Kept.vbp", "Gone1.vbp"}, {"New.vbp", "Kept.vbp"},
     {"- -> n0", "o1 -> n1", "o0 -> -", "o2 -> -"}},
    // As two groups list them, relative to the groups' folders.
    {"GroupAgainstGroup", {"..\\Shared\\Util.vbp", "App\\App.vbp"}, {"App\\App.vbp", "..\\shared\\UTIL.vbp", "..\\Util.vbp"},
     {"o1 -> n0", "o0 -> n1 [shared]", "- -> n2"}},
    {"PathListedTwicePairsKthWithKth", {"A.vbp", "B.vbp", "a.vbp", "A.vbp"}, {"a.VBP", "A.vbp"},
     {"o0 -> n0", "o2 -> n1", "o1 -> -", "o3 -> -"}},
    {"PathListedMoreOftenInNewIsAddedAgain", {"A.vbp"}, {"A.vbp", "a.vbp"}, {"o0 -> n0", "- -> n1"}},
    // Same titles pair by their folders; their reports go into them, the
    // new side's spelling first, "." and ".." left out.
    {"SameTitlesInOtherFolders", {"sales\\App.vbp", "Stock\\App.vbp", "Top.vbp"},
     {"Sales\\App.vbp", ".\\Stock\\..\\x\\App.vbp", "Top.vbp"},
     {"o0 -> n0 [Sales]", "- -> n1 [Stock/x]", "o2 -> n2", "o1 -> - [Stock]"}},
    {"ReportNamesCollideInAnyCase", {"Old\\app.vbp"}, {"New\\APP.vbp"}, {"- -> n0 [New]", "o0 -> - [Old]"}},
    {"ADriveIsNoSubfolder", {"C:\\Sys\\App.vbp"}, {"App.vbp"}, {"- -> n0", "o0 -> - [Sys]"}},
    {"TwoLetterFoldersAreNoDrives", {"UI\\App.vbp"}, {"DB\\App.vbp"}, {"- -> n0 [DB]", "o0 -> - [UI]"}},
    // The trail byte of a double-byte character is neither a separator nor
    // folded: "ソ" ends in '\', "ア" and "ャ" differ in the case of theirs.
    {"DoubleByteCharactersKeptWhole", {"\x83\x5C\\App.vbp", "\x83\x41.vbp"}, {"\x83\x5C/app.vbp", "\x83\x61.vbp"},
     {"o0 -> n0", "- -> n1", "o1 -> -"}},
};

class ReleasePairing : public ::testing::TestWithParam<PairingCase> {};

TEST_P(ReleasePairing, PairsAndSubfolders)
{
    const PairingCase& c = GetParam();
    const std::vector<ListedProject> older = Release("old", c.older);
    const std::vector<ListedProject> newer = Release("new", c.newer);
    EXPECT_EQ(Describe(PairReleases(older, newer), older, newer), c.pairs);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReleasePairing, ::testing::ValuesIn(kPairings),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kolvane
