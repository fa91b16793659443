#include "project/model/member_list.h"

#include "project/model/project_search.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kolvane {
namespace {

using testing::kSep;
using testing::TempDir;

class RecordingReporter : public Reporter {
public:
    void Message(std::string_view text, std::string_view) override { messages.emplace_back(text); }
    void Trace(std::string_view) override {}
    std::vector<std::string> messages;
};

std::vector<std::string> Describe(const std::vector<Member>& members)
{
    std::vector<std::string> rows;
    for (const Member& m : members) rows.push_back(std::string(KindText(m.kind)) + "|" + m.value + "|" + m.path);
    return rows;
}

TEST(MemberList, EveryKindInLineOrder)
{
    TempDir dir;
    const std::string project = dir.Write("P.vbp", std::string("Type=Exe\r\n"
                                                               "UserControl=Ctl\\Dial.ctl\r\n"
                                                               "Form=Main.frm\r\n"
                                                               "IconForm=\"Main\"\r\n"
                                                               "Module=Util; Util.bas\r\n"
                                                               "Module=NoSemicolon.bas\r\n"
                                                               "Class=Calc; ..\\Calc.cls\r\n"
                                                               " PropertyPage=NotAtStart.pag\r\n"
                                                               "PropertyPage=Page.pag\r\n"
                                                               "UserDocument=Doc.dob\r\n"
                                                               "Designer=Rep") +
                                                       std::string("\0ignored\r\nDesigner=", 19) +
                                                       std::string(600, 'd') + ".dsr");
    std::vector<Member> members;
    ASSERT_EQ(ReadMemberList(project, members), ProjectStatus::Ok);
    const std::string folder = dir.Root() + kSep;
    const std::string parent = std::filesystem::path(dir.Root()).parent_path().string() + kSep;
    const std::vector<std::string> expected = {
        "ctl|Ctl\\Dial.ctl|" + folder + "Ctl\\Dial.ctl",
        "frm|Main.frm|" + folder + "Main.frm",
        "bas|Util.bas|" + folder + "Util.bas",
        "cls|..\\Calc.cls|" + parent + "Calc.cls",
        "pag|Page.pag|" + folder + "Page.pag",
        "dob|Doc.dob|" + folder + "Doc.dob",
        "dsr|Rep|" + folder + "Rep",
        "dsr|" + std::string(600, 'd') + ".dsr|" + folder + std::string(600, 'd') + ".dsr",
    };
    EXPECT_EQ(Describe(members), expected);

    EXPECT_EQ(ReadMemberList(dir.Path("None.vbp"), members), ProjectStatus::NotFound);
    EXPECT_EQ(ReadMemberList(dir.Folder("Sub.vbp"), members), ProjectStatus::Unreadable);
}

#ifndef _WIN32
TEST(ProjectSearch, FoldersInByteOrderOnceEachAndGroups)
{
    TempDir dir;
    dir.Folder("tree");
    dir.Folder("tree/b");
    dir.Folder("tree/a");
    const std::string second = dir.Write("tree/b/Second.VBP", "");
    const std::string first = dir.Write("tree/a/First.vbp", "");
    const std::string top = dir.Write("tree/Top.vbp", "");
    dir.Write("tree/a/notes.txt", "");
    std::filesystem::create_directory_symlink(dir.Path("tree"), dir.Path("tree/a/loop"));
    const std::string group = dir.Write("G.vbg", "VBGROUP 5.0\r\nStartupProject=tree\\Top.vbp\r\n"
                                                 "Project=tree\\a\\First.vbp\r\nxProject=No.vbp\r\n");

    RecordingReporter reporter;
    std::vector<ListedProject> listed;
    EXPECT_TRUE(AddProjectsOf(dir.Path("tree"), listed, reporter));
    EXPECT_TRUE(AddProjectsOf(group, listed, reporter));
    EXPECT_TRUE(AddProjectsOf(dir.Path("Missing.vbg"), listed, reporter));
    std::vector<std::string> projects;
    for (const ListedProject& project : listed) projects.push_back(project.path);
    const std::string folder = dir.Root() + kSep;
    const std::vector<std::string> expected = {top, first, second, folder + "tree\\Top.vbp",
                                               folder + "tree\\a\\First.vbp", dir.Path("Missing.vbg")};
    EXPECT_EQ(projects, expected);
    EXPECT_TRUE(reporter.messages.empty());
}
#endif

// "relative|path" per project.
std::vector<std::string> Describe(const std::vector<ListedProject>& projects)
{
    std::vector<std::string> rows;
    for (const ListedProject& p : projects) rows.push_back(p.relative + "|" + p.path);
    return rows;
}

TEST(ProjectSearch, ReleasesListRelativePaths)
{
    TempDir dir;
    dir.Folder("tree");
    dir.Folder("tree/a");
    const std::string first = dir.Write("tree/a/First.vbp", "");
    const std::string top = dir.Write("tree/Top.vbp", "");
    const std::string group = dir.Write("G.vbg", "VBGROUP 5.0\r\nStartupProject=tree\\Top.vbp\r\n"
                                                 "Project=..\\Other\\Lib.vbp\r\n");
    RecordingReporter reporter;
    std::vector<ListedProject> projects;

    EXPECT_EQ(ListProjectsOf(dir.Path("tree"), projects, reporter), ProjectStatus::Ok);
    EXPECT_EQ(Describe(projects), (std::vector<std::string>{"Top.vbp|" + top, "a" + std::string(1, kSep) +
                                                            "First.vbp|" + first}));
    // A group's projects: the values as it lists them, the paths resolved.
    EXPECT_EQ(ListProjectsOf(group, projects, reporter), ProjectStatus::Ok);
    ASSERT_EQ(projects.size(), 2u);
    EXPECT_EQ(Describe(projects)[0], "tree\\Top.vbp|" + dir.Root() + kSep + "tree\\Top.vbp");
    EXPECT_EQ(projects[1].relative, "..\\Other\\Lib.vbp");
    EXPECT_EQ(ListProjectsOf(dir.Path("Missing.vbg"), projects, reporter), ProjectStatus::NotFound);
    EXPECT_TRUE(reporter.messages.empty());

    EXPECT_EQ(KindOfArgument(dir.Path("tree")), ArgumentKind::Folder);
    EXPECT_EQ(KindOfArgument(dir.Folder("Folder.vbg")), ArgumentKind::Folder);
    EXPECT_EQ(KindOfArgument(dir.Path("Missing.VBG")), ArgumentKind::Group);
    EXPECT_EQ(KindOfArgument(dir.Path("Missing")), ArgumentKind::Project);
}

}  // namespace
}  // namespace kolvane
