#include "analysis/tables/member_output.h"

#include "project/text/messages.h"
#include "project/text/path_text.h"

namespace kolvane {

MemberColumns ColumnsOf(const ScannedModule& module, CodePage codePage)
{
    return {ToUtf8(FileTitle(module.member->path), codePage), ToUtf8(module.member->value, codePage),
            KindText(module.kind), SourceStatusText(module.Status())};
}

void ReportCannotCreate(Reporter& reporter, std::string_view path)
{
    reporter.Message(std::string(message::kCannotCreate).append(path), message::kErrorCaption);
}

void ReportCannotWrite(Reporter& reporter, std::string_view path)
{
    reporter.Message(std::string(message::kCannotWriteFile).append(path), message::kErrorCaption);
}

std::string PathToUtf8(std::string_view path)
{
#ifdef _WIN32
    return ToUtf8(path, DefaultCodePage());
#else
    return ToUtf8(path, CodePage::Utf8);
#endif
}

}  // namespace kolvane
