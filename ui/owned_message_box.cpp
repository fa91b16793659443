#include "ui/owned_message_box.h"

#include <string>
#include <utility>

namespace kolvane::ui {
namespace {

MessagePresenter& Presenter()
{
    static MessagePresenter presenter;
    return presenter;
}

void Present(HWND owner, std::string_view text, std::string_view caption)
{
    if (Presenter()) {
        Presenter()(owner, text, caption);
        return;
    }
    const std::string textZ(text);
    const std::string captionZ(caption);
    MessageBoxA(owner, textZ.c_str(), captionZ.c_str(), MB_OK);
}

}  // namespace

void ShowOwnedMessage(HWND owner, std::string_view text, std::string_view caption)
{
    EnableWindow(owner, FALSE);
    Present(owner, text, caption);
    EnableWindow(owner, TRUE);
}

void ShowUnownedMessage(std::string_view text, std::string_view caption)
{
    Present(nullptr, text, caption);
}

MessagePresenter SetMessagePresenter(MessagePresenter presenter)
{
    return std::exchange(Presenter(), std::move(presenter));
}

}  // namespace kolvane::ui
