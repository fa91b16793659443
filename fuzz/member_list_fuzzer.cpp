// Any bytes as a project file and as a group file: the member list and the
// group reader must not crash, and what they give must hold its invariants.
#include "fuzz/fuzz_support.h"
#include "project/model/member_list.h"
#include "project/model/project_search.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kolvane;

bool HoldsLineEndOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\n\0", 2)) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string project = fuzz::ScratchPath("Fuzz.vbp");
    fuzz::WriteFile(project, data, size);

    std::vector<Member> members;
    FUZZ_CHECK(ReadMemberList(project, members) == ProjectStatus::Ok);
    for (const Member& member : members) {
        // A value is the rest of one line's text; its path ends with it
        // unless ".." steps or a drive took it apart.
        FUZZ_CHECK(!HoldsLineEndOrNul(member.value));
        FUZZ_CHECK(!HoldsLineEndOrNul(member.path));
        FUZZ_CHECK(static_cast<std::size_t>(member.kind) < kModuleKindCount);
    }

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> projects;
    ReadProjectGroup(project, text, projects);
    for (const std::string& found : projects) FUZZ_CHECK(!HoldsLineEndOrNul(found));
    FUZZ_CHECK(fuzz::BoxCount() == 0);
    return 0;
}
