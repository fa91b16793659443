#include "ui/html_help.h"

#include "project/text/path_text.h"
#include "ui/ui_texts.h"

#include <string_view>

namespace kolvane::ui {
namespace {

// Commands of the viewer (htmlhelp.h).
constexpr UINT kDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC: the file's default topic
constexpr UINT kCloseAll = 0x0012;      // HH_CLOSE_ALL

}  // namespace

bool HtmlHelp::ShowContents(HWND owner, const std::string& helpFile)
{
    if (!library_) {
        library_.reset(LoadLibraryA(text::kHtmlHelpLibrary));
        if (!library_) return false;
        htmlHelp_ = reinterpret_cast<HtmlHelpFunction>(
            reinterpret_cast<void (*)()>(GetProcAddress(library_.get(), text::kHtmlHelpEntry)));
    }
    if (htmlHelp_ == nullptr) return false;
    return htmlHelp_(owner, helpFile.c_str(), kDisplayTopic, 0) != nullptr;
}

void HtmlHelp::CloseAll()
{
    if (htmlHelp_ != nullptr) htmlHelp_(nullptr, nullptr, kCloseAll, 0);
}

std::string HtmlHelpFileBesideProgram()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    // The program's name goes; the folder keeps its closing separator.
    path.resize(path.size() - FileTitle(path).size());
    return path + text::kHtmlHelpFile;
}

}  // namespace kolvane::ui
