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

// The owner is disabled while this lives, and enabled again on every path.
class DisabledOwner {
public:
    explicit DisabledOwner(HWND owner) : owner_(owner) { EnableWindow(owner_, FALSE); }
    ~DisabledOwner() { EnableWindow(owner_, TRUE); }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

private:
    HWND owner_;
};

}  // namespace

void ShowOwnedMessage(HWND owner, std::string_view text, std::string_view caption)
{
    const DisabledOwner disabled(owner);
    Present(owner, text, caption);
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
