// The message boxes of the user interface. An owned box disables its owner
// for as long as it is open; the one box without an owner disables nothing.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

namespace kolvane::ui {

// Disables the owner, shows an OK box without an icon, enables the owner.
void ShowOwnedMessage(HWND owner, std::string_view text, std::string_view caption);

// An OK box without an owner; nothing is disabled around it.
void ShowUnownedMessage(std::string_view text, std::string_view caption);

// Where the boxes go instead of MessageBoxA while a presenter is installed
// (owner is null for the unowned box). Returns the previous presenter; an
// empty one restores the real boxes.
using MessagePresenter = std::function<void(HWND owner, std::string_view text, std::string_view caption)>;
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

}  // namespace kolvane::ui
